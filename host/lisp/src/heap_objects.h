// The heap objects behind string, symbol and cons values (internal).
#ifndef TARN_LISP_HEAP_OBJECTS_H
#define TARN_LISP_HEAP_OBJECTS_H

#include <string>

#include "lisp/value.h"

namespace tarn::lisp {

struct TextObject final : HeapObject {
  explicit TextObject(std::string t) : text(std::move(t)) {}
  std::string text;
};

struct ConsObject final : HeapObject {
  ConsObject(Value a, Value d) : car(std::move(a)), cdr(std::move(d)) {}
  ~ConsObject() override;
  Value car;
  Value cdr;  // set once more by ListBuilder before the list is shared
};

}  // namespace tarn::lisp

#endif
