// Builds a Program from operands and operator applications given in postfix
// order, folding every application whose operands are all constant.
#pragma once

#include <cstdint>

#include "calc/program.h"
#include "item_code.h"
#include "calc/variables.h"
#include "small_stack.h"

namespace tarn::calc::detail {

class ProgramBuilder {
public:
    explicit ProgramBuilder(Program& program);

    void PushConstant(double value);
    void PushVariable(const MathExpression::IMathVariable& variable);
    // Applies the evaluator to the last `count` operands; the caller checked
    // that there are that many.
    void Apply(const IMathExprItemEvaluator& evaluator, BuiltinCode code, UnaryFunction unary,
               int count);
    std::size_t OperandCount() const { return operands_.size(); }
    // Lays out the program's storage and resolves every operand address.
    void Finish();

private:
    enum class Kind : std::uint8_t { Constant, Variable, Temporary };
    struct Operand {
        Kind kind;
        std::uint32_t index;  // into the constants or the computed values
        double value;
        const double* address;
    };
    struct Pending {
        std::uint32_t result;
        std::uint32_t firstOperand;
        BuiltinCode builtin;
        OperandPlace place;
    };

    bool Fold(const IMathExprItemEvaluator& evaluator, UnaryFunction unary, int count);
    void Emit(const IMathExprItemEvaluator& evaluator, BuiltinCode code, UnaryFunction unary,
              int count);
    const double* Address(const Operand& operand) const;
    void ResolveItem(ProgramItem& item, Pending& pending, const Pending* before);
    void Fuse();
    void Close();
    void SetResult();

    Program& program_;
    SmallStack<Operand, 32> operands_;
    SmallStack<Operand, 64> itemOperands_;
    SmallStack<Pending, 32> pending_;
    SmallStack<double, 16> foldValues_;
    std::uint32_t temporaries_ = 0;
    std::uint32_t maxTemporaries_ = 0;
    std::size_t gatherSize_ = 0;
    std::size_t operandListSize_ = 0;
};

}  // namespace tarn::calc::detail
