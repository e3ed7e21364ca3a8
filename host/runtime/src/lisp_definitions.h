// Internal: defining and undefining module functions in the current document.
#pragma once

#include <string>

#include "runtime/document_manager.h"

namespace tarn::runtime {

// RTNORM, or RTERROR for a name the LISP cannot bind or without a document.
int defineModuleFunction(const LispDefinition& definition);
// RTNORM, or RTERROR when the current document has no such function.
int undefineModuleFunction(const std::string& globalName, int code);

}  // namespace tarn::runtime
