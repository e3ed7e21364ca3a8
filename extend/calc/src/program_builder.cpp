// Folding constant operands and laying out a compiled program.
#include "program_builder.h"

#include <algorithm>

namespace tarn::calc::detail {

ProgramBuilder::ProgramBuilder(Program& program) : program_(program) {
    program_.items_.clear();
    program_.constants_.clear();
    program_.values_.clear();
    program_.operands_.clear();
    program_.result_ = nullptr;
    program_.gather_ = nullptr;
}

void ProgramBuilder::PushConstant(double value) {
    operands_.push({Kind::Constant, 0, value, nullptr});
}

void ProgramBuilder::PushVariable(const MathExpression::IMathVariable& variable) {
    if (const double* storage = variable.Storage()) {
        operands_.push({Kind::Variable, 0, 0.0, storage});
        return;
    }
    Emit(variable, BuiltinCode::None, nullptr, 0);
}

void ProgramBuilder::Apply(const IMathExprItemEvaluator& evaluator, BuiltinCode code,
                           UnaryFunction unary, int count) {
    if (!Fold(evaluator, unary, count)) Emit(evaluator, code, unary, count);
}

// A foldable item whose operands are all constant is computed now and
// replaced by its value.
bool ProgramBuilder::Fold(const IMathExprItemEvaluator& evaluator, UnaryFunction unary,
                          int count) {
    const Operand* first = operands_.end() - count;
    const Operand* last = operands_.end();
    const bool constant = std::all_of(first, last,
                                      [](const Operand& o) { return o.kind == Kind::Constant; });
    if (!constant || !evaluator.IsFoldable()) return false;
    foldValues_.clear();
    for (const Operand* o = first; o != last; ++o) foldValues_.push(o->value);
    foldValues_.push(0.0);  // keeps the pointer valid for a call without arguments
    const double value = unary != nullptr ? unary(foldValues_[0])
                                          : evaluator.Evaluate(count, foldValues_.begin());
    operands_.pop(static_cast<std::size_t>(count));
    PushConstant(value);
    return true;
}

// Records the item with its operands; its value goes to the lowest computed
// value slot its operands free, so computed values form a stack.
void ProgramBuilder::Emit(const IMathExprItemEvaluator& evaluator, BuiltinCode code,
                          UnaryFunction unary, int count) {
    const std::uint32_t firstOperand = static_cast<std::uint32_t>(itemOperands_.size());
    for (Operand* o = operands_.end() - count; o != operands_.end(); ++o) {
        if (o->kind == Kind::Constant) {
            o->index = static_cast<std::uint32_t>(program_.constants_.size());
            program_.constants_.push_back(o->value);
        }
        if (o->kind == Kind::Temporary) --temporaries_;
        itemOperands_.push(*o);
    }
    operands_.pop(static_cast<std::size_t>(count));
    operands_.push({Kind::Temporary, temporaries_, 0.0, nullptr});
    pending_.push({temporaries_, firstOperand});
    maxTemporaries_ = std::max(maxTemporaries_, ++temporaries_);
    if (code == BuiltinCode::None && count >= 2)
        gatherSize_ = std::max(gatherSize_, static_cast<std::size_t>(count));
    if (count > 2) operandListSize_ += static_cast<std::size_t>(count);
    program_.items_.push_back(
        {code, count, nullptr, nullptr, nullptr, false, false, nullptr, &evaluator, unary});
}

const double* ProgramBuilder::Address(const Operand& operand) const {
    switch (operand.kind) {
    case Kind::Constant: return &program_.constants_[operand.index];
    case Kind::Variable: return operand.address;
    case Kind::Temporary: break;
    }
    return &program_.values_[operand.index];
}

// An operand that is the value the item before computed is marked, so the
// program can take it from a register. Missing operands point at the item's
// own result, so that reading them is always safe.
void ProgramBuilder::ResolveItem(ProgramItem& item, const Pending& pending, const Pending* before) {
    item.result = &program_.values_[pending.result];
    const Operand* operands = &itemOperands_[pending.firstOperand];
    auto chained = [&](const Operand& o) {
        return before != nullptr && o.kind == Kind::Temporary && o.index == before->result;
    };
    item.a = item.argumentCount >= 1 ? Address(operands[0]) : item.result;
    item.b = item.argumentCount >= 2 ? Address(operands[1]) : item.a;
    item.chainA = item.argumentCount >= 1 && chained(operands[0]);
    item.chainB = item.argumentCount >= 2 ? chained(operands[1]) : item.chainA;
    if (item.argumentCount > 2) {
        item.operands = program_.operands_.data() + program_.operands_.size();
        for (int i = 0; i < item.argumentCount; ++i)
            program_.operands_.push_back(Address(operands[i]));
    }
}

void ProgramBuilder::SetResult() {
    const Operand& last = operands_.back();
    if (last.kind == Kind::Constant) {
        program_.constants_.assign(1, last.value);
        program_.result_ = program_.constants_.data();
    } else if (last.kind == Kind::Variable) {
        program_.result_ = last.address;
    } else {
        program_.result_ = &program_.values_[last.index];
    }
}

void ProgramBuilder::Finish() {
    if (operands_.empty()) PushConstant(0.0);  // the empty expression is 0
    program_.values_.assign(maxTemporaries_ + gatherSize_, 0.0);
    program_.gather_ = program_.values_.data() + maxTemporaries_;
    program_.operands_.reserve(operandListSize_);  // item pointers into it stay valid
    for (std::size_t i = 0; i < pending_.size(); ++i)
        ResolveItem(program_.items_[i], pending_[i], i > 0 ? &pending_[i - 1] : nullptr);
    SetResult();
}

}  // namespace tarn::calc::detail

