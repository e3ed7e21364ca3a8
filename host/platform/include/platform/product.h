// Constants that name the host in the settings store.
#ifndef TARN_PLATFORM_PRODUCT_H
#define TARN_PLATFORM_PRODUCT_H

#include <string_view>

namespace tarn::platform {

// The host's registry product root key; profiles, the environment store and
// other per-user settings live below it under HKEY_CURRENT_USER.
inline constexpr std::string_view kProductRootKey = "Software\\Tarn\\TarnCAD\\R1";

// The key below the product root that holds the environment store.
inline constexpr std::string_view kGeneralKeyName = "General";

// The folder name below the user's configuration folder.
inline constexpr std::string_view kConfigFolderName = "tarncad";

}  // namespace tarn::platform

#endif
