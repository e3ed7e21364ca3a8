// Values of expressions: every operator and function, precedence and the
// stack rule, IEEE results, and the same results whether the operands are
// folded constants or variables read at evaluation time.
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ValueCase {
    const char* text;
    double expected;
};

void PrintTo(const ValueCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

// a = 2, b = -3, c = 0.5, q = NaN, z = 0; pi and e as the calculator defines them.
struct Names {
    double a = 2.0, b = -3.0, c = 0.5, q = kNaN, z = 0.0;
};

void DefineNames(ParserCompiler& parser, Names& names, bool asVariables) {
    parser.DefineConstant("pi", 3.14159265359);
    parser.DefineConstant("e", 2.718281828459045);
    const std::pair<const char*, double*> all[] = {
        {"a", &names.a}, {"b", &names.b}, {"c", &names.c}, {"q", &names.q}, {"z", &names.z}};
    for (auto [name, address] : all) {
        if (asVariables) {
            parser.DefineVariable(name, address);
        } else {
            parser.DefineConstant(name, *address);
        }
    }
}

void ExpectSameValue(double expected, double actual, const char* text) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << text << " gave " << actual;
    } else {
        EXPECT_DOUBLE_EQ(expected, actual) << text;
    }
}

class ExpressionValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValue, FoldedAndFromVariablesAgree) {
    for (bool asVariables : {false, true}) {
        Names names;
        ParserCompiler parser;
        DefineNames(parser, names, asVariables);
        parser.Compile(GetParam().text);
        ExpectSameValue(GetParam().expected, parser.EvaluateProgram(), GetParam().text);
        if (!asVariables) {
            EXPECT_TRUE(parser.CompiledProgram().IsConstant()) << GetParam().text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, ExpressionValue, ::testing::Values(
    ValueCase{"1+2*3", 7}, ValueCase{"2^3", 8}, ValueCase{"5 % 3", 2}, ValueCase{"8-3-2", 3},
    ValueCase{"-2^2", 4}, ValueCase{"!0", 1}, ValueCase{"!5", 0}, ValueCase{"min(4,2)", 2},
    ValueCase{"min(4,2,8,1)", 1}, ValueCase{"avg(1,2,3,4)", 2.5}, ValueCase{"fact(3.9)", 6},
    ValueCase{"", 0}, ValueCase{" \t ", 0}, ValueCase{" 1 +\t2\n", 3}, ValueCase{".5+5.", 5.5},
    ValueCase{"2*(3+4)", 14}, ValueCase{"((2))", 2}, ValueCase{"[a]+1", 3}, ValueCase{"[ a ]", 2},
    ValueCase{"pi", 3.14159265359}, ValueCase{"e", 2.718281828459045},
    ValueCase{"1000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "0000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "0000000000000000000000000000000000000000000000000000000000000000000000000000000"
              "0000000000000000000000000000000000000000000000000000000000000000000000000000000",
              kInf}));

INSTANTIATE_TEST_SUITE_P(Operators, ExpressionValue, ::testing::Values(
    ValueCase{"a+b", -1}, ValueCase{"a-b", 5}, ValueCase{"a*b", -6}, ValueCase{"a/b", 2.0 / -3.0},
    ValueCase{"b%a", -1}, ValueCase{"a^b", 0.125}, ValueCase{"-a", -2}, ValueCase{"!a", 0},
    ValueCase{"!(a-a)", 1}, ValueCase{"a>b", 1}, ValueCase{"b>a", 0}, ValueCase{"a<b", 0},
    ValueCase{"b<a", 1}, ValueCase{"a>=a", 1}, ValueCase{"b>=a", 0}, ValueCase{"a<=b", 0},
    ValueCase{"a<=a", 1}, ValueCase{"a!=b", 1}, ValueCase{"a!=a", 0}, ValueCase{"a==a", 1},
    ValueCase{"a==b", 0}, ValueCase{"a&b", 1}, ValueCase{"a&0", 0}, ValueCase{"0&a", 0},
    ValueCase{"0|b", 1}, ValueCase{"a|0", 1}, ValueCase{"0|0", 0}));

// Arithmetic never fails: IEEE results, and NaN compares false except with !=.
INSTANTIATE_TEST_SUITE_P(IeeeResults, ExpressionValue, ::testing::Values(
    ValueCase{"1/0", kInf}, ValueCase{"-1/0", -kInf}, ValueCase{"0/0", kNaN},
    ValueCase{"a%0", kNaN}, ValueCase{"ln(0)", -kInf}, ValueCase{"ln(b)", kNaN},
    ValueCase{"sqrt(b)", kNaN}, ValueCase{"asin(a)", kNaN}, ValueCase{"b^c", kNaN},
    ValueCase{"q>1", 0}, ValueCase{"q<1", 0}, ValueCase{"q>=q", 0}, ValueCase{"q<=q", 0},
    ValueCase{"q==q", 0}, ValueCase{"q!=q", 1}, ValueCase{"!q", 0}, ValueCase{"q&1", 1},
    ValueCase{"q|0", 1}, ValueCase{"min(q,1)", kNaN}, ValueCase{"min(1,q)", 1},
    ValueCase{"max(q,1)", kNaN}, ValueCase{"max(1,q)", 1}));

// On a tie min and max give their later argument, which shows with signed zeros.
INSTANTIATE_TEST_SUITE_P(Ties, ExpressionValue, ::testing::Values(
    ValueCase{"1/min(z,-z)", -kInf}, ValueCase{"1/min(-z,z)", kInf},
    ValueCase{"1/max(z,-z)", -kInf}, ValueCase{"1/max(-z,z)", kInf},
    ValueCase{"1/min(a,z,-z)", -kInf}, ValueCase{"1/max(-z,b,z)", kInf},
    ValueCase{"1/min(z,a,b,-z,a)", -1.0 / 3}, ValueCase{"1/min(z,a,-z,a)", -kInf},
    ValueCase{"1/max(-z,b,z,b)", kInf}));

INSTANTIATE_TEST_SUITE_P(Functions, ExpressionValue, ::testing::Values(
    ValueCase{"sin(c)", std::sin(0.5)}, ValueCase{"asin(c)", std::asin(0.5)},
    ValueCase{"sinh(c)", std::sinh(0.5)}, ValueCase{"cos(c)", std::cos(0.5)},
    ValueCase{"acos(c)", std::acos(0.5)}, ValueCase{"cosh(c)", std::cosh(0.5)},
    ValueCase{"tan(c)", std::tan(0.5)}, ValueCase{"atan(b)", std::atan(-3.0)},
    ValueCase{"tanh(c)", std::tanh(0.5)}, ValueCase{"sqrt(a)", std::sqrt(2.0)},
    ValueCase{"min(a,b)", -3}, ValueCase{"min(b,a)", -3}, ValueCase{"min(a,b,c)", -3},
    ValueCase{"min(c,a,c)", 0.5}, ValueCase{"min(a)", 2}, ValueCase{"min(a,c,a,b,c)", -3},
    ValueCase{"max(a,b)", 2}, ValueCase{"max(b,a)", 2}, ValueCase{"max(b,c,a)", 2},
    ValueCase{"max(b)", -3}, ValueCase{"max(b,c,b,a,c)", 2}, ValueCase{"abs(b)", 3},
    ValueCase{"ceil(c)", 1}, ValueCase{"ceil(-c)", -0.0}, ValueCase{"floor(b-c)", -4},
    ValueCase{"ln(e)", 1}, ValueCase{"log(1000)", 3}, ValueCase{"avg(a)", 2},
    ValueCase{"avg(a,b,c)", -0.5 / 3}, ValueCase{"sum(a)", 2}, ValueCase{"sum(a,b,c,1)", 0.5},
    ValueCase{"fact(a+3)", 120}, ValueCase{"fact(0)", 1}, ValueCase{"fact(1)", 1},
    ValueCase{"fact(2)", 2}, ValueCase{"fact(c)", 1}, ValueCase{"fact(b)", kNaN},
    ValueCase{"fact(-c)", kNaN}, ValueCase{"fact(q)", kNaN}, ValueCase{"fact(171)", kInf},
    ValueCase{"fact(2147483648)", kInf}, ValueCase{"fact(1/0)", kInf},
    ValueCase{"sin(pi/2)", std::sin(3.14159265359 / 2)}));

// Precedence: comparisons and logic 0, + - 1, * / % 2, ^ 3, unary minus 4,
// "!" 2; left association; a unary operator on the stack outlasts an incoming
// operator of its own precedence, so "!" takes the whole product after it.
INSTANTIATE_TEST_SUITE_P(StackRule, ExpressionValue, ::testing::Values(
    ValueCase{"2*3^2", 18}, ValueCase{"-a^2", 4}, ValueCase{"2^-1", 0.5}, ValueCase{"--a", 2},
    ValueCase{"- - -a", -2}, ValueCase{"a*-b", 6}, ValueCase{"2^3^2", 64}, ValueCase{"8/2/2", 2},
    ValueCase{"1-2+3", 2}, ValueCase{"7%4%2", 1}, ValueCase{"1+2>2", 1}, ValueCase{"1<2==1", 1},
    ValueCase{"3>2>1", 0}, ValueCase{"1|0&0", 0}, ValueCase{"!a*0", 1}, ValueCase{"!a+1", 1},
    ValueCase{"!0*5", 1}, ValueCase{"a*!b*0", 2}, ValueCase{"-!0*5", -1}, ValueCase{"!-a*b", 0},
    ValueCase{"!a^0", 0}, ValueCase{"2^!0*0", 2}, ValueCase{"!!a", 1}, ValueCase{"!a>b", 1},
    ValueCase{"-a*b+c", 6.5}, ValueCase{"a*b%4", -2}, ValueCase{"-(a+b)", 1},
    ValueCase{"a--b", -1}, ValueCase{"a-!b", 2}, ValueCase{"a^b^-1", 8},
    ValueCase{"-2^-2", 0.25}));

// Upper-case names are different names; the calculator lowers its text first.
TEST(ExpressionNames, AreCaseSensitive) {
    ParserCompiler parser;
    EXPECT_THROW(parser.Compile("SIN(0)"), ParserException<ParsingErrorData>);
    parser.Compile("sin(0)");
    EXPECT_EQ(0.0, parser.EvaluateProgram());
}

}  // namespace
}  // namespace tarn::calc
