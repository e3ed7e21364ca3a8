// APPLOAD and APPUNLOAD: module loading at the command line.
#include "runtime/runtime_commands.h"

#include <tarnsdk/tctypes.h>

#include "runtime/dynamic_linker.h"

namespace tarn::runtime {
namespace {

// The file or module name typed, or nothing for Enter and Esc.
bool askName(editor::Editor& e, std::string_view prompt, std::string& name, int& status) {
  editor::Reply r = e.ask(prompt, true);
  status = r.kind == editor::ReplyKind::Cancel ? RTCAN : RTNORM;
  if (r.kind != editor::ReplyKind::Text || r.text.empty()) return false;
  name = r.text;
  return true;
}

int appLoad() {
  editor::Editor& e = editor::currentEditor();
  std::string name;
  int status;
  if (!askName(e, "Module file to load: ", name, status)) return status;
  if (dynamicLinker().find(name)) {
    e.print(name + " is already loaded.\n");
    return RTNORM;
  }
  if (!dynamicLinker().loadModule(name.c_str(), true)) return RTERROR;
  e.print(name + " loaded.\n");
  return RTNORM;
}

void listModules(editor::Editor& e) {
  auto modules = dynamicLinker().modules();
  if (modules.empty()) e.print("No modules are loaded.\n");
  for (const LoadedModule* m : modules)
    e.print(m->name + "  (" + m->file.string() + (m->locked ? ", locked" : "") + ")\n");
}

int appUnload() {
  editor::Editor& e = editor::currentEditor();
  std::string name;
  int status;
  if (!askName(e, "Module to unload or [?]: ", name, status)) return status;
  if (name == "?") {
    listModules(e);
    return RTNORM;
  }
  LoadedModule* m = dynamicLinker().find(name);
  if (!m) {
    e.print(name + " is not loaded.\n");
    return RTERROR;
  }
  std::string shown = m->name;
  if (m->locked) {
    e.print(shown + " is locked and cannot be unloaded.\n");
    return RTERROR;
  }
  if (!dynamicLinker().unloadModule(name.c_str())) {
    e.print(shown + " cannot be unloaded now.\n");
    return RTERROR;
  }
  e.print(shown + " unloaded.\n");
  return RTNORM;
}

}  // namespace

void registerRuntimeCommands(editor::Editor& editor) {
  editor.commands().registerHostCommand("APPLOAD", appLoad);
  editor.commands().registerHostCommand("APPUNLOAD", appUnload);
}

}  // namespace tarn::runtime
