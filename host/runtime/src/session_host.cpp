// The session's documents and modules.
#include "runtime/session_host.h"

#include <cstdio>

#include "commands/host_commands.h"
#include "editor/host_files.h"
#include "platform/modules.h"
#include "platformsdk/platform_sdk.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

namespace tarn::runtime {

bool RuntimeSessionHost::openDrawings(const std::vector<std::string>& files) {
  DocumentManager& docs = documentManager();
  Document* first = nullptr;
  for (const auto& file : files) {
    std::string error;
    Document* d = docs.open(file, &error);
    if (!d) {
      std::fprintf(stderr, "%s\n", error.c_str());
      docs.closeAll();
      return false;
    }
    if (!first) first = d;
  }
  if (!first) first = docs.openNew();
  docs.makeCurrent(first);
  return true;
}

bool RuntimeSessionHost::start(editor::Editor& editor, const editor::SessionOptions& options) {
  commands::registerHostCommands(editor);
  registerRuntimeCommands(editor);
  // The environment values and the modules' registry calls share one store.
  editor::setEnvironmentRegistry(&platformsdk::SharedRegistryStore());
  bindEditor(editor);
  DynamicLinker& linker = dynamicLinker();
  linker.loadSupportModule(kLanguageModule);  // absent: modules run without translated texts
  for (const auto& name : options.modules)
    if (!linker.loadModule(name.c_str(), true)) return false;
  if (options.defaultModules && !platform::ResolveModuleFile(kDefaultModule).empty())
    linker.loadModule(kDefaultModule, true);  // a refusal is on the command line; the session goes on
  return true;
}

void RuntimeSessionHost::finish() {
  dynamicLinker().quitAll();
  documentManager().closeAll();
}

}  // namespace tarn::runtime
