// Open registry key handles: a numbered table under a lock.
#include "registry_handles.h"

#include <cstdint>
#include <map>
#include <mutex>

#include "platformsdk/platform_sdk.h"

namespace tarn::platformsdk::detail {
namespace {

// Handles are multiples of 4 from here, far below the predefined roots.
constexpr uintptr_t kFirstHandle = 0x1000;

struct HandleTable {
  std::mutex mutex;
  std::map<uintptr_t, platform::RegistryKey> keys;
  uintptr_t next = kFirstHandle;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

std::optional<platform::RegistryRoot> PredefinedRoot(tcpl_hkey handle) {
  if (handle == TCPL_HKEY_CURRENT_USER) return platform::RegistryRoot::kCurrentUser;
  if (handle == TCPL_HKEY_LOCAL_MACHINE) return platform::RegistryRoot::kLocalMachine;
  return std::nullopt;
}

}  // namespace

tcpl_hkey AddRegistryHandle(const platform::RegistryKey& key) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  const uintptr_t handle = table.next;
  table.next += 4;
  table.keys.emplace(handle, key);
  return reinterpret_cast<tcpl_hkey>(handle);
}

std::optional<platform::RegistryKey> RegistryKeyOf(tcpl_hkey handle) {
  if (auto root = PredefinedRoot(handle)) {
    platform::RegistryKey key;
    if (SharedRegistryStore().OpenKey(*root, "", platform::KeyAccess::kFull, &key) != platform::Status::kOk) {
      return std::nullopt;
    }
    return key;
  }
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.keys.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.keys.end()) return std::nullopt;
  return it->second;
}

bool CloseRegistryHandle(tcpl_hkey handle) {
  if (PredefinedRoot(handle)) return true;
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.keys.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

void CloseAllRegistryHandles() {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.keys.clear();
}

}  // namespace tarn::platformsdk::detail
