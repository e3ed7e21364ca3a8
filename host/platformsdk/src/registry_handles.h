// The table of open registry key handles behind the tcplReg* calls. The two
// predefined roots are always open; other handles are numbers the table
// hands out, never addresses, so a stale or forged handle is refused
// instead of followed.
#ifndef TARN_PLATFORMSDK_REGISTRY_HANDLES_H
#define TARN_PLATFORMSDK_REGISTRY_HANDLES_H

#include <optional>

#include <tarnsdk/tcplatform.h>

#include "platform/registry.h"

namespace tarn::platformsdk::detail {

// A new handle for an open key.
tcpl_hkey AddRegistryHandle(const platform::RegistryKey& key);
// The key of a handle (the roots included), or nothing for an unknown one.
std::optional<platform::RegistryKey> RegistryKeyOf(tcpl_hkey handle);
// false for an unknown handle; closing a root is allowed and does nothing.
bool CloseRegistryHandle(tcpl_hkey handle);
void CloseAllRegistryHandles();

}  // namespace tarn::platformsdk::detail

#endif
