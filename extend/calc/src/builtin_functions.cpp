// The function table: symbols, argument counts, help texts and results of the
// built-in functions, and their shared instances.
#include "calc/builtin_functions.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tarn::calc {
namespace {

using B = BuiltinCode;
constexpr int kAny = IMathFunction::kAnyArgumentCount;

// The library's math functions may not be addressed directly; these are.
double Sin(double x) { return std::sin(x); }
double Asin(double x) { return std::asin(x); }
double Sinh(double x) { return std::sinh(x); }
double Cos(double x) { return std::cos(x); }
double Acos(double x) { return std::acos(x); }
double Cosh(double x) { return std::cosh(x); }
double Tan(double x) { return std::tan(x); }
double Atan(double x) { return std::atan(x); }
double Tanh(double x) { return std::tanh(x); }
double Sqrt(double x) { return std::sqrt(x); }
double Abs(double x) { return std::fabs(x); }
double Ceil(double x) { return std::ceil(x); }
double Floor(double x) { return std::floor(x); }
double Ln(double x) { return std::log(x); }
double Log10(double x) { return std::log10(x); }

// Two-value rules every min and max variant shares: the second value wins ties.
double Smaller(double x, double y) { return y <= x ? y : x; }
double Larger(double x, double y) { return y >= x ? y : x; }

double SmallestOf(int count, const double* a) {
    double result = a[0];
    for (int i = 1; i < count; ++i) result = Smaller(result, a[i]);
    return result;
}

double LargestOf(int count, const double* a) {
    double result = a[0];
    for (int i = 1; i < count; ++i) result = Larger(result, a[i]);
    return result;
}

double SumOf(int count, const double* a) {
    double sum = 0.0;
    for (int i = 0; i < count; ++i) sum += a[i];
    return sum;
}

// Scaled by the generator's real maximum, so the value lies in [0, 1].
double UnitRandom() { return static_cast<double>(std::rand()) / RAND_MAX; }

// The argument is truncated toward zero. 0! is 1; a negative (or NaN)
// argument has no factorial. Above 170 the product is no longer finite, so the
// loop stops there instead of running up to two billion times.
double Factorial(double x) {
    if (!(x >= 0.0)) return std::numeric_limits<double>::quiet_NaN();
    if (x >= 171.0) return std::numeric_limits<double>::infinity();
    const int n = static_cast<int>(x);
    double product = 1.0;
    for (int i = 2; i <= n; ++i) product *= i;
    return product;
}

template <UnaryFunction F>
double Call(int, const double* a) { return F(a[0]); }

constexpr FunctionTraits Unary(std::string_view symbol, std::string_view syntax,
                               std::string_view description, UnaryFunction f,
                               EvaluateFunction evaluate) {
    return {symbol, 1, syntax, description, true, evaluate, B::Unary, f};
}

#define TARN_UNARY(sym, fn, syntax, text) Unary(sym, syntax, text, fn, Call<fn>)

constexpr FunctionTraits kSin = TARN_UNARY("sin", Sin, "sin(x)", "Sine");
constexpr FunctionTraits kAsin = TARN_UNARY("asin", Asin, "asin(x)", "Arcsine");
constexpr FunctionTraits kSinh = TARN_UNARY("sinh", Sinh, "sinh(x)", "Hyperbolic sine");
constexpr FunctionTraits kCos = TARN_UNARY("cos", Cos, "cos(x)", "Cosine");
constexpr FunctionTraits kAcos = TARN_UNARY("acos", Acos, "acos(x)", "Arccosine");
constexpr FunctionTraits kCosh = TARN_UNARY("cosh", Cosh, "cosh(x)", "Hyperbolic cosine");
constexpr FunctionTraits kTan = TARN_UNARY("tan", Tan, "tan(x)", "Tangent");
constexpr FunctionTraits kAtan = TARN_UNARY("atan", Atan, "atan(x)", "Arctangent");
constexpr FunctionTraits kTanh = TARN_UNARY("tanh", Tanh, "tanh(x)", "Hyperbolic tangent");
constexpr FunctionTraits kSqrt = TARN_UNARY("sqrt", Sqrt, "sqrt(x)", "Square root");
constexpr FunctionTraits kAbs = TARN_UNARY("abs", Abs, "abs(x)", "Absolute value");
constexpr FunctionTraits kCeil = TARN_UNARY("ceil", Ceil, "ceil(x)", "Ceiling");
constexpr FunctionTraits kFloor = TARN_UNARY("floor", Floor, "floor(x)", "Floor");
constexpr FunctionTraits kLn = TARN_UNARY("ln", Ln, "ln(x)", "Natural logarithm");
constexpr FunctionTraits kLog10 = TARN_UNARY("log", Log10, "log(x)", "Base-10 logarithm");
constexpr FunctionTraits kFact = TARN_UNARY("fact", Factorial, "fact(x)",
    "Return the factorial of x: x*(x-1)*(x-2)*...(x-x+1)");
#undef TARN_UNARY

constexpr FunctionTraits kMin{"min", 2, "min(x,y)", "Return smaller of two values", true,
    [](int, const double* a) { return Smaller(a[0], a[1]); }, B::Min2, nullptr};
constexpr FunctionTraits kMin3{"min", 3, "min(x,y,z)", "Return smaller of three values", true,
    SmallestOf, B::Smallest, nullptr};
constexpr FunctionTraits kMinUndef{"min", kAny, "min(v1,v2,v3,...)",
    "Return smaller of a set of values", true, SmallestOf, B::Smallest, nullptr};
constexpr FunctionTraits kMax{"max", 2, "max(x,y)", "Return larger of two values", true,
    [](int, const double* a) { return Larger(a[0], a[1]); }, B::Max2, nullptr};
constexpr FunctionTraits kMax3{"max", 3, "max(x,y,z)", "Return larger of three values", true,
    LargestOf, B::Largest, nullptr};
constexpr FunctionTraits kMaxUndef{"max", kAny, "max(v1,v2,v3,...)",
    "Return larger of a set of values", true, LargestOf, B::Largest, nullptr};
constexpr FunctionTraits kRand{"rand", 0, "rand()", "Random value between 0 and 1", false,
    [](int, const double*) { return UnitRandom(); }, B::None, nullptr};
constexpr FunctionTraits kRandMinMax{"rand", 2, "rand(min, max)",
    "Random value between min and max", false,
    [](int, const double* a) { return UnitRandom() * (a[1] - a[0]) + a[0]; }, B::None, nullptr};
constexpr FunctionTraits kAvg{"avg", kAny, "avg(v1,v2,v3,...)",
    "Return the average of a set of values", true,
    [](int n, const double* a) { return SumOf(n, a) / static_cast<unsigned>(n); }, B::Avg,
    nullptr};
constexpr FunctionTraits kSum{"sum", kAny, "sum(v1,v2,v3,...)",
    "Return the sum of a set of values", true, SumOf, B::Sum, nullptr};

}  // namespace

SinFct::SinFct() : BuiltinFunction(kSin) {}
ArcSinFct::ArcSinFct() : BuiltinFunction(kAsin) {}
SinhFct::SinhFct() : BuiltinFunction(kSinh) {}
CosFct::CosFct() : BuiltinFunction(kCos) {}
ArcCosFct::ArcCosFct() : BuiltinFunction(kAcos) {}
CoshFct::CoshFct() : BuiltinFunction(kCosh) {}
TanFct::TanFct() : BuiltinFunction(kTan) {}
ArcTanFct::ArcTanFct() : BuiltinFunction(kAtan) {}
TanhFct::TanhFct() : BuiltinFunction(kTanh) {}
SqrtFct::SqrtFct() : BuiltinFunction(kSqrt) {}
MinFct::MinFct() : BuiltinFunction(kMin) {}
Min3Fct::Min3Fct() : BuiltinFunction(kMin3) {}
MinUndefFct::MinUndefFct() : BuiltinFunction(kMinUndef) {}
MaxFct::MaxFct() : BuiltinFunction(kMax) {}
Max3Fct::Max3Fct() : BuiltinFunction(kMax3) {}
MaxUndefFct::MaxUndefFct() : BuiltinFunction(kMaxUndef) {}
AbsFct::AbsFct() : BuiltinFunction(kAbs) {}
RandFct::RandFct() : BuiltinFunction(kRand) {}
RandMinMaxFct::RandMinMaxFct() : BuiltinFunction(kRandMinMax) {}
CeilFct::CeilFct() : BuiltinFunction(kCeil) {}
FloorFct::FloorFct() : BuiltinFunction(kFloor) {}
LogFct::LogFct() : BuiltinFunction(kLn) {}
Log10Fct::Log10Fct() : BuiltinFunction(kLog10) {}
AvgFct::AvgFct() : BuiltinFunction(kAvg) {}
SumFct::SumFct() : BuiltinFunction(kSum) {}
FactorialFct::FactorialFct() : BuiltinFunction(kFact) {}

std::span<const BuiltinFunction* const> BuiltinFunctions() {
    static const SinFct sin;
    static const ArcSinFct asin;
    static const SinhFct sinh;
    static const CosFct cos;
    static const ArcCosFct acos;
    static const CoshFct cosh;
    static const TanFct tan;
    static const ArcTanFct atan;
    static const TanhFct tanh;
    static const SqrtFct sqrt;
    static const MinFct min;
    static const Min3Fct min3;
    static const MinUndefFct minUndef;
    static const MaxFct max;
    static const Max3Fct max3;
    static const MaxUndefFct maxUndef;
    static const AbsFct abs;
    static const RandFct rand;
    static const RandMinMaxFct randMinMax;
    static const CeilFct ceil;
    static const FloorFct floor;
    static const LogFct ln;
    static const Log10Fct log10;
    static const AvgFct avg;
    static const SumFct sum;
    static const FactorialFct fact;
    static const BuiltinFunction* const table[] = {
        &sin, &asin, &sinh, &cos, &acos, &cosh, &tan, &atan, &tanh, &sqrt, &min, &min3,
        &minUndef, &max, &max3, &maxUndef, &abs, &rand, &randMinMax, &ceil, &floor, &ln,
        &log10, &avg, &sum, &fact};
    return table;
}

}  // namespace tarn::calc
