// The module's entry points and its three exports, found by name by the
// layer tools of TarnExtend: "LayIso", "LayUnisoNew" and "LayerStateSaveCmd".
// Every other symbol of the module is hidden.
#include <cstdint>
#include <cstring>
#include <string>

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcrxapi.h>

#include "isolation_record.h"
#include "layer_snapshot.h"
#include "named_layer_state.h"

namespace {

// The module may be unloaded again, and it serves every open drawing: its
// records live in the drawings, not in the module.
void UnlockAndRegisterMdi(void* appId) {
    TcRxDictionary* registry = tcrxSysRegistry();
    TcRxObject* object = registry ? registry->at(TCRX_DYNAMIC_LINKER) : nullptr;
    if (object == nullptr || std::strcmp(object->className(), "TcRxDynamicLinker") != 0) return;
    auto* linker = static_cast<TcRxDynamicLinker*>(object);
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
}

}  // namespace

extern "C" TCRX_EXPORT int tcrxEntryPoint(int message, void* appId) {
    if (message == TCRX_MSG_INIT_APP) UnlockAndRegisterMdi(appId);
    return TCRX_RET_OK;
}

extern "C" TCRX_EXPORT uint32_t tcrxGetApiVersion(void) { return TCRX_API_VERSION; }

// Records the state of every layer of the current drawing in the drawing,
// replacing the record of an earlier isolation.
extern "C" TCRX_EXPORT void LayIso(void) {
    using namespace tarn::layermanager;
    TcDbDatabase* db = tcdbWorkingDatabase();
    LayerSnapshot snapshot;
    if (db && CaptureLayers(*db, snapshot)) WriteIsolationRecord(*db, snapshot);
}

// Restores the states recorded by the last LayIso and removes the record:
// non-zero when it restored, 0 when the drawing holds no record.
extern "C" TCRX_EXPORT int32_t LayUnisoNew(void) {
    using namespace tarn::layermanager;
    TcDbDatabase* db = tcdbWorkingDatabase();
    LayerSnapshot snapshot;
    if (!db || !ReadIsolationRecord(*db, snapshot) || !RestoreLayers(*db, snapshot)) return 0;
    RemoveIsolationRecord(*db);
    return 1;
}

// Saves the present layer state as the named state "LAYWALK<n>" (the first
// free number) and says so on the command line.
extern "C" TCRX_EXPORT void LayerStateSaveCmd(void) {
    TcDbDatabase* db = tcdbWorkingDatabase();
    const std::string name = db ? tarn::layermanager::SaveNamedLayerState(*db) : std::string();
    const std::string message =
        name.empty() ? "\nThe layer state could not be saved.\n" : "\nLayer state \"" + name + "\" saved.\n";
    tcedPrompt(message.c_str());
}
