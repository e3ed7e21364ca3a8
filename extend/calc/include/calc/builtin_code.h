// The evaluation shortcuts of the built-in operators and functions: the
// program runs these inline instead of through a virtual call.
#pragma once

#include <cstdint>

namespace tarn::calc {

enum class BuiltinCode : std::uint8_t {
    None,  // evaluated through IMathExprItemEvaluator::Evaluate
    Add, Minus, Mult, Div, Modulo, Exp, UnaryMinus, Not,
    Greater, Lesser, GreaterEqual, LesserEqual, NotEqual, Equal, And, Or,
    Unary,  // a one-argument function given as a plain function pointer
    Min2, Max2,
    Sum, Avg, Smallest, Largest,  // any number of arguments
};

using UnaryFunction = double (*)(double);
using EvaluateFunction = double (*)(int argumentCount, const double* arguments);

}  // namespace tarn::calc
