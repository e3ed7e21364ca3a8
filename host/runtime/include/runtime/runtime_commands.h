// The host commands of the runtime: APPLOAD (load a module by file name)
// and APPUNLOAD (unload one, or list the loaded modules with "?").
#pragma once

#include "editor/editor.h"

namespace tarn::runtime {

void registerRuntimeCommands(editor::Editor& editor);

}  // namespace tarn::runtime
