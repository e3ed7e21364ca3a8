// App Paths of the spreadsheet and word-processor programs, answered from
// the office programs installed on this machine.
#include "platform/app_paths.h"

#include "case_fold.h"
#include "platform/process.h"

namespace tarn::platform {
namespace {

struct OfficeProgram {
  const char* appPathsName;   // upper case
  const char* program;
  const char* arguments;
};

// In order of preference for each App Paths name.
constexpr OfficeProgram kOfficePrograms[] = {
    {"EXCEL.EXE", "libreoffice", "--calc"},   {"EXCEL.EXE", "soffice", "--calc"},
    {"EXCEL.EXE", "localc", ""},              {"EXCEL.EXE", "gnumeric", ""},
    {"WINWORD.EXE", "libreoffice", "--writer"}, {"WINWORD.EXE", "soffice", "--writer"},
    {"WINWORD.EXE", "lowriter", ""},          {"WINWORD.EXE", "abiword", ""},
};

constexpr const char* kAppPathsNames[] = {"excel.exe", "winword.exe"};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::optional<std::string> FindOfficeCommand(const std::optional<std::string>& searchPath,
                                          std::string_view exeName,
                                          std::string* folder) {
  const std::string wanted = detail::FoldCase(exeName);
  for (const OfficeProgram& office : kOfficePrograms) {
    if (wanted != office.appPathsName) continue;
    const auto found = FindOnPath(office.program, searchPath
                                                      ? std::optional<std::string_view>(*searchPath)
                                                      : std::nullopt);
    if (!found) continue;
    if (folder != nullptr) *folder = FolderOf(*found);
    std::string command = QuoteArgument(*found);
    if (*office.arguments != '\0') command += std::string(" ") + office.arguments;
    return command;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> AppPathCommand(std::string_view exeName,
                                          std::optional<std::string> searchPath) {
  return FindOfficeCommand(searchPath, exeName, nullptr);
}

void InstallAppPathKeys(RegistryStore& store, std::optional<std::string> searchPath) {
  for (const char* name : kAppPathsNames) {
    const std::string path = std::string(kAppPathsKey) + "\\" + name;
    store.AddComputedKey(RegistryRoot::kLocalMachine, path, [name, searchPath] {
      std::string folder;
      const auto command = FindOfficeCommand(searchPath, name, &folder);
      if (!command) return std::vector<RegistryValue>{};
      return std::vector<RegistryValue>{{"", ValueType::kString, *command},
                                        {"Path", ValueType::kString, folder}};
    });
  }
}

}  // namespace tarn::platform
