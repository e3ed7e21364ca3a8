// Text box and alignment points of single-line texts, on DejaVu Sans.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "font/text_box.h"
#include "font_test_support.h"

namespace tarn::font {
namespace {

using test::testStyle;

class CapHeight : public ::testing::TestWithParam<double> {};

TEST_P(CapHeight, BoxOfCapitalsSpansBaselineToTextHeight) {
  const double h = GetParam();
  TextBox b = textBox("HIT THE LINE", testStyle(h));  // no round letters: no overshoot
  ASSERT_EQ(b.status, FontStatus::Ok);
  EXPECT_NEAR(b.lowerLeft.y, 0.0, 1e-12 * h);
  EXPECT_NEAR(b.upperRight.y, h, 1e-9 * h);
  EXPECT_EQ(b.lowerLeft.x, 0.0);
  EXPECT_NEAR(b.upperRight.x, b.advance, 1e-12 * h);
}

INSTANTIATE_TEST_SUITE_P(Heights, CapHeight, ::testing::Values(1.0, 2.5, 0.001, 350.0));

TEST(TextBox, DescendersReachBelowTheBaseline) {
  TextBox b = textBox("Hg", testStyle());
  EXPECT_LT(b.lowerLeft.y, -0.2);
  EXPECT_NEAR(b.upperRight.y, 1.0, 1e-9);
}

TEST(TextBox, EmptyTextIsAPointAtTheInsertion) {
  TextBox b = textBox("", testStyle(2.0));
  ASSERT_EQ(b.status, FontStatus::Ok);
  test::expectNear(b.lowerLeft, {0, 0}, 0);
  test::expectNear(b.upperRight, {0, 0}, 0);
}

TEST(TextBox, BlanksSpanTheirAdvanceOnTheBaseline) {
  TextBox b = textBox("   ", testStyle());
  EXPECT_GT(b.upperRight.x, 0.5);
  EXPECT_EQ(b.upperRight.y, 0.0);
}

class WidthFactor : public ::testing::TestWithParam<double> {};

TEST_P(WidthFactor, WidthGrowsInProportionHeightStays) {
  TextStyle s = testStyle(2.0);
  const TextBox plain = textBox("Width 42", s);
  s.widthFactor = GetParam();
  const TextBox wide = textBox("Width 42", s);
  EXPECT_NEAR(wide.upperRight.x, plain.upperRight.x * GetParam(), 1e-9);
  EXPECT_NEAR(wide.upperRight.y, plain.upperRight.y, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Factors, WidthFactor, ::testing::Values(0.5, 1.0, 1.5, 3.0));

TEST(TextBox, ObliqueMovesTheTopRightAndKeepsTheBaseline) {
  TextStyle s = testStyle();
  const TextBox upright = textBox("HI", s);
  s.oblique = 15.0 * std::numbers::pi / 180.0;
  const TextBox slanted = textBox("HI", s);
  EXPECT_GT(slanted.upperRight.x, upright.upperRight.x);
  EXPECT_EQ(slanted.lowerLeft.y, upright.lowerLeft.y);
  EXPECT_DOUBLE_EQ(slanted.advance, upright.advance);
}

TEST(TextBox, UnderlineAndOverlineWidenTheBoxVertically) {
  const TextBox plain = textBox("ABC", testStyle());
  const TextBox under = textBox("%%uABC", testStyle());
  const TextBox over = textBox("%%oABC", testStyle());
  EXPECT_LT(under.lowerLeft.y, -0.2);
  EXPECT_DOUBLE_EQ(under.upperRight.y, plain.upperRight.y);
  EXPECT_GT(over.upperRight.y, 1.2);
  EXPECT_DOUBLE_EQ(over.upperRight.x, plain.upperRight.x);
}

TEST(TextBox, PercentCodesAreMeasuredAsTheirCharacters) {
  EXPECT_DOUBLE_EQ(textBox("%%c5", testStyle()).advance, textBox("\u22055", testStyle()).advance);
  EXPECT_DOUBLE_EQ(textBox("5%%d", testStyle()).advance, textBox("5\u00b0", testStyle()).advance);
  EXPECT_DOUBLE_EQ(textBox("%%uAB%%u", testStyle()).advance, textBox("AB", testStyle()).advance);
}

struct MirrorCase {
  int generation;
  double sx, sy;
};

class Mirroring : public ::testing::TestWithParam<MirrorCase> {};

TEST_P(Mirroring, FlagsMirrorTheBoxAndAlignmentAboutTheInsertion) {
  TextStyle s = testStyle(2.0);
  const TextBox normal = textBox("Tag", s, {HorizontalJust::Right, VerticalJust::Top});
  s.generation = GetParam().generation;
  const TextBox flipped = textBox("Tag", s, {HorizontalJust::Right, VerticalJust::Top});
  const auto [g, sx, sy] = GetParam();
  EXPECT_DOUBLE_EQ(flipped.lowerLeft.x, sx > 0 ? normal.lowerLeft.x : -normal.upperRight.x) << g;
  EXPECT_DOUBLE_EQ(flipped.upperRight.y, sy > 0 ? normal.upperRight.y : -normal.lowerLeft.y) << g;
  test::expectNear(flipped.alignment, {sx * normal.alignment.x, sy * normal.alignment.y}, 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, Mirroring,
                         ::testing::Values(MirrorCase{0, 1, 1}, MirrorCase{kTextBackwards, -1, 1},
                                           MirrorCase{kTextUpsideDown, 1, -1},
                                           MirrorCase{kTextBackwards | kTextUpsideDown, -1, -1}));

struct JustCase {
  int h72, v73;
  double fx;      // of the advance
  double yShare;  // of the height; NAN: below the baseline (descender)
};

class Alignment : public ::testing::TestWithParam<JustCase> {};

TEST_P(Alignment, PointLiesWhereTheJustificationSays) {
  const JustCase c = GetParam();
  const TextBox b = textBox("Align", testStyle(2.0), justificationFromCodes(c.h72, c.v73));
  EXPECT_NEAR(b.alignment.x, c.fx * b.advance, 1e-12);
  if (std::isnan(c.yShare)) {
    EXPECT_LT(b.alignment.y, -0.4);
    EXPECT_GT(b.alignment.y, -1.0);
  } else {
    EXPECT_NEAR(b.alignment.y, c.yShare * 2.0, 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, Alignment,
                         ::testing::Values(JustCase{0, 0, 0, 0}, JustCase{1, 0, 0.5, 0}, JustCase{2, 0, 1, 0},
                                           JustCase{3, 0, 1, 0}, JustCase{5, 0, 1, 0}, JustCase{0, 1, 0, NAN},
                                           JustCase{1, 2, 0.5, 0.5}, JustCase{2, 3, 1, 1},
                                           // Vertical codes are ignored for aligned, middle and fit.
                                           JustCase{3, 3, 1, 0}, JustCase{5, 2, 1, 0},
                                           // Codes out of range read as left baseline.
                                           JustCase{9, 1, 0, 0}, JustCase{-1, 7, 0, 0}));

TEST(Alignment, RightAlignedBoxEndsAtItsAlignmentPoint) {
  for (const char* s : {"Right", "1234", "xyz", "W"}) {
    const TextBox b = textBox(s, testStyle(3.0), {HorizontalJust::Right, VerticalJust::Baseline});
    EXPECT_DOUBLE_EQ(b.upperRight.x, b.alignment.x) << s;
  }
}

TEST(Alignment, MiddleIsTheCentreOfTheBox) {
  const TextBox b = textBox("Mgy", testStyle(), {HorizontalJust::Middle, VerticalJust::Top});
  EXPECT_NEAR(b.alignment.y, (b.lowerLeft.y + b.upperRight.y) / 2, 1e-12);
  EXPECT_NEAR(b.alignment.x, b.advance / 2, 1e-12);
}

TEST(FitBetween, AlignedScalesHeightFitScalesWidthFactor) {
  const TextStyle s = testStyle(1.0);
  const double natural = textBox("Fit me", s).advance;
  const FittedText aligned = fitBetween("Fit me", s, HorizontalJust::Aligned, {1, 1}, {1, 1 + 2 * natural});
  ASSERT_EQ(aligned.status, FontStatus::Ok);
  EXPECT_NEAR(aligned.height, 2.0, 1e-12);
  EXPECT_EQ(aligned.widthFactor, 1.0);
  EXPECT_NEAR(aligned.rotation, std::numbers::pi / 2, 1e-12);
  const FittedText fit = fitBetween("Fit me", s, HorizontalJust::Fit, {0, 0}, {natural / 2, 0});
  EXPECT_NEAR(fit.widthFactor, 0.5, 1e-12);
  EXPECT_EQ(fit.height, 1.0);
  TextStyle fitted = s;
  fitted.widthFactor = fit.widthFactor;
  EXPECT_NEAR(textBox("Fit me", fitted).advance, natural / 2, 1e-12);
}

TEST(FitBetween, NothingToStretchIsReportedNotDividedByZero) {
  EXPECT_EQ(fitBetween("", testStyle(), HorizontalJust::Fit, {0, 0}, {5, 0}).status, FontStatus::InvalidArgument);
  EXPECT_EQ(fitBetween("A", testStyle(), HorizontalJust::Aligned, {2, 2}, {2, 2}).status,
            FontStatus::InvalidArgument);
}

TEST(TextBox, InvalidStylesAreRejected) {
  TextStyle s = testStyle(0.0);
  EXPECT_EQ(textBox("A", s).status, FontStatus::InvalidArgument);
  s = testStyle(NAN);
  EXPECT_EQ(textBox("A", s).status, FontStatus::InvalidArgument);
  s = testStyle();
  s.widthFactor = -1;
  EXPECT_EQ(textBox("A", s).status, FontStatus::InvalidArgument);
  s = testStyle();
  s.oblique = 1.5;  // 86 degrees
  EXPECT_EQ(textBox("A", s).status, FontStatus::InvalidArgument);
}

}  // namespace
}  // namespace tarn::font
