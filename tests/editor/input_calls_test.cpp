// The user input calls: every control bit and keyword rule with each input
// call, cancel at each, re-prompts with their messages, LISP answers, picks.
#include "editor_fixture.h"

#include <cmath>
#include <functional>

namespace {

enum class Call { Point, Corner, Dist, Angle, Real, Int, Kword };
const char* callName(Call c) {
  static const char* names[] = {"Point", "Corner", "Dist", "Angle", "Real", "Int", "Kword"};
  return names[int(c)];
}

struct Outcome {
  int rc;
  double value;  // x of a point, the number, or 0
};

Outcome invoke(Call c) {
  tc_point base = {0, 0, 0}, pt = {0, 0, 0};
  double v = 0;
  int i = 0;
  char word[64] = "";
  switch (c) {
    case Call::Point: { int rc = tcedGetPoint(nullptr, "Point: ", pt); return {rc, pt[0]}; }
    case Call::Corner: { int rc = tcedGetCorner(base, "Corner: ", pt); return {rc, pt[0]}; }
    case Call::Dist: { int rc = tcedGetDist(nullptr, "Distance: ", &v); return {rc, v}; }
    case Call::Angle: { int rc = tcedGetAngle(nullptr, "Angle: ", &v); return {rc, v * 180 / M_PI}; }
    case Call::Real: { int rc = tcedGetReal("Real: ", &v); return {rc, v}; }
    case Call::Int: { int rc = tcedGetInt("Int: ", &i); return {rc, double(i)}; }
    case Call::Kword: { int rc = tcedGetKword("Word: ", word, sizeof word); return {rc, 0}; }
  }
  return {RTERROR, 0};
}

// A valid reply for each call whose value is 3 (the keyword call: "Three").
const char* validThree(Call c) { return c == Call::Point || c == Call::Corner ? "3,0" : c == Call::Kword ? "Three" : "3"; }

class EachCall : public EditorTest, public testing::WithParamInterface<Call> {};

TEST_P(EachCall, CaretCCancels) {
  reply("^C\n3\n");
  tcedInitGet(0, "Three");
  EXPECT_EQ(invoke(GetParam()).rc, RTCAN);
}

TEST_P(EachCall, EndOfInputCancels) {
  reply("");
  tcedInitGet(0, "Three");
  EXPECT_EQ(invoke(GetParam()).rc, RTCAN);
}

TEST_P(EachCall, EnterIsNoneUnlessBitOneRefusesIt) {
  reply("\n");
  tcedInitGet(0, "Three");
  EXPECT_EQ(invoke(GetParam()).rc, RTNONE);
  reply(std::string("\n") + validThree(GetParam()) + "\n");
  tcedInitGet(1, "Three");
  Outcome o = invoke(GetParam());
  EXPECT_EQ(o.rc, RTNORM);
  if (GetParam() != Call::Kword) {
    EXPECT_NEAR(o.value, 3, 1e-9);
  }
}

// The calls that read values; a keyword ends them with RTKWORD.
class EachValueCall : public EachCall {};

TEST_P(EachValueCall, KeywordByCapitalsGivesItsGlobalName) {
  reply("fo\n");
  tcedInitGet(0, "Premier FOllowing _First Next");
  EXPECT_EQ(invoke(GetParam()).rc, RTKWORD);
  char word[32];
  ASSERT_EQ(tcedGetInput(word, sizeof word), RTNORM);
  EXPECT_STREQ(word, "Next");
}

TEST_P(EachValueCall, ArbitraryTextWithBit128) {
  reply("whatever\n");
  tcedInitGet(128, nullptr);
  EXPECT_EQ(invoke(GetParam()).rc, RTKWORD);
  char word[32];
  tcedGetInput(word, sizeof word);
  EXPECT_STREQ(word, "whatever");
}

TEST_P(EachCall, ControlAppliesToOneCallOnly) {
  reply("\n");
  tcedInitGet(1, "Three");
  tcedInitGet(0, "Three");  // the later call replaces the earlier one
  EXPECT_EQ(invoke(GetParam()).rc, RTNONE);
  reply(std::string("\n"));
  EXPECT_EQ(invoke(GetParam()).rc, GetParam() == Call::Kword ? int(RTERROR) : int(RTNONE));
}

INSTANTIATE_TEST_SUITE_P(Calls, EachCall,
                         testing::Values(Call::Point, Call::Corner, Call::Dist, Call::Angle, Call::Real, Call::Int,
                                         Call::Kword),
                         [](const testing::TestParamInfo<Call>& p) { return std::string(callName(p.param)); });
INSTANTIATE_TEST_SUITE_P(Calls, EachValueCall,
                         testing::Values(Call::Point, Call::Corner, Call::Dist, Call::Angle, Call::Real, Call::Int),
                         [](const testing::TestParamInfo<Call>& p) { return std::string(callName(p.param)); });

struct NumberCase {
  Call call;
  int bits;
  const char* refused;
  const char* message;
};

class NumberBits : public EditorTest, public testing::WithParamInterface<NumberCase> {};

TEST_P(NumberBits, RefusedValueRepromptsWithMessage) {
  auto c = GetParam();
  reply(std::string(c.refused) + "\n3\n");
  tcedInitGet(c.bits, nullptr);
  Outcome o = invoke(c.call);
  EXPECT_EQ(o.rc, RTNORM);
  EXPECT_NEAR(o.value, 3, 1e-9);
  EXPECT_NE(transcript().find(c.message), std::string::npos) << transcript();
}

TEST_P(NumberBits, WithoutTheBitTheValueIsTaken) {
  auto c = GetParam();
  reply(std::string(c.refused) + "\n");
  Outcome o = invoke(c.call);
  EXPECT_EQ(o.rc, RTNORM);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, NumberBits,
    testing::Values(NumberCase{Call::Real, 2, "0", "Value must be nonzero."},
                    NumberCase{Call::Real, 4, "-1", "Value must be positive."},
                    NumberCase{Call::Real, 6, "0", "Value must be positive and nonzero."},
                    NumberCase{Call::Int, 2, "0", "Value must be nonzero."},
                    NumberCase{Call::Int, 4, "-5", "Value must be positive."},
                    NumberCase{Call::Dist, 2, "0", "Value must be nonzero."},
                    NumberCase{Call::Dist, 4, "-2", "Value must be positive."},
                    NumberCase{Call::Dist, 2, "1,1\n1,1", "Value must be nonzero."},  // two equal points
                    NumberCase{Call::Angle, 2, "0", "Value must be nonzero."}));

struct InvalidCase {
  Call call;
  const char* bad;
  const char* message;
};

class InvalidReplies : public EditorTest, public testing::WithParamInterface<InvalidCase> {};

TEST_P(InvalidReplies, RepromptWithTheCallsMessage) {
  auto c = GetParam();
  reply(std::string(c.bad) + "\n" + validThree(c.call) + "\n");
  tcedInitGet(0, "Three");
  EXPECT_EQ(invoke(c.call).rc, RTNORM);
  EXPECT_NE(transcript().find(c.message), std::string::npos) << transcript();
}

INSTANTIATE_TEST_SUITE_P(
    Messages, InvalidReplies,
    testing::Values(InvalidCase{Call::Point, "1,x", "Invalid point."},
                    InvalidCase{Call::Real, "abc", "Requires numeric value."},
                    InvalidCase{Call::Int, "2.5", "Requires an integer value."},
                    InvalidCase{Call::Int, "40000", "Requires an integer between -32768 and 32767."},
                    InvalidCase{Call::Dist, "far", "Requires numeric distance or two points."},
                    InvalidCase{Call::Angle, "steep", "Requires valid numeric angle or second point."},
                    InvalidCase{Call::Kword, "Four", "Invalid option keyword."}));

TEST_F(EditorTest, DistanceIsTwoDimensionalWithBit64) {
  reply("0,0,0\n3,4,12\n");
  double d = 0;
  ASSERT_EQ(tcedGetDist(nullptr, "Distance: ", &d), RTNORM);
  EXPECT_NEAR(d, 13, 1e-9);
  reply("0,0,0\n3,4,12\n");
  tcedInitGet(64, nullptr);
  ASSERT_EQ(tcedGetDist(nullptr, "Distance: ", &d), RTNORM);
  EXPECT_NEAR(d, 5, 1e-9);
}

TEST_F(EditorTest, DistanceFromBasePoint) {
  reply("3,4\n");
  tc_point base = {0, 0, 0};
  double d = 0;
  ASSERT_EQ(tcedGetDist(base, "Distance: ", &d), RTNORM);
  EXPECT_NEAR(d, 5, 1e-9);
}

TEST_F(EditorTest, AngleFromTwoPointsIsInRadians) {
  reply("0,0\n0,5\n");
  double a = 0;
  ASSERT_EQ(tcedGetAngle(nullptr, "Angle: ", &a), RTNORM);
  EXPECT_NEAR(a, M_PI / 2, 1e-12);
}

TEST_F(EditorTest, RelativePointsStartAtTheLastPoint) {
  reply("5,5\n@1,2\n@2<90\n");
  tc_point p;
  ASSERT_EQ(tcedGetPoint(nullptr, "", p), RTNORM);
  ASSERT_EQ(tcedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 6);
  EXPECT_DOUBLE_EQ(p[1], 7);
  ASSERT_EQ(tcedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_NEAR(p[0], 6, 1e-12);
  EXPECT_NEAR(p[1], 9, 1e-12);
}

TEST_F(EditorTest, CornerNeedsABasePoint) {
  reply("1,1\n");
  tc_point p;
  EXPECT_EQ(tcedGetCorner(nullptr, "", p), RTERROR);
}

TEST_F(EditorTest, LispReplyAnswersThePrompt) {
  reply("(+ 1 2.5)\n(list 4 5)\n(setq w \"Last\")\n");
  double v = 0;
  ASSERT_EQ(tcedGetReal("", &v), RTNORM);
  EXPECT_DOUBLE_EQ(v, 3.5);
  tc_point p;
  ASSERT_EQ(tcedGetPoint(nullptr, "", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 4);
  EXPECT_DOUBLE_EQ(p[1], 5);
  char word[16];
  tcedInitGet(0, "Last First");
  ASSERT_EQ(tcedGetKword("", word, sizeof word), RTNORM);
  EXPECT_STREQ(word, "Last");
}

TEST_F(EditorTest, FailedLispReplyCancels) {
  reply("(car 5)\n3\n");
  double v = 0;
  EXPECT_EQ(tcedGetReal("", &v), RTCAN);
}

TEST_F(EditorTest, StringWithAndWithoutSpaces) {
  reply("two words\n");
  char text[64];
  ASSERT_EQ(tcedGetString(0, "", text, sizeof text), RTNORM);
  EXPECT_STREQ(text, "two");
  ASSERT_EQ(tcedGetString(0, "", text, sizeof text), RTNORM);
  EXPECT_STREQ(text, "words");
  reply("two words\n\n");
  ASSERT_EQ(tcedGetString(1, "", text, sizeof text), RTNORM);
  EXPECT_STREQ(text, "two words");
  ASSERT_EQ(tcedGetString(1, "", text, sizeof text), RTNORM);
  EXPECT_STREQ(text, "");
}

TEST_F(EditorTest, LongStringIsCutAndSaysSo) {
  reply("abcdefgh\n");
  char text[4];
  EXPECT_EQ(tcedGetString(0, "", text, sizeof text), RTINPUTTRUNCATED);
  EXPECT_STREQ(text, "abc");
}

TEST_F(EditorTest, KwordGivesTheGlobalName) {
  reply("deux\n");
  char word[32];
  tcedInitGet(0, "Un Deux _One Two");
  ASSERT_EQ(tcedGetKword("", word, sizeof word), RTNORM);
  EXPECT_STREQ(word, "Two");
}

TEST_F(EditorTest, KwordWithoutKeywordsIsAnErrorButTakesArbitraryText) {
  reply("anything\n");
  char word[32];
  EXPECT_EQ(tcedGetKword("", word, sizeof word), RTERROR);
  tcedInitGet(128, nullptr);
  ASSERT_EQ(tcedGetKword("", word, sizeof word), RTNORM);
  EXPECT_STREQ(word, "anything");
}

TEST_F(EditorTest, PromptsAndRepliesGoToTheTranscript) {
  reply("7\n");
  int i = 0;
  tcutPrintf("count %d\n", 3);
  ASSERT_EQ(tcedGetInt("How many: ", &i), RTNORM);
  EXPECT_EQ(transcript(), "count 3\nHow many: 7\n");
}

TEST_F(EditorTest, UserBreakIsReportedOnce) {
  EXPECT_EQ(tcedUsrBrk(), 0);
  session.editor().requestBreak();
  EXPECT_EQ(tcedUsrBrk(), 1);
  EXPECT_EQ(tcedUsrBrk(), 0);
}

int errnoValue() {
  resbuf rb;
  tcedGetVar("ERRNO", &rb);
  return rb.resval.rint;
}

TEST_F(EditorTest, EntSelPicksByPointAndHandle) {
  tc_name made, got;
  line(0, 0, 10, 0, "0", 256, made);
  tc_point at;
  reply("5,0.2\n");
  ASSERT_EQ(tcedEntSel(nullptr, got, at), RTNORM);
  EXPECT_TRUE(tcdbNameEqual(made, got));
  resbuf* list = tcdbEntGet(made);
  std::string handle;
  for (resbuf* rb = list; rb; rb = rb->rbnext)
    if (rb->restype == 5) handle = rb->resval.rstring;
  tcutRelRb(list);
  reply("#" + handle + "\n");
  ASSERT_EQ(tcedEntSel(nullptr, got, at), RTNORM);
  EXPECT_TRUE(tcdbNameEqual(made, got));
}

TEST_F(EditorTest, EntSelMissSetsErrno7AndEnterErrno52) {
  line(0, 0, 10, 0);
  tc_name got;
  tc_point at;
  reply("50,50\n");
  EXPECT_EQ(tcedEntSel(nullptr, got, at), RTERROR);
  EXPECT_EQ(errnoValue(), 7);
  reply("#FFFFF\n");
  EXPECT_EQ(tcedEntSel(nullptr, got, at), RTERROR);
  EXPECT_EQ(errnoValue(), 7);
  reply("\n");
  EXPECT_EQ(tcedEntSel(nullptr, got, at), RTERROR);
  EXPECT_EQ(errnoValue(), 52);
  reply("^C\n");
  EXPECT_EQ(tcedEntSel(nullptr, got, at), RTCAN);
}

TEST_F(EditorTest, EntSelTakesKeywords) {
  reply("u\n");
  tc_name got;
  tc_point at;
  tcedInitGet(0, "Undo");
  EXPECT_EQ(tcedEntSel(nullptr, got, at), RTKWORD);
}

}  // namespace
