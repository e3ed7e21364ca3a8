// The operator table: symbols, precedences, help texts and results of the
// built-in operators, and their shared instances.
#include "calc/builtin_operators.h"

#include <cmath>

namespace tarn::calc {
namespace {

using B = BuiltinCode;

double Truth(bool value) { return value ? 1.0 : 0.0; }


constexpr OperatorTraits kAdd{"+", 1, false, "x + y", "Addition operator",
    [](int, const double* a) { return a[0] + a[1]; }, B::Add};
constexpr OperatorTraits kMinus{"-", 1, false, "x - y", "Minus operator",
    [](int, const double* a) { return a[0] - a[1]; }, B::Minus};
constexpr OperatorTraits kMult{"*", 2, false, "x * y", "Multiplication operator",
    [](int, const double* a) { return a[0] * a[1]; }, B::Mult};
constexpr OperatorTraits kDiv{"/", 2, false, "x / y", "Division operator",
    [](int, const double* a) { return a[0] / a[1]; }, B::Div};
constexpr OperatorTraits kModulo{"%", 2, false, "x % y",
    "Modulo; find remainder of the division of x by y",
    [](int, const double* a) { return std::fmod(a[0], a[1]); }, B::Modulo};
constexpr OperatorTraits kExp{"^", 3, false, "x ^ y", "Calculates x raised to the power of y",
    [](int, const double* a) { return std::pow(a[0], a[1]); }, B::Exp};
constexpr OperatorTraits kUnaryMinus{"-", 4, true, "-x", "Unary minus operator",
    [](int, const double* a) { return -a[0]; }, B::UnaryMinus};
constexpr OperatorTraits kNot{"!", 2, true, "!x", "",
    [](int, const double* a) { return Truth(a[0] == 0.0); }, B::Not};
constexpr OperatorTraits kGreater{">", 0, false, "x > y",
    "Greater than logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] > a[1]); }, B::Greater};
constexpr OperatorTraits kLesser{"<", 0, false, "x < y",
    "Lesser than logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] < a[1]); }, B::Lesser};
constexpr OperatorTraits kGreaterEqual{">=", 0, false, "x >= y",
    "Greater than or equal logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] >= a[1]); }, B::GreaterEqual};
constexpr OperatorTraits kLesserEqual{"<=", 0, false, "x <= y",
    "Lesser than or equal logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] <= a[1]); }, B::LesserEqual};
constexpr OperatorTraits kNotEqual{"!=", 0, false, "x != y",
    "Not equal logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] != a[1]); }, B::NotEqual};
constexpr OperatorTraits kEqual{"==", 0, false, "x == y",
    "Equal logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] == a[1]); }, B::Equal};
constexpr OperatorTraits kAnd{"&", 0, false, "x & y",
    "And logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] != 0.0 && a[1] != 0.0); }, B::And};
constexpr OperatorTraits kOr{"|", 0, false, "x | y",
    "Or logical operator.  Return 1 if true, 0 if false.",
    [](int, const double* a) { return Truth(a[0] != 0.0 || a[1] != 0.0); }, B::Or};


}  // namespace

AddOp::AddOp() : BuiltinOperator(kAdd) {}
MinusOp::MinusOp() : BuiltinOperator(kMinus) {}
MultOp::MultOp() : BuiltinOperator(kMult) {}
DivOp::DivOp() : BuiltinOperator(kDiv) {}
ModuloOp::ModuloOp() : BuiltinOperator(kModulo) {}
ExpOp::ExpOp() : BuiltinOperator(kExp) {}
UnaryMinusOp::UnaryMinusOp() : BuiltinOperator(kUnaryMinus) {}
NotOp::NotOp() : BuiltinOperator(kNot) {}
GreaterThanOp::GreaterThanOp() : BuiltinOperator(kGreater) {}
LesserThanOp::LesserThanOp() : BuiltinOperator(kLesser) {}
GreaterEqualThanOp::GreaterEqualThanOp() : BuiltinOperator(kGreaterEqual) {}
LesserEqualThanOp::LesserEqualThanOp() : BuiltinOperator(kLesserEqual) {}
NotEqualOp::NotEqualOp() : BuiltinOperator(kNotEqual) {}
EqualOp::EqualOp() : BuiltinOperator(kEqual) {}
AndOp::AndOp() : BuiltinOperator(kAnd) {}
OrOp::OrOp() : BuiltinOperator(kOr) {}

std::span<const BuiltinOperator* const> BuiltinOperators() {
    static const AddOp add;
    static const MinusOp minus;
    static const MultOp mult;
    static const DivOp div;
    static const ModuloOp modulo;
    static const ExpOp exp;
    static const UnaryMinusOp unaryMinus;
    static const NotOp notOp;
    static const GreaterThanOp greater;
    static const LesserThanOp lesser;
    static const GreaterEqualThanOp greaterEqual;
    static const LesserEqualThanOp lesserEqual;
    static const NotEqualOp notEqual;
    static const EqualOp equal;
    static const AndOp andOp;
    static const OrOp orOp;
    static const BuiltinOperator* const table[] = {
        &add, &minus, &mult, &div, &modulo, &exp, &unaryMinus, &notOp, &greater, &lesser,
        &greaterEqual, &lesserEqual, &notEqual, &equal, &andOp, &orOp};
    return table;
}

}  // namespace tarn::calc
