// File names asked on the command line (the file dialogs of a desktop host
// with FILEDIA off), files found along the support path, and the host's
// environment values.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include <tarnsdk/tcedinput.h>

#include "api/resbuf_util.h"
#include "api/sysvars.h"
#include "editor/editor.h"
#include "editor/host_files.h"
#include "input_loop.h"
#include "platform/environment_store.h"

namespace tarn::editor {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == ';' || text[i] == ':') {
      if (i > start) out.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  return out;
}

std::string variableText(const char* name) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.text : std::string();
}

// The name with the first extension of the list added when it has none.
std::string withExtension(const std::string& name, const char* extensions) {
  auto exts = splitList(extensions ? extensions : "");
  if (exts.empty() || exts.front() == "*" || fs::path(name).has_extension()) return name;
  return name + "." + exts.front();
}

bool yes(Editor& ed, const std::string& question) {
  for (;;) {
    Reply r = ed.ask(question, false);
    if (r.kind != ReplyKind::Text) return false;  // Enter takes No; cancel too
    std::string up = db::upperAscii(r.text);
    if (up == "Y" || up == "YES") return true;
    if (up == "N" || up == "NO") return false;
    ed.complain("Requires Yes or No.");
  }
}

// The path chosen; RTNORM, RTCAN or RTERROR.
int askFile(const char* title, const char* defaultName, const char* extensions, int flags, std::string& out) {
  Editor& ed = currentEditor();
  ed.takeControl();
  std::string fallback = defaultName ? defaultName : "";
  std::string prompt = std::string(title && *title ? title : "Enter file name") +
                       (fallback.empty() ? "" : " <" + fallback + ">") + ": ";
  for (;;) {
    Reply r = ed.ask(prompt, true);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
    std::string name = r.kind == ReplyKind::Enter ? fallback : r.text;
    if (name.empty()) return RTCAN;  // no name and no default: nothing chosen
    name = withExtension(name, extensions);
    std::error_code ec;
    bool exists = fs::exists(name, ec);
    if (flags & 1) {
      if (!exists || yes(ed, name + " already exists. Replace it? [Yes/No] <No>: ")) return out = name, RTNORM;
      continue;
    }
    if (exists) return out = name, RTNORM;
    ed.complain("File not found: " + name);
  }
}

std::unique_ptr<platform::RegistryStore>& ownStore() {
  static std::unique_ptr<platform::RegistryStore> store;
  return store;
}

platform::RegistryStore* environmentRegistry = nullptr;

platform::EnvironmentStore environment() {
  if (!environmentRegistry) {
    if (!ownStore()) ownStore() = platform::RegistryStore::OpenUserStore();
    environmentRegistry = ownStore().get();
  }
  return platform::EnvironmentStore(*environmentRegistry);
}

}  // namespace

void setEnvironmentRegistry(platform::RegistryStore* store) { environmentRegistry = store; }

std::vector<std::string> supportFolders() {
  std::vector<std::string> folders = splitList(variableText("SUPPORTPATH"));
  if (const char* env = std::getenv("TARNCAD_SUPPORT")) for (auto& f : splitList(env)) folders.push_back(f);
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec)
    for (fs::path f : {exe.parent_path() / "support", exe.parent_path().parent_path() / "support",
                       exe.parent_path().parent_path() / "share" / "tarncad" / "support"})
      if (fs::is_directory(f, ec)) folders.push_back(f.string());
  return folders;
}

std::optional<std::string> findFile(const std::string& name) {
  std::error_code ec;
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) {
    if (fs::is_regular_file(name, ec)) return name;
    return std::nullopt;
  }
  std::vector<std::string> folders;
  if (std::string dwg = variableText("DWGPREFIX"); !dwg.empty()) folders.push_back(dwg);
  folders.push_back(fs::current_path(ec).string());
  for (auto& f : supportFolders()) folders.push_back(f);
  for (const auto& folder : folders) {
    fs::path p = fs::path(folder) / name;
    if (fs::is_regular_file(p, ec)) return p.lexically_normal().string();
  }
  return std::nullopt;
}

}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedGetFileD(const char* title, const char* defaultName, const char* extensions, int flags,
                 struct resbuf* result) {
  if (!result) return RTERROR;
  std::string path;
  int rc = askFile(title, defaultName, extensions, flags, path);
  if (rc != RTNORM) return rc;
  result->restype = RTSTR;
  result->resval.rstring = tarn::host::copyText(path);
  return result->resval.rstring ? RTNORM : RTERROR;
}

int tcedGetFileNavDialog(const char* title, const char* defaultName, const char* extensions, const char*,
                         int flags, struct resbuf** result) {
  if (!result) return RTERROR;
  *result = nullptr;
  std::string path;
  int rc = askFile(title, defaultName, extensions, flags, path);
  if (rc != RTNORM) return rc;
  tarn::host::ChainBuilder chain;
  chain.addText(RTSTR, path);
  *result = chain.take();
  return RTNORM;
}

int tcedFindFile(const char* name, char* result, size_t size) {
  auto found = findFile(name ? name : "");
  if (!found) return RTERROR;
  return copyOut(*found, result, size) == RTNORM ? RTNORM : RTERROR;
}

int tcedGetEnv(const char* name, char* value, size_t size) {
  if (!name || !value || size == 0) return RTERROR;
  auto v = environment().Get(name);
  if (!v) return RTERROR;
  return copyOut(*v, value, size) == RTNORM ? RTNORM : RTERROR;
}

int tcedSetEnv(const char* name, const char* value) {
  if (!name || !*name || !value) return RTERROR;
  return environment().Set(name, value) == tarn::platform::Status::kOk ? RTNORM : RTERROR;
}

}  // extern "C"
