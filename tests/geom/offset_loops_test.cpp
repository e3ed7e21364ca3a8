// Polyline offsets that fold over themselves: the loops are removed, what is
// left lies at the offset distance, and the answer follows the input when it
// is moved, turned or mirrored.
#include <gtest/gtest.h>

#include <cmath>

#include "geom/matrix4.h"
#include "geom/measure.h"
#include "geom/offset.h"
#include "geom/polyline.h"
#include "sample_curves.h"

namespace tarn::geom {
namespace {
using testing::expectNear;

// Two 10 x 10 rooms joined by a corridor 2 wide (counter-clockwise).
Polyline2d dumbbell() {
  return Polyline2d({{0, 0}, {10, 0}, {10, 4}, {14, 4}, {14, 0}, {24, 0}, {24, 10}, {14, 10}, {14, 6}, {10, 6},
                     {10, 10}, {0, 10}},
                    true);
}

// A 10 x 10 square with a slot 1 wide and 7 deep cut into its top.
Polyline2d slotted() {
  return Polyline2d({{0, 0}, {10, 0}, {10, 10}, {5.5, 10}, {5.5, 3}, {4.5, 3}, {4.5, 10}, {0, 10}}, true);
}

// A U whose channel (2 wide) opens into a V at the top.
Polyline2d flaredU() { return Polyline2d({{-5, 20}, {0, 10}, {0, 0}, {2, 0}, {2, 10}, {7, 20}}, false); }

// A comb of bulged teeth: many narrow gaps between rounded teeth.
Polyline2d comb() {
  std::vector<PolyVertex> v = {{0, 0}};
  for (int i = 0; i < 8; ++i) {
    const double x = 3.0 * i;
    v.push_back({x + 1, 0, 0.0});
    v.push_back({x + 1, 5, -0.6});  // a rounded tooth top
    v.push_back({x + 2.2, 5, 0.0});
    v.push_back({x + 2.2, 0, 0.0});
  }
  v.push_back({26, 0});
  return Polyline2d(v, false);
}

double lengthOf(const Curve& c) {
  double l = 0.0;
  EXPECT_EQ(curveLength(c, l), GeomStatus::Ok);
  return l;
}

double areaOf(const Curve& c) {
  double a = 0.0;
  EXPECT_EQ(area(c, a), GeomStatus::Ok);
  return a;
}

// Every probed point of every result lies at the distance from the source
// (exactly for fillet gaps, at least for the other gap types).
void expectAtDistance(const Curve& src, const OffsetResult& r, double d, bool exact) {
  ASSERT_EQ(r.status, GeomStatus::Ok) << statusName(r.status);
  for (const CurvePtr& c : r.curves)
    for (double t : testing::probeParams(*c, 97)) {
      const double got = src.distanceTo(c->pointAt(t));
      if (exact) EXPECT_NEAR(got, d, 1e-9) << t;
      else EXPECT_GE(got, d - 1e-9) << t;
    }
}

TEST(OffsetLoops, CorridorNarrowerThanTwiceTheDistanceSplitsTheRooms) {
  const Polyline2d src = dumbbell();
  const OffsetResult r = offsetSigned(src, 1.5);  // inwards
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 2u);
  for (const CurvePtr& c : r.curves) {
    const auto& pl = static_cast<const Polyline2d&>(*c);
    EXPECT_TRUE(pl.isClosed());
    EXPECT_EQ(pl.vertices().size(), 4u);  // the pieces of each side are one segment again
    EXPECT_NEAR(areaOf(pl), 49.0, 1e-9);  // 7 x 7
  }
  expectAtDistance(src, r, 1.5, false);
  // Narrower than the corridor's half width: one polyline through the corridor.
  const OffsetResult thin = offsetSigned(src, 0.5);
  ASSERT_EQ(thin.curves.size(), 1u);
  EXPECT_NEAR(areaOf(*thin.curves[0]), 81.0 * 2 + 5.0 * 1.0, 1e-9);  // two 9 x 9 rooms and a 5 x 1 corridor
}

TEST(OffsetLoops, SlotNarrowerThanTwiceTheDistanceIsBridged) {
  const Polyline2d src = slotted();
  const OffsetResult r = offsetSigned(src, -1.0);  // outwards
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 1u);
  const auto& pl = static_cast<const Polyline2d&>(*r.curves[0]);
  EXPECT_TRUE(pl.isClosed());
  ASSERT_EQ(pl.vertices().size(), 4u);
  EXPECT_NEAR(areaOf(pl), 144.0, 1e-9);
  expectAtDistance(src, r, 1.0, false);
  // With fillet gaps the corners are quarter circles and every point is at
  // the distance; over the slot the arcs about its two corners meet in a dip.
  OffsetOptions fillet;
  fillet.gap = GapType::Fillet;
  const OffsetResult f = offsetCurve(src, 1.0, {20, 20, 0}, fillet);
  ASSERT_EQ(f.curves.size(), 1u);
  const double underArcs = 2.0 * (std::sqrt(3.0) / 8.0 + kPi / 12.0);  // over the slot, above y = 10
  EXPECT_NEAR(areaOf(*f.curves[0]), 100.0 + 40.0 + kPi - (1.0 - underArcs), 1e-9);
  expectAtDistance(src, f, 1.0, true);
}

TEST(OffsetLoops, PiecesOfAnOpenOffsetAreJoinedAtTheirCrossing) {
  const Polyline2d src = flaredU();
  const OffsetResult r = offsetSigned(src, 3.0);  // into the U
  ASSERT_EQ(r.status, GeomStatus::Ok);
  ASSERT_EQ(r.curves.size(), 1u);
  const auto& pl = static_cast<const Polyline2d&>(*r.curves[0]);
  EXPECT_FALSE(pl.isClosed());
  ASSERT_EQ(pl.vertices().size(), 3u);
  const double s5 = std::sqrt(5.0);
  expectNear(pl.vertexPoint(0), {-5 + 6 / s5, 20 + 3 / s5, 0}, 1e-12);
  expectNear(pl.vertexPoint(1), {1, 8 + 3 * s5, 0}, 1e-12);
  expectNear(pl.vertexPoint(2), {7 - 6 / s5, 20 + 3 / s5, 0}, 1e-12);
  expectAtDistance(src, r, 3.0, true);
}

TEST(OffsetLoops, AChannelNarrowerThanTwiceTheDistanceLeavesNothing) {
  const Polyline2d u({{0, 10}, {0, 0}, {2, 0}, {2, 10}}, false);
  const OffsetResult r = offsetSigned(u, 3.0);
  EXPECT_EQ(r.status, GeomStatus::NegativeRadius);
  EXPECT_TRUE(r.curves.empty());
  EXPECT_EQ(offsetSigned(u, 0.9).curves.size(), 1u);  // narrower than the half width: kept whole
}

TEST(OffsetLoops, BulgedCombKeepsTheDistanceOnBothSidesWithEveryGapType) {
  const Polyline2d src = comb();
  for (GapType gap : {GapType::Extend, GapType::Fillet, GapType::Chamfer})
    for (double sd : {0.8, -0.8, 2.0, -2.0}) {
      OffsetOptions opt;
      opt.gap = gap;
      const OffsetResult r = offsetSigned(src, sd, opt);
      SCOPED_TRACE(::testing::Message() << "gap " << static_cast<int>(gap) << " distance " << sd);
      expectAtDistance(src, r, std::fabs(sd), gap == GapType::Fillet);
      // Whatever is left never crosses itself: pieces join only end to end.
      for (const CurvePtr& c : r.curves) EXPECT_GT(lengthOf(*c), 0.0);
    }
}

// Star-shaped polygons (simple, with many narrow spikes and notches) and
// their open versions, on both sides with every gap type: no point of any
// offset comes nearer than the distance.
TEST(OffsetLoops, StarShapesNeverComeNearerThanTheDistance) {
  uint64_t seed = 12345;
  const auto next = [&seed] {  // uniform in [0, 1), reproducible everywhere
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return double(seed >> 11) / double(1ull << 53);
  };
  int split = 0;
  for (int round = 0; round < 300; ++round) {
    const int n = 3 + round % 25;
    std::vector<PolyVertex> v;
    for (int i = 0; i < n; ++i) {
      const double a = kTwoPi * (i + 0.8 * next()) / n, r = 2.0 + 10.0 * next();
      v.push_back({r * std::cos(a), r * std::sin(a), 0.0});
    }
    const Polyline2d src(v, round % 2 == 1);
    const double d = 0.1 + 1.9 * next();
    OffsetOptions opt;
    opt.gap = static_cast<GapType>(round % 3);
    const OffsetResult r = offsetSigned(src, round % 4 < 2 ? d : -d, opt);
    if (r.status != GeomStatus::Ok) continue;  // nothing left of it
    split += r.curves.size() > 1;
    SCOPED_TRACE(::testing::Message() << "round " << round);
    expectAtDistance(src, r, d, false);
  }
  EXPECT_GT(split, 3);  // some shapes do fall apart into several polylines
}

// The result for a moved, turned or mirrored input is the moved, turned or
// mirrored result: same number of pieces, same lengths, and every point of
// one lies on the other.
void expectFollows(const Polyline2d& src, double d, const Vec3& side, const Matrix4& m) {
  OffsetOptions opt;
  opt.gap = GapType::Fillet;
  const OffsetResult a = offsetCurve(src, d, side, opt);
  const CurvePtr moved = src.transformed(m);
  ASSERT_TRUE(moved);
  const OffsetResult b = offsetCurve(*moved, d, m.transformPoint(side), opt);
  ASSERT_EQ(a.status, GeomStatus::Ok);
  ASSERT_EQ(b.status, GeomStatus::Ok);
  ASSERT_EQ(a.curves.size(), b.curves.size());
  double la = 0.0, lb = 0.0;
  for (const CurvePtr& c : a.curves) la += lengthOf(*c);
  for (const CurvePtr& c : b.curves) lb += lengthOf(*c);
  EXPECT_NEAR(la, lb, 1e-9 * la);
  for (const CurvePtr& c : a.curves) {
    const CurvePtr image = c->transformed(m);
    for (double t : testing::probeParams(*image, 31)) {
      double best = 1e300;
      for (const CurvePtr& other : b.curves) best = std::min(best, other->distanceTo(image->pointAt(t)));
      EXPECT_NEAR(best, 0.0, 1e-8);
    }
  }
}

TEST(OffsetLoops, ResultsFollowMovedTurnedAndMirroredInputs) {
  const Matrix4 maps[] = {Matrix4::translation({1000.5, -250.25, 0}),
                          Matrix4::rotation(0.7, kZAxis, {3, 4, 0}),
                          Matrix4::mirrorLine({0, 0, 0}, {1, 2, 0})};
  for (const Matrix4& m : maps) {
    expectFollows(dumbbell(), 1.5, {5, 5, 0}, m);
    expectFollows(slotted(), 1.0, {20, 20, 0}, m);
    expectFollows(flaredU(), 3.0, {1, 5, 0}, m);
    expectFollows(comb(), 0.8, {5, 10, 0}, m);
  }
}

}  // namespace
}  // namespace tarn::geom
