// The resource-handle bracket: while a command runs, dialog templates and
// texts are looked up in the module's resource module.
#include <tarnsdk/tcrxapi.h>

#include "frame/command_environment.h"
#include "frame/module_state.h"

namespace tarn::frame {

ResourceScope::ResourceScope() {
    TcApDocManager* manager = tcDocManagerPtr();
    if (manager == nullptr) return;
    tcpl_module handle = ResourceModule();
    if (handle == nullptr) handle = ExtensionModule().ResourceHandle();
    manager->pushResourceHandle(handle);
    pushed_ = true;
}

ResourceScope::~ResourceScope() {
    if (!pushed_) return;
    if (TcApDocManager* manager = tcDocManagerPtr()) manager->popResourceHandle();
}

}  // namespace tarn::frame
