// The in-memory tree of one registry root: keys by case-folded name, values
// in the order they were first set.
#ifndef TARN_PLATFORM_SRC_REGISTRY_TREE_H
#define TARN_PLATFORM_SRC_REGISTRY_TREE_H

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_text.h"

namespace tarn::platform::detail {

struct KeyNode {
  std::string name;   // as first created
  std::vector<RegistryValue> values;
  std::map<std::string, std::unique_ptr<KeyNode>> children;   // by folded name

  RegistryValue* FindValue(std::string_view valueName);
  // Replaces the value of that name or appends a new one.
  void PutValue(RegistryValue value);
  bool EraseValue(std::string_view valueName);
};

// The components of a valid key path.
std::vector<std::string_view> SplitKeyPath(std::string_view path);
std::string JoinKeyPath(std::string_view parent, std::string_view child);

// The node at the path, or null.
KeyNode* FindNode(KeyNode& root, std::string_view path);
// The node at the path, created with its parents when missing.
KeyNode* FindOrCreateNode(KeyNode& root, std::string_view path, bool* created);
// Removes the node at a non-empty path; false when it does not exist.
bool EraseNode(KeyNode& root, std::string_view path);

// Every key in depth-first order, parents before children, with full paths.
std::vector<RegistryKeyRecord> FlattenTree(const KeyNode& root);
// A tree from records; repeated keys merge and a later value of the same
// name replaces an earlier one (*duplicates counts those).
void BuildTree(KeyNode& root, const std::vector<RegistryKeyRecord>& records, size_t* duplicates);

}  // namespace tarn::platform::detail

#endif
