// The built-in functions. Each class is a fixed row of the function table; one
// static instance of each serves every parser.
#pragma once

#include <span>
#include <string_view>

#include "calc/builtin_code.h"
#include "calc/item_evaluator.h"

namespace tarn::calc {

struct FunctionTraits {
    std::string_view symbol;
    int argumentCount;  // IMathFunction::kAnyArgumentCount for one or more
    std::string_view syntax;
    std::string_view description;
    bool foldable;
    EvaluateFunction evaluate;
    BuiltinCode code;
    UnaryFunction unary;  // set when code is BuiltinCode::Unary
};

class BuiltinFunction : public IMathFunction {
public:
    explicit constexpr BuiltinFunction(const FunctionTraits& traits) : traits_(traits) {}
    std::string_view SyntaxText() const final { return traits_.syntax; }
    std::string_view DescriptionText() const final { return traits_.description; }
    bool IsFoldable() const final { return traits_.foldable; }
    double Evaluate(int count, const double* args) const final { return traits_.evaluate(count, args); }
    std::string_view Symbol() const final { return traits_.symbol; }
    int ArgumentCount() const final { return traits_.argumentCount; }
    const FunctionTraits& Traits() const { return traits_; }

private:
    const FunctionTraits& traits_;
};

#define TARN_CALC_FUNCTION(Name) \
    class Name final : public BuiltinFunction { \
    public: \
        Name(); \
    };
TARN_CALC_FUNCTION(SinFct)
TARN_CALC_FUNCTION(ArcSinFct)
TARN_CALC_FUNCTION(SinhFct)
TARN_CALC_FUNCTION(CosFct)
TARN_CALC_FUNCTION(ArcCosFct)
TARN_CALC_FUNCTION(CoshFct)
TARN_CALC_FUNCTION(TanFct)
TARN_CALC_FUNCTION(ArcTanFct)
TARN_CALC_FUNCTION(TanhFct)
TARN_CALC_FUNCTION(SqrtFct)
TARN_CALC_FUNCTION(MinFct)
TARN_CALC_FUNCTION(Min3Fct)
TARN_CALC_FUNCTION(MinUndefFct)
TARN_CALC_FUNCTION(MaxFct)
TARN_CALC_FUNCTION(Max3Fct)
TARN_CALC_FUNCTION(MaxUndefFct)
TARN_CALC_FUNCTION(AbsFct)
TARN_CALC_FUNCTION(RandFct)
TARN_CALC_FUNCTION(RandMinMaxFct)
TARN_CALC_FUNCTION(CeilFct)
TARN_CALC_FUNCTION(FloorFct)
TARN_CALC_FUNCTION(LogFct)
TARN_CALC_FUNCTION(Log10Fct)
TARN_CALC_FUNCTION(AvgFct)
TARN_CALC_FUNCTION(SumFct)
TARN_CALC_FUNCTION(FactorialFct)
#undef TARN_CALC_FUNCTION

// The shared instances, in table order.
std::span<const BuiltinFunction* const> BuiltinFunctions();

}  // namespace tarn::calc
