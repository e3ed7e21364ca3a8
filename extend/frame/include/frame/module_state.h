// The module-wide state that lives from init to unload: the module's own
// handle, the resource module that holds its texts and dialogs, and the
// record that tells the dialog framework where this module's resources are.
#pragma once

#include <tarnsdk/tcplatform.h>

namespace tarn::frame {

// The dialog framework's record of this module: the module's own handle and
// the handle its dialogs and strings are looked up in (the module's own until
// a resource module is set).
class ExtensionModuleRecord {
public:
    // False when the handle is null; a second Init keeps the first handle.
    bool Init(tcpl_module instance);
    void Terminate();
    bool IsInitialised() const { return initialised_; }
    void SetResourceHandle(tcpl_module handle) { resourceHandle_ = handle; }
    tcpl_module ResourceHandle() const { return resourceHandle_ ? resourceHandle_ : instance_; }

private:
    tcpl_module instance_ = nullptr;
    tcpl_module resourceHandle_ = nullptr;
    bool initialised_ = false;
};

tcpl_module ModuleInstance();
void SetModuleInstance(tcpl_module instance);

// The resource module ("TarnExtendRes"), null until init found it.
tcpl_module ResourceModule();
void SetResourceModule(tcpl_module module);

ExtensionModuleRecord& ExtensionModule();

}  // namespace tarn::frame
