// The answers to the host's application messages: init, unload, load
// drawing, invoke function and quit.
#include <cstring>

#include "frame/module_state.h"
#include "frame/registration.h"

namespace tarn::frame {
namespace {

void UnlockAndRegisterMdi(void* appId) {
    TcRxDictionary* registry = tcrxSysRegistry();
    TcRxObject* object = registry ? registry->at(TCRX_DYNAMIC_LINKER) : nullptr;
    if (object == nullptr || std::strcmp(object->className(), "TcRxDynamicLinker") != 0) return;
    auto* linker = static_cast<TcRxDynamicLinker*>(object);
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
}

int InitApplication(void* appId, const ModuleTables& tables) {
    tcpl_module resources = FindResourceModule();
    SetResourceModule(resources);
    if (resources == nullptr) return TCRX_RET_ERROR;
    UnlockAndRegisterMdi(appId);
    ExtensionModule().Init(ModuleInstance());
    ExtensionModule().SetResourceHandle(resources);
    RegisterCommands(tables.commands, tables.handlers);
    return TCRX_RET_OK;
}

void UnloadApplication() {
    UnregisterCommands();
    ExtensionModule().Terminate();
    if (tcpl_module resources = ResourceModule()) {
        SetResourceModule(nullptr);
        tcplFreeModule(resources);
    }
}

}  // namespace

tcpl_module FindResourceModule() {
    tcpl_module language = tcplFindLoadedModule(kLanguageModule);
    if (language == nullptr) return nullptr;
    auto find = reinterpret_cast<tcplFindResourceModuleFn>(
        tcplGetProcAddress(language, TCPL_UINFO_FIND_RESOURCE));
    return find ? find(kResourceModuleFile) : nullptr;
}

int HandleMessage(int message, void* appId, const ModuleTables& tables) {
    switch (message) {
        case TCRX_MSG_INIT_APP: return InitApplication(appId, tables);
        case TCRX_MSG_UNLOAD_APP: UnloadApplication(); break;
        case TCRX_MSG_LOAD_DWG: DefineLispFunctions(tables.lispFunctions); break;
        case TCRX_MSG_INVOKE_FUNCTION: DispatchLispCall(tables.lispFunctions); break;
        case TCRX_MSG_QUIT: UnregisterCommands(); break;
        default: break;  // dependency messages and the rest need nothing
    }
    return TCRX_RET_OK;
}

}  // namespace tarn::frame
