// The heap object behind a function value: a builtin, a user function made by
// defun or lambda, or a function a module defined under a function code.
#ifndef TARN_LISP_FUNCTION_OBJECT_H
#define TARN_LISP_FUNCTION_OBJECT_H

#include <string>
#include <vector>

#include "lisp/value.h"

namespace tarn::lisp {

struct BuiltinSpec;

struct FunctionObject final : HeapObject {
  FunctionKind kind = FunctionKind::Builtin;
  std::string name;
  const BuiltinSpec* builtin = nullptr;  // Builtin
  std::vector<std::string> params;       // User
  std::vector<std::string> locals;       // User: the names after "/"
  Value body;                            // User: the list of body forms
  ExternalFunction external;             // External
};

inline const FunctionObject& functionOf(const Value& v) {
  return *static_cast<const FunctionObject*>(v.heap());
}

}  // namespace tarn::lisp

#endif
