// Internal: the SETVAR host command, also run when a variable's name is
// typed as a command.
#pragma once

#include <string_view>

#include "api/sysvars.h"
#include "editor/editor.h"

namespace tarn::editor {

int setvarCommand(Editor& editor);
int setVariableByName(Editor& editor, std::string_view name);
// A variable's value as the command line shows it.
std::string formatVariable(const host::SysVarValue& v);

}  // namespace tarn::editor
