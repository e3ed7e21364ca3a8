// Reader: number forms, strings and escapes, symbols, quote, dotted pairs,
// comments, and errors with their positions.
#include <gtest/gtest.h>

#include <string>

#include "lisp/printer.h"
#include "lisp/reader.h"

namespace tarn::lisp {
namespace {

Value readText(const std::string& text) {
  Value v;
  ReadError error;
  EXPECT_EQ(readOne(text, v, error), ReadStatus::Value) << text << ": " << error.describe();
  return v;
}

struct NumberCase {
  const char* text;
  Type type;
  double value;
};

class ReaderNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReaderNumbers, ReadsTypeAndValue) {
  Value v = readText(GetParam().text);
  ASSERT_EQ(v.type(), GetParam().type) << GetParam().text;
  EXPECT_DOUBLE_EQ(v.asNumber(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Forms, ReaderNumbers,
                         ::testing::Values(NumberCase{"42", Type::Int, 42}, NumberCase{"-7", Type::Int, -7},
                                           NumberCase{"+5", Type::Int, 5}, NumberCase{"3.5", Type::Real, 3.5},
                                           NumberCase{".5", Type::Real, 0.5}, NumberCase{"-.5", Type::Real, -0.5},
                                           NumberCase{"1.", Type::Real, 1.0}, NumberCase{"1e3", Type::Real, 1000},
                                           NumberCase{"1.5E-2", Type::Real, 0.015},
                                           NumberCase{"2147483647", Type::Int, 2147483647.0},
                                           NumberCase{"-2147483648", Type::Int, -2147483648.0},
                                           NumberCase{"2147483648", Type::Real, 2147483648.0},
                                           NumberCase{"1e-400", Type::Real, 0.0}));

class ReaderSymbolTokens : public ::testing::TestWithParam<const char*> {};

TEST_P(ReaderSymbolTokens, AreSymbolsNotNumbers) {
  Value v = readText(GetParam());
  EXPECT_EQ(v.type(), Type::Symbol) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Tokens, ReaderSymbolTokens,
                         ::testing::Values("1+", "1-", "-", "+", "1e", "e5", "1.2.3", "c:cal", "/=", "..", "-e1"));

struct PrintedCase {
  const char* text;
  const char* printed;
};

class ReaderForms : public ::testing::TestWithParam<PrintedCase> {};

TEST_P(ReaderForms, ReadsAsPrinted) { EXPECT_EQ(toString(readText(GetParam().text)), GetParam().printed); }

INSTANTIATE_TEST_SUITE_P(
    Forms, ReaderForms,
    ::testing::Values(PrintedCase{"foo", "FOO"}, PrintedCase{"nil", "nil"}, PrintedCase{"Nil", "nil"},
                      PrintedCase{"t", "T"}, PrintedCase{"'a", "(QUOTE A)"},
                      PrintedCase{"'(1 \"x\")", "(QUOTE (1 \"x\"))"}, PrintedCase{"(quote b)", "(QUOTE B)"},
                      PrintedCase{"(1 . 2)", "(1 . 2)"}, PrintedCase{"(1 2 . 3)", "(1 2 . 3)"},
                      PrintedCase{"(1 . (2 3))", "(1 2 3)"}, PrintedCase{"(1 .5)", "(1 0.5)"},
                      PrintedCase{"()", "nil"}, PrintedCase{"(a(b)c)", "(A (B) C)"},
                      PrintedCase{"; note\n 5", "5"}, PrintedCase{";| block\n comment |; 6", "6"},
                      PrintedCase{"(1 ;| inner |; 2 ; rest\n 3)", "(1 2 3)"},
                      PrintedCase{"(10 1.0 2.0 0.0)", "(10 1.0 2.0 0.0)"}));

struct EscapeCase {
  const char* text;
  std::string value;
};

class ReaderStrings : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(ReaderStrings, DecodesEscapes) {
  Value v = readText(GetParam().text);
  ASSERT_TRUE(v.isString());
  EXPECT_EQ(v.text(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Escapes, ReaderStrings,
                         ::testing::Values(EscapeCase{R"("plain")", "plain"}, EscapeCase{R"("a\"b")", "a\"b"},
                                           EscapeCase{R"("a\\b")", "a\\b"}, EscapeCase{R"("l1\nl2")", "l1\nl2"},
                                           EscapeCase{R"("\t\r\e")", "\t\r\x1b"}, EscapeCase{R"("\101\102")", "AB"},
                                           EscapeCase{R"("\0x")", std::string("\0x", 2)},
                                           EscapeCase{R"("\q")", "q"}, EscapeCase{"\"two\nlines\"", "two\nlines"},
                                           EscapeCase{"\"(not a list)\"", "(not a list)"}));

struct ErrorCase {
  const char* text;
  int line;
  int column;
  const char* message;
};

std::ostream& operator<<(std::ostream& os, const ErrorCase& c) { return os << c.text; }

class ReaderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ReaderErrors, ReportWhatAndWhere) {
  Reader reader(GetParam().text);
  Value v;
  ReadError error;
  ReadStatus status = reader.next(v, error);
  while (status == ReadStatus::Value) status = reader.next(v, error);
  ASSERT_EQ(status, ReadStatus::Error);
  EXPECT_EQ(error.line, GetParam().line);
  EXPECT_EQ(error.column, GetParam().column);
  EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ReaderErrors,
    ::testing::Values(ErrorCase{")", 1, 1, "extra right paren"}, ErrorCase{"(a b) )", 1, 7, "extra right paren"},
                      ErrorCase{"(1 2", 1, 1, "missing right paren"},
                      ErrorCase{"(ok)\n  (a (b)", 2, 3, "missing right paren"},
                      ErrorCase{"x \"abc", 1, 3, "no closing quote"}, ErrorCase{"(. 1)", 1, 2, "misplaced dot"},
                      ErrorCase{"(1 . )", 1, 4, "misplaced dot"}, ErrorCase{"(1 . 2 3)", 1, 4, "more than one form"},
                      ErrorCase{".", 1, 1, "misplaced dot"}, ErrorCase{"(1 .", 1, 1, "missing right paren"},
                      ErrorCase{"'", 1, 1, "quote with nothing"}, ErrorCase{"('  )", 1, 2, "quote with nothing"},
                      ErrorCase{"5 ;| open\n", 1, 3, "comment not closed"},
                      ErrorCase{"(1 1e999)", 1, 4, "number out of range"},
                      ErrorCase{"\"\\777\"", 1, 1, "octal escape"},
                      ErrorCase{"\"\xC3\xA9\" )", 1, 5, "extra right paren"}));

TEST(ReaderTopLevel, ReadsFormsInOrderThenEnds) {
  Reader reader("(a) 2 \"s\"");
  Value v;
  ReadError error;
  std::string seen;
  while (reader.next(v, error) == ReadStatus::Value) seen += toString(v) + "|";
  EXPECT_EQ(seen, "(A)|2|\"s\"|");
  EXPECT_EQ(reader.next(v, error), ReadStatus::End);
}

TEST(ReaderTopLevel, ErrorIsStickyAfterTheFirst) {
  Reader reader("1 ) 2");
  Value v;
  ReadError error;
  ASSERT_EQ(reader.next(v, error), ReadStatus::Value);
  ASSERT_EQ(reader.next(v, error), ReadStatus::Error);
  EXPECT_EQ(reader.next(v, error), ReadStatus::Error);
  EXPECT_EQ(error.column, 3);
}

TEST(ReaderLimitsTest, NestingBeyondTheLimitIsAnErrorNotACrash) {
  ReaderLimits limits;
  limits.maxDepth = 50;
  std::string ok = std::string(50, '(') + std::string(50, ')');
  std::string deep = std::string(51, '(') + std::string(51, ')');
  std::string quotes = std::string(60, '\'') + "x";
  Value v;
  ReadError error;
  EXPECT_EQ(readOne(ok, v, error, limits), ReadStatus::Value);
  EXPECT_EQ(readOne(deep, v, error, limits), ReadStatus::Error);
  EXPECT_NE(error.message.find("nested too deeply"), std::string::npos);
  EXPECT_EQ(readOne(quotes, v, error, limits), ReadStatus::Error);
}

TEST(ReaderLimitsTest, DefaultLimitStopsAHugeNestingOfOpenParens) {
  std::string hostile(1'000'000, '(');
  Value v;
  ReadError error;
  EXPECT_EQ(readOne(hostile, v, error), ReadStatus::Error);
}

}  // namespace
}  // namespace tarn::lisp
