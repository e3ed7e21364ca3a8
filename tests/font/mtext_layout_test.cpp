// Paragraph-text layout: wrapping, line spacing, attachment and rotation, on DejaVu Sans.
#include <gtest/gtest.h>

#include <numbers>

#include "font/mtext_layout.h"
#include "font/text_box.h"
#include "font_test_support.h"

namespace tarn::font {
namespace {

constexpr const char* kSentence = "The quick brown fox jumps over the lazy dog again and again";

MTextParams params(double height = 2.5) {
  MTextParams p;
  p.base.font = test::kTestFont;
  p.base.height = height;
  return p;
}

TEST(MTextLayout, SingleLineMatchesTheTextBoxOfTheSameString) {
  const MTextLayout m = layoutMText("HEH", params(2.5));
  ASSERT_EQ(m.status, FontStatus::Ok);
  EXPECT_EQ(m.lineCount, 1);
  EXPECT_NEAR(m.width, textBox("HEH", test::testStyle(2.5)).upperRight.x, 1e-12);
  EXPECT_NEAR(m.height, 2.5, 1e-9);
  test::expectNear(m.corners[3], {0, 0}, 1e-12);  // top-left attachment: the upper-left corner
}

class Wrapping : public ::testing::TestWithParam<double> {};

TEST_P(Wrapping, LinesStayWithinTheReferenceWidth) {
  MTextParams p = params(1.0);
  p.referenceWidth = GetParam();
  const MTextLayout m = layoutMText(kSentence, p);
  EXPECT_LE(m.width, p.referenceWidth + 1e-9);
  MTextParams wider = p;
  wider.referenceWidth = GetParam() * 1.5;
  EXPECT_LE(layoutMText(kSentence, wider).lineCount, m.lineCount);
  EXPECT_GT(m.lineCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, Wrapping, ::testing::Values(8.0, 12.5, 20.0, 31.0));

TEST(Wrapping, ZeroWidthNeverWraps) {
  EXPECT_EQ(layoutMText(kSentence, params()).lineCount, 1);
}

TEST(Wrapping, AWordWiderThanTheWidthGetsALineOfItsOwn) {
  MTextParams p = params(1.0);
  p.referenceWidth = 3.0;
  const MTextLayout m = layoutMText("a Extraordinarily b", p);
  EXPECT_EQ(m.lineCount, 3);
  EXPECT_GT(m.width, 3.0);
}

TEST(Wrapping, NonBreakingSpaceHoldsWordsTogether) {
  MTextParams p = params(1.0);
  p.referenceWidth = 4.0;
  EXPECT_EQ(layoutMText("aa bb cc", p).lineCount, 2);
  EXPECT_EQ(layoutMText("aa\\~bb\\~cc", p).lineCount, 1);
}

TEST(Wrapping, IdeographsBreakBetweenCharacters) {
  MTextParams p = params(1.0);
  p.referenceWidth = 3.5;
  EXPECT_GE(layoutMText("\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587", p).lineCount, 2);
}

TEST(MTextLayout, ParagraphBreaksAndEmptyParagraphsMakeLines) {
  EXPECT_EQ(layoutMText("a\\Pb", params()).lineCount, 2);
  EXPECT_EQ(layoutMText("a\\P\\Pb", params()).lineCount, 3);
  EXPECT_EQ(layoutMText("", params()).lineCount, 1);
}

TEST(LineSpacing, FactorScalesTheDistanceBetweenBaselines) {
  MTextParams p = params(1.0);
  const double single = layoutMText("A\\PB\\PC", p).height;
  p.lineSpacingFactor = 2.0;
  const double twice = layoutMText("A\\PB\\PC", p).height;
  EXPECT_NEAR(twice - single, 2 * (5.0 / 3.0), 1e-9);  // two gaps of one standard pitch more
}

TEST(LineSpacing, ExactlyIgnoresTallLinesAtLeastMakesRoom) {
  MTextParams p = params(1.0);
  p.lineSpacingStyle = LineSpacingStyle::Exactly;
  const double plain = layoutMText("A\\PB\\PC", p).height;
  EXPECT_NEAR(layoutMText("A\\P{\\H3x;B}\\PC", p).height, plain, 1e-9);
  p.lineSpacingStyle = LineSpacingStyle::AtLeast;
  EXPECT_NEAR(layoutMText("A\\P{\\H3x;B}\\PC", p).height, plain + 2 * 2 * (5.0 / 3.0), 1e-9);
}

TEST(MTextLayout, StacksRiseAboveAndReachBelowTheLine) {
  const double plain = layoutMText("1", params(1.0)).height;
  EXPECT_GT(layoutMText("1\\S1/2;", params(1.0)).height, plain + 0.5);
}

class Attachment : public ::testing::TestWithParam<int> {};

TEST_P(Attachment, InsertionPointSitsAtItsPlaceOnTheBox) {
  MTextParams p = params(2.0);
  p.referenceWidth = 15.0;
  p.attachment = GetParam();
  p.insertion = {10.0, -4.0};
  const MTextLayout m = layoutMText(kSentence, p);
  const int column = (GetParam() - 1) % 3, row = (GetParam() - 1) / 3;
  const auto& c = m.corners;
  const Point2 expected{c[3].x + 0.5 * column * (c[2].x - c[3].x), c[3].y + 0.5 * row * (c[0].y - c[3].y)};
  test::expectNear(expected, p.insertion, 1e-9);
  // The box does not change its size with the attachment.
  p.attachment = 1;
  const MTextLayout topLeft = layoutMText(kSentence, p);
  EXPECT_DOUBLE_EQ(m.width, topLeft.width);
  EXPECT_DOUBLE_EQ(m.height, topLeft.height);
  EXPECT_NEAR(c[2].x - c[3].x, m.width, 1e-9);
  EXPECT_NEAR(c[3].y - c[0].y, m.height, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Points, Attachment, ::testing::Range(1, 10));

TEST(Attachment, OutOfRangeReadsAsTopLeft) {
  MTextParams p = params();
  p.attachment = 0;
  const MTextLayout m = layoutMText("x", p);
  EXPECT_EQ(m.status, FontStatus::Ok);
  test::expectNear(m.corners[3], {0, 0}, 1e-12);
}

TEST(Attachment, CentredLinesAreCentredOnTheInsertionPoint) {
  MTextParams p = params(1.0);
  p.attachment = 2;
  const MTextLayout m = layoutMText("WWWWWWWW\\PH", p);
  const Box2 h = m.layout.glyphs.back().inkBox();
  EXPECT_NEAR((h.min.x + h.max.x) / 2, 0.0, 0.02);
}

struct Turn {
  double angle;
  Point2 insertion;
  int attachment;
};

class Rotation : public ::testing::TestWithParam<Turn> {};

TEST_P(Rotation, RotatingTheParagraphRotatesItsPointsAboutTheInsertion) {
  MTextParams p = params(1.5);
  p.referenceWidth = 10.0;
  p.insertion = GetParam().insertion;
  p.attachment = GetParam().attachment;
  const MTextLayout level = layoutMText(kSentence, p);
  p.rotation = GetParam().angle;
  const MTextLayout turned = layoutMText(kSentence, p);
  for (int k = 0; k < 4; ++k) {
    const Point2 d{level.corners[k].x - p.insertion.x, level.corners[k].y - p.insertion.y};
    const Point2 r = test::rotated(d, p.rotation);
    test::expectNear(turned.corners[k], {p.insertion.x + r.x, p.insertion.y + r.y}, 1e-9);
  }
  EXPECT_DOUBLE_EQ(turned.width, level.width);
}

INSTANTIATE_TEST_SUITE_P(Angles, Rotation,
                         ::testing::Values(Turn{std::numbers::pi / 2, {0, 0}, 1}, Turn{0.3, {5, 7}, 5},
                                           Turn{-2.0, {-100, 3}, 9}, Turn{std::numbers::pi, {1e5, 1e5}, 3}));

TEST(Rotation, DirectionVectorGivesTheRotation) {
  EXPECT_NEAR(rotationFromDirection({0, 2}), std::numbers::pi / 2, 1e-15);
  EXPECT_NEAR(rotationFromDirection({-1, 0}), std::numbers::pi, 1e-15);
  EXPECT_EQ(rotationFromDirection({0, 0}), 0.0);
}

TEST(Translation, MovingTheInsertionMovesEveryPointAlike) {
  MTextParams p = params();
  p.referenceWidth = 12;
  p.attachment = 8;
  const MTextLayout a = layoutMText(kSentence, p);
  p.insertion = {250, -75};
  const MTextLayout b = layoutMText(kSentence, p);
  for (int k = 0; k < 4; ++k) test::expectNear(b.corners[k], {a.corners[k].x + 250, a.corners[k].y - 75}, 1e-9);
}

TEST(MTextLayout, InvalidParametersAreRejected) {
  EXPECT_EQ(layoutMText("x", params(0.0)).status, FontStatus::InvalidArgument);
  MTextParams p = params();
  p.rotation = NAN;
  EXPECT_EQ(layoutMText("x", p).status, FontStatus::InvalidArgument);
}

}  // namespace
}  // namespace tarn::font
