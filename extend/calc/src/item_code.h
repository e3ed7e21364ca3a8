// The instruction set of a compiled program. Every built-in operation comes in
// one variant per place of its operands: "M" reads an operand from memory (a
// constant, a variable or a value computed earlier), "A" takes the value the
// item before just computed, which the evaluation loop keeps in a register.
#pragma once

#include <cstdint>

#include "calc/builtin_code.h"

// X(name, expression of x and y)
#define TARN_CALC_BINARY_ITEMS(X)                                                  \
    X(Add, x + y) X(Minus, x - y) X(Mult, x * y) X(Div, x / y)                     \
    X(Modulo, std::fmod(x, y))                                                     \
    /* x^2 is common and x*x is its correctly rounded value. */                    \
    X(Exp, y == 2.0 ? x * x : std::pow(x, y))                                      \
    X(Greater, Truth(x > y)) X(Lesser, Truth(x < y)) X(GreaterEqual, Truth(x >= y)) \
    X(LesserEqual, Truth(x <= y)) X(NotEqual, Truth(x != y)) X(Equal, Truth(x == y)) \
    X(And, Truth(x != 0.0 && y != 0.0)) X(Or, Truth(x != 0.0 || y != 0.0))         \
    X(Min2, y <= x ? y : x) X(Max2, y >= x ? y : x)

// X(name, expression of x)
#define TARN_CALC_UNARY_ITEMS(X) \
    X(UnaryMinus, -x) X(Not, Truth(x == 0.0)) X(Unary, item->unary(x))

// X(name): functions of any number of arguments, read through the item's
// operand list.
#define TARN_CALC_LIST_ITEMS(X) X(Sum) X(Avg) X(Smallest) X(Largest)

// Pairs of binary operations fused into one item when the second takes the
// first one's value straight from it: x*y+z or (x+1)*y run as one item, which
// halves the jumps in long chains. X(first, second)
#define TARN_CALC_FUSED_SECOND(X, first) \
    X(first, Add) X(first, Minus) X(first, Mult) X(first, Div) X(first, And) X(first, Or)
// X(first, second) for every fused pair.
#define TARN_CALC_FUSED_ITEMS(X)                                                         \
    TARN_CALC_FUSED_SECOND(X, Add) TARN_CALC_FUSED_SECOND(X, Minus)                     \
    TARN_CALC_FUSED_SECOND(X, Mult) TARN_CALC_FUSED_SECOND(X, Div)                      \
    TARN_CALC_FUSED_SECOND(X, Exp) TARN_CALC_FUSED_SECOND(X, Greater)                   \
    TARN_CALC_FUSED_SECOND(X, Lesser) TARN_CALC_FUSED_SECOND(X, GreaterEqual)           \
    TARN_CALC_FUSED_SECOND(X, LesserEqual) TARN_CALC_FUSED_SECOND(X, NotEqual)          \
    TARN_CALC_FUSED_SECOND(X, Equal)

namespace tarn::calc {

enum class ItemCode : std::uint16_t {
#define TARN_BINARY(name, expression) name##MM, name##AM, name##MA,
#define TARN_UNARY(name, expression) name##M, name##A,
#define TARN_LIST(name) name##List,
    TARN_CALC_BINARY_ITEMS(TARN_BINARY) TARN_CALC_UNARY_ITEMS(TARN_UNARY)
    TARN_CALC_LIST_ITEMS(TARN_LIST)
#undef TARN_BINARY
#undef TARN_UNARY
#undef TARN_LIST
    // The variants of a fused pair: the first operation reads both operands
    // from memory (M) or its first from the register (A); its value is then
    // the first (X) or the second (Y) operand of the second operation, whose
    // other operand is read from `c`.
#define TARN_FUSED(first, second) \
    first##_##second##_MX, first##_##second##_MY, first##_##second##_AX, first##_##second##_AY,
    TARN_CALC_FUSED_ITEMS(TARN_FUSED)
#undef TARN_FUSED
    Call,       // through IMathExprItemEvaluator::Evaluate
    EndRegister,  // the result is the value the last item computed
    EndMemory,    // the result is read from `a` (a constant or a variable)
};

namespace detail {

// Where an item's operands come from.
enum class OperandPlace : std::uint8_t { Memory, FirstInRegister, SecondInRegister };

ItemCode SelectItemCode(BuiltinCode code, int argumentCount, OperandPlace place);
// The fused item for `first` followed by `second`, or ItemCode::Call when the
// pair has none. `firstInRegister`: the first operation's first operand is the
// value of the item before; `valueSecond`: the first operation's value is the
// second operand of the second one.
ItemCode SelectFusedCode(BuiltinCode first, BuiltinCode second, bool firstInRegister,
                         bool valueSecond);

}  // namespace detail
}  // namespace tarn::calc
