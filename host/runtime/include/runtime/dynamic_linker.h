// The dynamic linker: loads modules (shared objects exporting tcrxEntryPoint
// and tcrxGetApiVersion), checks their interface stamp, sends them the
// application messages and unloads them again. Each loaded module gets an
// application id, an opaque pointer it passes back to the linker.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tcrxapi.h>

namespace tarn::runtime {

struct LoadedModule {
  std::string name;             // as the user named it ("TarnExtend.trx")
  std::filesystem::path file;   // the file loaded
  void* handle = nullptr;       // of dlopen
  const void* base = nullptr;   // load address, to tell the module's code by its address
  tcrxEntryPointFn entry = nullptr;
  bool locked = true;           // a module is locked until it unlocks itself
  bool mdiAware = false;
  void* appId() { return this; }
};

class DynamicLinker : public TcRxDynamicLinker {
 public:
  bool loadModule(const char* fileName, bool printErrors) override;
  bool unloadModule(const char* fileName) override;
  void* moduleHandle(const char* fileName) const override;
  bool unlockApplication(void* appId) override;
  bool lockApplication(void* appId) override;
  bool isApplicationLocked(void* appId) const override;
  bool registerAppMDIAware(void* appId) override;

  // Loads a module that gets no messages (the language module): true when
  // loaded, false (quietly) when there is no such file or it cannot load.
  bool loadSupportModule(std::string_view name);

  // Sends a message to one module; its answer.
  int send(LoadedModule& module, int message);
  // Sends load-drawing to every module for the current document.
  void sendLoadDrawing();
  // Sends a message to every module, first loaded first.
  void sendToAll(int message);
  // When the host ends: quit to every module, then unload every one (locked
  // ones too), last loaded first; the language modules go last.
  void quitAll();

  LoadedModule* find(std::string_view fileName) const;
  LoadedModule* byAppId(const void* appId) const;
  // The module whose code holds this address.
  LoadedModule* byAddress(const void* address) const;
  std::vector<const LoadedModule*> modules() const;

 private:
  // Takes what the module left registered away and closes its file.
  void release(LoadedModule& module);
  bool open(const std::string& name, LoadedModule& module, bool printErrors);

  std::vector<std::unique_ptr<LoadedModule>> modules_;
  std::vector<std::pair<std::filesystem::path, void*>> support_;
};

// The linker in the system registry ("DynamicLinker").
DynamicLinker& dynamicLinker();

}  // namespace tarn::runtime
