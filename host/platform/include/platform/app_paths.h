// The App Paths keys of the spreadsheet and word-processor programs, which
// the external launchers read from HKEY_LOCAL_MACHINE, answered from the
// office programs installed on this machine.
#ifndef TARN_PLATFORM_APP_PATHS_H
#define TARN_PLATFORM_APP_PATHS_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace tarn::platform {

// The parent key of the App Paths entries below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kAppPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// The command line that stands for a program of App Paths ("excel.exe" or
// "winword.exe", any case): the first of the office programs found on the
// search path (the environment's PATH when none is given), or nothing.
//   excel.exe:   libreoffice --calc, soffice --calc, localc, gnumeric
//   winword.exe: libreoffice --writer, soffice --writer, lowriter, abiword
std::optional<std::string> AppPathCommand(std::string_view exeName,
                                          std::optional<std::string> searchPath = std::nullopt);

// Installs the two keys as computed keys of the store: the default value is
// the command line, "Path" the program's folder. Detection runs each time a
// key is opened.
void InstallAppPathKeys(RegistryStore& store, std::optional<std::string> searchPath = std::nullopt);

}  // namespace tarn::platform

#endif
