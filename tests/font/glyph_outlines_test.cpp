// Glyph outlines of texts: placement, containment in the text box, chord tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "font/glyph_outlines.h"
#include "font/text_box.h"
#include "font_test_support.h"

namespace tarn::font {
namespace {

size_t pointCount(const std::vector<Polyline>& contours) {
  size_t n = 0;
  for (const Polyline& c : contours) n += c.size();
  return n;
}

struct OutlineCase {
  const char* text;
  double height;
  double widthFactor;
  double obliqueDegrees;
  int generation;
  double rotation;
  Point2 insertion;
};

class OutlinesInBox : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(OutlinesInBox, EveryPointLiesWithinTheTextBox) {
  const OutlineCase c = GetParam();
  TextStyle s = test::testStyle(c.height);
  s.widthFactor = c.widthFactor;
  s.oblique = c.obliqueDegrees * std::numbers::pi / 180;
  s.generation = c.generation;
  const TextBox box = textBox(c.text, s);
  const OutlineResult out = textOutlines(c.text, s, c.insertion, c.rotation);
  ASSERT_EQ(out.status, FontStatus::Ok);
  ASSERT_FALSE(out.contours.empty());
  for (const Polyline& contour : out.contours) {
    ASSERT_GE(contour.size(), 3u);
    for (Point2 p : contour) {
      const Point2 local = test::rotated({p.x - c.insertion.x, p.y - c.insertion.y}, -c.rotation);
      ASSERT_TRUE(test::within(local, box.lowerLeft, box.upperRight, 1e-9 * c.height))
          << c.text << " at " << local.x << "," << local.y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OutlinesInBox,
    ::testing::Values(OutlineCase{"Hello", 1, 1, 0, 0, 0, {0, 0}}, OutlineCase{"Quality gjpqy", 2.5, 1, 0, 0, 0.5, {10, 20}},
                      OutlineCase{"%%uUnder%%u %%oover", 1, 0.7, 0, 0, 0, {0, 0}},
                      OutlineCase{"Slanted", 3, 1.4, 20, 0, -1, {-5, 5}},
                      OutlineCase{"Backwards", 1, 1, 0, kTextBackwards, 0, {0, 0}},
                      OutlineCase{"Upside down", 1, 1, -10, kTextUpsideDown, 2, {1, 1}},
                      OutlineCase{"%%c25 %%p0.1 45%%d", 0.18, 1, 0, 0, std::numbers::pi, {1e4, -1e4}}));

TEST(Outlines, BlanksHaveNoContoursUnderlineAddsABar) {
  EXPECT_TRUE(textOutlines("   ", test::testStyle(), {0, 0}, 0).contours.empty());
  const size_t plain = textOutlines("A", test::testStyle(), {0, 0}, 0).contours.size();
  EXPECT_EQ(textOutlines("%%uA", test::testStyle(), {0, 0}, 0).contours.size(), plain + 1);
}

TEST(Outlines, BackwardsTextLiesLeftOfItsInsertion) {
  TextStyle s = test::testStyle();
  s.generation = kTextBackwards;
  for (const Polyline& c : textOutlines("Left", s, {0, 0}, 0).contours)
    for (Point2 p : c) EXPECT_LE(p.x, 1e-12);
}

double distanceToSegment(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double distanceToContour(Point2 p, const Polyline& c) {
  double best = INFINITY;
  for (size_t i = 0; i < c.size(); ++i) best = std::min(best, distanceToSegment(p, c[i], c[(i + 1) % c.size()]));
  return best;
}

class ChordTolerance : public ::testing::TestWithParam<double> {};

TEST_P(ChordTolerance, CoarseOutlineStaysWithinToleranceOfTheCurve) {
  const double tolerance = GetParam();
  const TextStyle s = test::testStyle(10.0);
  const OutlineResult coarse = textOutlines("OSgé@", s, {0, 0}, 0, tolerance);
  const OutlineResult fine = textOutlines("OSgé@", s, {0, 0}, 0, tolerance / 100);
  ASSERT_EQ(coarse.contours.size(), fine.contours.size());
  EXPECT_LT(pointCount(coarse.contours), pointCount(fine.contours));
  for (size_t k = 0; k < fine.contours.size(); ++k)
    for (Point2 p : fine.contours[k])
      ASSERT_LE(distanceToContour(p, coarse.contours[k]), tolerance * s.height * 1.01) << "contour " << k;
}

INSTANTIATE_TEST_SUITE_P(Tolerances, ChordTolerance, ::testing::Values(0.05, 0.01, 0.002));

TEST(Outlines, ParagraphOutlinesLieWithinItsBoundingPoints) {
  MTextParams p;
  p.base.font = test::kTestFont;
  p.base.height = 2.0;
  p.referenceWidth = 20.0;
  p.attachment = 5;
  p.rotation = 0.7;
  p.insertion = {3, 4};
  const char* contents = "Fractions \\S1/2; and {\\H1.5x;\\Ltall} text\\P\\S+0.1^-0.2; wrapped {\\Q20;slanted}";
  const MTextLayout m = layoutMText(contents, p);
  const OutlineResult out = mtextOutlines(contents, p);
  ASSERT_EQ(out.status, FontStatus::Ok);
  ASSERT_FALSE(out.contours.empty());
  const Point2 ll = test::rotated({m.corners[0].x - 3, m.corners[0].y - 4}, -0.7);
  const Point2 ur = test::rotated({m.corners[2].x - 3, m.corners[2].y - 4}, -0.7);
  for (const Polyline& c : out.contours)
    for (Point2 q : c) ASSERT_TRUE(test::within(test::rotated({q.x - 3, q.y - 4}, -0.7), ll, ur, 1e-9));
}

TEST(Outlines, BadToleranceIsRejected) {
  EXPECT_EQ(textOutlines("A", test::testStyle(), {0, 0}, 0, 0.0).status, FontStatus::InvalidArgument);
  EXPECT_EQ(textOutlines("A", test::testStyle(), {0, 0}, NAN).status, FontStatus::InvalidArgument);
}

}  // namespace
}  // namespace tarn::font
