// Curves: exact values per type, and properties every curve must have
// (parameter/distance consistency, sub-curves, reversal, transforms).
#include <gtest/gtest.h>

#include <cmath>

#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;
using testing::NamedCurve;

class EveryCurve : public ::testing::TestWithParam<NamedCurve> {};

TEST_P(EveryCurve, DistanceAndParameterAreInverse) {
  const CurvePtr c = GetParam().make();
  EXPECT_NEAR(c->distanceAtParam(c->endParam()), c->length(), 1e-9 * c->length());
  for (double t : testing::probeParams(*c)) {
    const double s = c->distanceAtParam(t);
    EXPECT_NEAR(c->paramAtDistance(s), t, 1e-8) << "t=" << t;
  }
}

TEST_P(EveryCurve, ClosestPointOfACurvePointIsItself) {
  const CurvePtr c = GetParam().make();
  for (double t : testing::probeParams(*c)) {
    const Vec3 p = c->pointAt(t);
    EXPECT_LT(c->distanceTo(p), 1e-9) << "t=" << t;
    double back;
    ASSERT_EQ(c->paramAtPoint(p, back), GeomStatus::Ok);
    EXPECT_LT(distance(c->pointAt(back), p), 1e-9);
  }
}

TEST_P(EveryCurve, DerivativeMatchesFiniteDifference) {
  const CurvePtr c = GetParam().make();
  for (double t : testing::probeParams(*c)) {
    const double h = 1e-6;
    const Vec3 fd = (c->pointAt(t + h) - c->pointAt(t - h)) / (2 * h);
    expectNear(c->derivAt(t), fd, 1e-5 * (1 + fd.length()));
  }
}

TEST_P(EveryCurve, SubCurveSpansExactlyItsRange) {
  const CurvePtr c = GetParam().make();
  const auto ts = testing::probeParams(*c, 3);
  const CurvePtr sub = c->subCurve(ts[0], ts[2]);
  ASSERT_TRUE(sub);
  expectNear(sub->startPoint(), c->pointAt(ts[0]), 1e-9);
  expectNear(sub->endPoint(), c->pointAt(ts[2]), 1e-9);
  EXPECT_NEAR(sub->length(), c->distanceAtParam(ts[2]) - c->distanceAtParam(ts[0]), 1e-7);
  EXPECT_LT(c->distanceTo(sub->pointAt(0.5 * (sub->startParam() + sub->endParam()))), 1e-9);
}

TEST_P(EveryCurve, SplitPiecesAddUpToTheWhole) {
  const CurvePtr c = GetParam().make();
  const auto ts = testing::probeParams(*c, 3);
  const auto parts = c->splitAt({ts[2], ts[0]});
  ASSERT_EQ(parts.size(), c->isClosed() ? 2u : 3u);
  double sum = 0;
  for (const auto& p : parts) sum += p->length();
  EXPECT_NEAR(sum, c->length(), 1e-7 * (1 + c->length()));
}

TEST_P(EveryCurve, ReversedRunsBackOverTheSamePoints) {
  const CurvePtr c = GetParam().make();
  const CurvePtr r = c->reversed();
  if (testing::hasSeam(*c)) {
    expectNear(r->startPoint(), c->endPoint(), 1e-9);
    expectNear(r->endPoint(), c->startPoint(), 1e-9);
  }
  EXPECT_NEAR(r->length(), c->length(), 1e-8 * c->length());
  for (double t : testing::probeParams(*c)) EXPECT_LT(r->distanceTo(c->pointAt(t)), 1e-9);
  EXPECT_NEAR(r->areaVector().dot(kZAxis), -c->areaVector().dot(kZAxis), 1e-7 * (1 + c->length() * c->length()));
}

class EveryCurveMoved : public ::testing::TestWithParam<std::tuple<NamedCurve, int>> {};

Matrix4 motion(int i) {
  switch (i) {
    case 0: return Matrix4::translation({100, -50, 7});
    case 1: return Matrix4::rotation(2.1, {0.2, -0.5, 1.0}, {3, 3, 3});
    case 2: return Matrix4::mirror({1, 2, 0}, {1, -1, 0.3});
    default: return Matrix4::scaling(2.5, {-1, 4, 0}) * Matrix4::rotation(-0.8, kZAxis);
  }
}

TEST_P(EveryCurveMoved, TransformedCurveIsTheImageOfTheCurve) {
  const CurvePtr c = std::get<0>(GetParam()).make();
  const Matrix4 m = motion(std::get<1>(GetParam()));
  const CurvePtr t = c->transformed(m);
  ASSERT_TRUE(t);
  const double scale = m.similarityScale();
  EXPECT_NEAR(t->length(), c->length() * scale, 1e-8 * c->length() * scale);
  if (testing::hasSeam(*c)) {
    expectNear(t->startPoint(), m.transformPoint(c->startPoint()), 1e-9 * (1 + scale));
    expectNear(t->endPoint(), m.transformPoint(c->endPoint()), 1e-9 * (1 + scale));
  }
  for (double u : testing::probeParams(*c)) EXPECT_LT(t->distanceTo(m.transformPoint(c->pointAt(u))), 1e-8);
}

TEST_P(EveryCurve, BoundingBoxHoldsTheCurve) {
  const CurvePtr c = GetParam().make();
  const BoundingBox b = c->boundingBox().expanded(1e-9);
  for (double t : testing::probeParams(*c, 40)) EXPECT_TRUE(b.contains(c->pointAt(t)));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryCurve, ::testing::ValuesIn(testing::boundedCurves()), testing::curveName);
INSTANTIATE_TEST_SUITE_P(Catalogue, EveryCurveMoved,
                         ::testing::Combine(::testing::ValuesIn(testing::boundedCurves()), ::testing::Range(0, 4)),
                         [](const auto& p) {
                           return std::get<0>(p.param).name + "_" + std::to_string(std::get<1>(p.param));
                         });

TEST(CurveValues, CircleAndArcLengthsAreExact) {
  EXPECT_DOUBLE_EQ(Circle({0, 0, 0}, 2.0).length(), 4 * kPi);
  EXPECT_DOUBLE_EQ(Arc({0, 0, 0}, 2.0, 0.0, kPi / 2).length(), kPi);
  // Start and end angle equal: a full turn; end below start: wraps.
  EXPECT_DOUBLE_EQ(Arc({0, 0, 0}, 1.0, 1.0, 1.0).sweep(), kTwoPi);
  EXPECT_NEAR(Arc({0, 0, 0}, 1.0, 3 * kPi / 2, kPi / 2).sweep(), kPi, 1e-15);
}

TEST(CurveValues, EllipsePerimeterMatchesRamanujan) {
  const Ellipse e({0, 0, 0}, {5, 0, 0}, kZAxis, 0.6);
  const double a = 5, b = 3, h = (a - b) * (a - b) / ((a + b) * (a + b));
  EXPECT_NEAR(e.length(), kPi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h))), 1e-8);
}

TEST(CurveValues, BulgeOfOneIsASemicircle) {
  const Polyline2d p({{0, 0, 1.0}, {4, 0, 0.0}}, false);
  EXPECT_NEAR(p.length(), 2 * kPi, 1e-12);
  expectNear(p.pointAt(0.5), {2, -2, 0}, 1e-12);  // counter-clockwise from (0,0) to (4,0) passes below
}

TEST(CurveValues, PolylineInOcsPlaneSitsAtItsElevation) {
  const Polyline2d p({{1, 2, 0}, {3, 2, 0}}, false, {1, 0, 0}, 5.0);
  // OCS of +X: Ax = (0,1,0), Ay = (0,0,1); elevation along X.
  expectNear(p.vertexPoint(0), {5, 1, 2}, 1e-15);
}

TEST(CurveValues, RationalSplineIsAnExactQuarterCircle) {
  const CurvePtr s = testing::makeRationalSpline();
  for (double t : testing::probeParams(*s, 9)) EXPECT_NEAR(s->pointAt(t).length(), 5.0, 1e-12);
  EXPECT_NEAR(s->length(), 2.5 * kPi, 1e-9);
}

TEST(SplineFit, PassesThroughFitPointsWithGivenTangents) {
  const std::vector<Vec3> fit = {{0, 0, 0}, {2, 3, 0}, {5, 3, 1}, {7, 0, 0}};
  std::unique_ptr<Spline> s;
  ASSERT_EQ(fitSpline(fit, Vec3{0, 1, 0}, Vec3{1, -1, 0}, s), GeomStatus::Ok);
  for (const Vec3& p : fit) EXPECT_LT(s->distanceTo(p), 1e-10);
  expectNear(s->tangentAt(s->startParam()), {0, 1, 0}, 1e-12);
  expectNear(s->tangentAt(s->endParam()), Vec3{1, -1, 0}.normalized(), 1e-12);
}

TEST(SplineFit, RepeatedPointsAreDroppedAndTooFewRefused) {
  std::unique_ptr<Spline> s;
  EXPECT_EQ(fitSpline({{1, 1, 0}, {1, 1, 0}}, std::nullopt, std::nullopt, s), GeomStatus::Degenerate);
  ASSERT_EQ(fitSpline({{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 1, 0}}, std::nullopt, std::nullopt, s), GeomStatus::Ok);
  EXPECT_LT(s->distanceTo({1, 0, 0}), 1e-10);
}

TEST(SplineFit, ClosedFitIsSmoothAtTheSeam) {
  std::unique_ptr<Spline> s;
  ASSERT_EQ(fitSpline({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {0, 0, 0}}, std::nullopt, std::nullopt, s),
            GeomStatus::Ok);
  EXPECT_TRUE(s->isClosed());
  expectNear(s->tangentAt(s->startParam()), s->tangentAt(s->endParam()), 1e-12);
}

TEST(SplineData, InvalidDataIsRefused) {
  std::unique_ptr<Spline> s;
  EXPECT_EQ(Spline::make(3, {0, 0, 0, 1, 1, 1}, {{0, 0, 0}, {1, 1, 0}}, {}, s), GeomStatus::InvalidInput);
  EXPECT_EQ(Spline::make(1, {0, 1, 0.5, 2}, {{0, 0, 0}, {1, 1, 0}}, {}, s), GeomStatus::InvalidInput);
  EXPECT_EQ(Spline::make(1, {0, 0, 1, 1}, {{0, 0, 0}, {1, 1, 0}}, {1.0, -1.0}, s), GeomStatus::InvalidInput);
  EXPECT_EQ(Spline::make(1, {0, 0, 0, 0}, {{0, 0, 0}, {1, 1, 0}}, {}, s), GeomStatus::InvalidInput);
}

TEST(SplineData, KnotInsertionKeepsTheShape) {
  const CurvePtr c = testing::makeRationalSpline();
  const Spline& s = static_cast<const Spline&>(*c);
  const Spline more = s.withKnotInserted(0.3).withKnotInserted(0.3).withKnotInserted(0.71);
  for (double t : testing::probeParams(s, 11)) expectNear(more.pointAt(t), s.pointAt(t), 1e-12);
}

TEST(CurveTypes, InfiniteCurvesReportInfiniteLengthAndBoxes) {
  const Ray r({1, 1, 0}, {1, 0, 0});
  const XLine x({0, 0, 0}, {1, 1, 0});
  EXPECT_TRUE(std::isinf(r.length()));
  EXPECT_FALSE(r.boundingBox().isBounded());
  EXPECT_EQ(r.boundingBox().min.x, 1.0);
  EXPECT_TRUE(std::isinf(x.boundingBox().min.y));
  EXPECT_EQ(x.subCurve(0.0, BoundingBox::kInf)->kind(), CurveKind::Ray);
  EXPECT_EQ(x.subCurve(-BoundingBox::kInf, 2.0)->kind(), CurveKind::Ray);
  EXPECT_EQ(r.subCurve(1.0, 2.0)->kind(), CurveKind::Line);
}

TEST(CurveTypes, NonUniformScaleTurnsCircleIntoEllipseAndRefusesBulges) {
  const Matrix4 m = Matrix4::scaling({2, 1, 1});
  const CurvePtr e = Circle({0, 0, 0}, 1.0).transformed(m);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind(), CurveKind::Ellipse);
  EXPECT_NEAR(static_cast<const Ellipse&>(*e).majorRadius(), 2.0, 1e-12);
  EXPECT_EQ(testing::makeBulgedPolyline(false)->transformed(m), nullptr);
}

TEST(CurveTypes, CompositeNeedsJoinedSegments) {
  std::vector<CurvePtr> segs;
  segs.push_back(std::make_unique<Line>(Vec3{0, 0, 0}, Vec3{1, 0, 0}));
  segs.push_back(std::make_unique<Line>(Vec3{2, 0, 0}, Vec3{3, 0, 0}));
  std::unique_ptr<CompositeCurve> c;
  EXPECT_EQ(CompositeCurve::make(std::move(segs), c), GeomStatus::InvalidInput);
}

}  // namespace
}  // namespace tarn::geom
