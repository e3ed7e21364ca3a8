// Comparison and predicate builtins: = /= < > <= >=, eq, equal, and the type
// and sign tests.
#include <string>

#include "builtin_support.h"

namespace tarn::lisp {

namespace {

// -1, 0 or 1 for two numbers or two strings; false when they are not both
// numbers or both strings.
bool order(const Value& a, const Value& b, int& cmp) {
  if (a.isNumber() && b.isNumber()) {
    if (a.type() == Type::Int && b.type() == Type::Int) {
      cmp = (a.asInt() > b.asInt()) - (a.asInt() < b.asInt());
    } else {
      cmp = (a.asNumber() > b.asNumber()) - (a.asNumber() < b.asNumber());
    }
    return true;
  }
  if (a.isString() && b.isString()) {
    int c = a.text().compare(b.text());
    cmp = (c > 0) - (c < 0);
    return true;
  }
  return false;
}

// = compares numbers by value and strings by text; anything else by identity.
bool sameForEquals(const Value& a, const Value& b) {
  int cmp = 0;
  if (order(a, b, cmp)) return cmp == 0;
  return valuesEq(a, b);
}

Outcome equalsFn(Machine&, std::span<const Value> args) {
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (!sameForEquals(args[k - 1], args[k])) return Outcome::success(Value());
  }
  return Outcome::success(Value::t());
}

// T when no two neighbouring arguments are equal.
Outcome notEqualsFn(Machine&, std::span<const Value> args) {
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (sameForEquals(args[k - 1], args[k])) return Outcome::success(Value());
  }
  return Outcome::success(Value::t());
}

template <bool (*kHolds)(int)>
Outcome orderFn(Machine&, std::span<const Value> args) {
  for (std::size_t k = 1; k < args.size(); ++k) {
    int cmp = 0;
    if (!order(args[k - 1], args[k], cmp)) {
      const Value& odd = args[k - 1].isNumber() || args[k - 1].isString() ? args[k] : args[k - 1];
      return badType("numberp", odd);
    }
    if (!kHolds(cmp)) return Outcome::success(Value());
  }
  return Outcome::success(Value::t());
}

bool less(int c) { return c < 0; }
bool greater(int c) { return c > 0; }
bool lessOrEqual(int c) { return c <= 0; }
bool greaterOrEqual(int c) { return c >= 0; }

Outcome eqFn(Machine&, std::span<const Value> args) { return Outcome::success(truth(valuesEq(args[0], args[1]))); }

Outcome equalFn(Machine& m, std::span<const Value> args) {
  double fuzz = 0.0;
  if (args.size() == 3) {
    if (!args[2].isNumber()) return badType("numberp", args[2]);
    fuzz = args[2].asNumber();
  }
  std::string error;
  bool same = valuesEqual(m, args[0], args[1], fuzz, error);
  if (!error.empty()) return Outcome::failure(error);
  return Outcome::success(truth(same));
}

template <bool (*kTest)(const Value&)>
Outcome predicate(Machine&, std::span<const Value> args) {
  return Outcome::success(truth(kTest(args[0])));
}

template <bool (*kTest)(double)>
Outcome numberPredicate(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  return Outcome::success(truth(kTest(args[0].asNumber())));
}

bool isNull(const Value& v) { return v.isNil(); }
bool isNumber(const Value& v) { return v.isNumber(); }
bool isList(const Value& v) { return v.isList(); }
bool isAtom(const Value& v) { return !v.isCons(); }
bool isNegative(double x) { return x < 0.0; }
bool isZero(double x) { return x == 0.0; }  // exact: zerop asks for zero itself

constexpr BuiltinSpec kCompare[] = {
    {"=", 1, kAnyCount, equalsFn, nullptr},
    {"/=", 1, kAnyCount, notEqualsFn, nullptr},
    {"<", 1, kAnyCount, orderFn<less>, nullptr},
    {">", 1, kAnyCount, orderFn<greater>, nullptr},
    {"<=", 1, kAnyCount, orderFn<lessOrEqual>, nullptr},
    {">=", 1, kAnyCount, orderFn<greaterOrEqual>, nullptr},
    {"EQ", 2, 2, eqFn, nullptr},
    {"EQUAL", 2, 3, equalFn, nullptr},
    {"NOT", 1, 1, predicate<isNull>, nullptr},
    {"NULL", 1, 1, predicate<isNull>, nullptr},
    {"NUMBERP", 1, 1, predicate<isNumber>, nullptr},
    {"LISTP", 1, 1, predicate<isList>, nullptr},
    {"ATOM", 1, 1, predicate<isAtom>, nullptr},
    {"MINUSP", 1, 1, numberPredicate<isNegative>, nullptr},
    {"ZEROP", 1, 1, numberPredicate<isZero>, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> compareBuiltins() { return kCompare; }

}  // namespace tarn::lisp
