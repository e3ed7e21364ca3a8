// Selection-set storage and names.
#include "editor/selection_sets.h"

#include <algorithm>

#include "api/host_state.h"

namespace tarn::editor {

EntityKey entityKey(const tc_name n) { return (EntityKey(uint32_t(n[0])) << 32) | uint32_t(n[1]); }

void entityName(EntityKey key, tc_name out) {
  out[0] = int32_t(uint32_t(key >> 32));
  out[1] = int32_t(uint32_t(key));
}

void SelectionSet::index() const {
  if (indexed_) return;
  index_.clear();
  index_.insert(members_.begin(), members_.end());
  indexed_ = true;
}

bool SelectionSet::add(EntityKey e) {
  index();
  if (!index_.insert(e).second) return false;
  members_.push_back(e);
  return true;
}

bool SelectionSet::remove(EntityKey e) {
  index();
  if (!index_.erase(e)) return false;
  members_.erase(std::find(members_.begin(), members_.end(), e));
  return true;
}

bool SelectionSet::contains(EntityKey e) const {
  index();
  return index_.count(e) > 0;
}

void SelectionSet::assign(std::vector<EntityKey> distinct) {
  members_ = std::move(distinct);
  index_.clear();
  indexed_ = false;
}

SelectionSets::~SelectionSets() { releaseAll(); }

void SelectionSets::create(tc_name out, SelectionSet content) {
  int32_t n = next_++;
  sets_.emplace(n, std::move(content));
  ++host::counters().selectionSets;
  out[0] = n;
  out[1] = kSelectionSetMark;
}

SelectionSet* SelectionSets::find(const tc_name name) {
  if (!name || name[1] != kSelectionSetMark) return nullptr;
  auto it = sets_.find(name[0]);
  return it == sets_.end() ? nullptr : &it->second;
}

bool SelectionSets::release(const tc_name name) {
  if (!find(name)) return false;
  sets_.erase(name[0]);
  --host::counters().selectionSets;
  return true;
}

void SelectionSets::releaseAll() {
  host::counters().selectionSets -= long(sets_.size());
  sets_.clear();
}

}  // namespace tarn::editor
