// The system registry and the service calls of the SDK. The three host
// objects in it (the service dictionary, the dynamic linker and the command
// stack) are pinned: a module cannot remove or replace them, since the host
// keeps using them.
#include <string_view>

#include "command_stack_adapter.h"
#include "module_code.h"
#include "runtime/dynamic_linker.h"
#include "runtime/system_registry.h"

namespace tarn::runtime {
namespace {

bool pinned(const char* key) {
  if (!key) return false;
  std::string_view k(key);
  return k == TCRX_SERVICE_DICTIONARY || k == TCRX_DYNAMIC_LINKER || k == TCRX_COMMAND_STACK;
}

class SystemRegistry : public RxDictionary {
 public:
  SystemRegistry() {
    RxDictionary::atPut(TCRX_SERVICE_DICTIONARY, new RxDictionary);
    RxDictionary::atPut(TCRX_DYNAMIC_LINKER, new DynamicLinker);
    RxDictionary::atPut(TCRX_COMMAND_STACK, new CommandStackAdapter);
  }
  // A pinned key keeps its object; the one offered stays the caller's.
  TcRxObject* atPut(const char* key, TcRxObject* object) override {
    return pinned(key) ? object : RxDictionary::atPut(key, object);
  }
  TcRxObject* remove(const char* key) override { return pinned(key) ? nullptr : RxDictionary::remove(key); }
};

// Who registered each service by name (the load address of the module).
std::map<std::string, const void*, std::less<>>& serviceOwners() {
  static std::map<std::string, const void*, std::less<>> owners;
  return owners;
}

// Objects whose class lives in the module (their vtable is in its image).
bool madeByModule(const TcRxObject& object, const void* base) {
  const void* vtable = *reinterpret_cast<const void* const*>(&object);
  return objectBaseOf(vtable) == base;
}

SystemRegistry& registry() {
  // Never destroyed: modules may still hold these objects while the process ends.
  static SystemRegistry* r = new SystemRegistry;
  return *r;
}

}  // namespace

RxDictionary& serviceDictionary() { return static_cast<RxDictionary&>(*registry().at(TCRX_SERVICE_DICTIONARY)); }

DynamicLinker& dynamicLinker() { return static_cast<DynamicLinker&>(*registry().at(TCRX_DYNAMIC_LINKER)); }

int removeServicesOf(const void* moduleBase) {
  auto& owners = serviceOwners();
  int n = serviceDictionary().eraseIf([&](const std::string& name, const TcRxObject& o) {
    auto it = owners.find(name);
    return (it != owners.end() && it->second == moduleBase) || madeByModule(o, moduleBase);
  });
  std::erase_if(owners, [&](const auto& entry) { return entry.second == moduleBase; });
  return n;
}

CommandStackAdapter& commandStackAdapter() {
  return static_cast<CommandStackAdapter&>(*registry().at(TCRX_COMMAND_STACK));
}

}  // namespace tarn::runtime

TcRxDictionary* tcrxSysRegistry() { return &tarn::runtime::registry(); }

bool tcrxServiceIsRegistered(const char* serviceName) {
  TcRxObject* o = tarn::runtime::serviceDictionary().at(serviceName);
  return o != nullptr;
}

TcRxService* tcrxRegisterService(const char* serviceName) {
  if (!serviceName || !*serviceName) return nullptr;
  auto& services = tarn::runtime::serviceDictionary();
  if (TcRxObject* existing = services.at(serviceName)) return dynamic_cast<TcRxService*>(existing);
  auto* service = new TcRxService;
  services.atPut(serviceName, service);
  tarn::runtime::serviceOwners()[serviceName] = tarn::runtime::objectBaseOf(__builtin_return_address(0));
  return service;
}
