// A compiled expression: a flat list of items, each computing one value from
// operands that are constants, variables or values computed before it.
#pragma once

#include <cstddef>
#include <vector>

#include "calc/builtin_code.h"
#include "calc/item_evaluator.h"

namespace tarn::calc {

namespace detail {
class ProgramBuilder;
}

// Operand and result addresses point into the program's own storage (or at a
// variable's memory), so an item runs without looking anything up.
struct ProgramItem {
    BuiltinCode code;  // None: through evaluator->Evaluate
    int argumentCount;
    double* result;
    const double* a;                  // first operand (never null)
    const double* b;                  // second operand (never null)
    bool chainA;                      // the first operand is the value of the item before
    bool chainB;                      // the second operand is the value of the item before
    const double* const* operands;    // every operand, when there are more than two
    const IMathExprItemEvaluator* evaluator;
    UnaryFunction unary;              // for BuiltinCode::Unary
};

class Program {
public:
    Program() = default;
    Program(Program&&) noexcept = default;
    Program& operator=(Program&&) noexcept = default;
    // Items point into the program's storage, which a copy would not share.
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    double Evaluate();
    // True when the expression folded completely to one value.
    bool IsConstant() const { return items_.empty() && result_ == constants_.data() && result_; }
    std::size_t ItemCount() const { return items_.size(); }

private:
    friend class detail::ProgramBuilder;

    double CallEvaluator(const ProgramItem& item);

    std::vector<ProgramItem> items_;
    std::vector<double> constants_;   // literal operands; the folded value when constant
    std::vector<double> values_;      // computed values, then room to gather arguments
    std::vector<const double*> operands_;
    const double* result_ = nullptr;  // null: the empty program, whose value is 0
    double* gather_ = nullptr;
};

}  // namespace tarn::calc
