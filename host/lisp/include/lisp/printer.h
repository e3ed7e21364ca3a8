// The printer: values as text in the two forms of a CAD LISP. prin1 writes
// what the reader reads back (strings quoted, with escapes); princ writes
// strings as they are.
//
// Reals print with up to 6 significant digits and always show that they are
// reals: 3.0, 0.333333, 1.23457e+08, 1.0e+20, 1.0e-07.
// Entity names print as <Entity name: 1f>, selection sets as
// <Selection set: 3> (the two words of the name as one hexadecimal number,
// second word high), functions as #<SUBR CAR>, #<USUBR FOO>, #<EXSUBR CAL>.
#ifndef TARN_LISP_PRINTER_H
#define TARN_LISP_PRINTER_H

#include <cstddef>
#include <limits>
#include <string>

#include "lisp/value.h"

namespace tarn::lisp {

enum class PrintStyle { Prin1, Princ };

struct PrintLimits {
  std::size_t maxChars = std::numeric_limits<std::size_t>::max();
  int maxDepth = 1000;  // deeper lists print as "..."
};

// Appends the printed form to `out`. False when the text reached
// limits.maxChars (the text is then cut there).
bool printValue(const Value& v, PrintStyle style, const PrintLimits& limits, std::string& out);

std::string toString(const Value& v, PrintStyle style = PrintStyle::Prin1);

// prin1 form cut at maxChars with "..." after it: for messages, where a
// large or heavily shared structure must not print in full.
std::string toShortString(const Value& v, std::size_t maxChars = 200);

std::string formatReal(double d);

}  // namespace tarn::lisp

#endif
