// Drawing and inquiry commands typed the way a user or a script types them:
// the objects they make, what they print, and U taking each back exactly.
#include <cmath>
#include <numbers>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "geom/coord_system.h"

namespace {

using tarn::db::Point3;

class DrawCommands : public CommandTest {};

TEST_F(DrawCommands, LineDrawsSegmentsClosesAndUndoesOneSegment) {
  EXPECT_EQ(typed("LINE", "0,0\n10,0\n10,10\n20,20\nU\nC\n"), RTNORM);
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 3u) << transcript();
  EXPECT_EQ(points(lines[1], 11)[0], (Point3{10, 10, 0}));
  EXPECT_EQ(points(lines[2], 10)[0], (Point3{10, 10, 0}));  // Close runs back to the first point
  EXPECT_EQ(points(lines[2], 11)[0], (Point3{0, 0, 0}));
}

TEST_F(DrawCommands, RelativeAndPolarPointsChainFromTheLastPoint) {
  typed("_.LINE", "1,1\n@4,0\n@2<90\n\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 2u);
  Point3 end = points(lines[1], 11)[0];
  EXPECT_NEAR(end.x, 5, 1e-9);
  EXPECT_NEAR(end.y, 3, 1e-9);
}

TEST_F(DrawCommands, PlineWithATangentArcHasTheBulgeOfAHalfCircle) {
  EXPECT_EQ(typed("PLINE", "0,0\n10,0\nA\n10,10\nL\n0,10\n\n"), RTNORM);
  auto plines = entities("LWPOLYLINE");
  ASSERT_EQ(plines.size(), 1u) << transcript();
  std::vector<double> bulges;
  for (tarn::db::TagCursor c = db().tags(plines[0]); !c.done(); c.next())
    if (c.code() == 42) bulges.push_back(c.real());
  ASSERT_EQ(bulges.size(), 1u);
  EXPECT_NEAR(bulges[0], 1.0, 1e-12);  // a half circle turning left
  EXPECT_EQ(points(plines[0], 10).size(), 4u);
}

TEST_F(DrawCommands, PlineArcByIncludedAngleAndClose) {
  typed("PLINE", "0,0\nA\nA\n90\n10,0\nL\n10,10\nC\n");
  auto plines = entities("LWPOLYLINE");
  ASSERT_EQ(plines.size(), 1u) << transcript();
  EXPECT_NEAR(real(plines[0], 42), std::tan(std::numbers::pi / 8), 1e-12);
  EXPECT_EQ(real(plines[0], 70), 1);
}

TEST_F(DrawCommands, CircleByCentreAndRadiusAndByDiameterEnds) {
  typed("CIRCLE", "5,5\n2.5\n");
  typed("CIRCLE", "2P\n0,0\n4,0\n");
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  EXPECT_EQ(real(circles[0], 40), 2.5);
  EXPECT_EQ(points(circles[1], 10)[0], (Point3{2, 0, 0}));
  EXPECT_EQ(real(circles[1], 40), 2);
}

TEST_F(DrawCommands, ArcThroughThreePointsRunsCounterClockwiseThroughTheMiddlePoint) {
  typed("ARC", "0,0\n5,5\n10,0\n");  // clockwise as given
  typed("ARC", "10,0\n5,-5\n0,0\n");  // the same circle, below
  auto arcs = entities("ARC");
  ASSERT_EQ(arcs.size(), 2u) << transcript();
  EXPECT_NEAR(points(arcs[0], 10)[0].x, 5, 1e-12);
  EXPECT_NEAR(real(arcs[0], 50), 0, 1e-9);
  EXPECT_NEAR(real(arcs[0], 51), 180, 1e-9);
  EXPECT_NEAR(std::fmod(real(arcs[1], 50) + 360, 360), 180, 1e-9);
  EXPECT_NEAR(real(arcs[1], 51), 0, 1e-9);
}

TEST_F(DrawCommands, CollinearArcPointsAreRefusedWithAMessage) {
  EXPECT_EQ(typed("ARC", "0,0\n5,0\n10,0\n"), RTERROR);
  EXPECT_TRUE(entities("ARC").empty());
  EXPECT_NE(transcript().find("collinear"), std::string::npos);
}

TEST_F(DrawCommands, TextTakesSpacesAndRemembersItsHeight) {
  typed("TEXT", "1,2\n5\n30\nHello big world\n");
  auto texts = entities("TEXT");
  ASSERT_EQ(texts.size(), 1u) << transcript();
  EXPECT_EQ(tarn::db::findString(db(), texts[0], 1), "Hello big world");
  EXPECT_EQ(real(texts[0], 40), 5);
  EXPECT_NEAR(real(texts[0], 50), 30, 1e-9);
  typed("TEXT", "0,0\n\n\nAgain\n");  // Enter keeps the height
  EXPECT_EQ(real(entities("TEXT")[1], 40), 5);
}

TEST_F(DrawCommands, NewObjectsGoOnTheCurrentLayer) {
  typed("-LAYER", "M\nWALLS\n\n");
  typed("POINT", "3,4\n");
  auto pts = entities("POINT");
  ASSERT_EQ(pts.size(), 1u);
  EXPECT_EQ(tarn::db::findString(db(), pts[0], 8), "WALLS");
}

TEST_F(DrawCommands, IdAndDistReportInTheCurrentUnits) {
  typed("ID", "3,4,5\n");
  EXPECT_NE(transcript().find("X = 3.0000     Y = 4.0000     Z = 5.0000"), std::string::npos) << transcript();
  typed("DIST", "0,0\n3,4\n");
  EXPECT_NE(transcript().find("Distance = 5.0000"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Angle in XY Plane = 53.1301"), std::string::npos);
}

TEST_F(DrawCommands, ListShowsTypeLayerAndGroups) {
  makeLine(0, 0, 7, 0, "PIPES");
  tc_name e;
  name(entities("LINE")[0], e);
  ASSERT_EQ(tcedCommand(RTSTR, "_.LIST", RTENAME, e, RTSTR, "", RTNONE), RTNORM);
  EXPECT_NE(transcript().find("LINE  Layer: \"PIPES\""), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("(11 . 7.0000 0.0000 0.0000)"), std::string::npos);
}

TEST_F(DrawCommands, CircleThroughThreePointsAndRefusedWhenTheyAreInLine) {
  typed("CIRCLE", "3P\n0,0\n10,0\n0,10\n");
  double p[3][3] = {{20, 0, 0}, {24, 4, 0}, {20, 8, 0}};
  ASSERT_EQ(tcedCommand(RTSTR, "_.CIRCLE", RTSTR, "_3P", RTPOINT, p[0], RTPOINT, p[1], RTPOINT, p[2], RTNONE), RTNORM);
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  EXPECT_NEAR(points(circles[0], 10)[0].x, 5, 1e-12);
  EXPECT_NEAR(points(circles[0], 10)[0].y, 5, 1e-12);
  EXPECT_NEAR(real(circles[0], 40), std::sqrt(50.0), 1e-12);
  EXPECT_NEAR(points(circles[1], 10)[0].y, 4, 1e-12);
  EXPECT_NEAR(real(circles[1], 40), 4, 1e-12);
  EXPECT_EQ(typed("CIRCLE", "3P\n0,0\n1,1\n2,2\n"), RTERROR);
  EXPECT_NE(transcript().find("Points are collinear: no circle."), std::string::npos);
  EXPECT_EQ(entities("CIRCLE").size(), 2u);
}

// Tangent to two objects: of the solutions, the one touching nearest the picks.
TEST_F(DrawCommands, CircleTangentToTwoObjectsFollowsThePicks) {
  makeLine(-20, 0, 20, 0);
  makeLine(0, -20, 0, 20);
  std::string lines = dxf();
  typed("CIRCLE", "T\n10,0\n0,10\n3\n");   // above right
  ASSERT_EQ(entities("CIRCLE").size(), 1u) << transcript();
  undo();
  EXPECT_EQ(dxf(), lines);
  typed("CIRCLE", "T\n10,0\n0,10\n3\n");
  typed("CIRCLE", "TTR\n-10,0\n0,-10\n3\n");  // below left
  auto c = entities("CIRCLE");
  ASSERT_EQ(c.size(), 2u) << transcript();
  EXPECT_NEAR(points(c[0], 10)[0].x, 3, 1e-9);
  EXPECT_NEAR(points(c[0], 10)[0].y, 3, 1e-9);
  EXPECT_NEAR(points(c[1], 10)[0].x, -3, 1e-9);
  EXPECT_NEAR(points(c[1], 10)[0].y, -3, 1e-9);
  // Two circles of radius 2, ten apart: radius 4 touches both from outside.
  typed("CIRCLE", "50,0\n2\n");
  typed("CIRCLE", "60,0\n2\n");
  double a[3] = {50, -2, 0}, b[3] = {60, -2, 0};
  ASSERT_EQ(tcedCommand(RTSTR, "_.CIRCLE", RTSTR, "_TTR", RTPOINT, a, RTPOINT, b, RTREAL, 4.0, RTNONE), RTNORM);
  c = entities("CIRCLE");
  ASSERT_EQ(c.size(), 5u) << transcript();
  EXPECT_NEAR(points(c[4], 10)[0].x, 55, 1e-9);
  EXPECT_NEAR(points(c[4], 10)[0].y, -std::sqrt(11.0), 1e-9);
  EXPECT_EQ(real(c[4], 40), 4);
}

TEST_F(DrawCommands, TangentCircleThatCannotExistIsReported) {
  makeLine(0, 0, 10, 0);
  makeLine(0, 10, 10, 10);
  EXPECT_EQ(typed("CIRCLE", "T\n5,0\n5,10\n2\n"), RTERROR);
  EXPECT_NE(transcript().find("Circle does not exist."), std::string::npos) << transcript();
  EXPECT_TRUE(entities("CIRCLE").empty());
}

// Objects drawn in a tilted UCS lie in its plane: their extrusion is its Z
// axis, and their object-system groups name the same world points the user
// gave in UCS coordinates.
class TiltedUcs : public CommandTest {
 protected:
  void SetUp() override {
    typed("UCS", "10,20,30\n");
    typed("UCS", "X\n90\n");   // now Y is world Z, Z is world -Y
    typed("UCS", "Z\n30\n");   // and X turned in that plane
    tarn::host::SysVarValue v;
    tarn::host::getSysVar("UCSXDIR", v);
    x = {v.point.x, v.point.y, v.point.z};
    tarn::host::getSysVar("UCSYDIR", v);
    y = {v.point.x, v.point.y, v.point.z};
  }
  tarn::geom::Vec3 world(double ux, double uy) { return tarn::geom::Vec3{10, 20, 30} + x * ux + y * uy; }
  tarn::geom::Vec3 normal(uint32_t id) {
    auto p = points(id, 210);
    EXPECT_EQ(p.size(), 1u);
    return p.empty() ? tarn::geom::Vec3{} : tarn::geom::Vec3{p[0].x, p[0].y, p[0].z};
  }
  tarn::geom::Vec3 fromOcs(uint32_t id, Point3 p) {
    return tarn::geom::ocsToWorld(normal(id)).transformPoint({p.x, p.y, p.z});
  }
  void expectSame(tarn::geom::Vec3 a, tarn::geom::Vec3 b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-9) << what;
    EXPECT_NEAR(a.y, b.y, 1e-9) << what;
    EXPECT_NEAR(a.z, b.z, 1e-9) << what;
  }
  tarn::geom::Vec3 x, y;
};

TEST_F(TiltedUcs, CircleArcAndTextGetTheExtrusionAndObjectCoordinates) {
  typed("CIRCLE", "3,4\n5\n");
  typed("ARC", "C\n0,0\n2,0\n0,2\n");
  typed("TEXT", "1,1\n2\n0\ntilted\n");
  uint32_t circle = entities("CIRCLE")[0], arc = entities("ARC")[0], text = entities("TEXT")[0];
  expectSame(normal(circle), {0, -1, 0}, "extrusion");
  expectSame(fromOcs(circle, points(circle, 10)[0]), world(3, 4), "circle centre");
  // The arc starts on the UCS X axis and ends on its Y axis.
  tarn::geom::OcsAxes ocs = tarn::geom::ocsAxes(normal(arc));
  double s = real(arc, 50) * std::numbers::pi / 180, e = real(arc, 51) * std::numbers::pi / 180;
  tarn::geom::Vec3 centre = fromOcs(arc, points(arc, 10)[0]);
  expectSame(centre + (ocs.x * std::cos(s) + ocs.y * std::sin(s)) * 2, world(2, 0), "arc start");
  expectSame(centre + (ocs.x * std::cos(e) + ocs.y * std::sin(e)) * 2, world(0, 2), "arc end");
  // The text runs along the UCS X axis.
  double r = real(text, 50) * std::numbers::pi / 180;
  expectSame(ocs.x * std::cos(r) + ocs.y * std::sin(r), x, "text direction");
  expectSame(fromOcs(text, points(text, 10)[0]), world(1, 1), "text position");
}

TEST_F(TiltedUcs, LinePointAndPolylineLieInTheUcsPlane) {
  typed("LINE", "0,0\n4,0\n\n");
  typed("POINT", "1,2\n");
  typed("PLINE", "0,0\n5,0\nA\n5,5\n\n");
  uint32_t line = entities("LINE")[0], point = entities("POINT")[0], pline = entities("LWPOLYLINE")[0];
  expectSame(normal(line), {0, -1, 0}, "line extrusion");
  Point3 end = points(line, 11)[0];
  expectSame({end.x, end.y, end.z}, world(4, 0), "line end in world coordinates");
  expectSame(normal(point), {0, -1, 0}, "point extrusion");
  auto v = points(pline, 10);
  ASSERT_EQ(v.size(), 3u);
  double elevation = real(pline, 38);
  expectSame(fromOcs(pline, {v[1].x, v[1].y, elevation}), world(5, 0), "second vertex");
  expectSame(fromOcs(pline, {v[2].x, v[2].y, elevation}), world(5, 5), "third vertex");
  EXPECT_NEAR(real(pline, 42), 1, 1e-12) << "a half circle turning left in the UCS";
}

TEST_F(TiltedUcs, ObjectUcsOfATiltedCircleIsItsPlaneAndUndoRestoresTheFile) {
  std::string before = dxf();
  typed("CIRCLE", "3,4\n5\n");
  tc_name e;
  name(entities("CIRCLE")[0], e);
  typed("UCS", "W\n");
  tcedCommand(RTSTR, "_.UCS", RTSTR, "_E", RTENAME, e, RTNONE);
  tarn::host::SysVarValue v;
  tarn::host::getSysVar("UCSORG", v);
  expectSame({v.point.x, v.point.y, v.point.z}, world(3, 4), "origin at the centre");
  typed("CIRCLE", "0,0\n1\n");  // drawn in the circle's own plane: the same extrusion
  expectSame(normal(entities("CIRCLE")[1]), {0, -1, 0}, "same plane");
  for (int i = 0; i < 4; ++i) undo();  // CIRCLE, UCS, UCS, CIRCLE
  EXPECT_EQ(dxf(), before);
}

TEST_F(DrawCommands, ArcAndTextInAUcsTurnedAboutZKeepTheirAnglesFromWorldX) {
  typed("UCS", "Z\n90\n");
  typed("TEXT", "0,0\n1\n0\nup\n");
  typed("ARC", "C\n0,0\n1,0\n0,1\n");
  EXPECT_NEAR(real(entities("TEXT")[0], 50), 90, 1e-9);
  EXPECT_NEAR(real(entities("ARC")[0], 50), 90, 1e-9);
  EXPECT_NEAR(real(entities("ARC")[0], 51), 180, 1e-9);
  EXPECT_TRUE(points(entities("ARC")[0], 210).empty()) << "no extrusion while Z is the world's";
}

// Each drawing command, then U: the file has the same bytes as before.
struct DrawCase {
  const char* command;
  const char* replies;
};

class DrawThenUndo : public CommandTest, public testing::WithParamInterface<DrawCase> {};

TEST_P(DrawThenUndo, RestoresTheFileExactly) {
  makeLine(0, 0, 1, 1);
  std::string before = dxf();
  EXPECT_EQ(typed(GetParam().command, GetParam().replies), RTNORM) << transcript();
  ASSERT_NE(dxf(), before) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DrawThenUndo,
    testing::Values(DrawCase{"LINE", "0,0\n5,5\n9,0\n\n"}, DrawCase{"PLINE", "0,0\n5,0\nA\n5,5\n\n"},
                    DrawCase{"CIRCLE", "0,0\n3\n"},
                    DrawCase{"_CIRCLE", "_3P\n0,0\n1,0\n0,1\n"},
                    DrawCase{"ARC", "0,0\n1,1\n2,0\n"}, DrawCase{"POINT", "1,1\n"},
                    DrawCase{"TEXT", "0,0\n2\n0\nsome text\n"}, DrawCase{"ORTHO", "ON\n"},
                    DrawCase{"-LAYER", "N\nA,B\nC\n3\nA\n\n"}),
    [](const testing::TestParamInfo<DrawCase>& p) {
      std::string n = p.param.command;
      std::erase_if(n, [](char c) { return c == '-' || c == '_' || c == '.'; });
      return n + std::to_string(p.index);
    });

}  // namespace
