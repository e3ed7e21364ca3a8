// Drawing and inquiry commands typed the way a user or a script types them:
// the objects they make, what they print, and U taking each back exactly.
#include <cmath>
#include <numbers>

#include "command_fixture.h"

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
                    DrawCase{"CIRCLE", "0,0\n3\n"}, DrawCase{"ARC", "0,0\n1,1\n2,0\n"}, DrawCase{"POINT", "1,1\n"},
                    DrawCase{"TEXT", "0,0\n2\n0\nsome text\n"}, DrawCase{"ORTHO", "ON\n"},
                    DrawCase{"-LAYER", "N\nA,B\nC\n3\nA\n\n"}),
    [](const testing::TestParamInfo<DrawCase>& p) {
      std::string n = p.param.command;
      std::erase(n, '-');
      return n;
    });

}  // namespace
