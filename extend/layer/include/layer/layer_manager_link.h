// The sibling module "TarnLayerManager.trx", which records and restores
// layer states: found among the loaded modules, else loaded through the
// host's dynamic linker, and its exports looked up by name.
#pragma once

namespace tarn::layer {

// The address of an export of the layer-state module, loading the module
// when it is not loaded yet; null when the module or the export is missing.
void* LayerManagerExport(const char* name);

}  // namespace tarn::layer
