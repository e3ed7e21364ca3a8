// The host side of the platform calls a module makes (tarnsdk/tcplatform.h):
// the registry store those calls share with the rest of the host, and the
// user prompts that answer message boxes.
#ifndef TARN_PLATFORMSDK_PLATFORM_SDK_H
#define TARN_PLATFORMSDK_PLATFORM_SDK_H

#include "platform/registry.h"
#include "platform/user_prompts.h"

namespace tarn::platformsdk {

// The process's registry store, opened in ConfigDirectory() on first use.
// The host's environment store and the module's tcplReg* calls share it.
platform::RegistryStore& SharedRegistryStore();

// Forgets the store and every open key handle, so that the next call opens
// the store again (tests change TARNCAD_CONFIG_DIR in between).
void ResetSharedRegistryStore();

// Prints the store's messages about damaged or unwritable files on the
// editor's command line.
void ReportRegistryMessages();

// Where message boxes and file questions go. Null restores the default: an
// EditorPrompts over the current editor. The prompts are not owned.
void SetUserPrompts(platform::UserPrompts* prompts);
platform::UserPrompts& CurrentUserPrompts();

}  // namespace tarn::platformsdk

#endif
