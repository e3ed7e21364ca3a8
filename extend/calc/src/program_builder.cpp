// Folding constant operands and laying out a compiled program.
#include "program_builder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace tarn::calc::detail {
namespace {

bool IsListCode(BuiltinCode code) {
    return code == BuiltinCode::Sum || code == BuiltinCode::Avg ||
           code == BuiltinCode::Smallest || code == BuiltinCode::Largest;
}

// Functions of any number of arguments read them through a list of addresses,
// as does a call through the evaluator with more than two.
bool UsesOperandList(BuiltinCode code, int count) {
    return IsListCode(code) || (code == BuiltinCode::None && count > 2);
}

ItemCode Shifted(ItemCode base, int by) {
    return static_cast<ItemCode>(static_cast<int>(base) + by);
}

}  // namespace

ItemCode SelectItemCode(BuiltinCode code, int argumentCount, OperandPlace place) {
    using B = BuiltinCode;
    const int binary = static_cast<int>(place);
    const int unary = place == OperandPlace::FirstInRegister ? 1 : 0;
    switch (code) {
#define TARN_BINARY(name, expression) \
    case B::name: return argumentCount == 2 ? Shifted(ItemCode::name##MM, binary) : ItemCode::Call;
#define TARN_UNARY(name, expression) \
    case B::name: return argumentCount == 1 ? Shifted(ItemCode::name##M, unary) : ItemCode::Call;
#define TARN_LIST(name) \
    case B::name: return argumentCount >= 1 ? ItemCode::name##List : ItemCode::Call;
        TARN_CALC_BINARY_ITEMS(TARN_BINARY)
        TARN_CALC_UNARY_ITEMS(TARN_UNARY)
        TARN_CALC_LIST_ITEMS(TARN_LIST)
#undef TARN_BINARY
#undef TARN_UNARY
#undef TARN_LIST
    case B::None: break;
    }
    return ItemCode::Call;
}

// The fused pairs are laid out first by first operation, then by second, four
// variants each; these tables give a built-in operation's place in either list.
struct FusedIndex {
    std::array<std::int8_t, 256> first{}, second{};
    int secondCount = 0;
    constexpr FusedIndex() {
        first.fill(-1);
        second.fill(-1);
        int firstCount = 0;
        BuiltinCode previous = BuiltinCode::None;
        auto add = [&](BuiltinCode f, BuiltinCode s) {
            if (f != previous || firstCount == 0) first[static_cast<int>(f)] = static_cast<std::int8_t>(firstCount++);
            previous = f;
            if (second[static_cast<int>(s)] < 0) second[static_cast<int>(s)] = static_cast<std::int8_t>(secondCount++);
        };
#define TARN_FUSED(f, s) add(BuiltinCode::f, BuiltinCode::s);
        TARN_CALC_FUSED_ITEMS(TARN_FUSED)
#undef TARN_FUSED
    }
};

ItemCode SelectFusedCode(BuiltinCode first, BuiltinCode second, bool firstInRegister,
                         bool valueSecond) {
    static constexpr FusedIndex kIndex;
    const int f = kIndex.first[static_cast<int>(first)];
    const int s = kIndex.second[static_cast<int>(second)];
    if (f < 0 || s < 0) return ItemCode::Call;
    constexpr int kVariants = 4;
    const int variant = (firstInRegister ? 2 : 0) + (valueSecond ? 1 : 0);
    const int firstFused = static_cast<int>(ItemCode::Add_Add_MX);
    return static_cast<ItemCode>(firstFused + (f * kIndex.secondCount + s) * kVariants + variant);
}

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
    pending_.push({temporaries_, firstOperand, code, OperandPlace::Memory});
    maxTemporaries_ = std::max(maxTemporaries_, ++temporaries_);
    if (code == BuiltinCode::None && count >= 2)
        gatherSize_ = std::max(gatherSize_, static_cast<std::size_t>(count));
    if (UsesOperandList(code, count)) operandListSize_ += static_cast<std::size_t>(count);
    program_.items_.push_back(
        {nullptr, nullptr, nullptr, nullptr, nullptr, unary, &evaluator, count, ItemCode::Call});
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
void ProgramBuilder::ResolveItem(ProgramItem& item, Pending& pending, const Pending* before) {
    item.result = &program_.values_[pending.result];
    const Operand* operands = &itemOperands_[pending.firstOperand];
    auto chained = [&](const Operand& o) {
        return before != nullptr && o.kind == Kind::Temporary && o.index == before->result;
    };
    item.a = item.argumentCount >= 1 ? Address(operands[0]) : item.result;
    item.b = item.argumentCount >= 2 ? Address(operands[1]) : item.a;
    OperandPlace place = OperandPlace::Memory;
    if (item.argumentCount >= 1 && chained(operands[0])) {
        place = OperandPlace::FirstInRegister;
    } else if (item.argumentCount == 2 && chained(operands[1])) {
        place = OperandPlace::SecondInRegister;
    }
    pending.place = place;
    item.code = SelectItemCode(pending.builtin, item.argumentCount, place);
    if (UsesOperandList(pending.builtin, item.argumentCount)) {
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
    Fuse();
    Close();
}

// Joins an item with the next one when that one takes its value from the
// register and the pair has a fused form. The first item's value is then
// never stored: only the next item read it.
void ProgramBuilder::Fuse() {
    std::vector<ProgramItem>& items = program_.items_;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        ProgramItem item = items[i];
        if (i + 1 < items.size() && items[i].argumentCount == 2 && items[i + 1].argumentCount == 2) {
            const Pending& first = pending_[i];
            const Pending& second = pending_[i + 1];
            const bool valueSecond = second.place == OperandPlace::SecondInRegister;
            const ItemCode fused =
                second.place == OperandPlace::Memory || first.place == OperandPlace::SecondInRegister
                    ? ItemCode::Call
                    : SelectFusedCode(first.builtin, second.builtin,
                                      first.place == OperandPlace::FirstInRegister, valueSecond);
            if (fused != ItemCode::Call) {
                const ProgramItem& next = items[i + 1];
                item.code = fused;
                item.c = valueSecond ? next.a : next.b;
                item.result = next.result;
                ++i;
            }
        }
        items[kept++] = item;
    }
    items.resize(kept);
}

// The closing item returns the last computed value from its register, or the
// result from memory when nothing was computed.
void ProgramBuilder::Close() {
    const bool computed = !program_.items_.empty() && program_.result_ == program_.items_.back().result;
    const ItemCode code = computed ? ItemCode::EndRegister : ItemCode::EndMemory;
    program_.items_.push_back({program_.result_, program_.result_, nullptr, nullptr, nullptr,
                               nullptr, nullptr, 0, code});
}

}  // namespace tarn::calc::detail

