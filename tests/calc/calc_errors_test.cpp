// Errors: a bad expression names what is wrong, where, and the offending text;
// a conflicting definition names the conflict. Both record their source.
#include <string>

#include <gtest/gtest.h>

#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

struct ErrorCase {
    const char* text;
    ParsingError error;
    std::size_t position;
    const char* item;
};

class ExpressionError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ExpressionError, NamesPositionAndItem) {
    const ErrorCase& c = GetParam();
    ParserCompiler parser;
    double x = 1.0;
    parser.DefineVariable("x", &x);
    try {
        parser.Compile(c.text);
        FAIL() << c.text << " compiled";
    } catch (const ParserException<ParsingErrorData>& e) {
        EXPECT_EQ(c.error, e.ErrorData().error) << c.text << ": " << e.what();
        EXPECT_EQ(c.position, e.ErrorData().position) << c.text;
        EXPECT_EQ(c.item, e.ErrorData().item) << c.text;
        EXPECT_STREQ("ParserCompiler", e.SourceFile());
        EXPECT_GT(e.SourceLine(), 0);
        const std::string message = e.what();
        EXPECT_NE(message.find('"' + std::string(c.item) + '"'), std::string::npos) << message;
        EXPECT_NE(message.find("column " + std::to_string(c.position + 1)), std::string::npos);
    }
    EXPECT_EQ(0.0, parser.EvaluateProgram()) << "a failed compile leaves the empty program";
}

using E = ParsingError;
INSTANTIATE_TEST_SUITE_P(Syntax, ExpressionError, ::testing::Values(
    ErrorCase{"1+", E::MissingOperand, 1, "+"}, ErrorCase{"-", E::MissingOperand, 0, "-"},
    ErrorCase{"1 ^ ", E::MissingOperand, 2, "^"}, ErrorCase{"*2", E::MissingOperand, 0, "*"},
    ErrorCase{"1 && 2", E::MissingOperand, 3, "&"}, ErrorCase{"()", E::MissingOperand, 1, ")"},
    ErrorCase{"sin(1,)", E::MissingOperand, 6, ")"}, ErrorCase{"sum(,1)", E::MissingOperand, 4, ","},
    ErrorCase{"rand(,)", E::MissingOperand, 5, ","}, ErrorCase{"(1", E::UnclosedParenthesis, 0, "("},
    ErrorCase{"2*(1+(2)", E::UnclosedParenthesis, 2, "("},
    ErrorCase{"sin(1", E::UnclosedParenthesis, 0, "sin"},
    ErrorCase{"1)", E::UnmatchedClosing, 1, ")"}, ErrorCase{"(1+2))", E::UnmatchedClosing, 5, ")"},
    ErrorCase{"2(3)", E::MissingOperator, 1, "("}, ErrorCase{"2x", E::MissingOperator, 1, "x"},
    ErrorCase{"1 2", E::MissingOperator, 2, "2"}, ErrorCase{"2!", E::MissingOperator, 1, "!"},
    ErrorCase{"1.2.3", E::MissingOperator, 3, ".3"}, ErrorCase{"x[x]", E::MissingOperator, 1, "x"},
    ErrorCase{"1,2", E::MisplacedSeparator, 1, ","}, ErrorCase{"sum(1,(2,3))", E::MisplacedSeparator, 8, ","},
    ErrorCase{"[x", E::UnclosedVariable, 0, "["}, ErrorCase{"[]", E::UnclosedVariable, 0, "["},
    ErrorCase{"[1]", E::UnclosedVariable, 0, "["}, ErrorCase{"1 # 2", E::UnexpectedCharacter, 2, "#"},
    ErrorCase{"\xC3\xA9", E::UnexpectedCharacter, 0, "\xC3\xA9"},
    ErrorCase{".", E::UnexpectedCharacter, 0, "."}, ErrorCase{"1e5", E::MissingOperator, 1, "e5"}));

INSTANTIATE_TEST_SUITE_P(Names, ExpressionError, ::testing::Values(
    ErrorCase{"foo", E::UnknownName, 0, "foo"}, ErrorCase{"1 + foo", E::UnknownName, 4, "foo"},
    ErrorCase{"X", E::UnknownName, 0, "X"}, ErrorCase{"[sin]", E::UnknownName, 0, "sin"},
    ErrorCase{"sin", E::MissingArgumentList, 0, "sin"},
    ErrorCase{"2*sin+1", E::MissingArgumentList, 2, "sin"}));

// min, max, avg and sum take one or more arguments; none is an error, not a
// read before the first argument.
INSTANTIATE_TEST_SUITE_P(ArgumentCounts, ExpressionError, ::testing::Values(
    ErrorCase{"min()", E::WrongArgumentCount, 0, "min"}, ErrorCase{"max()", E::WrongArgumentCount, 0, "max"},
    ErrorCase{"1+avg()", E::WrongArgumentCount, 2, "avg"}, ErrorCase{"sum( )", E::WrongArgumentCount, 0, "sum"},
    ErrorCase{"rand(1)", E::WrongArgumentCount, 0, "rand"}, ErrorCase{"rand(1,2,3)", E::WrongArgumentCount, 0, "rand"},
    ErrorCase{"sin()", E::WrongArgumentCount, 0, "sin"}, ErrorCase{"sin(1,2)", E::WrongArgumentCount, 0, "sin"},
    ErrorCase{"fact(1,2)", E::WrongArgumentCount, 0, "fact"}));

struct DefinitionCase {
    const char* name;
    DefinitionError error;
};

class ConflictingDefinition : public ::testing::TestWithParam<DefinitionCase> {};

TEST_P(ConflictingDefinition, IsRefusedForConstantsAndVariables) {
    double value = 0.0;
    for (bool variable : {false, true}) {
        ParserCompiler parser;
        parser.DefineConstant("pi", 3.0);
        parser.DefineVariable("v", &value);
        try {
            if (variable) {
                parser.DefineVariable(GetParam().name, &value);
            } else {
                parser.DefineConstant(GetParam().name, 1.0);
            }
            FAIL() << GetParam().name << " accepted";
        } catch (const ParserException<DefinitionErrorData>& e) {
            EXPECT_EQ(GetParam().error, e.ErrorData().error);
            EXPECT_EQ(GetParam().name, e.ErrorData().name);
            EXPECT_STREQ("ParserRegistrar", e.SourceFile());
            EXPECT_GT(e.SourceLine(), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Names, ConflictingDefinition, ::testing::Values(
    DefinitionCase{"pi", DefinitionError::NameInUse}, DefinitionCase{"v", DefinitionError::NameInUse},
    DefinitionCase{"sin", DefinitionError::NameInUse}, DefinitionCase{"rand", DefinitionError::NameInUse},
    DefinitionCase{"", DefinitionError::InvalidName}, DefinitionCase{"2x", DefinitionError::InvalidName},
    DefinitionCase{"a b", DefinitionError::InvalidName}, DefinitionCase{"a+b", DefinitionError::InvalidName}));

TEST(VariableDefinition, WithoutStorageIsRefused) {
    ParserCompiler parser;
    try {
        parser.DefineVariable("v", nullptr);
        FAIL();
    } catch (const ParserException<DefinitionErrorData>& e) {
        EXPECT_EQ(DefinitionError::MissingAddress, e.ErrorData().error);
    }
}

}  // namespace
}  // namespace tarn::calc
