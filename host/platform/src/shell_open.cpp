// Opening a location with the desktop's opener.
#include "platform/shell_open.h"

#include <cctype>

#include "platform/files.h"
#include "platform/process.h"

namespace tarn::platform {
namespace {

// "scheme:" of at least two letters (one letter would be a drive).
bool HasUrlScheme(std::string_view location) {
  const size_t colon = location.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(location[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(location[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// The local path a location names, or empty for other URLs.
std::string LocalPathOf(std::string_view location) {
  if (location.starts_with("file://")) return std::string(location.substr(7));
  if (HasUrlScheme(location)) return {};
  return NativePath(location);
}

int CodeOfMissingPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash);
  return (parent.empty() || FolderExists(parent)) ? kShellFileNotFound : kShellPathNotFound;
}

// The opener's exit codes: 0 done, 2 a file that does not exist, 1/3/4 bad
// arguments, a missing tool or a failed action.
int CodeOfOpenerExit(int exitCode) {
  if (exitCode == 0) return kShellOpened;
  if (exitCode == 2) return kShellFileNotFound;
  return kShellNoAssociation;
}

}  // namespace

ShellOpenResult ShellOpen(std::string_view location, const ShellOpenOptions& options) {
  while (!location.empty() && location.front() == ' ') location.remove_prefix(1);
  while (!location.empty() && location.back() == ' ') location.remove_suffix(1);
  if (location.empty()) return {kShellFileNotFound};
  std::string target(location);
  const std::string localPath = LocalPathOf(location);
  if (!localPath.empty()) {
    if (!FileExists(localPath) && !FolderExists(localPath)) return {CodeOfMissingPath(localPath)};
    if (!location.starts_with("file://")) target = localPath;
  }
  const auto opener = FindOnPath(options.opener, options.searchPath
                                                     ? std::optional<std::string_view>(*options.searchPath)
                                                     : std::nullopt);
  if (!opener) return {kShellNoAssociation};
  const ProcessResult run =
      StartProcess(QuoteArgument(*opener) + " " + QuoteArgument(target), {.wait = true});
  if (run.status != Status::kOk) return {kShellNoAssociation};
  return {CodeOfOpenerExit(run.exitCode)};
}

}  // namespace tarn::platform
