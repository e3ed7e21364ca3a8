// Loading modules, the application messages, and unloading: a module whose
// init fails or that is unloaded loses whatever it left registered (commands,
// LISP functions, services it made) before its file is closed, so that no
// handler or object of the host points into unmapped code.
#include "runtime/dynamic_linker.h"

#include <algorithm>
#include <cstdio>
#include <dlfcn.h>

#include "command_stack_adapter.h"
#include "db/database.h"
#include "module_code.h"
#include "platform/modules.h"
#include "runtime/document_manager.h"
#include "runtime/lisp_bridge.h"
#include "runtime/system_registry.h"

namespace tarn::runtime {
namespace {

namespace fs = std::filesystem;

fs::path canonicalPath(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::weakly_canonical(p, ec);
  return ec ? p : c;
}

std::string hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", unsigned(v));
  return buf;
}

}  // namespace

LoadedModule* DynamicLinker::find(std::string_view fileName) const {
  if (fileName.empty()) return nullptr;
  std::string base = platform::ModuleBaseName(fileName);
  fs::path resolved = platform::ResolveModuleFile(fileName);
  for (const auto& m : modules_) {
    if (db::equalsNoCase(platform::ModuleBaseName(m->name), base)) return m.get();
    if (!resolved.empty() && canonicalPath(resolved) == canonicalPath(m->file)) return m.get();
  }
  return nullptr;
}

LoadedModule* DynamicLinker::byAppId(const void* appId) const {
  for (const auto& m : modules_)
    if (m.get() == appId) return m.get();
  return nullptr;
}

LoadedModule* DynamicLinker::byAddress(const void* address) const {
  const void* base = objectBaseOf(address);
  for (const auto& m : modules_)
    if (base && m->base == base) return m.get();
  return nullptr;
}

std::vector<const LoadedModule*> DynamicLinker::modules() const {
  std::vector<const LoadedModule*> out;
  for (const auto& m : modules_) out.push_back(m.get());
  return out;
}

bool DynamicLinker::open(const std::string& name, LoadedModule& m, bool printErrors) {
  auto fail = [&](const std::string& message) {
    if (printErrors) printLine(message);
    if (m.handle) dlclose(m.handle);
    m.handle = nullptr;
    return false;
  };
  m.file = platform::ResolveModuleFile(name);
  if (m.file.empty()) return fail("Cannot find the module \"" + name + "\".");
  m.handle = dlopen(m.file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m.handle) {
    const char* why = dlerror();
    return fail("Cannot load the module " + m.file.string() + ": " + (why ? why : "unknown error") + ".");
  }
  m.entry = reinterpret_cast<tcrxEntryPointFn>(dlsym(m.handle, "tcrxEntryPoint"));
  auto version = reinterpret_cast<tcrxGetApiVersionFn>(dlsym(m.handle, "tcrxGetApiVersion"));
  if (!m.entry || !version)
    return fail(m.file.string() + " is not a module: it does not export " +
                (m.entry ? "tcrxGetApiVersion" : "tcrxEntryPoint") + ".");
  if (uint32_t stamp = version(); stamp != TCRX_API_VERSION)
    return fail(m.file.string() + " was built for another host interface (stamp " + hex(stamp) +
                ", this host " + hex(TCRX_API_VERSION) + ").");
  m.base = objectBaseOfFunction(m.entry);
  return true;
}

bool DynamicLinker::loadModule(const char* fileName, bool printErrors) {
  if (!fileName || !*fileName) return false;
  if (find(fileName)) return true;
  auto module = std::make_unique<LoadedModule>();
  module->name = fileName;
  if (!open(fileName, *module, printErrors)) return false;
  LoadedModule& m = *modules_.emplace_back(std::move(module));
  if (send(m, TCRX_MSG_INIT_APP) != TCRX_RET_OK) {
    if (printErrors) printLine("The module " + m.file.string() + " failed to initialise and was unloaded.");
    release(m);
    return false;
  }
  documentManager().forEachAsCurrent([&](Document&) { send(m, TCRX_MSG_LOAD_DWG); });
  applyDocumentDefinitions();
  return true;
}

int DynamicLinker::send(LoadedModule& module, int message) {
  ModuleCodeScope scope(module.base);
  return module.entry(message, module.appId());
}

void DynamicLinker::sendLoadDrawing() { sendToAll(TCRX_MSG_LOAD_DWG); }

void DynamicLinker::sendToAll(int message) {
  // A module may load or unload others while it is messaged: walk a copy.
  for (const LoadedModule* m : modules())
    if (LoadedModule* live = byAppId(m)) send(*live, message);
}

bool DynamicLinker::unloadModule(const char* fileName) {
  LoadedModule* m = fileName ? find(fileName) : nullptr;
  if (!m || m->locked || moduleCodeRunning(m->base)) return false;
  if (send(*m, TCRX_MSG_UNLOAD_APP) != TCRX_RET_OK) return false;  // the module asks to stay
  release(*m);
  return true;
}

void DynamicLinker::release(LoadedModule& module) {
  commandStackAdapter().removeCommandsOfModule(module.base);
  forgetModuleFunctions(module.appId());
  removeServicesOf(module.base);
  dlclose(module.handle);
  std::erase_if(modules_, [&](const auto& m) { return m.get() == &module; });
}

void DynamicLinker::quitAll() {
  sendToAll(TCRX_MSG_QUIT);
  while (!modules_.empty()) {
    LoadedModule& last = *modules_.back();
    send(last, TCRX_MSG_UNLOAD_APP);
    release(last);
  }
  for (auto it = support_.rbegin(); it != support_.rend(); ++it) dlclose(it->second);
  support_.clear();
}

bool DynamicLinker::loadSupportModule(std::string_view name) {
  fs::path file = platform::ResolveModuleFile(name);
  if (file.empty()) return false;
  for (const auto& s : support_)
    if (canonicalPath(s.first) == canonicalPath(file)) return true;
  // Kept open until the host ends: modules find it among the loaded objects.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return false;
  support_.emplace_back(file, handle);
  return true;
}

void* DynamicLinker::moduleHandle(const char* fileName) const {
  LoadedModule* m = fileName ? find(fileName) : nullptr;
  if (m) return m->handle;
  if (!fileName) return nullptr;
  fs::path file = platform::ResolveModuleFile(fileName);
  for (const auto& s : support_)
    if (!file.empty() && canonicalPath(s.first) == canonicalPath(file)) return s.second;
  return nullptr;
}

bool DynamicLinker::unlockApplication(void* appId) {
  LoadedModule* m = byAppId(appId);
  if (m) m->locked = false;
  return m != nullptr;
}

bool DynamicLinker::lockApplication(void* appId) {
  LoadedModule* m = byAppId(appId);
  if (m) m->locked = true;
  return m != nullptr;
}

bool DynamicLinker::isApplicationLocked(void* appId) const {
  LoadedModule* m = byAppId(appId);
  return m && m->locked;
}

bool DynamicLinker::registerAppMDIAware(void* appId) {
  LoadedModule* m = byAppId(appId);
  if (m) m->mdiAware = true;
  return m != nullptr;
}

}  // namespace tarn::runtime
