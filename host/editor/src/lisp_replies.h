// Internal: LISP values as replies, and the LISP's view of the editor.
#pragma once

#include <memory>

#include "editor/editor.h"
#include "lisp/host.h"

namespace tarn::editor {

// nil is Enter; numbers, strings and points (lists of 2 or 3 numbers) are
// typed text; entity names and selection sets pass as themselves.
Reply valueToReply(const lisp::Value& v);

std::unique_ptr<lisp::LispHost> makeEditorLispHost(Editor& editor);

}  // namespace tarn::editor
