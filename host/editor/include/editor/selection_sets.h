// The live selection sets of a session: their names (two 32-bit words: a
// number never reused, and a mark), their members, the previous set and the
// pickfirst set. Every live set is counted in the host's ownership counters.
#pragma once

#include <cstdint>
#include <cstddef>
#include <map>
#include <unordered_set>
#include <vector>

#include <tarnsdk/tctypes.h>

namespace tarn::editor {

// An entity as (database serial << 32 | object id).
using EntityKey = std::uint64_t;
EntityKey entityKey(const tc_name name);
void entityName(EntityKey key, tc_name out);

class SelectionSet {
 public:
  bool add(EntityKey e);      // false when already a member
  bool remove(EntityKey e);
  bool contains(EntityKey e) const;
  size_t size() const { return members_.size(); }
  EntityKey at(size_t i) const { return members_[i]; }
  const std::vector<EntityKey>& members() const { return members_; }
  // Members known to be distinct, added without the membership index.
  void assign(std::vector<EntityKey> distinct);

 private:
  void index() const;
  std::vector<EntityKey> members_;
  mutable std::unordered_set<EntityKey> index_;
  mutable bool indexed_ = false;
};

class SelectionSets {
 public:
  ~SelectionSets();
  void create(tc_name out, SelectionSet content = {});
  SelectionSet* find(const tc_name name);
  bool release(const tc_name name);
  size_t live() const { return sets_.size(); }
  void releaseAll();

  // The set the last selection made (the "P" choice), and the pickfirst set.
  SelectionSet previous;
  SelectionSet pickfirst;

 private:
  std::map<std::int32_t, SelectionSet> sets_;
  std::int32_t next_ = 1;
};

constexpr std::int32_t kSelectionSetMark = 0x53530000;

}  // namespace tarn::editor
