// Intersections: exact answers for analytic pairs, classification (points,
// tangent, overlap), extension, projection, and metamorphic checks: the
// answer follows the curves when they are moved, and every point found lies
// on both curves.
#include <gtest/gtest.h>

#include <cmath>

#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;
using testing::NamedCurve;

TEST(IntersectExact, CrossingLines) {
  const auto r = intersect(Line({0, 0, 0}, {4, 4, 0}), Line({0, 4, 0}, {4, 0, 0}));
  ASSERT_EQ(r.kind, IntersectKind::Points);
  ASSERT_EQ(r.points.size(), 1u);
  expectNear(r.points[0].point, {2, 2, 0}, 1e-15);
  EXPECT_NEAR(r.points[0].paramA, std::sqrt(8.0), 1e-15);
}

TEST(IntersectExact, SkewLinesDoNotMeet) {
  EXPECT_EQ(intersect(Line({0, 0, 0}, {4, 0, 0}), Line({2, -1, 1}, {2, 1, 1})).kind, IntersectKind::None);
}

TEST(IntersectExact, LineThroughCircleGivesTwoPoints) {
  const auto r = intersect(Line({-10, 3, 0}, {10, 3, 0}), Circle({0, 0, 0}, 5.0));
  ASSERT_EQ(r.points.size(), 2u);
  expectNear(r.points[0].point, {-4, 3, 0}, 1e-14);
  expectNear(r.points[1].point, {4, 3, 0}, 1e-14);
}

TEST(IntersectExact, LineTouchingCircleIsTangent) {
  const auto r = intersect(Line({-10, 5, 0}, {10, 5, 0}), Circle({0, 0, 0}, 5.0));
  EXPECT_EQ(r.kind, IntersectKind::Tangent);
  ASSERT_EQ(r.points.size(), 1u);
  expectNear(r.points[0].point, {0, 5, 0}, 1e-14);
}

TEST(IntersectExact, LinePiercingATiltedCircleMeetsItOnce) {
  const auto r = intersect(Line({3, 0, -5}, {3, 0, 5}), Circle({0, 0, 0}, 3.0));
  ASSERT_EQ(r.points.size(), 1u);
  expectNear(r.points[0].point, {3, 0, 0}, 1e-14);
}

TEST(IntersectExact, CirclesInCrossingPlanes) {
  const auto r = intersect(Circle({0, 0, 0}, 5.0), Circle({0, 0, 0}, 5.0, kXAxis));
  ASSERT_EQ(r.points.size(), 2u);
  expectNear(r.points[0].point, {0, 5, 0}, 1e-13);
  expectNear(r.points[1].point, {0, -5, 0}, 1e-13);
}

TEST(IntersectExact, CirclesTouchingOutsideAndInside) {
  EXPECT_EQ(intersect(Circle({0, 0, 0}, 2.0), Circle({5, 0, 0}, 3.0)).kind, IntersectKind::Tangent);
  const auto in = intersect(Circle({0, 0, 0}, 5.0), Circle({2, 0, 0}, 3.0));
  ASSERT_EQ(in.kind, IntersectKind::Tangent);
  expectNear(in.points[0].point, {5, 0, 0}, 1e-14);
}

TEST(IntersectExact, CollinearLinesOverlap) {
  const auto r = intersect(Line({0, 0, 0}, {6, 0, 0}), Line({10, 0, 0}, {4, 0, 0}));
  ASSERT_EQ(r.kind, IntersectKind::Overlap);
  ASSERT_EQ(r.overlaps.size(), 1u);
  EXPECT_NEAR(r.overlaps[0].a0, 4.0, 1e-14);
  EXPECT_NEAR(r.overlaps[0].a1, 6.0, 1e-14);
  EXPECT_NEAR(r.overlaps[0].b0, 6.0, 1e-14);  // the second line runs the other way
}

TEST(IntersectExact, CollinearLinesMeetingEndToEndGiveOnePoint) {
  const auto r = intersect(Line({0, 0, 0}, {6, 0, 0}), Line({6, 0, 0}, {9, 0, 0}));
  ASSERT_EQ(r.kind, IntersectKind::Points);
  expectNear(r.points.at(0).point, {6, 0, 0}, 0.0);
}

TEST(IntersectExact, ArcsOnOneCircleOverlapEvenWithOppositeNormals) {
  const Arc a({0, 0, 0}, 2.0, 0.0, kPi);                     // upper half
  const Arc b({0, 0, 0}, 2.0, kPi, kTwoPi, {0, 0, -1});     // lower half, about -Z
  const Arc c({0, 0, 0}, 2.0, kPi / 2, 3 * kPi / 2);        // left half
  EXPECT_EQ(intersect(a, Arc({0, 0, 0}, 2.0, 0.0, kPi, {0, 0, -1})).kind, IntersectKind::Overlap);
  EXPECT_EQ(intersect(a, c).kind, IntersectKind::Overlap);
  const auto r = intersect(a, c);
  ASSERT_EQ(r.overlaps.size(), 1u);
  EXPECT_NEAR(r.overlaps[0].a0, kPi / 2, 1e-12);
  EXPECT_NEAR(r.overlaps[0].a1, kPi, 1e-12);
  // b covers the lower half: it meets a only at the two ends.
  const auto ends = intersect(a, b);
  EXPECT_EQ(ends.kind, IntersectKind::Points);
  EXPECT_EQ(ends.points.size(), 2u);
}

TEST(IntersectExact, LineAndEllipse) {
  const Ellipse e({0, 0, 0}, {4, 0, 0}, kZAxis, 0.5);  // x^2/16 + y^2/4 = 1
  const auto r = intersect(Line({2, -5, 0}, {2, 5, 0}), e);
  ASSERT_EQ(r.points.size(), 2u);
  expectNear(r.points[0].point, {2, -std::sqrt(3.0), 0}, 1e-10);
  expectNear(r.points[1].point, {2, std::sqrt(3.0), 0}, 1e-10);
}

TEST(IntersectExact, PolylineVertexHitIsReportedOnce) {
  const Polyline2d p({{0, 0, 0}, {5, 5, 0}, {10, 0, 0}}, false);
  const auto r = intersect(p, Line({0, 5, 0}, {10, 5, 0}));
  ASSERT_EQ(r.points.size(), 1u);
  EXPECT_NEAR(r.points[0].paramA, 1.0, 1e-12);
}

TEST(IntersectExtend, EdgeModeExtendsLinesAndArcs) {
  const Line l({0, 0, 0}, {1, 0, 0});
  const Line far({5, -1, 0}, {5, 1, 0});
  EXPECT_EQ(intersect(l, far).kind, IntersectKind::None);
  IntersectOptions opt;
  opt.extend = ExtendMode::First;
  const auto r = intersect(l, far, opt);
  ASSERT_EQ(r.points.size(), 1u);
  EXPECT_NEAR(r.points[0].paramA, 5.0, 1e-14);
  opt.extend = ExtendMode::Second;
  EXPECT_EQ(intersect(l, far, opt).kind, IntersectKind::None);
  const Arc quarter({0, 0, 0}, 3.0, 0.0, kPi / 2);
  opt.extend = ExtendMode::Second;
  EXPECT_EQ(intersect(Line({-5, -1, 0}, {5, -1, 0}), quarter, opt).points.size(), 2u);
}

TEST(IntersectExtend, OpenPolylineEndSegmentsAreExtended) {
  const Polyline2d p({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, false);
  IntersectOptions opt;
  opt.extend = ExtendMode::First;
  const auto r = intersect(p, Line({-5, 6, 0}, {5, 6, 0}), opt);
  ASSERT_EQ(r.points.size(), 1u);
  expectNear(r.points[0].point, {2, 6, 0}, 1e-12);
}

TEST(IntersectProjected, LinesAtDifferentHeightsMeetInPlan) {
  const Line a({0, 0, 0}, {4, 4, 0}), b({0, 4, 3}, {4, 0, 3});
  EXPECT_EQ(intersect(a, b).kind, IntersectKind::None);
  IntersectOptions opt;
  opt.projectOnto = Plane{{0, 0, 0}, kZAxis};
  const auto r = intersect(a, b, opt);
  ASSERT_EQ(r.points.size(), 1u);
  expectNear(r.points[0].point, {2, 2, 0}, 1e-14);  // on the first curve
  EXPECT_NEAR(r.points[0].paramB, std::sqrt(8.0), 1e-14);
}

TEST(IntersectProjected, TiltedCircleSeenFromAboveIsAnEllipse) {
  // A circle of radius 2 turned 60° about X looks like an ellipse with half-height 1.
  const Circle c({0, 0, 5}, 2.0, {0, -std::sin(kPi / 3), std::cos(kPi / 3)});
  IntersectOptions opt;
  opt.projectOnto = Plane{{0, 0, 0}, kZAxis};
  const auto r = intersect(Line({0, -3, 0}, {0, 3, 0}), c, opt);
  ASSERT_EQ(r.points.size(), 2u);
  EXPECT_NEAR(r.points[0].point.y, -1.0, 1e-9);
  EXPECT_NEAR(r.points[1].point.y, 1.0, 1e-9);
}

// Arc end met by a line: must survive any rotation of the whole picture.
class ArcEndUnderRotation : public ::testing::TestWithParam<int> {};

TEST_P(ArcEndUnderRotation, HitAtTheArcEndIsNeverLost) {
  const double angle = GetParam() * 0.1234567;
  const Matrix4 m = Matrix4::rotation(angle, Vec3{0.3, 0.1, 1.0}, {7, -3, 2});
  const Arc arc({0, 0, 0}, 10.0, 0.0, kPi / 3);
  // A line through the arc's end point, at a slant.
  const Vec3 end = arc.endPoint();
  const Line cut(end - Vec3{3, 1, 0}, end + Vec3{3, 1, 0});
  const CurvePtr a = arc.transformed(m), l = cut.transformed(m);
  const auto r = intersect(*a, *l);
  ASSERT_GE(r.points.size(), 1u) << "angle " << angle;
  bool atEnd = false;
  for (const auto& p : r.points) atEnd = atEnd || p.paramA == a->endParam();  // intended exact: snapped
  EXPECT_TRUE(atEnd);
}

INSTANTIATE_TEST_SUITE_P(Rotations, ArcEndUnderRotation, ::testing::Range(0, 60));

// Every curve against a set of cutters: each point found lies on both.
class IntersectEveryPair : public ::testing::TestWithParam<std::tuple<NamedCurve, NamedCurve>> {};

TEST_P(IntersectEveryPair, PointsLieOnBothCurvesAndSurviveAMotion) {
  const CurvePtr a = std::get<0>(GetParam()).make();
  const CurvePtr b = std::get<1>(GetParam()).make();
  const auto r = intersect(*a, *b);
  for (const auto& p : r.points) {
    EXPECT_LT(distance(a->pointAt(p.paramA), p.point), 1e-8);
    EXPECT_LT(distance(b->pointAt(p.paramB), p.point), 1e-8);
  }
  const Matrix4 m = Matrix4::rotation(0.9, {1, 2, 2}, {4, 4, 4}) * Matrix4::translation({30, -20, 10});
  const auto moved = intersect(*a->transformed(m), *b->transformed(m));
  ASSERT_EQ(moved.points.size(), r.points.size());
  for (const auto& p : r.points) {
    // A circle's seam moves with it, so compare as sets of points.
    double nearest = 1e300;
    for (const auto& q : moved.points) nearest = std::min(nearest, distance(q.point, m.transformPoint(p.point)));
    EXPECT_LT(nearest, 1e-7);
  }
}

std::vector<NamedCurve> cutters() {
  return {
      {"Diagonal", [] { return CurvePtr(std::make_unique<Line>(Vec3{-10, -8, 0}, Vec3{14, 12, 0})); }},
      {"Horizontal", [] { return CurvePtr(std::make_unique<XLine>(Vec3{0, 1.5, 0}, Vec3{1, 0, 0})); }},
      {"BigCircle", [] { return CurvePtr(std::make_unique<Circle>(Vec3{3, 2, 0}, 5.5)); }},
      {"Ellipse", [] { return CurvePtr(std::make_unique<Ellipse>(Vec3{4, 1, 0}, Vec3{6, 1, 0}, kZAxis, 0.5)); }},
      {"Spline", [] { return testing::makeSpline(); }},
  };
}

std::vector<NamedCurve> planarCurves() {
  std::vector<NamedCurve> out;
  for (auto& c : testing::boundedCurves())
    if (c.name != "Line3d" && c.name != "TiltedCircle" && c.name != "Polyline3d" && c.name != "ArcNegNormal")
      out.push_back(c);
  return out;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, IntersectEveryPair,
                         ::testing::Combine(::testing::ValuesIn(planarCurves()), ::testing::ValuesIn(cutters())),
                         [](const auto& p) {
                           return std::get<0>(p.param).name + "_" + std::get<1>(p.param).name;
                         });

TEST(IntersectCounts, SplineCrossesTheXAxisAtItsFitPoints) {
  const CurvePtr s = testing::makeSpline();  // fit points (0,0), (12,0) on the axis, waves between
  const auto r = intersect(*s, XLine({0, 0, 0}, {1, 0, 0}));
  EXPECT_GE(r.points.size(), 4u);
  EXPECT_EQ(r.points.front().paramA, s->startParam());
  EXPECT_EQ(r.points.back().paramA, s->endParam());
}

TEST(IntersectCounts, EllipseAndCircleMeetFourTimes) {
  const auto r = intersect(Ellipse({0, 0, 0}, {5, 0, 0}, kZAxis, 0.4), Circle({0, 0, 0}, 3.0));
  EXPECT_EQ(r.points.size(), 4u);
  for (const auto& p : r.points) EXPECT_NEAR(p.point.length(), 3.0, 1e-9);
}

}  // namespace
}  // namespace tarn::geom
