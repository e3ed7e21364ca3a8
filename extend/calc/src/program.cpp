// Running a compiled program. Each item jumps straight to the code of the next
// one (direct threading), so every operation has its own, well predicted
// jump; the value of the item before stays in a register.
#include "calc/program.h"

#include <cmath>
#include <iterator>

#include "item_code.h"

// Label addresses and computed jumps are a GNU extension both compilers of
// this project support.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-label-as-value"
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpedantic"
#endif

namespace tarn::calc {
namespace {

double Truth(bool value) { return value ? 1.0 : 0.0; }

#define TARN_OPERATION(name, expression) \
    inline double Op##name(double x, double y) { return expression; }
TARN_CALC_BINARY_ITEMS(TARN_OPERATION)
#undef TARN_OPERATION

double SumOf(const ProgramItem& item) {
    double sum = 0.0;
    for (int i = 0; i < item.argumentCount; ++i) sum += *item.operands[i];
    return sum;
}

// The same rules as the min and max functions: a later value wins a tie.
double SmallestOf(const ProgramItem& item) {
    double result = *item.operands[0];
    for (int i = 1; i < item.argumentCount; ++i) {
        const double x = *item.operands[i];
        result = x <= result ? x : result;
    }
    return result;
}

double LargestOf(const ProgramItem& item) {
    double result = *item.operands[0];
    for (int i = 1; i < item.argumentCount; ++i) {
        const double x = *item.operands[i];
        result = x >= result ? x : result;
    }
    return result;
}

double SumList(const ProgramItem& item) { return SumOf(item); }
double AvgList(const ProgramItem& item) {
    return SumOf(item) / static_cast<unsigned>(item.argumentCount);
}
double SmallestList(const ProgramItem& item) { return SmallestOf(item); }
double LargestList(const ProgramItem& item) { return LargestOf(item); }

}  // namespace

double Program::CallEvaluator(const ProgramItem& item) {
    const int count = item.argumentCount;
    if (count == 1) return item.evaluator->Evaluate(1, item.a);
    if (count == 2) {
        gather_[0] = *item.a;
        gather_[1] = *item.b;
    } else {
        for (int i = 0; i < count; ++i) gather_[i] = *item.operands[i];
    }
    return item.evaluator->Evaluate(count, gather_);
}

double Program::Evaluate() {
    if (items_.empty()) return result_ != nullptr ? *result_ : 0.0;
    static const void* const kLabels[] = {
#define TARN_BINARY(name, expression) &&name##MM, &&name##AM, &&name##MA,
#define TARN_UNARY(name, expression) &&name##M, &&name##A,
#define TARN_LIST(name) &&name##List,
        TARN_CALC_BINARY_ITEMS(TARN_BINARY) TARN_CALC_UNARY_ITEMS(TARN_UNARY)
        TARN_CALC_LIST_ITEMS(TARN_LIST)
#define TARN_FUSED(first, second) \
        &&first##_##second##_MX, &&first##_##second##_MY, &&first##_##second##_AX, &&first##_##second##_AY,
        TARN_CALC_FUSED_ITEMS(TARN_FUSED)
#undef TARN_FUSED
#undef TARN_BINARY
#undef TARN_UNARY
#undef TARN_LIST
        &&Call, &&EndRegister, &&EndMemory};
    static_assert(std::size(kLabels) == static_cast<std::size_t>(ItemCode::EndMemory) + 1);

    const ProgramItem* item = items_.data();
    double value = 0.0;  // what the item before computed
#define TARN_NEXT()                                             \
    *item->result = value;                                      \
    ++item;                                                     \
    goto* kLabels[static_cast<std::size_t>(item->code)]

    goto* kLabels[static_cast<std::size_t>(item->code)];

#define TARN_BINARY(name, expression)                               \
    name##MM : {                                                    \
        value = Op##name(*item->a, *item->b);                       \
        TARN_NEXT();                                                \
    }                                                               \
    name##AM : {                                                    \
        value = Op##name(value, *item->b);                          \
        TARN_NEXT();                                                \
    }                                                               \
    name##MA : {                                                    \
        value = Op##name(*item->a, value);                          \
        TARN_NEXT();                                                \
    }
#define TARN_UNARY(name, expression)                                \
    name##M : {                                                     \
        const double x = *item->a;                                  \
        value = expression;                                         \
        TARN_NEXT();                                                \
    }                                                               \
    name##A : {                                                     \
        const double x = value;                                     \
        value = expression;                                         \
        TARN_NEXT();                                                \
    }
#define TARN_LIST(name)                                             \
    name##List : {                                                  \
        value = name##List(*item);                                  \
        TARN_NEXT();                                                \
    }
    TARN_CALC_BINARY_ITEMS(TARN_BINARY)
    TARN_CALC_UNARY_ITEMS(TARN_UNARY)
    TARN_CALC_LIST_ITEMS(TARN_LIST)
#define TARN_FUSED(first, second)                                            \
    first##_##second##_MX : {                                                \
        value = Op##second(Op##first(*item->a, *item->b), *item->c);         \
        TARN_NEXT();                                                         \
    }                                                                        \
    first##_##second##_MY : {                                                \
        value = Op##second(*item->c, Op##first(*item->a, *item->b));         \
        TARN_NEXT();                                                         \
    }                                                                        \
    first##_##second##_AX : {                                                \
        value = Op##second(Op##first(value, *item->b), *item->c);            \
        TARN_NEXT();                                                         \
    }                                                                        \
    first##_##second##_AY : {                                                \
        value = Op##second(*item->c, Op##first(value, *item->b));            \
        TARN_NEXT();                                                         \
    }
    TARN_CALC_FUSED_ITEMS(TARN_FUSED)
#undef TARN_FUSED
#undef TARN_BINARY
#undef TARN_UNARY
#undef TARN_LIST
Call:
    value = CallEvaluator(*item);
    TARN_NEXT();
EndRegister:
    return value;
EndMemory:
    return *item->a;
#undef TARN_NEXT
}

}  // namespace tarn::calc
