// The LISP bridge of the runtime: functions that modules define in a
// document's LISP, called back with the invoke message; "C:" functions
// typed as commands.
#pragma once

#include <span>

#include "editor/editor.h"
#include "lisp/outcome.h"
#include "lisp/value.h"

namespace tarn::runtime {

// The group under which "C:NAME" functions of modules are commands NAME.
inline constexpr const char* kLispCommandGroup = "TCAD_LISP_COMMANDS";

// Calls the module that defined `fn` (what Editor::externalCalls does).
lisp::Outcome callModuleFunction(const lisp::ExternalFunction& fn, std::span<const lisp::Value> args);

// Makes the editor call modules for their functions and gives its LISP the
// current document's module functions (and their "C:" commands).
void bindEditor(editor::Editor& editor);

// Gives the current editor's LISP the current document's module functions
// and takes away those of other documents.
void applyDocumentDefinitions();

// A module goes: its functions leave every document and the LISP.
void forgetModuleFunctions(void* appId);

}  // namespace tarn::runtime
