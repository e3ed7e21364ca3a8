// Opening a file, folder or web address with the desktop's opener
// (xdg-open), with Windows-style result codes: above 32 is success.
#ifndef TARN_PLATFORM_SHELL_OPEN_H
#define TARN_PLATFORM_SHELL_OPEN_H

#include <optional>
#include <string>
#include <string_view>

namespace tarn::platform {

enum ShellOpenCode : int {
  kShellFileNotFound = 2,   // a local file that does not exist
  kShellPathNotFound = 3,   // its folder does not exist either
  kShellAccessDenied = 5,
  kShellNoAssociation = 31, // no opener on this machine, or it could not open
  kShellOpened = 42,
};

struct ShellOpenOptions {
  std::string opener = "xdg-open";
  std::optional<std::string> searchPath;   // PATH used to find the opener
};

struct ShellOpenResult {
  int code = kShellNoAssociation;
  bool Succeeded() const { return code > 32; }
};

// Opens the location: a URL (scheme "name:" such as http: or mailto:) is
// handed over as it is; a local path (backslashes taken as separators, or a
// file: URL) must exist. Waits for the opener, which hands the location to
// the program that shows it and returns.
ShellOpenResult ShellOpen(std::string_view location, const ShellOpenOptions& options = {});

}  // namespace tarn::platform

#endif
