// Matrices and coordinate systems: exact values, inverses, and round trips.
#include <gtest/gtest.h>

#include "geom/coord_system.h"
#include "geom/matrix4.h"
#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;

TEST(Matrix4, RotationAboutAxisThroughPointIsExact) {
  const Matrix4 m = Matrix4::rotation(kPi / 2, kZAxis, {1, 1, 0});
  expectNear(m.transformPoint({2, 1, 5}), {1, 2, 5}, 1e-15);
  expectNear(m.transformVector({1, 0, 0}), {0, 1, 0}, 1e-15);
}

TEST(Matrix4, MirrorFlipsOrientationAndIsItsOwnInverse) {
  const Matrix4 m = Matrix4::mirrorLine({0, 0, 0}, {1, 1, 0});
  expectNear(m.transformPoint({3, 1, 2}), {1, 3, 2}, 1e-14);
  EXPECT_TRUE(m.isMirroring());
  expectNear((m * m).transformPoint({3, -7, 2}), {3, -7, 2}, 1e-13);
}

TEST(Matrix4, InverseUndoesComposition) {
  const Matrix4 m = Matrix4::translation({4, -2, 7}) * Matrix4::rotation(0.7, {1, 2, 3}) *
                    Matrix4::scaling({2, 3, 0.5}, {1, 1, 1});
  Matrix4 inv;
  ASSERT_EQ(m.inverse(inv), GeomStatus::Ok);
  expectNear((inv * m).transformPoint({-3, 8, 11}), {-3, 8, 11}, 1e-12);
}

TEST(Matrix4, ProjectionIsSingular) {
  Matrix4 inv;
  EXPECT_EQ(Matrix4::projection({}, kZAxis).inverse(inv), GeomStatus::Singular);
}

TEST(Matrix4, SimilarityScaleRecognisesUniformScalingOnly) {
  EXPECT_NEAR((Matrix4::rotation(1.0, {1, 1, 0}) * Matrix4::scaling(3.0)).similarityScale(), 3.0, 1e-12);
  EXPECT_LT(Matrix4::scaling({1, 2, 1}).similarityScale(), 0.0);
}

TEST(ArbitraryAxis, WorldZGivesWorldAxes) {
  const OcsAxes a = ocsAxes(kZAxis);
  expectNear(a.x, kXAxis, 0.0);
  expectNear(a.y, kYAxis, 0.0);
}

TEST(ArbitraryAxis, NearZNormalUsesWorldYCrossN) {
  // |Nx|, |Ny| < 1/64: Ax = Wy x N.
  const Vec3 n = Vec3{0.01, 0.0, 1.0}.normalized();
  const OcsAxes a = ocsAxes(n);
  expectNear(a.x, kYAxis.cross(n).normalized(), 1e-15);
  expectNear(a.y, n.cross(a.x), 1e-15);
}

TEST(ArbitraryAxis, OtherNormalsUseWorldZCrossN) {
  const OcsAxes a = ocsAxes({1, 0, 0});
  expectNear(a.x, {0, 1, 0}, 1e-15);
  expectNear(a.y, {0, 0, 1}, 1e-15);
  const OcsAxes down = ocsAxes({0, 0, -1});
  expectNear(down.x, {-1, 0, 0}, 1e-15);
}

class CoordRoundTrip : public ::testing::TestWithParam<CoordKind> {};

TEST_P(CoordRoundTrip, ThereAndBackIsIdentityForPointsAndDisplacements) {
  CoordContext ctx;
  ctx.ucs = {{10, -4, 3}, Vec3{1, 1, 0}, Vec3{-1, 1, 1}};
  ctx.view = {{5, 5, 0}, Vec3{1, -1, 1}, 0.4};
  const CoordSpec other{GetParam(), Vec3{0.3, -0.2, 0.9}};
  for (bool disp : {false, true}) {
    Vec3 there, back;
    ASSERT_EQ(transformCoords(ctx, {3, 7, -2}, CoordSpec::world(), other, disp, there), GeomStatus::Ok);
    ASSERT_EQ(transformCoords(ctx, there, other, CoordSpec::world(), disp, back), GeomStatus::Ok);
    expectNear(back, {3, 7, -2}, 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(AllSystems, CoordRoundTrip,
                         ::testing::Values(CoordKind::World, CoordKind::User, CoordKind::Display, CoordKind::Object));

TEST(CoordSystems, UcsOriginAndAxesMapExactly) {
  CoordContext ctx;
  ctx.ucs = {{10, 20, 0}, {0, 1, 0}, {-1, 0, 0}};  // turned 90° about Z
  Vec3 w;
  ASSERT_EQ(transformCoords(ctx, {1, 0, 0}, CoordSpec::user(), CoordSpec::world(), false, w), GeomStatus::Ok);
  expectNear(w, {10, 21, 0}, 1e-14);
  ASSERT_EQ(transformCoords(ctx, {1, 0, 0}, CoordSpec::user(), CoordSpec::world(), true, w), GeomStatus::Ok);
  expectNear(w, {0, 1, 0}, 1e-14);
}

TEST(CoordSystems, ViewTwistTurnsTheWorldXAxisOnScreen) {
  CoordContext ctx;
  ctx.view = {{0, 0, 0}, kZAxis, kPi / 6};
  Vec3 d;
  ASSERT_EQ(transformCoords(ctx, {1, 0, 0}, CoordSpec::world(), CoordSpec::display(), true, d), GeomStatus::Ok);
  expectNear(d, {std::cos(kPi / 6), std::sin(kPi / 6), 0}, 1e-14);
}

TEST(CoordSystems, DegenerateAndPaperSystemsAreRefused) {
  CoordContext ctx;
  Vec3 out;
  EXPECT_EQ(transformCoords(ctx, {}, CoordSpec::object({0, 0, 0}), CoordSpec::world(), false, out),
            GeomStatus::Degenerate);
  EXPECT_EQ(transformCoords(ctx, {}, CoordSpec{CoordKind::PaperDisplay, kZAxis}, CoordSpec::world(), false, out),
            GeomStatus::Unsupported);
  ctx.ucs.yAxis = ctx.ucs.xAxis;
  EXPECT_EQ(transformCoords(ctx, {}, CoordSpec::user(), CoordSpec::world(), false, out), GeomStatus::Degenerate);
}

TEST(Tolerance, DuplicateRulesAreRelativeAboveTheTolerance) {
  EXPECT_TRUE(RealsEqual(1000.0, 1000.0 + 1e-9, 1e-11));     // relative: 1e-12
  EXPECT_FALSE(RealsEqual(1.0, 1.0 + 1e-10, 1e-11));
  EXPECT_TRUE(RealsEqual(5e-12, 0.0, 1e-11));                 // both within tol of zero
  EXPECT_FALSE(PointsEqual({1, 1, 1}, {1, 1, 1 + 1e-10}, 1e-11));
  EXPECT_TRUE(PointOnSegment({5, 0, 0}, {0, 0, 0}, {10, 0, 0}, 1e-11));
  EXPECT_FALSE(PointOnSegment({5, 1e-3, 0}, {0, 0, 0}, {10, 0, 0}, 1e-11));
}

TEST(Tolerance, PointEqualityScalesWithMagnitude) {
  EXPECT_TRUE(pointsEqual({1e6, 0, 0}, {1e6 + 1e-5, 0, 0}));
  EXPECT_FALSE(pointsEqual({1, 0, 0}, {1 + 1e-9, 0, 0}));
}

}  // namespace
}  // namespace tarn::geom
