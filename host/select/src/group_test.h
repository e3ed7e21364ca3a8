// One compiled test of a filter: a group code, the relation (one per
// coordinate for points) and the value to compare with.
#ifndef TARN_SELECT_GROUP_TEST_H
#define TARN_SELECT_GROUP_TEST_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "filter_operators.h"
#include "select/filter.h"
#include "select/wildcard.h"
#include "tarnsdk/tctypes.h"

namespace tarn::select {

struct GroupTest {
  int code = 0;
  tc_value_kind kind = TC_KIND_NONE;
  std::array<Relation, 3> relations{Relation::Equal, Relation::Equal, Relation::Equal};
  bool pointDiffers = false;  // a single "!=" on a point: any coordinate differs
  bool alwaysTrue = false;    // "*": passes whatever the entity holds, even nothing
  Wildcard pattern;
  double real = 0;
  std::int64_t integer = 0;
  std::array<double, 3> point{};
  std::array<std::int32_t, 2> name{};
  std::string bytes;
  const resbuf* whenAbsent = nullptr;  // the value an entity list without the group stands for

  bool passes(const resbuf& group) const;
};

// The group code of a node; group 0 of a built list (RTDXF0) counts as 0.
inline int groupCode(const resbuf& node) { return node.restype == RTDXF0 ? 0 : node.restype; }

// Compiles the filter group `node` under the relation text of the -4 group
// before it (empty when there is none, which means "=").
FilterError compileGroupTest(const resbuf& node, std::string_view relationText, GroupTest& out);

}  // namespace tarn::select

#endif
