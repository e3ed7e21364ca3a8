// Processes, shell open, files and folders: thin wrappers over the platform
// layer with the desktop calls' success rules.
#include <cstring>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/shell_open.h"

namespace {

namespace platform = tarn::platform;

// Quotes an argument for /bin/sh.
std::string ShellQuoted(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A command line started in another folder: the line is split as always,
// then handed to the shell only to change folder first, each argument
// quoted so that the shell reads nothing into it.
std::string InFolder(const std::string& folder, const std::vector<std::string>& arguments) {
  std::string line = "cd -- " + ShellQuoted(folder) + " && exec";
  for (const std::string& a : arguments) line += " " + ShellQuoted(a);
  return line;
}

int StartIn(const char* commandLine, const char* workingFolder) {
  const std::vector<std::string> arguments = platform::SplitCommandLine(commandLine);
  if (arguments.empty() || !platform::FindOnPath(arguments.front())) return 0;
  if (workingFolder == nullptr || *workingFolder == '\0') {
    return platform::StartProcess(commandLine).status == platform::Status::kOk ? 1 : 0;
  }
  const std::string folder = platform::NativePath(workingFolder);
  if (!platform::FolderExists(folder)) return 0;
  platform::ProcessOptions options;
  options.useShell = true;
  return platform::StartProcess(InFolder(folder, arguments), options).status == platform::Status::kOk ? 1 : 0;
}

}  // namespace

extern "C" {

int tcplStartProcess(const char* commandLine, const char* workingFolder) {
  if (commandLine == nullptr || *commandLine == '\0') return 0;
  return StartIn(commandLine, workingFolder);
}

int tcplShellOpen(const char* target) {
  if (target == nullptr || *target == '\0') return 0;
  return platform::ShellOpen(target).Succeeded() ? 1 : 0;
}

size_t tcplTempPath(char* buffer, size_t size) {
  const std::string path = platform::TempFolder();
  if (buffer == nullptr || size == 0) return path.size();
  if (path.size() + 1 > size) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return path.size();
}

int tcplCreateFolder(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  return platform::FolderCreatedOrExists(platform::CreateFolder(path)) ? 1 : 0;
}

int tcplCopyFile(const char* from, const char* to, int failIfExists) {
  if (from == nullptr || to == nullptr) return 0;
  return platform::CopyFile(from, to, failIfExists == 0) == platform::Status::kOk ? 1 : 0;
}

int tcplDeleteFile(const char* path) {
  if (path == nullptr) return 0;
  return platform::DeleteFile(path) == platform::Status::kOk ? 1 : 0;
}

int tcplFileExists(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  return platform::FileExists(path) || platform::FolderExists(path) ? 1 : 0;
}

}  // extern "C"
