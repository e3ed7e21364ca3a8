// The evaluator interfaces of the expression engine: the base of every program
// item, and the operator and function interfaces the registrar holds.
#pragma once

#include <string_view>

namespace tarn::calc {

// Every item of a compiled program (operator, function, variable) evaluates
// through this interface. `Evaluate` receives the item's arguments as one
// contiguous array of `argumentCount` values.
class IMathExprItemEvaluator {
public:
    virtual ~IMathExprItemEvaluator() = default;
    virtual std::string_view SyntaxText() const = 0;
    virtual std::string_view DescriptionText() const = 0;
    // True when the result depends only on the arguments, so that constant
    // arguments let the compiler compute the item once, at compile time.
    virtual bool IsFoldable() const = 0;
    virtual double Evaluate(int argumentCount, const double* arguments) const = 0;
};

// An infix operator (binary) or prefix operator (unary). Higher precedence
// binds tighter.
class IMathOperator : public IMathExprItemEvaluator {
public:
    bool IsFoldable() const override { return true; }
    virtual int Precedence() const = 0;
    virtual std::string_view Symbol() const = 0;
    virtual bool IsUnary() const { return false; }
};

// A named function called as symbol(arguments). Functions may share a symbol
// when their argument counts differ.
class IMathFunction : public IMathExprItemEvaluator {
public:
    static constexpr int kAnyArgumentCount = -1;

    bool IsFoldable() const override { return true; }
    virtual std::string_view Symbol() const = 0;
    // A fixed count, or kAnyArgumentCount for one or more arguments.
    virtual int ArgumentCount() const = 0;
};

}  // namespace tarn::calc
