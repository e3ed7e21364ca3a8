// The module's exported entry points. The host finds them by name; every
// other symbol of the module is hidden.
#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcrxapi.h>

#include "frame/command_table.h"
#include "frame/module_state.h"
#include "module_tables.h"

namespace {

// Stands for the process-attach notification: records the module's own
// handle as soon as the module is loaded.
__attribute__((constructor)) void RecordModuleInstance() {
    tarn::frame::SetModuleInstance(tcplModuleOfAddress(reinterpret_cast<const void*>(&RecordModuleInstance)));
}

}  // namespace

extern "C" TCRX_EXPORT int tcrxEntryPoint(int message, void* appId) {
    const tarn::frame::ModuleTables tables{tarn::frame::kCommandTable, tarn::frame::CommandHandlers(),
                                           tarn::frame::LispFunctions()};
    return tarn::frame::HandleMessage(message, appId, tables);
}

extern "C" TCRX_EXPORT uint32_t tcrxGetApiVersion(void) { return TCRX_API_VERSION; }
