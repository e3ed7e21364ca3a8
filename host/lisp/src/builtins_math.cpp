// Arithmetic builtins. Integers are 32-bit; a result that does not fit
// becomes a real instead of wrapping round. Integer division truncates.
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

#include "builtin_support.h"
#include "lisp/printer.h"

namespace tarn::lisp {

namespace {

// A number during a fold: an integer (kept in 64 bits so that one step can
// not overflow) until a real or an overflow makes it real.
struct Number {
  bool integer = true;
  std::int64_t i = 0;
  double r = 0.0;

  double real() const { return integer ? static_cast<double>(i) : r; }
  static Number of(const Value& v) { return v.type() == Type::Int ? Number{true, v.asInt(), 0.0} : Number{false, 0, v.asReal()}; }
  void settle() {
    if (integer && (i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())) {
      r = static_cast<double>(i);
      integer = false;
    }
  }
  Outcome result() const { return integer ? Outcome::success(integerOrReal(i)) : checkedReal(r); }
};

Outcome requireNumbers(std::span<const Value> args) {
  for (const Value& v : args) {
    if (!v.isNumber()) return badType("numberp", v);
  }
  return Outcome::success(Value());
}

enum class Op { Add, Sub, Mul, Div, Rem };

bool combine(Number& acc, const Number& next, Op op) {
  bool integer = acc.integer && next.integer;
  if (integer) {
    std::int64_t a = acc.i, b = next.i;
    if ((op == Op::Div || op == Op::Rem) && b == 0) return false;
    static constexpr std::int64_t (*kIntOps[])(std::int64_t, std::int64_t) = {
        [](std::int64_t x, std::int64_t y) { return x + y; }, [](std::int64_t x, std::int64_t y) { return x - y; },
        [](std::int64_t x, std::int64_t y) { return x * y; }, [](std::int64_t x, std::int64_t y) { return x / y; },
        [](std::int64_t x, std::int64_t y) { return x % y; }};
    acc.i = kIntOps[static_cast<int>(op)](a, b);
    acc.settle();
    return true;
  }
  double a = acc.real(), b = next.real();
  if ((op == Op::Div || op == Op::Rem) && b == 0.0) return false;
  static constexpr double (*kRealOps[])(double, double) = {
      [](double x, double y) { return x + y; }, [](double x, double y) { return x - y; },
      [](double x, double y) { return x * y; }, [](double x, double y) { return x / y; },
      [](double x, double y) { return std::fmod(x, y); }};
  acc = Number{false, 0, kRealOps[static_cast<int>(op)](a, b)};
  return true;
}

// Folds the arguments left to right. With one argument, - negates; with
// none, every operator gives 0.
template <Op kOp>
Outcome arithmetic(Machine&, std::span<const Value> args) {
  Outcome check = requireNumbers(args);
  if (!check.ok()) return check;
  if (args.empty()) return Outcome::success(Value::integer(0));
  Number acc = Number::of(args[0]);
  if (kOp == Op::Sub && args.size() == 1) {
    Number zero;
    combine(zero, acc, Op::Sub);
    return zero.result();
  }
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (!combine(acc, Number::of(args[k]), kOp)) return Outcome::failure("divide by zero");
  }
  return acc.result();
}

template <int kDelta>
Outcome step(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  Number n = Number::of(args[0]);
  combine(n, Number{true, kDelta, 0.0}, Op::Add);
  return n.result();
}

Outcome absFn(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  Number n = Number::of(args[0]);
  if (n.integer) return Outcome::success(integerOrReal(n.i < 0 ? -n.i : n.i));
  return checkedReal(std::fabs(n.r));
}

template <bool kMax>
Outcome extreme(Machine&, std::span<const Value> args) {
  Outcome check = requireNumbers(args);
  if (!check.ok()) return check;
  if (args.empty()) return Outcome::success(Value::integer(0));
  bool anyReal = false;
  std::size_t best = 0;
  for (std::size_t k = 0; k < args.size(); ++k) {
    anyReal = anyReal || args[k].type() == Type::Real;
    bool better = kMax ? args[k].asNumber() > args[best].asNumber() : args[k].asNumber() < args[best].asNumber();
    if (better) best = k;
  }
  return Outcome::success(anyReal ? Value::real(args[best].asNumber()) : args[best]);
}

// One-argument real functions with the domain each accepts.
template <double (*kFn)(double), bool (*kDomain)(double)>
Outcome realFunction(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  double x = args[0].asNumber();
  if (!kDomain(x)) return Outcome::failure("function undefined for argument: " + toShortString(args[0]));
  return checkedReal(kFn(x));
}

bool anywhere(double) { return true; }
bool nonNegative(double x) { return x >= 0.0; }
bool positive(double x) { return x > 0.0; }
double sqrtOf(double x) { return std::sqrt(x); }
double sinOf(double x) { return std::sin(x); }
double cosOf(double x) { return std::cos(x); }
double expOf(double x) { return std::exp(x); }
double logOf(double x) { return std::log(x); }

Outcome atanFn(Machine&, std::span<const Value> args) {
  Outcome check = requireNumbers(args);
  if (!check.ok()) return check;
  double y = args[0].asNumber();
  return checkedReal(args.size() == 1 ? std::atan(y) : std::atan2(y, args[1].asNumber()));
}

// An integer power of an integer stays an integer (truncated for negative
// powers, as integer division does); everything else is a real power.
Outcome exptFn(Machine&, std::span<const Value> args) {
  Outcome check = requireNumbers(args);
  if (!check.ok()) return check;
  if (args[0].type() != Type::Int || args[1].type() != Type::Int) {
    return checkedReal(std::pow(args[0].asNumber(), args[1].asNumber()));
  }
  std::int64_t base = args[0].asInt();
  std::int32_t power = args[1].asInt();
  if (power < 0) {
    if (base == 0) return Outcome::failure("divide by zero");
    return Outcome::success(Value::integer(static_cast<std::int32_t>(std::trunc(std::pow(base, power)))));
  }
  double approx = std::pow(static_cast<double>(base), power);
  if (std::fabs(approx) > 2147483648.0) return checkedReal(approx);
  // Exact by squaring: every square taken is at most |result|, so no overflow.
  std::int64_t result = 1;
  for (std::int32_t p = power; p > 0; p >>= 1) {
    if (p & 1) result *= base;
    if (p > 1) base *= base;
  }
  return Outcome::success(integerOrReal(result));
}

Outcome fixFn(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  if (args[0].type() == Type::Int) return Outcome::success(args[0]);
  double t = std::trunc(args[0].asReal());
  if (t < std::numeric_limits<std::int32_t>::min() || t > std::numeric_limits<std::int32_t>::max()) {
    return Outcome::failure("integer overflow: fix: " + toShortString(args[0]));
  }
  return Outcome::success(Value::integer(static_cast<std::int32_t>(t)));
}

Outcome floatFn(Machine&, std::span<const Value> args) {
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  return Outcome::success(Value::real(args[0].asNumber()));
}

Outcome gcdFn(Machine&, std::span<const Value> args) {
  for (const Value& v : args) {
    if (v.type() != Type::Int) return badType("fixnump", v);
  }
  return Outcome::success(integerOrReal(std::gcd(static_cast<std::int64_t>(args[0].asInt()),
                                                 static_cast<std::int64_t>(args[1].asInt()))));
}

constexpr BuiltinSpec kMath[] = {
    {"+", 0, kAnyCount, arithmetic<Op::Add>, nullptr},
    {"-", 0, kAnyCount, arithmetic<Op::Sub>, nullptr},
    {"*", 0, kAnyCount, arithmetic<Op::Mul>, nullptr},
    {"/", 0, kAnyCount, arithmetic<Op::Div>, nullptr},
    {"REM", 1, kAnyCount, arithmetic<Op::Rem>, nullptr},
    {"1+", 1, 1, step<1>, nullptr},
    {"1-", 1, 1, step<-1>, nullptr},
    {"ABS", 1, 1, absFn, nullptr},
    {"MIN", 0, kAnyCount, extreme<false>, nullptr},
    {"MAX", 0, kAnyCount, extreme<true>, nullptr},
    {"SQRT", 1, 1, realFunction<sqrtOf, nonNegative>, nullptr},
    {"SIN", 1, 1, realFunction<sinOf, anywhere>, nullptr},
    {"COS", 1, 1, realFunction<cosOf, anywhere>, nullptr},
    {"EXP", 1, 1, realFunction<expOf, anywhere>, nullptr},
    {"LOG", 1, 1, realFunction<logOf, positive>, nullptr},
    {"ATAN", 1, 2, atanFn, nullptr},
    {"EXPT", 2, 2, exptFn, nullptr},
    {"FIX", 1, 1, fixFn, nullptr},
    {"FLOAT", 1, 1, floatFn, nullptr},
    {"GCD", 2, 2, gcdFn, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> mathBuiltins() { return kMath; }

}  // namespace tarn::lisp
