// The host's environment values, kept in the registry store.
#include "platform/environment_store.h"

#include "case_fold.h"
#include "platform/product.h"

namespace tarn::platform {
namespace {

struct EnvironmentDefaultEntry {
  const char* name;   // upper case
  const char* value;
};

// The values the host knows and their defaults.
constexpr EnvironmentDefaultEntry kDefaults[] = {
    {"MAXARRAY", "100000"},   // most copies one array command may make
};

}  // namespace

std::optional<std::string_view> EnvironmentDefault(std::string_view name) {
  const std::string folded = detail::FoldCase(name);
  for (const EnvironmentDefaultEntry& entry : kDefaults) {
    if (folded == entry.name) return std::string_view(entry.value);
  }
  return std::nullopt;
}

std::string EnvironmentKeyPath() {
  return std::string(kProductRootKey) + "\\" + std::string(kGeneralKeyName);
}

std::optional<std::string> EnvironmentStore::Get(std::string_view name) const {
  RegistryKey key;
  if (registry_.OpenKey(RegistryRoot::kCurrentUser, EnvironmentKeyPath(), KeyAccess::kRead,
                        &key) == Status::kOk) {
    if (auto text = key.QueryString(name); text.ok()) return text.value;
    if (auto number = key.QueryDword(name); number.ok()) return std::to_string(number.value);
  }
  if (auto fallback = EnvironmentDefault(name)) return std::string(*fallback);
  return std::nullopt;
}

Status EnvironmentStore::Set(std::string_view name, std::string_view value) {
  if (name.empty()) return Status::kInvalidParameter;
  RegistryKey key;
  const Status created = registry_.CreateKey(RegistryRoot::kCurrentUser, EnvironmentKeyPath(), &key);
  if (created != Status::kOk) return created;
  return key.SetString(name, value);
}

Status EnvironmentStore::Reset(std::string_view name) {
  RegistryKey key;
  const Status opened = registry_.OpenKey(RegistryRoot::kCurrentUser, EnvironmentKeyPath(),
                                          KeyAccess::kFull, &key);
  if (opened == Status::kFileNotFound) return Status::kOk;
  if (opened != Status::kOk) return opened;
  const Status deleted = key.DeleteValue(name);
  return deleted == Status::kFileNotFound ? Status::kOk : deleted;
}

}  // namespace tarn::platform
