// The registry store and the user prompts shared by the platform calls.
#include <memory>
#include <mutex>

#include "editor/editor.h"
#include "platformsdk/editor_prompts.h"
#include "platformsdk/platform_sdk.h"
#include "registry_handles.h"

namespace tarn::platformsdk {
namespace {

std::mutex storeMutex;
std::unique_ptr<platform::RegistryStore> store;
platform::UserPrompts* prompts = nullptr;

}  // namespace

platform::RegistryStore& SharedRegistryStore() {
  std::lock_guard lock(storeMutex);
  if (!store) store = platform::RegistryStore::OpenUserStore();
  return *store;
}

void ResetSharedRegistryStore() {
  detail::CloseAllRegistryHandles();
  std::lock_guard lock(storeMutex);
  store.reset();
}

void ReportRegistryMessages() {
  for (const std::string& message : SharedRegistryStore().TakeMessages()) {
    editor::currentEditor().print(message + "\n");
  }
}

void SetUserPrompts(platform::UserPrompts* p) { prompts = p; }

platform::UserPrompts& CurrentUserPrompts() {
  static EditorPrompts onCommandLine;
  return prompts != nullptr ? *prompts : onCommandLine;
}

}  // namespace tarn::platformsdk
