// Areas and lengths, hit tests and the spatial index.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sample_curves.h"

namespace tarn::geom {
namespace {

TEST(Area, UnitCircleIsPi) {
  double a = 0;
  ASSERT_EQ(area(Circle({3, 4, 5}, 1.0, {1, 2, 3}), a), GeomStatus::Ok);
  EXPECT_NEAR(a, kPi, 1e-13);
}

TEST(Area, BulgedSquareAddsAndRemovesSemicircles) {
  // 10x10 square run counter-clockwise; a bulge of +1 on the bottom edge adds
  // a half disc of radius 5 below it, -1 on the top edge takes one out.
  const Polyline2d p({{0, 0, 1.0}, {10, 0, 0}, {10, 10, -1.0}, {0, 10, 0}}, true);
  EXPECT_NEAR(signedArea(p, kZAxis), 100.0, 1e-12);
  const Polyline2d q({{0, 0, 1.0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
  EXPECT_NEAR(signedArea(q, kZAxis), 100.0 + 12.5 * kPi, 1e-12);
  EXPECT_EQ(orientation(q, kZAxis), 1);
  EXPECT_EQ(orientation(*q.reversed(), kZAxis), -1);
}

TEST(Area, EllipseAndClosedSplineAndComposite) {
  double a = 0;
  ASSERT_EQ(area(Ellipse({1, 1, 0}, {0, 4, 0}, kZAxis, 0.25), a), GeomStatus::Ok);
  EXPECT_NEAR(a, kPi * 4 * 1, 1e-12);
  // Half disc closed by its chord: an arc and a line as one composite.
  std::vector<CurvePtr> segs;
  segs.push_back(std::make_unique<Arc>(Vec3{0, 0, 0}, 2.0, 0.0, kPi));
  segs.push_back(std::make_unique<Line>(Vec3{-2, 0, 0}, Vec3{2, 0, 0}));
  std::unique_ptr<CompositeCurve> comp;
  ASSERT_EQ(CompositeCurve::make(std::move(segs), comp), GeomStatus::Ok);
  EXPECT_TRUE(comp->isClosed());
  EXPECT_NEAR(signedArea(*comp, kZAxis), 2 * kPi, 1e-12);
  const CurvePtr s = testing::makeRationalSpline();  // quarter disc closed by the chord
  EXPECT_NEAR(signedArea(*s, kZAxis), 25 * kPi / 4 - 12.5, 1e-9);
}

TEST(Area, IsTheSameWhereverTheShapeIsMoved) {
  const auto p = testing::makeBulgedPolyline(true);
  double a0 = 0, a1 = 0;
  ASSERT_EQ(area(*p, a0), GeomStatus::Ok);
  const Matrix4 m = Matrix4::translation({1e5, -2e5, 300}) * Matrix4::rotation(1.1, {1, 1, 0});
  ASSERT_EQ(area(*p->transformed(m), a1), GeomStatus::Ok);
  EXPECT_NEAR(a1, a0, 1e-7 * a0);
}

TEST(Area, CurveInSpaceHasNoArea) {
  double a = 0;
  EXPECT_EQ(area(Polyline3d({{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 3}}, true), a), GeomStatus::NotPlanar);
}

TEST(Length, ClosedPolylineIncludesItsClosingSegment) {
  double len = 0;
  ASSERT_EQ(curveLength(Polyline2d({{0, 0}, {3, 0}, {3, 4}}, true), len), GeomStatus::Ok);
  EXPECT_DOUBLE_EQ(len, 12.0);
  EXPECT_EQ(curveLength(Ray({0, 0, 0}, {1, 0, 0}), len), GeomStatus::InvalidInput);
}

TEST(Select, PointInPolygonIsClassified) {
  const std::vector<Vec3> l = {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
  EXPECT_EQ(pointInPolygon({2, 8, 0}, l), Containment::Inside);
  EXPECT_EQ(pointInPolygon({8, 8, 0}, l), Containment::Outside);
  EXPECT_EQ(pointInPolygon({4, 6, 0}, l), Containment::OnBoundary);
}

TEST(Select, WindowNeedsTheWholeCurveCrossingATouch) {
  const Circle c({5, 5, 0}, 2.0);
  EXPECT_TRUE(insideWindow(c, {0, 0, 0}, {10, 10, 0}));
  EXPECT_FALSE(insideWindow(c, {0, 0, 0}, {6, 10, 0}));
  EXPECT_TRUE(crossesWindow(c, {0, 0, 0}, {6, 10, 0}));
  EXPECT_FALSE(crossesWindow(c, {4.5, 4.5, 0}, {5.5, 5.5, 0}));  // window inside the circle, no touch
  EXPECT_FALSE(crossesWindow(c, {20, 20, 0}, {30, 30, 0}));
  EXPECT_FALSE(insideWindow(XLine({5, 5, 0}, {1, 0, 0}), {0, 0, 0}, {10, 10, 0}));
  EXPECT_TRUE(crossesWindow(XLine({5, 5, 0}, {1, 0, 0}), {0, 0, 0}, {10, 10, 0}));
}

TEST(Select, CurvesAreSeenFromAbove) {
  // A line high above the window is still in it.
  EXPECT_TRUE(insideWindow(Line({1, 1, 50}, {2, 2, 80}), {0, 0, 0}, {3, 3, 0}));
  EXPECT_NEAR(distanceXY(Line({0, 0, 10}, {10, 0, 10}), {5, 3, 0}), 3.0, 1e-14);
  EXPECT_TRUE(hitsPoint(Circle({0, 0, 7}, 2.0, {1, 0, 1}), {std::sqrt(2.0), 0, 0}, 1e-6));
}

TEST(Select, PolygonsAndFences) {
  const std::vector<Vec3> tri = {{0, 0}, {10, 0}, {5, 10}};
  EXPECT_TRUE(insidePolygon(Line({4, 1, 0}, {6, 2, 0}), tri));
  EXPECT_FALSE(insidePolygon(Line({4, 1, 0}, {9, 8, 0}), tri));
  EXPECT_TRUE(crossesPolygon(Line({4, 1, 0}, {9, 8, 0}), tri));
  EXPECT_TRUE(crossesFence(Circle({5, 5, 0}, 1.0), {{0, 5, 0}, {4.5, 5, 0}}));
  EXPECT_FALSE(crossesFence(Circle({5, 5, 0}, 1.0), {{0, 5, 0}, {3.5, 5, 0}}));
}

TEST(SpatialIndex, QueryFindsExactlyTheBoxesThatMeet) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0, 100);
  std::vector<BoundingBox> boxes;
  for (int i = 0; i < 500; ++i) {
    BoundingBox b;
    const Vec3 p{u(rng), u(rng), 0};
    b.add(p);
    b.add(p + Vec3{u(rng) / 20, u(rng) / 20, 0});
    boxes.push_back(b);
  }
  BoundingBox inf;
  inf.add(Vec3{-BoundingBox::kInf, 5, 0});
  inf.add(Vec3{BoundingBox::kInf, 5, 0});
  boxes.push_back(inf);
  GridIndex index;
  index.build(boxes);
  for (int q = 0; q < 50; ++q) {
    BoundingBox box;
    const Vec3 p{u(rng), u(rng), 0};
    box.add(p);
    box.add(p + Vec3{u(rng) / 5, u(rng) / 5, 0});
    std::vector<uint32_t> brute;
    for (uint32_t i = 0; i < boxes.size(); ++i)
      if (boxes[i].intersectsXY(box)) brute.push_back(i);
    EXPECT_EQ(index.query(box), brute);
  }
}

TEST(SpatialIndex, IntersectAllAgreesWithEveryPair) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(0, 50);
  std::vector<CurvePtr> owned;
  for (int i = 0; i < 80; ++i) {
    const Vec3 p{u(rng), u(rng), 0};
    if (i % 2) owned.push_back(std::make_unique<Line>(p, p + Vec3{u(rng) / 5 - 5, u(rng) / 5 - 5, 0}));
    else owned.push_back(std::make_unique<Arc>(p, 1 + u(rng) / 10, u(rng), u(rng)));
  }
  owned.push_back(std::make_unique<XLine>(Vec3{0, 25, 0}, Vec3{1, 0.1, 0}));
  std::vector<const Curve*> curves;
  for (const auto& c : owned) curves.push_back(c.get());
  size_t brute = 0;
  for (size_t i = 0; i < curves.size(); ++i)
    for (size_t j = i + 1; j < curves.size(); ++j)
      if (intersect(*curves[i], *curves[j]).kind != IntersectKind::None) ++brute;
  EXPECT_EQ(intersectAll(curves).size(), brute);
  EXPECT_GT(brute, 10u);
}

}  // namespace
}  // namespace tarn::geom
