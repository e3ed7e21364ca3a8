// Printer: real formatting, prin1 and princ of strings, lists and dotted
// pairs, names and functions, and the read-back of what prin1 writes.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "lisp/printer.h"
#include "lisp/reader.h"

namespace tarn::lisp {
namespace {

struct RealCase {
  double value;
  const char* text;
};

class PrinterReals : public ::testing::TestWithParam<RealCase> {};

TEST_P(PrinterReals, SixSignificantDigitsAndAlwaysARealMark) {
  EXPECT_EQ(formatReal(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Forms, PrinterReals,
                         ::testing::Values(RealCase{3.0, "3.0"}, RealCase{1.0 / 3.0, "0.333333"},
                                           RealCase{-2.5, "-2.5"}, RealCase{0.0, "0.0"},
                                           RealCase{3.14159265359, "3.14159"}, RealCase{100000.0, "100000.0"},
                                           RealCase{1e6, "1.0e+06"}, RealCase{123456789.0, "1.23457e+08"},
                                           RealCase{1e20, "1.0e+20"}, RealCase{1e-7, "1.0e-07"},
                                           RealCase{0.0001, "0.0001"}, RealCase{2.5e-5, "2.5e-05"},
                                           RealCase{1e300, "1.0e+300"}));

struct FormCase {
  Value value;
  const char* prin1;
  const char* princ;
};

class PrinterForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(PrinterForms, Prin1AndPrinc) {
  EXPECT_EQ(toString(GetParam().value, PrintStyle::Prin1), GetParam().prin1);
  EXPECT_EQ(toString(GetParam().value, PrintStyle::Princ), GetParam().princ);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PrinterForms,
    ::testing::Values(
        FormCase{Value(), "nil", "nil"}, FormCase{Value::t(), "T", "T"}, FormCase{Value::integer(-12), "-12", "-12"},
        FormCase{Value::string("a \"q\" \\ b"), R"("a \"q\" \\ b")", "a \"q\" \\ b"},
        FormCase{Value::string("l1\nl2\t\x1b\r"), R"("l1\nl2\t\e\r")", "l1\nl2\t\x1b\r"},
        FormCase{Value::string(std::string("\x01z", 2)), R"("\001z")", "\x01z"},
        FormCase{Value::list({Value::integer(1), Value::string("s"), Value()}), "(1 \"s\" nil)", "(1 s nil)"},
        FormCase{Value::cons(Value::integer(1), Value::cons(Value::integer(2), Value::integer(3))), "(1 2 . 3)",
                 "(1 2 . 3)"},
        FormCase{Value::list({Value::cons(Value::integer(0), Value::string("LINE")),
                              Value::list({Value::integer(10), Value::real(1), Value::real(2), Value::real(0)})}),
                 "((0 . \"LINE\") (10 1.0 2.0 0.0))", "((0 . LINE) (10 1.0 2.0 0.0))"},
        FormCase{Value::entityName(0x7ff6a4b0, 0), "<Entity name: 7ff6a4b0>", "<Entity name: 7ff6a4b0>"},
        FormCase{Value::entityName(0x10, 0x7ff6), "<Entity name: 7ff600000010>", "<Entity name: 7ff600000010>"},
        FormCase{Value::selectionSet(3, 0), "<Selection set: 3>", "<Selection set: 3>"},
        FormCase{Value::external(ExternalFunction{"C:CAL", 0, 1}), "#<EXSUBR C:CAL>", "#<EXSUBR C:CAL>"},
        FormCase{Value::quiet(), "", ""}));

TEST(PrinterLimitsTest, StopsAtTheCharacterLimitAndSaysSo) {
  Value list;
  for (int k = 0; k < 1000; ++k) list = Value::cons(Value::integer(k), list);
  PrintLimits limits;
  limits.maxChars = 100;
  std::string out;
  EXPECT_FALSE(printValue(list, PrintStyle::Prin1, limits, out));
  EXPECT_EQ(out.size(), 100u);
}

TEST(PrinterLimitsTest, DeepNestingPrintsEllipsisInsteadOfOverflowingTheStack) {
  Value v = Value::integer(1);
  for (int k = 0; k < 100000; ++k) v = Value::list({v});
  std::string text = toString(v);
  EXPECT_NE(text.find("..."), std::string::npos);
  EXPECT_EQ(text.front(), '(');
}

// What prin1 writes, the reader reads back as the same value.
class PrinterRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(PrinterRoundTrip, Prin1ThenReadGivesTheSameText) {
  Value first;
  ReadError error;
  ASSERT_EQ(readOne(GetParam(), first, error), ReadStatus::Value);
  std::string printed = toString(first);
  Value second;
  ASSERT_EQ(readOne(printed, second, error), ReadStatus::Value) << printed;
  EXPECT_EQ(toString(second), printed);
}

INSTANTIATE_TEST_SUITE_P(Texts, PrinterRoundTrip,
                         ::testing::Values("(1 2.5 \"a\\\"b\\\\c\\n\" SYM (nested . pair))", "\"\\001\\177\\e\"",
                                           "((0 . \"LINE\") (8 . \"0\") (10 1.0 2.0 0.0) (40 . 0.5))",
                                           "(-3 (\"APP\" (1000 . \"x\") (1070 . 5)))", "1.0e+20", "-0.5"));

}  // namespace
}  // namespace tarn::lisp
