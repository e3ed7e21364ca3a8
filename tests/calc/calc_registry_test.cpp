// The registrar's tables (symbols, precedences, argument counts and the help
// texts users see), folding, random values, variables and user definitions.
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "calc/builtin_functions.h"
#include "calc/builtin_operators.h"
#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

struct OperatorRow {
    const char* symbol;
    int precedence;
    bool unary;
    const char* syntax;
    const char* description;
};

constexpr OperatorRow kOperatorTable[] = {
    {"+", 1, false, "x + y", "Addition operator"},
    {"-", 1, false, "x - y", "Minus operator"},
    {"*", 2, false, "x * y", "Multiplication operator"},
    {"/", 2, false, "x / y", "Division operator"},
    {"%", 2, false, "x % y", "Modulo; find remainder of the division of x by y"},
    {"^", 3, false, "x ^ y", "Calculates x raised to the power of y"},
    {"-", 4, true, "-x", "Unary minus operator"},
    {"!", 2, true, "!x", ""},
    {">", 0, false, "x > y", "Greater than logical operator.  Return 1 if true, 0 if false."},
    {"<", 0, false, "x < y", "Lesser than logical operator.  Return 1 if true, 0 if false."},
    {">=", 0, false, "x >= y", "Greater than or equal logical operator.  Return 1 if true, 0 if false."},
    {"<=", 0, false, "x <= y", "Lesser than or equal logical operator.  Return 1 if true, 0 if false."},
    {"!=", 0, false, "x != y", "Not equal logical operator.  Return 1 if true, 0 if false."},
    {"==", 0, false, "x == y", "Equal logical operator.  Return 1 if true, 0 if false."},
    {"&", 0, false, "x & y", "And logical operator.  Return 1 if true, 0 if false."},
    {"|", 0, false, "x | y", "Or logical operator.  Return 1 if true, 0 if false."},
};

struct FunctionRow {
    const char* symbol;
    int count;
    const char* syntax;
    const char* description;
};

constexpr FunctionRow kFunctionTable[] = {
    {"sin", 1, "sin(x)", "Sine"}, {"asin", 1, "asin(x)", "Arcsine"},
    {"sinh", 1, "sinh(x)", "Hyperbolic sine"}, {"cos", 1, "cos(x)", "Cosine"},
    {"acos", 1, "acos(x)", "Arccosine"}, {"cosh", 1, "cosh(x)", "Hyperbolic cosine"},
    {"tan", 1, "tan(x)", "Tangent"}, {"atan", 1, "atan(x)", "Arctangent"},
    {"tanh", 1, "tanh(x)", "Hyperbolic tangent"}, {"sqrt", 1, "sqrt(x)", "Square root"},
    {"min", 2, "min(x,y)", "Return smaller of two values"},
    {"min", 3, "min(x,y,z)", "Return smaller of three values"},
    {"min", -1, "min(v1,v2,v3,...)", "Return smaller of a set of values"},
    {"max", 2, "max(x,y)", "Return larger of two values"},
    {"max", 3, "max(x,y,z)", "Return larger of three values"},
    {"max", -1, "max(v1,v2,v3,...)", "Return larger of a set of values"},
    {"abs", 1, "abs(x)", "Absolute value"}, {"rand", 0, "rand()", "Random value between 0 and 1"},
    {"rand", 2, "rand(min, max)", "Random value between min and max"},
    {"ceil", 1, "ceil(x)", "Ceiling"}, {"floor", 1, "floor(x)", "Floor"},
    {"ln", 1, "ln(x)", "Natural logarithm"}, {"log", 1, "log(x)", "Base-10 logarithm"},
    {"avg", -1, "avg(v1,v2,v3,...)", "Return the average of a set of values"},
    {"sum", -1, "sum(v1,v2,v3,...)", "Return the sum of a set of values"},
    {"fact", 1, "fact(x)", "Return the factorial of x: x*(x-1)*(x-2)*...(x-x+1)"},
};

TEST(RegistrarTables, OperatorsInTableOrderWithTheirTexts) {
    const ParserRegistrar registrar;
    const auto operators = registrar.Operators();
    ASSERT_EQ(std::size(kOperatorTable), operators.size());
    for (std::size_t i = 0; i < operators.size(); ++i) {
        const OperatorRow& row = kOperatorTable[i];
        EXPECT_EQ(row.symbol, operators[i]->Symbol()) << i;
        EXPECT_EQ(row.precedence, operators[i]->Precedence()) << row.syntax;
        EXPECT_EQ(row.unary, operators[i]->IsUnary()) << row.syntax;
        EXPECT_EQ(row.syntax, operators[i]->SyntaxText());
        EXPECT_EQ(row.description, operators[i]->DescriptionText());
        EXPECT_TRUE(operators[i]->IsFoldable());
    }
}

TEST(RegistrarTables, FunctionsInTableOrderWithTheirTexts) {
    const ParserRegistrar registrar;
    const auto functions = registrar.Functions();
    ASSERT_EQ(std::size(kFunctionTable), functions.size());
    for (std::size_t i = 0; i < functions.size(); ++i) {
        const FunctionRow& row = kFunctionTable[i];
        EXPECT_EQ(row.symbol, functions[i]->Symbol()) << i;
        EXPECT_EQ(row.count, functions[i]->ArgumentCount()) << row.syntax;
        EXPECT_EQ(row.syntax, functions[i]->SyntaxText());
        EXPECT_EQ(row.description, functions[i]->DescriptionText());
        EXPECT_EQ(row.symbol != std::string("rand"), functions[i]->IsFoldable()) << row.syntax;
    }
}

TEST(RegistrarTables, ClassesAreTheRowsTheirNamesSay) {
    EXPECT_EQ(">=", GreaterEqualThanOp().Symbol());
    EXPECT_TRUE(UnaryMinusOp().IsUnary());
    EXPECT_EQ(4, UnaryMinusOp().Precedence());
    EXPECT_EQ("log", Log10Fct().Symbol());
    EXPECT_EQ("ln", LogFct().Symbol());
    EXPECT_EQ(IMathFunction::kAnyArgumentCount, MinUndefFct().ArgumentCount());
    EXPECT_EQ(3, Max3Fct().ArgumentCount());
    EXPECT_FALSE(RandMinMaxFct().IsFoldable());
    const double three[] = {3.0, 1.0, 2.0};
    EXPECT_EQ(1.0, Min3Fct().Evaluate(3, three));
    EXPECT_EQ(6.0, SumFct().Evaluate(3, three));
    EXPECT_EQ(2.0, AvgFct().Evaluate(3, three));
}

// A factorial of a huge argument must not count up to it.
TEST(Factorial, HugeArgumentIsInfiniteAtOnce) {
    const double huge[] = {1e300};
    EXPECT_TRUE(std::isinf(FactorialFct().Evaluate(1, huge)));
    const double big[] = {2147483647.0};
    EXPECT_TRUE(std::isinf(FactorialFct().Evaluate(1, big)));
}

struct FoldCase {
    const char* text;
    std::size_t items;
};

class Folding : public ::testing::TestWithParam<FoldCase> {};

TEST_P(Folding, ConstantPartsAreComputedWhileCompiling) {
    ParserCompiler parser;
    double x = 1.0;
    parser.DefineVariable("x", &x);
    parser.DefineConstant("k", 4.0);
    parser.Compile(GetParam().text);
    EXPECT_EQ(GetParam().items, parser.CompiledProgram().ItemCount()) << GetParam().text;
    EXPECT_EQ(GetParam().items == 0 && std::string(GetParam().text) != "x",
              parser.CompiledProgram().IsConstant());
}

INSTANTIATE_TEST_SUITE_P(Programs, Folding, ::testing::Values(
    FoldCase{"1+2*3", 0}, FoldCase{"sin(k/2)*max(1,2,3,k)", 0}, FoldCase{"x", 0},
    FoldCase{"x*(2+k)", 1}, FoldCase{"x*2+k", 1} /* one fused item */, FoldCase{"x*2+k*x", 2}, FoldCase{"sum(1,x,2,x)", 1},
    FoldCase{"rand()", 1}, FoldCase{"rand(1,2)", 1}, FoldCase{"rand()*0", 2},
    FoldCase{"-x^2", 2}, FoldCase{"min(x,k)+fact(k)", 2}, FoldCase{"", 0}));

// The generator's own maximum scales the value, so both forms stay in range.
TEST(RandomValues, StayInRangeAndChangeOnEveryEvaluation) {
    ParserCompiler unit;
    unit.Compile("rand()");
    ParserCompiler ranged;
    ranged.Compile("rand(10,20)");
    std::set<double> seen;
    for (int i = 0; i < 2000; ++i) {
        const double u = unit.EvaluateProgram();
        const double r = ranged.EvaluateProgram();
        ASSERT_GE(u, 0.0);
        ASSERT_LE(u, 1.0);
        ASSERT_GE(r, 10.0);
        ASSERT_LE(r, 20.0);
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 1000u);
    EXPECT_GT(*seen.rbegin(), 19.0) << "values spread over the whole range";
    EXPECT_LT(*seen.begin(), 11.0);
}

TEST(Variables, AreReadAtEvaluationTime) {
    ParserCompiler parser;
    double x = 1.0, y = 2.0;
    parser.DefineVariable("x", &x);
    parser.DefineVariable("y", &y);
    parser.Compile("x*y + sum(x, y, 1)");
    EXPECT_EQ(2.0 + 4.0, parser.EvaluateProgram());
    x = 5.0;
    y = -1.0;
    EXPECT_EQ(-5.0 + 5.0, parser.EvaluateProgram());
    parser.Compile("y");
    EXPECT_EQ(-1.0, parser.EvaluateProgram());
}

// A variable that can only be read through Evaluate, as another factory may make.
class CountingVariable final : public MathExpression::IMathVariable {
public:
    explicit CountingVariable(std::string_view name) : name_(name) {}
    std::string_view Name() const override { return name_; }
    double Evaluate(int, const double*) const override { return ++reads_; }

private:
    std::string name_;
    mutable double reads_ = 0.0;
};

class CountingFactory final : public MathExpression::IMathVariableFactory {
public:
    std::unique_ptr<MathExpression::IMathVariable> MakeVariable(std::string_view name,
                                                                const double*) const override {
        return std::make_unique<CountingVariable>(name);
    }
};

TEST(Variables, FromAnotherFactoryAreEvaluatedNotFolded) {
    const CountingFactory factory;
    ParserCompiler parser(factory);
    double unused = 0.0;
    parser.DefineVariable("n", &unused);
    parser.Compile("n*10 + 1");
    EXPECT_EQ(11.0, parser.EvaluateProgram());
    EXPECT_EQ(21.0, parser.EvaluateProgram());
}

TEST(Variables, MemoryBackedOnesKeepNameAndAddress) {
    double value = 7.0;
    const auto variable = MathExpression::MemVariableFactory::Instance().MakeVariable("w", &value);
    EXPECT_EQ("w", variable->Name());
    EXPECT_EQ(&value, variable->Storage());
    EXPECT_EQ(7.0, variable->Evaluate(0, nullptr));
    EXPECT_FALSE(variable->IsFoldable());
}

class Hypot final : public IMathFunction {
public:
    std::string_view SyntaxText() const override { return "sin(x,y)"; }
    std::string_view DescriptionText() const override { return "Length of (x, y)"; }
    double Evaluate(int, const double* a) const override { return std::hypot(a[0], a[1]); }
    std::string_view Symbol() const override { return "sin"; }
    int ArgumentCount() const override { return 2; }
};

class HashOp final : public IMathOperator {
public:
    explicit HashOp(std::string_view symbol) : symbol_(symbol) {}
    std::string_view SyntaxText() const override { return "x # y"; }
    std::string_view DescriptionText() const override { return "Mean"; }
    double Evaluate(int, const double* a) const override { return (a[0] + a[1]) / 2; }
    int Precedence() const override { return 2; }
    std::string_view Symbol() const override { return symbol_; }

private:
    std::string_view symbol_;
};

TEST(UserDefinitions, ExtendTheLanguageWithoutClashing) {
    ParserCompiler parser;
    const Hypot hypot;
    const HashOp hash("#"), plus("+"), letter("a");
    parser.Registrar().RegisterFunction(hypot);
    parser.Registrar().RegisterOperator(hash);
    EXPECT_THROW(parser.Registrar().RegisterFunction(hypot), ParserException<DefinitionErrorData>);
    EXPECT_THROW(parser.Registrar().RegisterOperator(plus), ParserException<DefinitionErrorData>);
    EXPECT_THROW(parser.Registrar().RegisterOperator(letter), ParserException<DefinitionErrorData>);
    double y = 4.0;
    parser.DefineVariable("y", &y);
    parser.Compile("sin(3,y) + 2 # 4 * 2");
    EXPECT_EQ(5.0 + 6.0, parser.EvaluateProgram()) << "# is left-associative with *";
    parser.Compile("sin(0)");
    EXPECT_EQ(0.0, parser.EvaluateProgram());
}

// No recursion in the compiler: deep nesting and long chains are just long.
TEST(LargeExpressions, CompileWithoutRecursion) {
    const int depth = 20000;
    ParserCompiler parser;
    double x = 3.0;
    parser.DefineVariable("x", &x);
    parser.Compile(std::string(depth, '(') + "x" + std::string(depth, ')'));
    EXPECT_EQ(3.0, parser.EvaluateProgram());
    parser.Compile(std::string(depth, '-') + "x");
    EXPECT_EQ(3.0, parser.EvaluateProgram());
    std::string chain = "x";
    for (int i = 0; i < depth; ++i) chain += i % 2 ? "+x" : "-(x*(1-x))";
    parser.Compile(chain);
    EXPECT_EQ(3.0 + 10000 * 3.0 + 10000 * 6.0, parser.EvaluateProgram());
    std::string call = "sum(x";
    for (int i = 0; i < depth; ++i) call += ",x";
    parser.Compile(call + ")");
    EXPECT_EQ(3.0 * (depth + 1), parser.EvaluateProgram());
}

}  // namespace
}  // namespace tarn::calc

// Two operations in a row run as one item when the second takes the first's
// value at once. Every pair and operand place must give what the same
// expression gives when folded while compiling, which goes through the
// operators' own Evaluate.
namespace tarn::calc {
namespace {

TEST(FusedItems, EveryPairAndPlaceAgreesWithFolding) {
    const char* const firsts[] = {"+", "-", "*", "/", "^", ">", "<", ">=", "<=", "!=", "=="};
    const char* const seconds[] = {"+", "-", "*", "/", "&", "|"};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double valueSets[][3] = {{2, -3, 0.5}, {0, 0, 0}, {-1.5, 2, -4}, {nan, 1, 0}, {3, 3, 2}};
    struct Shape {
        const char* before;
        const char* middle;
        const char* after;
        std::size_t items;
    };
    // (a f b) s c, c s (a f b), and the same with the first operand computed
    // by the item before.
    const Shape shapes[] = {{"((a", "b)", "c)", 1}, {"(c", "(a", "b))", 1},
                            {"((abs(a)", "b)", "c)", 2}, {"(c", "(abs(a)", "b))", 2}};
    for (const char* f : firsts) {
        for (const char* s : seconds) {
            for (const Shape& shape : shapes) {
                const bool valueFirst = shape.middle[0] == 'b';
                const std::string text = valueFirst
                    ? std::string(shape.before) + f + shape.middle + s + shape.after
                    : std::string(shape.before) + s + shape.middle + f + shape.after;
                for (const auto& values : valueSets) {
                    double a = values[0], b = values[1], c = values[2];
                    ParserCompiler variables, constants;
                    variables.DefineVariable("a", &a);
                    variables.DefineVariable("b", &b);
                    variables.DefineVariable("c", &c);
                    constants.DefineConstant("a", a);
                    constants.DefineConstant("b", b);
                    constants.DefineConstant("c", c);
                    variables.Compile(text);
                    constants.Compile(text);
                    ASSERT_EQ(shape.items, variables.CompiledProgram().ItemCount()) << text;
                    const double expected = constants.EvaluateProgram();
                    const double actual = variables.EvaluateProgram();
                    if (std::isnan(expected)) {
                        EXPECT_TRUE(std::isnan(actual)) << text << " a=" << a;
                    } else {
                        EXPECT_EQ(expected, actual) << text << " a=" << a << " b=" << b << " c=" << c;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace tarn::calc
