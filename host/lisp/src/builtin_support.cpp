// Shared pieces of the builtins: error messages, overflow-safe integer
// results, eq and equal.
#include "builtin_support.h"

#include <cmath>
#include <limits>

#include "function_object.h"
#include "lisp/printer.h"

namespace tarn::lisp {

Outcome badType(const char* predicate, const Value& v) {
  return Outcome::failure(std::string("bad argument type: ") + predicate + ": " + toShortString(v));
}

Outcome badValue(const char* function, const Value& v) {
  return Outcome::failure(std::string("bad argument value: ") + function + ": " + toShortString(v));
}

Outcome checkAssignable(Machine& m, const Value& target) {
  if (!target.isSymbol() || target.text().empty()) return badType("symbolp", target);
  if (target.isT()) return Outcome::failure("attempt to set a constant: T");
  Value current = m.lookup(target.text());
  if (current.isFunction() && current.functionKind() == FunctionKind::Builtin &&
      functionOf(current).builtin->special != nullptr) {
    return Outcome::failure("attempt to redefine a special form: " + target.text());
  }
  return Outcome::success(Value());
}

Value integerOrReal(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
    return Value::real(static_cast<double>(v));
  }
  return Value::integer(static_cast<std::int32_t>(v));
}

Outcome checkedReal(double v) {
  if (!std::isfinite(v)) return Outcome::failure("floating-point overflow");
  return Outcome::success(Value::real(v));
}

bool valuesEq(const Value& a, const Value& b) {
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case Type::Nil: return true;
    case Type::Int: return a.asInt() == b.asInt();
    case Type::Real: return a.asReal() == b.asReal();  // eq on reals is exact by definition
    case Type::Symbol: return a.text() == b.text();
    case Type::EntityName:
    case Type::SelectionSet: return a.nameWord(0) == b.nameWord(0) && a.nameWord(1) == b.nameWord(1);
    default: return a.heap() == b.heap();
  }
}

namespace {

bool numbersEqual(const Value& a, const Value& b, double fuzz) {
  if (a.type() == Type::Int && b.type() == Type::Int && fuzz == 0.0) return a.asInt() == b.asInt();
  return std::fabs(a.asNumber() - b.asNumber()) <= fuzz;
}

}  // namespace

// Walks the cdr chain in a loop and recurses only into cars, so long lists
// cost no stack; the budget bounds the work on shared structure.
bool valuesEqual(Machine& m, const Value& a, const Value& b, double fuzz, std::string& error, int depth) {
  if (depth > kMaxDataDepth) {
    error = "list nested too deeply";
    return false;
  }
  const Value* x = &a;
  const Value* y = &b;
  for (;;) {
    if (!m.charge()) {
      error = m.stepLimitFailure().error();
      return false;
    }
    if (x->isNumber() && y->isNumber()) return numbersEqual(*x, *y, fuzz);
    if (x->isString() && y->isString()) return x->text() == y->text();
    if (!x->isCons() || !y->isCons()) return valuesEq(*x, *y);
    if (x->heap() == y->heap() && fuzz == 0.0) return true;
    if (!valuesEqual(m, x->car(), y->car(), fuzz, error, depth + 1)) return false;
    x = &x->cdr();
    y = &y->cdr();
  }
}

}  // namespace tarn::lisp
