#include "platform/modules.h"

#include <cstdlib>
#include <system_error>

#include "case_fold.h"

#ifndef TARN_MODULE_DIR
#define TARN_MODULE_DIR ""
#endif

namespace tarn::platform {

namespace fs = std::filesystem;

std::vector<fs::path> ModuleFolders() {
  std::vector<fs::path> folders;
  if (const char* env = std::getenv("TARNCAD_MODULE_PATH"); env != nullptr) {
    std::string_view rest(env);
    while (!rest.empty()) {
      size_t colon = rest.find(':');
      std::string_view part = rest.substr(0, colon);
      if (!part.empty()) folders.emplace_back(std::string(part));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  if (std::string_view(TARN_MODULE_DIR).size() > 0) folders.emplace_back(TARN_MODULE_DIR);
  return folders;
}

std::string ModuleBaseName(std::string_view name) {
  std::string file = fs::path(std::string(name)).filename().string();
  for (std::string_view ext : {".dll", ".so"}) {
    if (file.size() > ext.size() &&
        detail::EqualIgnoringCase(std::string_view(file).substr(file.size() - ext.size()), ext)) {
      file.resize(file.size() - ext.size());
      break;
    }
  }
  return file;
}

namespace {

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

}  // namespace

fs::path ResolveModuleFile(std::string_view name) {
  if (name.empty()) return {};
  fs::path given{std::string(name)};
  std::string base = ModuleBaseName(name);
  if (given.has_parent_path()) {
    if (isFile(given)) return given;
    fs::path so = given.parent_path() / (base + ".so");
    return isFile(so) ? so : fs::path{};
  }
  for (const fs::path& folder : ModuleFolders()) {
    if (isFile(folder / given)) return folder / given;
    if (isFile(folder / (base + ".so"))) return folder / (base + ".so");
  }
  return {};
}

}  // namespace tarn::platform
