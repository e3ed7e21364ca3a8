// Where this user's settings live, and the store opened there.
#include <cstdlib>
#include <memory>

#include "platform/app_paths.h"
#include "platform/product.h"
#include "platform/registry.h"

namespace tarn::platform {
namespace {

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

std::filesystem::path ConfigDirectory() {
  if (const char* dir = NonEmptyEnv("TARNCAD_CONFIG_DIR")) return dir;
  if (const char* xdg = NonEmptyEnv("XDG_CONFIG_HOME")) return std::filesystem::path(xdg) / kConfigFolderName;
  if (const char* home = NonEmptyEnv("HOME")) {
    return std::filesystem::path(home) / ".config" / kConfigFolderName;
  }
  return std::filesystem::path(".config") / kConfigFolderName;
}

std::unique_ptr<RegistryStore> RegistryStore::OpenUserStore() {
  auto store = std::make_unique<RegistryStore>(ConfigDirectory());
  InstallAppPathKeys(*store);
  return store;
}

}  // namespace tarn::platform
