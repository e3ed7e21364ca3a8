// The module-wide state: one instance per loaded module.
#include "frame/module_state.h"

namespace tarn::frame {
namespace {

struct ModuleState {
    tcpl_module instance = nullptr;
    tcpl_module resourceModule = nullptr;
    ExtensionModuleRecord extension;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

}  // namespace

bool ExtensionModuleRecord::Init(tcpl_module instance) {
    if (instance == nullptr) return false;
    if (!initialised_) instance_ = instance;
    initialised_ = true;
    return true;
}

void ExtensionModuleRecord::Terminate() {
    initialised_ = false;
    resourceHandle_ = nullptr;
}

tcpl_module ModuleInstance() { return State().instance; }
void SetModuleInstance(tcpl_module instance) { State().instance = instance; }
tcpl_module ResourceModule() { return State().resourceModule; }
void SetResourceModule(tcpl_module module) { State().resourceModule = module; }
ExtensionModuleRecord& ExtensionModule() { return State().extension; }

}  // namespace tarn::frame
