// Running a compiled program: the built-in operators and functions inline,
// everything else through its evaluator.
#include "calc/program.h"

#include <cmath>

namespace tarn::calc {
namespace {

double Truth(bool value) { return value ? 1.0 : 0.0; }

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

// The value of the item before is kept in a register: in a chain such as
// a+b+c+d each item takes it from there instead of reading it back from memory.
double Program::Evaluate() {
    double previous = 0.0;
    for (const ProgramItem& item : items_) {
        const double a = item.chainA ? previous : *item.a;
        const double b = item.chainB ? previous : *item.b;
        double value;
        switch (item.code) {
        case BuiltinCode::Add: value = a + b; break;
        case BuiltinCode::Minus: value = a - b; break;
        case BuiltinCode::Mult: value = a * b; break;
        case BuiltinCode::Div: value = a / b; break;
        case BuiltinCode::Modulo: value = std::fmod(a, b); break;
        // x^2 is common and x*x is its correctly rounded value.
        case BuiltinCode::Exp: value = b == 2.0 ? a * a : std::pow(a, b); break;
        case BuiltinCode::UnaryMinus: value = -a; break;
        case BuiltinCode::Not: value = Truth(a == 0.0); break;
        case BuiltinCode::Greater: value = Truth(a > b); break;
        case BuiltinCode::Lesser: value = Truth(a < b); break;
        case BuiltinCode::GreaterEqual: value = Truth(a >= b); break;
        case BuiltinCode::LesserEqual: value = Truth(a <= b); break;
        case BuiltinCode::NotEqual: value = Truth(a != b); break;
        case BuiltinCode::Equal: value = Truth(a == b); break;
        case BuiltinCode::And: value = Truth(a != 0.0 && b != 0.0); break;
        case BuiltinCode::Or: value = Truth(a != 0.0 || b != 0.0); break;
        case BuiltinCode::Unary: value = item.unary(a); break;
        case BuiltinCode::Min2: value = b <= a ? b : a; break;
        case BuiltinCode::Max2: value = b >= a ? b : a; break;
        default: value = CallEvaluator(item); break;
        }
        *item.result = value;
        previous = value;
    }
    return result_ != nullptr ? *result_ : 0.0;
}

}  // namespace tarn::calc
