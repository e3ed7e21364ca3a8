// Gathering entities into a selection: the filter, the locked-layer rule,
// remove mode, undo, and the "found" counts.
#include <algorithm>
#include <cctype>

#include "api/host_state.h"
#include "selection_mode.h"

namespace tarn::editor {

std::optional<SelectionMode> parseSelectionMode(const char* text) {
  SelectionMode m;
  std::string s = text ? text : "";
  size_t i = 0;
  while (i < s.size() && s[i] == '_') ++i;
  while (i < s.size() && s[i] != ':' && s[i] != '-') m.method += char(std::toupper(static_cast<unsigned char>(s[i++])));
  static const char* kMethods[] = {"", "X", "A", "L", "P", "I", "W", "C", "WP", "CP", "F"};
  if (std::find(std::begin(kMethods), std::end(kMethods), m.method) == std::end(kMethods)) return std::nullopt;
  for (; i + 1 < s.size(); i += 2) {
    std::string flag = s.substr(i, 2);
    flag[1] = char(std::toupper(static_cast<unsigned char>(flag[1])));
    if (flag == ":S") m.single = true;
    else if (flag == ":$") m.customPrompts = true;
    else if (flag == ":L") m.refuseLocked = true;
    else if (flag == ":K") m.keywordCallback = true;
    else if (flag == ":?") m.otherCallback = true;
    else if (flag == "-M") m.allUnderPick = true;
    else return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  return m;
}

bool SelectionRun::eligible(uint32_t id, size_t& locked, size_t& filtered) {
  if (mode_.refuseLocked && host::onLockedLayer(db_, id)) return ++locked, false;
  if (!probe_.passes(db_, id)) return ++filtered, false;
  return true;
}

size_t SelectionRun::apply(const std::vector<uint32_t>& candidates, bool report) {
  size_t locked = 0, filtered = 0, found = 0, duplicates = 0;
  Step step;
  for (uint32_t id : candidates) {
    if (!eligible(id, locked, filtered)) continue;
    ++found;
    tc_name n;
    host::makeName(db_, id, n);
    EntityKey key = entityKey(n);
    if (removing ? set_.remove(key) : set_.add(key)) (removing ? step.removed : step.added).push_back(key);
    else if (!removing) ++duplicates;
  }
  if (report) {
    std::string line = std::to_string(found) + " found";
    if (duplicates) line += " (" + std::to_string(duplicates) + " duplicate)";
    if (removing) line += ", " + std::to_string(step.removed.size()) + " removed";
    if (removing || (found && set_.size() != found)) line += ", " + std::to_string(set_.size()) + " total";
    editor_.print(line + "\n");
    if (locked) editor_.print(std::to_string(locked) + " were on a locked layer.\n");
    if (filtered) editor_.print(std::to_string(filtered) + " were filtered out.\n");
  }
  steps_.push_back(std::move(step));
  return found;
}

void SelectionRun::applyAll() {
  std::vector<EntityKey> keys;
  size_t total = 0;  // room for all: unused room costs no memory until touched
  for (uint32_t b = 0; b < db_.blocks().size(); ++b)
    if (db_.isLayoutBlock(b)) total += db_.blocks()[b].entities.size();
  keys.reserve(total);
  size_t locked = 0, filtered = 0;
  forEachLayoutEntity(db_, [&](uint32_t id) {
    if (!eligible(id, locked, filtered)) return;
    tc_name n;
    host::makeName(db_, id, n);
    keys.push_back(entityKey(n));
  });
  set_.assign(std::move(keys));  // distinct by construction: no membership index needed
}

void SelectionRun::undoLast() {
  if (steps_.empty()) {
    editor_.print("All selection operations have been undone.\n");
    return;
  }
  for (EntityKey k : steps_.back().added) set_.remove(k);
  for (EntityKey k : steps_.back().removed) set_.add(k);
  steps_.pop_back();
}

}  // namespace tarn::editor
