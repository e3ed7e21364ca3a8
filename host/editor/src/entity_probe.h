// Internal: tests entities against a selection filter. Filters on plain
// groups (type, layer, colour, numbers, points, texts) are tested on a small
// list built straight from the entity's tags, without a full entity list;
// filters on references or extended data get the full list.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <tarnsdk/tctypes.h>

#include "db/database.h"
#include "select/filter.h"
#include "select/wildcard.h"

namespace tarn::editor {

class EntityProbe {
 public:
  // RTNORM, or RTERROR for a filter list that does not compile.
  int setFilter(const resbuf* filterList);
  bool passes(const db::Database& db, uint32_t id);

 private:
  bool passesQuick(const db::Database& db, uint32_t id);
  bool typeMayPass(const db::Database& db, uint32_t id);
  void addTag(const db::TagCursor& c);
  int compileWithoutType(const resbuf* filterList);
  select::Filter filter_;
  bool empty_ = true;
  bool quick_ = true;
  std::vector<int> codes_;                // sorted group codes the filter reads
  std::vector<char> wanted_;              // by group code: 1 when the filter reads it
  bool restEmpty_ = true;                 // nothing to test beyond the type gate
  std::vector<resbuf> nodes_;
  size_t used_ = 0;                       // nodes of the current entity
  std::string texts_;                     // the texts of the current entity, each ended by a NUL
  std::vector<std::pair<size_t, size_t>> textOf_;  // (node, offset in texts_)
  // A filter of groups side by side (no operators) fails at once on a type
  // its group 0 does not match; the verdict is kept per type.
  bool typeGate_ = false;
  select::Wildcard typePattern_;
  std::vector<signed char> typeVerdict_;  // by type id: -1 unknown, 0 fails, 1 may pass
};

}  // namespace tarn::editor
