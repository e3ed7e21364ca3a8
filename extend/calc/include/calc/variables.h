// Variables of the expression engine: a named double read at evaluation time,
// its memory-backed implementation, and the factory that makes them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "calc/item_evaluator.h"

namespace tarn::calc::MathExpression {

class IMathVariable : public IMathExprItemEvaluator {
public:
    virtual std::string_view Name() const = 0;
    // The memory the value lives in, when it can be read directly; null when
    // the value must be fetched through Evaluate.
    virtual const double* Storage() const { return nullptr; }
    bool IsFoldable() const override { return false; }
    std::string_view DescriptionText() const override { return {}; }
    std::string_view SyntaxText() const override { return Name(); }
};

// A variable whose value is the double at a caller-owned address; the address
// must stay valid while a program that uses the variable is evaluated.
class MemVariableEvaluator final : public IMathVariable {
public:
    MemVariableEvaluator(std::string_view name, const double* address);
    std::string_view Name() const override { return name_; }
    const double* Storage() const override { return address_; }
    double Evaluate(int, const double*) const override { return *address_; }

private:
    std::string name_;
    const double* address_;
};

class IMathVariableFactory {
public:
    virtual ~IMathVariableFactory() = default;
    virtual std::unique_ptr<IMathVariable> MakeVariable(std::string_view name,
                                                        const double* address) const = 0;
};

class MemVariableFactory final : public IMathVariableFactory {
public:
    std::unique_ptr<IMathVariable> MakeVariable(std::string_view name,
                                                const double* address) const override;
    // The factory a parser uses unless it is given another one.
    static const MemVariableFactory& Instance();
};

}  // namespace tarn::calc::MathExpression
