// Offsets: the result lies at the offset distance, on the chosen side;
// radii that would vanish are reported; polyline corners are joined by the
// chosen gap type.
#include <gtest/gtest.h>

#include <cmath>

#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;
using testing::NamedCurve;

// Every point of the offset lies at distance d from the source curve.
void expectAtDistance(const Curve& src, const Curve& off, double d, double tol) {
  for (double t : testing::probeParams(off, 25)) EXPECT_NEAR(src.distanceTo(off.pointAt(t)), d, tol) << t;
}

class OffsetEveryCurve : public ::testing::TestWithParam<NamedCurve> {};

TEST_P(OffsetEveryCurve, BothSidesLieAtTheDistance) {
  const CurvePtr c = GetParam().make();
  // Fillet gaps keep every point of the result exactly at the distance.
  OffsetOptions opt;
  opt.gap = GapType::Fillet;
  for (double sd : {0.4, -0.4}) {
    const OffsetResult r = offsetSigned(*c, sd, opt);
    ASSERT_EQ(r.status, GeomStatus::Ok) << statusName(r.status);
    ASSERT_EQ(r.curves.size(), 1u);
    expectAtDistance(*c, *r.curves[0], 0.4, 1e-5);
  }
}

std::vector<NamedCurve> offsettable() {
  std::vector<NamedCurve> out;
  for (auto& c : testing::boundedCurves())
    // Straight curves have no plane of their own (see OffsetSide); 3D curves no side.
    if (c.name != "Line" && c.name != "Line3d" && c.name != "Polyline3d" && c.name != "TiltedCircle")
      out.push_back(c);
  return out;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, OffsetEveryCurve, ::testing::ValuesIn(offsettable()), testing::curveName);

TEST(OffsetSide, SidePointChoosesTheSide) {
  const Line l({0, 0, 0}, {10, 0, 0});
  const auto up = offsetCurve(l, 2.0, {3, 5, 0});
  ASSERT_EQ(up.status, GeomStatus::Ok);
  expectNear(up.curves[0]->startPoint(), {0, 2, 0}, 1e-15);
  const auto down = offsetCurve(l, 2.0, {3, -0.1, 0});
  expectNear(down.curves[0]->startPoint(), {0, -2, 0}, 1e-15);
  EXPECT_EQ(offsetCurve(l, 2.0, {3, 0, 0}).status, GeomStatus::OnCurve);
}

TEST(OffsetSide, LineIn3dOffsetsInThePlaneOfTheSidePoint) {
  const auto r = offsetCurve(Line({0, 0, 0}, {0, 0, 10}), 1.0, {3, 4, 5});
  ASSERT_EQ(r.status, GeomStatus::Ok);
  expectNear(r.curves[0]->startPoint(), {0.6, 0.8, 0}, 1e-15);
}

TEST(OffsetSide, CircleInsideAndOutside) {
  const Circle c({1, 1, 0}, 5.0);
  const auto in = offsetCurve(c, 2.0, {2, 1, 0});
  ASSERT_EQ(in.status, GeomStatus::Ok);
  EXPECT_DOUBLE_EQ(static_cast<const Circle&>(*in.curves[0]).radius(), 3.0);
  const auto out = offsetCurve(c, 2.0, {10, 1, 0});
  EXPECT_DOUBLE_EQ(static_cast<const Circle&>(*out.curves[0]).radius(), 7.0);
}

TEST(OffsetSide, ArcWhoseRadiusWouldVanishIsAStatusNotACurve) {
  const Arc a({0, 0, 0}, 2.0, 0.0, kPi / 2);
  EXPECT_EQ(offsetCurve(a, 2.0, {0.5, 0.5, 0}).status, GeomStatus::NegativeRadius);
  EXPECT_EQ(offsetCurve(a, 3.0, {0.5, 0.5, 0}).status, GeomStatus::NegativeRadius);
  EXPECT_TRUE(offsetCurve(a, 3.0, {0.5, 0.5, 0}).curves.empty());
  EXPECT_EQ(offsetCurve(a, -1.0, {5, 5, 0}).status, GeomStatus::InvalidInput);
}

TEST(OffsetSide, XLineStaysAnXLine) {
  const auto r = offsetCurve(XLine({0, 0, 0}, {1, 1, 0}), std::sqrt(2.0), {0, 5, 0});
  ASSERT_EQ(r.status, GeomStatus::Ok);
  EXPECT_EQ(r.curves[0]->kind(), CurveKind::XLine);
  EXPECT_NEAR(r.curves[0]->distanceTo({-1, 1, 0}), 0.0, 1e-14);
}

class GapTypes : public ::testing::TestWithParam<GapType> {};

// A square offset outwards: gaps at all four convex corners.
TEST_P(GapTypes, SquareOutwardsKeepsDistanceAndClosesEveryGap) {
  const Polyline2d sq({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
  OffsetOptions opt;
  opt.gap = GetParam();
  const auto r = offsetCurve(sq, 1.0, {20, 5, 0}, opt);
  ASSERT_EQ(r.status, GeomStatus::Ok);
  const auto& pl = static_cast<const Polyline2d&>(*r.curves[0]);
  EXPECT_TRUE(pl.isClosed());
  const double expectedArea[] = {144.0, 100 + 40 + kPi, 144.0 - 4 * (2 * (std::sqrt(2.0) - 1) * (std::sqrt(2.0) - 1))};
  double area = 0;
  ASSERT_EQ(geom::area(pl, area), GeomStatus::Ok);
  // Extend: a 12x12 square; fillet: sides plus quarter circles; chamfer: the
  // square with corners cut by lines at distance 1 from the corners.
  const double cornerCut = (std::sqrt(2.0) - 1.0);
  const double chamferArea = 144.0 - 4 * cornerCut * cornerCut;
  const double want = GetParam() == GapType::Chamfer ? chamferArea : expectedArea[static_cast<int>(GetParam())];
  EXPECT_NEAR(area, want, 1e-9);
  // No point of the offset is nearer to the square than the distance.
  for (double t : testing::probeParams(pl, 41)) EXPECT_GE(sq.distanceTo(pl.pointAt(t)), 1.0 - 1e-9);
}

INSTANTIATE_TEST_SUITE_P(All, GapTypes, ::testing::Values(GapType::Extend, GapType::Fillet, GapType::Chamfer));

TEST(OffsetPolyline, InwardCornersAreTrimmedAndCollapsedArcsDropped) {
  // Rounded rectangle: the corner arcs (radius 1) vanish when offset inwards by 2.
  const double b = std::tan(kPi / 8);
  const Polyline2d rr({{1, 0, 0}, {9, 0, b}, {10, 1, 0}, {10, 9, b}, {9, 10, 0}, {1, 10, b}, {0, 9, 0}, {0, 1, b}}, true);
  const auto r = offsetCurve(rr, 2.0, {5, 5, 0});
  ASSERT_EQ(r.status, GeomStatus::Ok);
  double area = 0;
  ASSERT_EQ(geom::area(*r.curves[0], area), GeomStatus::Ok);
  EXPECT_NEAR(area, 36.0, 1e-9);  // a 6x6 square
  expectAtDistance(rr, *r.curves[0], 2.0, 1e-9);
}

TEST(OffsetPolyline, ShrinkingASquareTooFarLeavesNothing) {
  const Polyline2d sq({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, true);
  const auto r = offsetSigned(sq, 2.5);  // counter-clockwise: left is inside
  EXPECT_NE(r.status, GeomStatus::Ok);
}

TEST(OffsetPolyline, OpenBulgedPolylineKeepsItsVertexCountWithExtendJoins) {
  const auto src = testing::makeBulgedPolyline(false);
  const auto r = offsetSigned(*src, -0.5);
  ASSERT_EQ(r.status, GeomStatus::Ok);
  const auto& pl = static_cast<const Polyline2d&>(*r.curves[0]);
  EXPECT_FALSE(pl.isClosed());
  expectAtDistance(*src, pl, 0.5, 1e-9);
}

TEST(OffsetApproximation, EllipseOffsetTooFarInsideFoldsAndIsReported) {
  // Smallest radius of curvature b^2/a = 0.5; an inside offset of 1 folds over.
  const Ellipse e({0, 0, 0}, {2, 0, 0}, kZAxis, 0.5);
  EXPECT_EQ(offsetSigned(e, 1.0).status, GeomStatus::Degenerate);
  EXPECT_EQ(offsetSigned(e, -1.0).status, GeomStatus::Ok);
}

}  // namespace
}  // namespace tarn::geom
