// Curves of entities: each curve type read from an entity made through the
// entity lists, and curves written back as groups make the same curve again.
#include <cmath>

#include "entgeom/entity_curve.h"
#include "entgeom_fixture.h"
#include "geom/circular_curves.h"
#include "geom/ellipse.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"
#include "geom/spline.h"

namespace tarn::entgeom::test {
namespace {

using geom::Vec3;

double kA[3] = {1, 2, 0};
double kB[3] = {7, 5, 0};
double kZ[3] = {0, 0, 1};
double kDown[3] = {0, 0, -1};

struct CurveCase {
  const char* name;
  resbuf* (*build)();
  geom::CurveKind kind;
  Vec3 start, end;  // world end points (start == end for closed curves)
  double length;
};

resbuf* lineList() { return tcutBuildList(RTDXF0, "LINE", 10, kA, 11, kB, RTNONE); }
resbuf* arcList() { return tcutBuildList(RTDXF0, "ARC", 10, kA, 40, 2.0, 50, deg(0.0), 51, deg(90.0), RTNONE); }
// An arc about -Z: its object X axis is world -X, so angle 0 lies left of the centre.
resbuf* flippedArcList() {
  return tcutBuildList(RTDXF0, "ARC", 10, kA, 40, 2.0, 50, deg(0.0), 51, deg(90.0), 210, kDown, RTNONE);
}
resbuf* circleList() { return tcutBuildList(RTDXF0, "CIRCLE", 10, kA, 40, 3.0, RTNONE); }
resbuf* ellipseList() {
  double major[3] = {4, 0, 0};
  return tcutBuildList(RTDXF0, "ELLIPSE", 10, kA, 11, major, 40, 0.5, 41, 0.0, 42, geom::kPi, RTNONE);
}
resbuf* lwpolyList() {
  double p0[3] = {0, 0, 0}, p1[3] = {2, 0, 0}, p2[3] = {2, 2, 0};
  return tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 0, 38, 5.0, 10, p0, 10, p1, 42, 1.0, 10, p2, RTNONE);
}
resbuf* splineList() {
  double p0[3] = {0, 0, 0}, p1[3] = {1, 2, 0}, p2[3] = {3, 2, 0}, p3[3] = {4, 0, 0};
  return tcutBuildList(RTDXF0, "SPLINE", 70, 8, 71, 3, 72, 8, 73, 4, 40, 0.0, 40, 0.0, 40, 0.0, 40, 0.0, 40, 1.0,
                       40, 1.0, 40, 1.0, 40, 1.0, 10, p0, 10, p1, 10, p2, 10, p3, RTNONE);
}
resbuf* rayList() { return tcutBuildList(RTDXF0, "RAY", 10, kA, 11, kZ, RTNONE); }

const CurveCase kCurves[] = {
    {"Line", lineList, geom::CurveKind::Line, {1, 2, 0}, {7, 5, 0}, std::hypot(6.0, 3.0)},
    {"Arc", arcList, geom::CurveKind::Arc, {3, 2, 0}, {1, 4, 0}, geom::kPi},
    {"ArcAboutMinusZ", flippedArcList, geom::CurveKind::Arc, {-3, 2, 0}, {-1, 4, 0}, geom::kPi},
    {"Circle", circleList, geom::CurveKind::Circle, {4, 2, 0}, {4, 2, 0}, 6 * geom::kPi},
    {"HalfEllipse", ellipseList, geom::CurveKind::Ellipse, {5, 2, 0}, {-3, 2, 0}, -1},
    {"BulgedPolylineAtElevation", lwpolyList, geom::CurveKind::Polyline2d, {0, 0, 5}, {2, 2, 5}, 2 + geom::kPi},
    {"Spline", splineList, geom::CurveKind::Spline, {0, 0, 0}, {4, 0, 0}, -1},
};

class CurveOfEachType : public DrawingTest, public testing::WithParamInterface<CurveCase> {};

TEST_P(CurveOfEachType, StandsWhereTheGroupsPutIt) {
  const CurveCase& c = GetParam();
  uint32_t id = make(c.build());
  CurvePtr curve;
  ASSERT_EQ(curveOf(db, id, curve), EntStatus::Ok);
  EXPECT_EQ(curve->kind(), c.kind);
  EXPECT_TRUE(geom::pointsEqual(curve->startPoint(), c.start, 1e-9)) << curve->startPoint().x << "," << curve->startPoint().y;
  EXPECT_TRUE(geom::pointsEqual(curve->endPoint(), c.end, 1e-9)) << curve->endPoint().x << "," << curve->endPoint().y;
  if (c.length > 0) {
    EXPECT_NEAR(curve->length(), c.length, 1e-9);
  }
}

TEST_P(CurveOfEachType, WrittenBackMakesTheSameCurve) {
  uint32_t id = make(GetParam().build());
  CurvePtr original = curveOf(db, id);
  ASSERT_TRUE(original);
  CurveGroups groups;
  ASSERT_EQ(curveGroups(*original, groups), EntStatus::Ok);
  db::TagList body = groups.groups;
  uint32_t copy = db.addObject(groups.type, body, db::kEntity);
  CurvePtr again = curveOf(db, copy);
  ASSERT_TRUE(again) << groups.type;
  for (double f : {0.0, 0.3, 0.7, 1.0}) {
    double t0 = original->startParam() + f * (original->endParam() - original->startParam());
    double t1 = again->startParam() + f * (again->endParam() - again->startParam());
    EXPECT_TRUE(geom::pointsEqual(original->pointAt(t0), again->pointAt(t1), 1e-9)) << "at " << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Types, CurveOfEachType, testing::ValuesIn(kCurves),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

using OtherCurves = DrawingTest;

TEST_F(OtherCurves, RayRunsFromItsBaseAlongItsDirection) {
  CurvePtr ray = curveOf(db, make(rayList()));
  ASSERT_TRUE(ray);
  EXPECT_EQ(ray->kind(), geom::CurveKind::Ray);
  EXPECT_TRUE(geom::pointsEqual(ray->pointAt(ray->startParam() + 2), {1, 2, 2}));
}

TEST_F(OtherCurves, PolylineTakesItsVerticesUpToSeqend) {
  double a[3] = {0, 0, 0}, b[3] = {4, 0, 0}, c[3] = {4, 3, 0};
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 1, 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, b, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, c, RTNONE));
  uint32_t id = make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  make(lineList());  // an entity after the polyline does not join it
  CurvePtr curve = curveOf(db, id);
  ASSERT_TRUE(curve);
  EXPECT_TRUE(curve->isClosed());
  EXPECT_NEAR(curve->length(), 12.0, 1e-12);
}

TEST_F(OtherCurves, ThreeDimensionalPolylineKeepsItsHeights) {
  double a[3] = {0, 0, 0}, b[3] = {3, 0, 4};
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 8, 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, a, 70, 32, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, b, 70, 32, RTNONE));
  uint32_t id = make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  CurvePtr curve = curveOf(db, id);
  ASSERT_TRUE(curve);
  EXPECT_EQ(curve->kind(), geom::CurveKind::Polyline3d);
  EXPECT_NEAR(curve->length(), 5.0, 1e-12);
}

using BadCurve = DrawingTest;

TEST_F(BadCurve, NonCurvesAndBrokenDataAnswerAStatusNotACurve) {
  CurvePtr c;
  double p[3] = {0, 0, 0};
  EXPECT_EQ(curveOf(db, make(tcutBuildList(RTDXF0, "POINT", 10, p, RTNONE)), c), EntStatus::NotGeometric);
  EXPECT_EQ(curveOf(db, make(tcutBuildList(RTDXF0, "CIRCLE", 10, p, 40, 0.0, RTNONE)), c), EntStatus::InvalidData);
  EXPECT_EQ(curveOf(db, make(tcutBuildList(RTDXF0, "CIRCLE", 10, p, 40, NAN, RTNONE)), c), EntStatus::InvalidData);
  EXPECT_EQ(curveOf(db, db.objectCount() + 5, c), EntStatus::NotFound);
  EXPECT_EQ(c, nullptr);
}

}  // namespace
}  // namespace tarn::entgeom::test
