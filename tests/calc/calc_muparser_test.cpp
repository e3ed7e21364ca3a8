// The engine against muparser on random expressions from the part of the two
// languages that agrees, and the places where they differ on purpose.
#include <cmath>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <muParser.h>

#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

const char* const kVariables[] = {"a", "b", "c"};

// Arithmetic with explicit parentheses wherever the two differ: around "^"
// (right-associative there) with its operands, around a negated operand, and
// around comparisons (which rank differently there). Divisors stay away from
// zero: muparser's optimiser may flip the sign of a zero, and so of an
// infinite quotient.
class CommonGenerator {
public:
    explicit CommonGenerator(std::uint32_t seed) : random_(seed) {}

    std::string Expression(int depth) {
        std::string text = Term(depth);
        for (int i = static_cast<int>(Pick(4)); i > 0; --i)
            text += std::string(Pick(2) ? " + " : " - ") + Term(depth);
        return text;
    }

private:
    std::size_t Pick(std::size_t n) { return random_() % n; }

    std::string Term(int depth) {
        std::string text = Factor(depth);
        for (int i = static_cast<int>(Pick(3)); i > 0; --i)
            text += Pick(2) ? "*" + Factor(depth) : "/(abs(" + Factor(depth) + ")+0.5)";
        return text;
    }

    std::string Factor(int depth) {
        const std::size_t roll = depth <= 0 ? Pick(4) : Pick(11);
        switch (roll) {
        case 0: case 1: return kVariables[Pick(3)];
        case 2: return std::to_string(1 + Pick(9));
        case 3: return "2.5";
        case 4: return "(" + Expression(depth - 1) + ")";
        case 5: return "(-" + Factor(depth - 1) + ")";
        case 6: return "((" + Factor(depth - 1) + ")^" + std::to_string(Pick(4)) + ")";
        case 7: return Compare(depth - 1);
        default: return Call(depth - 1);
        }
    }

    std::string Compare(int depth) {
        static const char* const ops[] = {"<", ">", "<=", ">=", "==", "!="};
        return "(" + Expression(depth) + ops[Pick(6)] + Expression(depth) + ")";
    }

    std::string Call(int depth) {
        static const char* const one[] = {"sin", "cos", "atan", "tanh", "abs"};
        // Kept where small differences in the argument stay small in the result.
        static const char* const guarded[] = {"sqrt(abs(%))", "ln(abs(%)+1)", "asin(sin(%)*0.9)",
                                              "acos(cos(%)*0.9)", "sinh(sin(%))", "cosh(cos(%))",
                                              "tan(sin(%))"};
        static const char* const many[] = {"min", "max", "sum", "avg"};
        const std::size_t kind = Pick(3);
        if (kind == 0) return std::string(one[Pick(5)]) + "(" + Expression(depth) + ")";
        if (kind == 1) {
            std::string text = guarded[Pick(7)];
            return text.replace(text.find('%'), 1, Expression(depth));
        }
        std::string text = std::string(many[Pick(4)]) + "(" + Expression(depth);
        for (int i = static_cast<int>(Pick(4)); i > 0; --i) text += "," + Expression(depth);
        return text + ")";
    }

    std::mt19937 random_;
};

bool Agree(double ours, double theirs) {
    if (std::isnan(ours) || std::isnan(theirs)) return std::isnan(ours) && std::isnan(theirs);
    if (std::isinf(ours) || std::isinf(theirs)) return ours == theirs;
    return std::fabs(ours - theirs) <= 1e-9 * std::max(1.0, std::fabs(ours));
}

TEST(AgainstMuparser, AgreeOnTheCommonLanguage) {
    CommonGenerator generator(99);
    double values[3] = {};
    ParserCompiler ours;
    mu::Parser theirs;
    // Unoptimised, muparser computes in the written order as we do, so a
    // comparison of two nearly equal values cannot tip over one rounding.
    theirs.EnableOptimizer(false);
    for (int i = 0; i < 3; ++i) {
        ours.DefineVariable(kVariables[i], &values[i]);
        theirs.DefineVar(kVariables[i], &values[i]);
    }
    const double sets[][3] = {{1.0, 2.0, 3.0}, {-0.5, 0.25, 7.0}, {0.0, -3.0, 1.5}};
    for (int n = 0; n < 3000; ++n) {
        const std::string text = generator.Expression(2);
        ours.Compile(text);
        theirs.SetExpr(text);
        for (const auto& set : sets) {
            std::copy(std::begin(set), std::end(set), values);
            const double expected = theirs.Eval();
            ASSERT_TRUE(Agree(ours.EvaluateProgram(), expected))
                << text << ": ours " << ours.EvaluateProgram() << ", muparser " << expected;
        }
    }
}

struct Difference {
    const char* text;
    double ours;
    const char* why;
};

class DifferenceFromMuparser : public ::testing::TestWithParam<Difference> {};

// Each of these reads differently in muparser, or not at all there.
TEST_P(DifferenceFromMuparser, IsOurs) {
    ParserCompiler ours;
    ours.Compile(GetParam().text);
    EXPECT_DOUBLE_EQ(GetParam().ours, ours.EvaluateProgram()) << GetParam().why;
    mu::Parser theirs;
    theirs.SetExpr(GetParam().text);
    double other = 0.0;
    try {
        other = theirs.Eval();
    } catch (const mu::Parser::exception_type&) {
        return;  // not in muparser's language
    }
    EXPECT_NE(GetParam().ours, other) << GetParam().text << ": " << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(OnPurpose, DifferenceFromMuparser, ::testing::Values(
    Difference{"-2^2", 4, "unary minus binds tighter than ^"},
    Difference{"-3^2+1", 10, "unary minus binds tighter than ^"},
    Difference{"2^3^2", 64, "^ associates to the left"},
    Difference{"log(100)", 2, "log is base 10, ln the natural logarithm"},
    Difference{"fact(4)", 24, "factorial function"},
    Difference{"!0", 1, "! is logical not"},
    Difference{"5 % 3", 2, "% is the remainder"},
    Difference{"1 | 0 & 0", 0, "& and | are one level, left to right"},
    Difference{"1 < 2 | 0", 1, "comparisons and logic share the lowest level"}));

TEST(DifferenceFromMuparser, CommaListIsNotAValue) {
    ParserCompiler ours;
    EXPECT_THROW(ours.Compile("1,2"), ParserException<ParsingErrorData>);
    mu::Parser theirs;
    theirs.SetExpr("1,2");
    EXPECT_EQ(2.0, theirs.Eval()) << "muparser returns the last of several results";
}

}  // namespace
}  // namespace tarn::calc
