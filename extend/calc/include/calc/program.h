// A compiled expression: a flat list of items, each computing one value from
// operands that are constants, variables or values computed before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "calc/builtin_code.h"
#include "calc/item_evaluator.h"

namespace tarn::calc {

namespace detail {
class ProgramBuilder;
}

// The operation of an item together with the places of its operands; the
// values are internal to the program.
enum class ItemCode : std::uint16_t;

// Operand and result addresses point into the program's own storage (or at a
// variable's memory), so an item runs without looking anything up.
struct ProgramItem {
    const double* a;                  // first operand (never null)
    const double* b;                  // second operand (never null)
    const double* c;                  // the third operand of a fused pair
    double* result;
    const double* const* operands;    // every operand, for the functions of any count
    UnaryFunction unary;              // for the one-argument built-in functions
    const IMathExprItemEvaluator* evaluator;
    int argumentCount;
    ItemCode code;
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
    bool IsConstant() const { return ItemCount() == 0 && result_ != nullptr && result_ == constants_.data(); }
    // The items that compute a value (the closing item not counted).
    std::size_t ItemCount() const { return items_.empty() ? 0 : items_.size() - 1; }

private:
    friend class detail::ProgramBuilder;

    double CallEvaluator(const ProgramItem& item);

    std::vector<ProgramItem> items_;  // ends with a closing item once compiled
    std::vector<double> constants_;   // literal operands; the folded value when constant
    std::vector<double> values_;      // computed values, then room to gather arguments
    std::vector<const double*> operands_;
    const double* result_ = nullptr;  // null: the empty program, whose value is 0
    double* gather_ = nullptr;
};

}  // namespace tarn::calc
