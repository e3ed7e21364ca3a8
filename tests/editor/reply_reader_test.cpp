// The input language: how replies are cut, keywords matched and points read.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "editor/keyword_list.h"
#include "editor/reply.h"
#include "editor/reply_values.h"

using namespace tarn::editor;

namespace {

std::vector<std::string> replies(std::string_view text, bool spaces = false) {
  StringSource in(text);
  std::vector<std::string> out;
  for (Reply r = readReply(in, spaces); r.kind != ReplyKind::End; r = readReply(in, spaces))
    out.push_back(r.kind == ReplyKind::Enter ? "<enter>" : r.kind == ReplyKind::Cancel ? "<cancel>" : r.text);
  return out;
}

using Strings = std::vector<std::string>;

TEST(ReplyReader, SpaceAndLineEndEndAReplyAndDoubleSpaceIsEnter) {
  EXPECT_EQ(replies("LINE 0,0 10,0  \n"), (Strings{"LINE", "0,0", "10,0", "<enter>", "<enter>"}));
}

TEST(ReplyReader, PromptThatTakesSpacesReadsToTheLineEnd) {
  EXPECT_EQ(replies("a text with spaces\r\nnext\n", true), (Strings{"a text with spaces", "next"}));
}

TEST(ReplyReader, CaretCCancels) { EXPECT_EQ(replies("^C\n"), (Strings{"<cancel>"})); }

TEST(ReplyReader, LispExpressionRunsToItsClosingParenthesisAcrossSpacesAndLines) {
  StringSource in("(list 1 \")(\"\n  2) next");
  Reply r = readReply(in, false);
  EXPECT_EQ(r.kind, ReplyKind::Lisp);
  EXPECT_EQ(r.text, "(list 1 \")(\"\n  2)");
  EXPECT_EQ(readReply(in, false).text, "next");
}

TEST(ReplyReader, UnclosedExpressionEndsWithTheSource) {
  StringSource in("(setq a (+ 1");
  EXPECT_EQ(readReply(in, false).kind, ReplyKind::Lisp);
  EXPECT_EQ(readReply(in, false).kind, ReplyKind::End);
}

TEST(ReplyReader, RepliesKnowTheirLine) {
  StringSource in("one\ntwo three\n", "plan.scr");
  readReply(in, false);
  readReply(in, false);
  Reply third = readReply(in, false);
  EXPECT_EQ(third.text, "three");
  EXPECT_EQ(third.where.name, "plan.scr");
  EXPECT_EQ(third.where.line, 2);
}

TEST(ReplyReader, OverlongReplyIsCutNotKeptWhole) {
  std::string huge(kMaxReplyLength * 2, 'x');
  StringSource in(huge + "\nnext\n");
  EXPECT_EQ(readReply(in, false).text.size(), kMaxReplyLength);
  EXPECT_EQ(readReply(in, false).text, "next");
}

struct KeywordCase {
  const char* list;
  const char* typed;
  int expected;  // index, or -1 for no match
};

class KeywordMatching : public testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordMatching, ByCapitalsFullNameOrGlobal) {
  auto c = GetParam();
  auto m = KeywordList::parse(c.list).match(c.typed);
  EXPECT_EQ(m ? int(*m) : -1, c.expected) << c.list << " / " << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, KeywordMatching,
    testing::Values(KeywordCase{"LType Color", "lt", 0}, KeywordCase{"LType Color", "LTY", 0},
                    KeywordCase{"LType Color", "ltype", 0}, KeywordCase{"LType Color", "l", -1},
                    KeywordCase{"LType Color", "c", 1}, KeywordCase{"LType Color", "col", 1},
                    KeywordCase{"eXit Undo", "x", 0}, KeywordCase{"eXit Undo", "ex", -1},
                    KeywordCase{"eXit Undo", "exit", 0}, KeywordCase{"Oui Non _Yes No", "_y", 0},
                    KeywordCase{"Oui Non _Yes No", "_n", 1}, KeywordCase{"Oui Non _Yes No", "o", 0},
                    KeywordCase{"Oui Non _Yes No", "_o", -1}, KeywordCase{"Oui Non _Yes No", "yes", 0},
                    KeywordCase{"ALL", "al", -1}, KeywordCase{"ALL", "all", 0},
                    KeywordCase{"width", "w", -1}, KeywordCase{"width", "WIDTH", 0},
                    KeywordCase{"Yes No", "", -1}));

TEST(KeywordList, GlobalsDefaultToLocalsWhenMissing) {
  auto k = KeywordList::parse("Alpha Beta _First");
  ASSERT_EQ(k.size(), 2u);
  EXPECT_EQ(k.global(0), "First");
  EXPECT_EQ(k.global(1), "Beta");
}

struct PointCase {
  const char* text;
  bool ok;
  double x, y, z;
};

class PointReading : public testing::TestWithParam<PointCase> {};

TEST_P(PointReading, AbsoluteRelativeAndPolar) {
  auto c = GetParam();
  auto p = parsePoint(c.text, {10, 20, 5});
  ASSERT_EQ(p.has_value(), c.ok) << c.text;
  if (!p) return;
  EXPECT_NEAR(p->point.x, c.x, 1e-9) << c.text;
  EXPECT_NEAR(p->point.y, c.y, 1e-9) << c.text;
  EXPECT_NEAR(p->point.z, c.z, 1e-9) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PointReading,
    testing::Values(PointCase{"1,2", true, 1, 2, 0}, PointCase{"1.5,-2,3", true, 1.5, -2, 3},
                    PointCase{"@1,2", true, 11, 22, 5}, PointCase{"@", true, 10, 20, 5},
                    PointCase{"@10<90", true, 10, 30, 5}, PointCase{"2<180", true, -2, 0, 0},
                    PointCase{"1,2,3,4", false, 0, 0, 0}, PointCase{"1", false, 0, 0, 0},
                    PointCase{"1,,2", false, 0, 0, 0}, PointCase{"a,b", false, 0, 0, 0},
                    PointCase{"1e400,0", false, 0, 0, 0}, PointCase{"nan,0", false, 0, 0, 0},
                    PointCase{"@5<", false, 0, 0, 0}));

TEST(NumberReading, WholeReplyMustBeTheNumber) {
  EXPECT_EQ(parseReal(" 2.5 "), 2.5);
  EXPECT_FALSE(parseReal("2.5m"));
  EXPECT_FALSE(parseReal(""));
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_FALSE(parseInteger("7.0"));
  EXPECT_NEAR(*parseAngleDegrees("90"), std::numbers::pi / 2, 1e-12);
}

}  // namespace
