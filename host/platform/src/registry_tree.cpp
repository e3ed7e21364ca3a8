// The in-memory tree of one registry root.
#include "registry_tree.h"

#include <algorithm>
#include <functional>

#include "case_fold.h"

namespace tarn::platform::detail {

RegistryValue* KeyNode::FindValue(std::string_view valueName) {
  const std::string folded = FoldCase(valueName);
  for (RegistryValue& value : values) {
    if (FoldCase(value.name) == folded) return &value;
  }
  return nullptr;
}

void KeyNode::PutValue(RegistryValue value) {
  if (RegistryValue* existing = FindValue(value.name)) {
    existing->type = value.type;
    existing->data = std::move(value.data);
    return;
  }
  values.push_back(std::move(value));
}

bool KeyNode::EraseValue(std::string_view valueName) {
  const std::string folded = FoldCase(valueName);
  const auto it = std::find_if(values.begin(), values.end(), [&](const RegistryValue& v) {
    return FoldCase(v.name) == folded;
  });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  if (path.empty()) return parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
  if (parent.empty()) return std::string(child);
  if (child.empty()) return std::string(parent);
  return std::string(parent) + "\\" + std::string(child);
}

KeyNode* FindNode(KeyNode& root, std::string_view path) {
  KeyNode* node = &root;
  for (std::string_view part : SplitKeyPath(path)) {
    const auto it = node->children.find(FoldCase(part));
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

KeyNode* FindOrCreateNode(KeyNode& root, std::string_view path, bool* created) {
  KeyNode* node = &root;
  bool made = false;
  for (std::string_view part : SplitKeyPath(path)) {
    auto& slot = node->children[FoldCase(part)];
    if (!slot) {
      slot = std::make_unique<KeyNode>();
      slot->name = std::string(part);
      made = true;
    }
    node = slot.get();
  }
  if (created != nullptr) *created = made;
  return node;
}

bool EraseNode(KeyNode& root, std::string_view path) {
  const auto parts = SplitKeyPath(path);
  if (parts.empty()) return false;
  KeyNode* parent = &root;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    const auto it = parent->children.find(FoldCase(parts[i]));
    if (it == parent->children.end()) return false;
    parent = it->second.get();
  }
  return parent->children.erase(FoldCase(parts.back())) > 0;
}

std::vector<RegistryKeyRecord> FlattenTree(const KeyNode& root) {
  std::vector<RegistryKeyRecord> records;
  // Explicit stack: depth is bounded by kMaxKeyDepth, but no recursion is
  // needed to walk it.
  std::vector<std::pair<const KeyNode*, std::string>> stack{{&root, ""}};
  while (!stack.empty()) {
    auto [node, path] = std::move(stack.back());
    stack.pop_back();
    // The root is written only when it holds values; every other key is
    // written even when empty, so empty keys survive a round trip.
    if (!path.empty() || !node->values.empty()) records.push_back({path, node->values});
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
      stack.emplace_back(it->second.get(), JoinKeyPath(path, it->second->name));
    }
  }
  return records;
}

void BuildTree(KeyNode& root, const std::vector<RegistryKeyRecord>& records, size_t* duplicates) {
  size_t repeated = 0;
  for (const RegistryKeyRecord& record : records) {
    KeyNode* node = FindOrCreateNode(root, record.path, nullptr);
    for (const RegistryValue& value : record.values) {
      if (node->FindValue(value.name) != nullptr) ++repeated;
      node->PutValue(value);
    }
  }
  if (duplicates != nullptr) *duplicates = repeated;
}

}  // namespace tarn::platform::detail
