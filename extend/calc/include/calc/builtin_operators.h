// The built-in operators. Each class is a fixed row of the operator table; one
// static instance of each serves every parser.
#pragma once

#include <span>
#include <string_view>

#include "calc/builtin_code.h"
#include "calc/item_evaluator.h"

namespace tarn::calc {

struct OperatorTraits {
    std::string_view symbol;
    int precedence;
    bool unary;
    std::string_view syntax;
    std::string_view description;
    EvaluateFunction evaluate;
    BuiltinCode code;
};

class BuiltinOperator : public IMathOperator {
public:
    explicit constexpr BuiltinOperator(const OperatorTraits& traits) : traits_(traits) {}
    std::string_view SyntaxText() const final { return traits_.syntax; }
    std::string_view DescriptionText() const final { return traits_.description; }
    double Evaluate(int count, const double* args) const final { return traits_.evaluate(count, args); }
    int Precedence() const final { return traits_.precedence; }
    std::string_view Symbol() const final { return traits_.symbol; }
    bool IsUnary() const final { return traits_.unary; }
    const OperatorTraits& Traits() const { return traits_; }

private:
    const OperatorTraits& traits_;
};

#define TARN_CALC_OPERATOR(Name) \
    class Name final : public BuiltinOperator { \
    public: \
        Name(); \
    };
TARN_CALC_OPERATOR(AddOp)
TARN_CALC_OPERATOR(MinusOp)
TARN_CALC_OPERATOR(MultOp)
TARN_CALC_OPERATOR(DivOp)
TARN_CALC_OPERATOR(ModuloOp)
TARN_CALC_OPERATOR(ExpOp)
TARN_CALC_OPERATOR(UnaryMinusOp)
TARN_CALC_OPERATOR(NotOp)
TARN_CALC_OPERATOR(GreaterThanOp)
TARN_CALC_OPERATOR(LesserThanOp)
TARN_CALC_OPERATOR(GreaterEqualThanOp)
TARN_CALC_OPERATOR(LesserEqualThanOp)
TARN_CALC_OPERATOR(NotEqualOp)
TARN_CALC_OPERATOR(EqualOp)
TARN_CALC_OPERATOR(AndOp)
TARN_CALC_OPERATOR(OrOp)
#undef TARN_CALC_OPERATOR

// The shared instances, in table order.
std::span<const BuiltinOperator* const> BuiltinOperators();

}  // namespace tarn::calc
