// What builtins share (internal): their table rows, argument checks and the
// error messages of a CAD LISP.
#ifndef TARN_LISP_BUILTIN_SUPPORT_H
#define TARN_LISP_BUILTIN_SUPPORT_H

#include <cstdint>
#include <span>
#include <string>

#include "lisp/outcome.h"
#include "lisp/value.h"
#include "machine.h"

namespace tarn::lisp {

using BuiltinFn = Outcome (*)(Machine&, std::span<const Value>);
using SpecialFn = Outcome (*)(Machine&, const Value& forms);

constexpr int kAnyCount = -1;

struct BuiltinSpec {
  const char* name;
  int minArgs;
  int maxArgs;  // kAnyCount: no upper limit
  BuiltinFn fn;
  SpecialFn special;  // set for special forms, which take their forms unevaluated
};

std::span<const BuiltinSpec> specialForms();
std::span<const BuiltinSpec> mathBuiltins();
std::span<const BuiltinSpec> compareBuiltins();
std::span<const BuiltinSpec> listBuiltins();
std::span<const BuiltinSpec> stringBuiltins();
std::span<const BuiltinSpec> systemBuiltins();
std::span<const BuiltinSpec> hostBuiltins();

// "bad argument type: numberp: \"a\""
Outcome badType(const char* predicate, const Value& v);
Outcome badValue(const char* function, const Value& v);

inline Value truth(bool b) { return b ? Value::t() : Value(); }

// A symbol that setq, set, defun and foreach may bind: not T, not a special form.
Outcome checkAssignable(Machine& m, const Value& target);

// Integers that overflow 32 bits become reals rather than wrapping round.
Value integerOrReal(std::int64_t v);
// Real results must be finite; infinity or NaN is an error.
Outcome checkedReal(double v);

// Nesting of car within car that builtins walking structure go down to.
constexpr int kMaxDataDepth = 5000;

// Structural equality with an optional numeric fuzz; charges the budget per
// element compared. On failure (budget spent, nesting too deep) `error` is set.
bool valuesEqual(Machine& m, const Value& a, const Value& b, double fuzz, std::string& error, int depth = 0);
// Identity as eq compares it: numbers, symbols and names by value, strings and
// lists by object.
bool valuesEq(const Value& a, const Value& b);

}  // namespace tarn::lisp

#endif
