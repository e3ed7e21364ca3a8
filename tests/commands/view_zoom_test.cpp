// ZOOM and PLAN as the module's commands drive them (text explode, plot-file
// import, plan views) and as typed: VIEWCTR, VIEWSIZE and VIEWDIR after each,
// and the view history.
#include <cmath>

#include "api/sysvars.h"
#include "command_fixture.h"

namespace {

using tarn::db::Point3;
namespace host = tarn::host;

Point3 pointVar(const char* name) {
  host::SysVarValue v;
  EXPECT_TRUE(host::getSysVar(name, v)) << name;
  return v.point;
}

double realVar(const char* name) {
  host::SysVarValue v;
  EXPECT_TRUE(host::getSysVar(name, v)) << name;
  return v.number;
}

class ViewCommands : public CommandTest {
 protected:
  // The view is the session's: start each test from the same one.
  void SetUp() override {
    host::setSysVarInternal("SCREENSIZE", host::pointValue({1024, 768, 0}));
    host::setSysVarInternal("VIEWCTR", host::pointValue({210, 148.5, 0}));
    host::setSysVarInternal("VIEWSIZE", host::realValue(297));
    host::setSysVarInternal("VIEWDIR", host::pointValue({0, 0, 1}));
  }
  void expectView(Point3 centre, double height) {
    Point3 c = pointVar("VIEWCTR");
    EXPECT_NEAR(c.x, centre.x, 1e-9);
    EXPECT_NEAR(c.y, centre.y, 1e-9);
    EXPECT_NEAR(realVar("VIEWSIZE"), height, 1e-9);
  }
};

TEST_F(ViewCommands, ExtentsFitTheDrawingToTheScreensProportions) {
  makeLine(0, 0, 100, 50);
  makeLine(20, 10, 30, 0);
  asModule([] { ASSERT_EQ(tcedCommand(RTSTR, "_.zoom", RTSTR, "_e", RTNONE), RTNORM); });
  // 100 wide on a 4:3 screen needs a height of 75; the drawing is 50 high.
  expectView({50, 25, 0}, 75);
  makeLine(0, 0, 10, 200);
  typed("ZOOM", "E\n");
  expectView({50, 100, 0}, 200);
}

TEST_F(ViewCommands, ExtentsOfAnEmptyDrawingShowTheLimitsAndAllAddsThem) {
  typed("ZOOM", "E\n");
  expectView({210, 148.5, 0}, 315);
  makeLine(-100, 0, 0, 0);
  typed("ZOOM", "A\n");  // the limits (0,0)-(420,297) and the line: 520 wide
  expectView({160, 148.5, 0}, 390);
}

TEST_F(ViewCommands, CentreAndHeightAsThePlanCommandGivesThemAndByMagnification) {
  double centre[3] = {12, 34, 0};
  asModule([&] { tcedCommand(RTSTR, "_.Zoom", RTSTR, "_C", RTPOINT, centre, RTREAL, 40.0, RTNONE); });
  expectView({12, 34, 0}, 40);
  typed("ZOOM", "C\n0,0\n2x\n");
  expectView({0, 0, 0}, 20);
  typed("ZOOM", "4X\n");  // a scale of the current view keeps its centre
  expectView({0, 0, 0}, 5);
  typed("ZOOM", "C\n1,1\nbad\n\n");  // a wrong answer is asked again; Enter keeps the height
  EXPECT_NE(transcript().find("Requires a distance, numberX, or option keyword."), std::string::npos);
  expectView({1, 1, 0}, 5);
}

TEST_F(ViewCommands, ObjectsWindowAndPreviousAsTheTextExplodeSequenceUsesThem) {
  makeLine(0, 0, 40, 30);
  makeLine(500, 500, 600, 600);
  typed("ZOOM", "C\n7,7\n70\n");
  tc_name e;
  name(entities("LINE")[0], e);
  asModule([&] {
    tcedCommand(RTSTR, "_.ucs", RTSTR, "_w", RTNONE);
    tcedCommand(RTSTR, "_.zoom", RTSTR, "_o", RTENAME, e, RTSTR, "", RTNONE);
    expectView({20, 15, 0}, 30);
    tcedCommand(RTSTR, "_.zoom", RTSTR, "_P", RTNONE);
    tcedCommand(RTSTR, "_.ucs", RTSTR, "_P", RTNONE);
  });
  expectView({7, 7, 0}, 70);
  typed("ZOOM", "0,0\n40,10\n");  // a window: 40 wide on a 4:3 screen
  expectView({20, 5, 0}, 30);
  typed("ZOOM", "P\n");
  typed("ZOOM", "P\n");
  expectView({210, 148.5, 0}, 297);
  EXPECT_EQ(typed("ZOOM", "P\n"), RTERROR);
  EXPECT_NE(transcript().find("No previous view saved."), std::string::npos);
}

TEST_F(ViewCommands, ViewCentreIsKeptInUcsTerms) {
  typed("UCS", "100,50\n");
  typed("ZOOM", "C\n0,0\n10\n");
  expectView({0, 0, 0}, 10);
  typed("UCS", "W\n");
  expectView({100, 50, 0}, 10);
}

TEST_F(ViewCommands, PlanLooksDownTheChosenZAxisAndShowsTheExtents) {
  makeLine(0, 0, 10, 0);
  typed("UCS", "X\n90\n");
  typed("UCS", "S\nFRONT\n");
  typed("UCS", "W\n");
  asModule([] { tcedCommand(RTSTR, "_.PLAN", RTSTR, "_U", RTSTR, "FRONT", RTNONE); });
  Point3 dir = pointVar("VIEWDIR");
  EXPECT_NEAR(dir.y, -1, 1e-12);  // the FRONT UCS's Z is world -Y
  EXPECT_NEAR(realVar("VIEWSIZE"), 7.5, 1e-9);  // 10 wide, seen from the front
  asModule([] { tcedCommand(RTSTR, "_.PLAN", RTSTR, "_W", RTNONE); });
  dir = pointVar("VIEWDIR");
  EXPECT_NEAR(dir.z, 1, 1e-12);
  typed("UCS", "R\nFRONT\n");
  asModule([] { tcedCommand(RTSTR, "_.PLAN", RTSTR, "", RTNONE); });  // Enter: the current UCS
  dir = pointVar("VIEWDIR");
  EXPECT_NEAR(dir.z, 1, 1e-12);
  EXPECT_EQ(typed("PLAN", "U\nNOSUCH\n"), RTERROR);
  EXPECT_NE(transcript().find("Cannot find UCS NOSUCH"), std::string::npos);
}

TEST_F(ViewCommands, ViewCommandsLeaveTheDrawingFileAlone) {
  makeLine(0, 0, 10, 10);
  std::string before = dxf();
  typed("ZOOM", "E\n");
  typed("ZOOM", "C\n3,3\n2x\n");
  typed("PLAN", "W\n");
  EXPECT_EQ(dxf(), before);
  undo();
  EXPECT_EQ(dxf(), before);
}

}  // namespace
