// Malformed filter lists: each fault is reported with its kind and the item
// where it sits, and a failed compile leaves the previous filter in place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "chain.h"
#include "select/filter.h"

namespace {

using tarn::select::Filter;
using tarn::select::FilterDiagnostic;
using tarn::select::FilterError;

struct BadFilter {
  const char* label;
  std::function<void(Chain&)> build;
  FilterError error;
  int item;
};

std::ostream& operator<<(std::ostream& out, const BadFilter& c) { return out << c.label; }

class MalformedFilter : public testing::TestWithParam<BadFilter> {};

TEST_P(MalformedFilter, IsRefusedWithItsReason) {
  Chain filter;
  GetParam().build(filter);
  Filter compiled;
  FilterDiagnostic why;
  EXPECT_EQ(Filter::compile(filter.head(), compiled, &why), RTERROR);
  EXPECT_EQ(why.error, GetParam().error) << why.message;
  EXPECT_EQ(why.item, GetParam().item) << why.message;
  EXPECT_NE(why.message.find(tarn::select::filterErrorText(GetParam().error)), std::string::npos) << why.message;
}

INSTANTIATE_TEST_SUITE_P(Brackets, MalformedFilter, testing::Values(
    BadFilter{"unclosed", [](Chain& f) { f.op("<OR").text(0, "LINE"); }, FilterError::UnclosedBracket, 0},
    BadFilter{"inner unclosed", [](Chain& f) { f.op("<OR").op("<AND").text(0, "A").op("OR>"); },
              FilterError::UnbalancedBracket, 3},
    BadFilter{"close without open", [](Chain& f) { f.text(0, "A").op("AND>"); }, FilterError::UnbalancedBracket, 1},
    BadFilter{"crossed", [](Chain& f) { f.op("<AND").op("<OR").text(0, "A").op("AND>").op("OR>"); },
              FilterError::UnbalancedBracket, 3},
    BadFilter{"empty and", [](Chain& f) { f.op("<AND").op("AND>"); }, FilterError::OperandCount, 1},
    BadFilter{"empty or", [](Chain& f) { f.op("<OR").op("OR>"); }, FilterError::OperandCount, 1},
    BadFilter{"xor of one", [](Chain& f) { f.op("<XOR").text(0, "A").op("XOR>"); }, FilterError::OperandCount, 2},
    BadFilter{"xor of three", [](Chain& f) { f.op("<XOR").text(0, "A").text(8, "B").text(8, "C").op("XOR>"); },
              FilterError::OperandCount, 4},
    BadFilter{"not of two", [](Chain& f) { f.op("<NOT").text(0, "A").text(8, "B").op("NOT>"); },
              FilterError::OperandCount, 3},
    BadFilter{"empty not", [](Chain& f) { f.op("<NOT").op("NOT>"); }, FilterError::OperandCount, 1}));

INSTANTIATE_TEST_SUITE_P(Operators, MalformedFilter, testing::Values(
    BadFilter{"unknown word", [](Chain& f) { f.op("<NAND").text(0, "A"); }, FilterError::UnknownOperator, 0},
    BadFilter{"empty word", [](Chain& f) { f.op("").text(0, "A"); }, FilterError::UnknownOperator, 0},
    BadFilter{"null word", [](Chain& f) { f.text(0, "A").op(nullptr); }, FilterError::UnknownOperator, 1},
    BadFilter{"relation list of four", [](Chain& f) { f.op("=,=,=,=").point(10, 0, 0, 0); },
              FilterError::UnknownOperator, 0},
    BadFilter{"relation list on a number", [](Chain& f) { f.op(">,>").real(40, 1); }, FilterError::UnknownOperator, 1},
    BadFilter{"relation at the end", [](Chain& f) { f.text(0, "A").op(">"); }, FilterError::MissingOperand, 1},
    BadFilter{"relation before a bracket", [](Chain& f) { f.op(">").op("<OR").real(40, 1).op("OR>"); },
              FilterError::MissingOperand, 0},
    BadFilter{"relation before xdata", [](Chain& f) { f.op("=").marker(-3).text(1001, "A"); },
              FilterError::MissingOperand, 0},
    BadFilter{"ordering texts", [](Chain& f) { f.op("<").text(8, "A"); }, FilterError::OperatorNotAllowed, 1},
    BadFilter{"bits of a real", [](Chain& f) { f.op("&").real(40, 1); }, FilterError::OperatorNotAllowed, 1},
    BadFilter{"bits of a point", [](Chain& f) { f.op("&,*,*").point(10, 1, 1, 1); },
              FilterError::OperatorNotAllowed, 1},
    BadFilter{"ordering names", [](Chain& f) { f.op(">").name(-1, 1, 2); }, FilterError::OperatorNotAllowed, 1}));

INSTANTIATE_TEST_SUITE_P(Groups, MalformedFilter, testing::Values(
    BadFilter{"result type", [](Chain& f) { f.text(RTSTR, "A"); }, FilterError::UnsupportedGroup, 0},
    BadFilter{"list bracket", [](Chain& f) { f.marker(RTLB).text(0, "A"); }, FilterError::UnsupportedGroup, 0},
    BadFilter{"unknown code", [](Chain& f) { f.text(0, "A").integer(-7, 1); }, FilterError::UnsupportedGroup, 1},
    BadFilter{"xdata without name", [](Chain& f) { f.marker(-3).text(0, "A"); }, FilterError::MissingApplication, 0},
    BadFilter{"xdata at the end", [](Chain& f) { f.text(0, "A").marker(-3); }, FilterError::MissingApplication, 1}));

TEST(Filter, FailedCompileKeepsThePreviousFilter) {
  Chain good, bad, line;
  good.text(0, "LINE");
  bad.op("<OR").text(0, "CIRCLE");
  line.text(0, "LINE");
  Filter compiled;
  ASSERT_EQ(Filter::compile(good.head(), compiled), RTNORM);
  EXPECT_EQ(Filter::compile(bad.head(), compiled), RTERROR);
  EXPECT_TRUE(compiled.matches(line.head()));
}

TEST(Filter, SuccessClearsAnOldDiagnostic) {
  Chain good;
  good.text(0, "LINE");
  Filter compiled;
  FilterDiagnostic why{FilterError::UnknownOperator, 3, "old"};
  ASSERT_EQ(Filter::compile(good.head(), compiled, &why), RTNORM);
  EXPECT_EQ(why.error, FilterError::None);
  EXPECT_TRUE(why.message.empty());
}

TEST(Filter, NullListIsTheEmptyFilter) {
  Filter compiled;
  ASSERT_EQ(Filter::compile(nullptr, compiled), RTNORM);
  EXPECT_TRUE(compiled.empty());
  Chain anything;
  anything.text(0, "LINE");
  EXPECT_TRUE(compiled.matches(anything.head()));
  EXPECT_TRUE(compiled.matches(nullptr));
}

}  // namespace
