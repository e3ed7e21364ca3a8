// The link to the sibling module "TarnLayerManager.trx": found among the
// loaded modules, else loaded through the host's dynamic linker (quietly,
// not as a command), and its exports looked up by name.
#include "layer/layer_manager_link.h"

#include <cstring>

#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcrxapi.h>

namespace tarn::layer {
namespace {

constexpr const char* kLayerManagerModule = "TarnLayerManager.trx";

TcRxDynamicLinker* DynamicLinker() {
    TcRxDictionary* registry = tcrxSysRegistry();
    TcRxObject* linker = registry ? registry->at(TCRX_DYNAMIC_LINKER) : nullptr;
    // Told by its class name: type information is not shared across modules.
    if (!linker || std::strcmp(linker->className(), "TcRxDynamicLinker") != 0) return nullptr;
    return static_cast<TcRxDynamicLinker*>(linker);
}

// The module's handle, loading it when it is not loaded yet; null when it
// cannot be found or loaded.
tcpl_module LayerManagerModule() {
    if (tcpl_module module = tcplFindLoadedModule(kLayerManagerModule)) return module;
    TcRxDynamicLinker* linker = DynamicLinker();
    if (!linker || !linker->loadModule(kLayerManagerModule, false)) return nullptr;
    return tcplFindLoadedModule(kLayerManagerModule);
}

}  // namespace

void* LayerManagerExport(const char* name) {
    if (!name || !*name) return nullptr;
    tcpl_module module = LayerManagerModule();
    return module ? tcplGetProcAddress(module, name) : nullptr;
}

}  // namespace tarn::layer
