// The host's environment values (tcedGetEnv and tcedSetEnv), kept as text
// values of the key "General" below the product root in HKEY_CURRENT_USER.
// A value never set reads as its default when the host knows one.
#ifndef TARN_PLATFORM_ENVIRONMENT_STORE_H
#define TARN_PLATFORM_ENVIRONMENT_STORE_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/status.h"

namespace tarn::platform {

// The defaults of the values the host knows ("MaxArray": "100000").
std::optional<std::string_view> EnvironmentDefault(std::string_view name);

// The full key path of the environment store.
std::string EnvironmentKeyPath();

class EnvironmentStore {
 public:
  explicit EnvironmentStore(RegistryStore& registry) : registry_(registry) {}

  // The stored text, else the default, else nothing. Names compare without
  // regard to case. A number stored as a DWORD reads as its decimal text.
  std::optional<std::string> Get(std::string_view name) const;
  Status Set(std::string_view name, std::string_view value);
  // Forgets the stored value, so the default applies again.
  Status Reset(std::string_view name);

 private:
  RegistryStore& registry_;
};

}  // namespace tarn::platform

#endif
