// Trim, break and fillet: which part goes, what type remains.
#include <gtest/gtest.h>

#include <cmath>

#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;

TEST(Trim, LineCrossingThreeLinesLosesOnlyThePickedPart) {
  const Line edge({-5, 0, 0}, {25, 0, 0});
  const Line a({0, -5, 0}, {0, 5, 0}), b({10, -5, 0}, {10, 5, 0}), c({20, -5, 0}, {20, 5, 0});
  const auto r = trimCurve(edge, {&a, &b, &c}, {15, 0.1, 0});
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 2u);
  expectNear(r.curves[0]->endPoint(), {10, 0, 0}, 1e-14);
  expectNear(r.curves[1]->startPoint(), {20, 0, 0}, 1e-14);
}

TEST(Trim, XLineTrimmedOnOneSideBecomesARay) {
  const XLine x({0, 0, 0}, {1, 0, 0});
  const Line cut({5, -1, 0}, {5, 1, 0});
  const auto r = trimCurve(x, {&cut}, {9, 0, 0});
  ASSERT_EQ(r.curves.size(), 1u);
  ASSERT_EQ(r.curves[0]->kind(), CurveKind::Ray);
  expectNear(r.curves[0]->startPoint(), {5, 0, 0}, 1e-14);
  EXPECT_LT(r.curves[0]->distanceTo({-100, 0, 0}), 1e-12);
  // The ray (running towards -X from (5,0)) trimmed between two cuts leaves a
  // line up to the first cut and a ray beyond the second.
  const Line cut2({-5, -1, 0}, {-5, 1, 0});
  const Line cut3({-8, -1, 0}, {-8, 1, 0});
  const auto again = trimCurve(*r.curves[0], {&cut2, &cut3}, {-6, 0, 0});
  ASSERT_EQ(again.curves.size(), 2u);
  EXPECT_EQ(again.curves[0]->kind(), CurveKind::Line);
  EXPECT_EQ(again.curves[1]->kind(), CurveKind::Ray);
  expectNear(again.curves[1]->startPoint(), {-8, 0, 0}, 1e-14);
}

TEST(Trim, CircleNeedsTwoCutsAndBecomesAnArc) {
  const Circle c({0, 0, 0}, 5.0);
  const Line one({4, -10, 0}, {4, -4, 0});  // touches nothing... crosses once below?
  const XLine through({0, 3, 0}, {1, 0, 0});
  const Line single({-10, 4, 0}, {0, 4, 0});
  EXPECT_EQ(trimCurve(c, {&single}, {0, 5, 0}).status, GeomStatus::NeedTwoCuts);
  const auto r = trimCurve(c, {&through, &one}, {0, 5, 0});
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 1u);
  ASSERT_EQ(r.curves[0]->kind(), CurveKind::Arc);
  // The top cap between (4,3) and (-4,3) is gone.
  expectNear(r.curves[0]->startPoint(), {-4, 3, 0}, 1e-12);
  expectNear(r.curves[0]->endPoint(), {4, 3, 0}, 1e-12);
  EXPECT_NEAR(r.curves[0]->distanceTo({0, -5, 0}), 0.0, 1e-12);
}

TEST(Trim, ClosedPolylineBecomesOpenAcrossItsSeam) {
  const Polyline2d sq({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
  const XLine cutA({2, 0, 0}, {0, 1, 0}), cutB({0, 2, 0}, {1, 0, 0});
  const auto r = trimCurve(sq, {&cutA, &cutB}, {0, 0, 0});  // the corner at the seam
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 1u);
  const CurvePtr& rest = r.curves[0];
  EXPECT_FALSE(rest->isClosed());
  EXPECT_NEAR(rest->length(), 40.0 - 4.0, 1e-12);
  EXPECT_GT(rest->distanceTo({1, 0, 0}), 0.5);
}

TEST(Trim, PickWithNoNeighbouringCutTrimsNothing) {
  const Line l({0, 0, 0}, {10, 0, 0});
  const Line far({50, -1, 0}, {50, 1, 0});
  EXPECT_EQ(trimCurve(l, {&far}, {5, 0, 0}).status, GeomStatus::NothingToTrim);
}

TEST(Trim, ArcEndingOnTheCutterIsCutThereAfterRotation) {
  for (int i = 0; i < 24; ++i) {
    const Matrix4 m = Matrix4::rotation(i * 0.2617, kZAxis, {3, 4, 0});
    const Line edge({-20, 0, 0}, {20, 0, 0});
    const Arc arc({0, 0, 0}, 10.0, 0.0, kPi);  // both ends on the edge
    const Line probe({0, -15, 0}, {0, 15, 0});
    const CurvePtr e = edge.transformed(m), a = arc.transformed(m), p = probe.transformed(m);
    // Trimming the edge by the arc: the middle piece goes, two pieces stay.
    const auto r = trimCurve(*e, {a.get()}, m.transformPoint({1, 0, 0}));
    ASSERT_EQ(r.curves.size(), 2u) << i;
    EXPECT_NEAR(r.curves[0]->length(), 10.0, 1e-9);
  }
}

TEST(Break, OpenCurveLosesTheStretchBetweenThePoints) {
  const Line l({0, 0, 0}, {10, 0, 0});
  const auto r = breakCurve(l, {7, 1, 0}, {3, -1, 0});
  ASSERT_EQ(r.curves.size(), 2u);
  EXPECT_NEAR(r.curves[0]->length(), 3.0, 1e-14);
  EXPECT_NEAR(r.curves[1]->length(), 3.0, 1e-14);
}

TEST(Break, CircleBreaksCounterClockwiseFromFirstToSecond) {
  const Circle c({0, 0, 0}, 1.0);
  const auto r = breakCurve(c, {1, 0, 0}, {0, 1, 0});
  ASSERT_EQ(r.curves.size(), 1u);
  EXPECT_NEAR(r.curves[0]->length(), 1.5 * kPi, 1e-12);
  EXPECT_EQ(breakCurve(c, {1, 0, 0}, {2, 0, 0}).status, GeomStatus::Degenerate);
}

TEST(Fillet, ZeroRadiusExtendsAndTrimsTwoLinesToTheirCorner) {
  const Line a({0, 0, 0}, {5, 0, 0});      // short of the corner
  const Line b({8, -2, 0}, {8, 6, 0});     // passes the corner
  const auto r = fillet(a, {1, 0, 0}, b, {8, 4, 0}, 0.0);
  ASSERT_EQ(r.status, GeomStatus::Ok);
  expectNear(r.first->endPoint(), {8, 0, 0}, 1e-14);
  expectNear(r.second->startPoint(), {8, 0, 0}, 1e-14);
  expectNear(r.second->endPoint(), {8, 6, 0}, 1e-14);
  EXPECT_EQ(fillet(a, {1, 0, 0}, Line({0, 1, 0}, {5, 1, 0}), {1, 1, 0}, 0.0).status, GeomStatus::Parallel);
}

TEST(Fillet, ZeroRadiusBringsAnArcToALine) {
  const Line l({-10, -3, 0}, {10, -3, 0});
  const Arc a({0, 0, 0}, 5.0, 0.0, kPi / 2);  // from (5,0) to (0,5)
  const auto r = fillet(a, {3, 4, 0}, l, {5, -3, 0}, 0.0);
  ASSERT_EQ(r.status, GeomStatus::Ok);
  EXPECT_LT(distance(r.first->startPoint(), {4, -3, 0}), 1e-12);  // extended clockwise to the line
  expectNear(r.first->endPoint(), {0, 5, 0}, 1e-12);
}

TEST(Fillet, PositiveRadiusArcIsTangentToBothLines) {
  const Line a({0, 0, 0}, {10, 0, 0}), b({0, 0, 0}, {0, 10, 0});
  const auto r = fillet(a, {5, 0, 0}, b, {0, 5, 0}, 2.0);
  ASSERT_EQ(r.status, GeomStatus::Ok);
  const auto& arc = static_cast<const Arc&>(*r.arc);
  expectNear(arc.center(), {2, 2, 0}, 1e-12);
  EXPECT_NEAR(arc.radius(), 2.0, 1e-12);
  EXPECT_NEAR(arc.sweep(), kPi / 2, 1e-12);
  // The lines keep their direction: a now runs from the tangent point on.
  expectNear(r.first->startPoint(), {2, 0, 0}, 1e-12);
  expectNear(r.first->endPoint(), {10, 0, 0}, 1e-12);
  EXPECT_EQ(fillet(a, {5, 0, 0}, b, {0, 5, 0}, 20.0).status, GeomStatus::Degenerate);  // does not fit
}

}  // namespace
}  // namespace tarn::geom
