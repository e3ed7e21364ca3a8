// Loaded modules: finding, loading and freeing shared objects, their
// exports, and which module holds an address. A handle is what dlopen gives.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "platform/modules.h"

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The handle of a file already loaded, without keeping a reference: a
// lookup must not keep a module loaded (the desktop's lookup does not).
void* LoadedHandleOf(const char* file) {
  void* handle = ::dlopen(file, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) ::dlclose(handle);
  return handle;
}

struct NameSearch {
  std::string base;
  std::string file;   // the loaded object's path, when found
};

int MatchLoadedObject(struct dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<NameSearch*>(data);
  if (info->dlpi_name == nullptr || *info->dlpi_name == '\0') return 0;
  if (!SameNameIgnoringCase(tarn::platform::ModuleBaseName(info->dlpi_name), search->base)) return 0;
  search->file = info->dlpi_name;
  return 1;
}

struct BaseSearch {
  const void* base = nullptr;
  bool isMainProgram = false;
};

// Where an object's image starts: its load bias plus its lowest segment
// (the bias alone is 0 for a program not built position-independent).
uintptr_t ImageStart(const struct dl_phdr_info* info) {
  uintptr_t lowest = UINTPTR_MAX;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    if (info->dlpi_phdr[i].p_type == PT_LOAD && info->dlpi_phdr[i].p_vaddr < lowest) lowest = info->dlpi_phdr[i].p_vaddr;
  }
  return info->dlpi_addr + (lowest == UINTPTR_MAX ? 0 : lowest);
}

int MatchMainProgram(struct dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<BaseSearch*>(data);
  search->isMainProgram = ImageStart(info) == reinterpret_cast<uintptr_t>(search->base);
  return 1;   // the first object listed is the program itself
}

std::string MainProgramPath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0) return {};
  path.resize(static_cast<size_t>(n));
  return path;
}

size_t CopyPath(const std::string& path, char* buffer, size_t size) {
  if (path.empty()) return 0;
  if (buffer == nullptr || size == 0) return path.size();
  if (path.size() + 1 > size) {   // a cut path names another file: refuse it
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return path.size();
}

}  // namespace

extern "C" {

tcpl_module tcplFindLoadedModule(const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  const std::string file = tarn::platform::ResolveModuleFile(name).string();
  if (!file.empty()) {
    if (void* handle = LoadedHandleOf(file.c_str())) return handle;
  }
  NameSearch search{tarn::platform::ModuleBaseName(name), {}};
  if (::dl_iterate_phdr(MatchLoadedObject, &search) == 0) return nullptr;
  return LoadedHandleOf(search.file.c_str());
}

tcpl_module tcplLoadModule(const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  const std::string file = tarn::platform::ResolveModuleFile(name).string();
  if (file.empty()) return nullptr;
  return ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

int tcplFreeModule(tcpl_module module) {
  return module != nullptr && ::dlclose(module) == 0 ? 1 : 0;
}

void* tcplGetProcAddress(tcpl_module module, const char* symbol) {
  if (module == nullptr || symbol == nullptr) return nullptr;
  return ::dlsym(module, symbol);
}

tcpl_module tcplModuleOfAddress(const void* address) {
  Dl_info info{};
  if (address == nullptr || ::dladdr(address, &info) == 0 || info.dli_fname == nullptr) return nullptr;
  BaseSearch search{info.dli_fbase, false};
  ::dl_iterate_phdr(MatchMainProgram, &search);
  if (search.isMainProgram) return LoadedHandleOf(nullptr);
  return LoadedHandleOf(info.dli_fname);
}

size_t tcplModuleFileName(tcpl_module module, char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  struct link_map* map = nullptr;
  if (module == nullptr || ::dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return 0;
  const std::string path = (map->l_name != nullptr && *map->l_name != '\0') ? map->l_name : MainProgramPath();
  return CopyPath(path, buffer, size);
}

}  // extern "C"
