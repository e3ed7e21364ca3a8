// UCS driven the way the module's commands drive it (text fitting, block
// rescaling, polar arrays, plan views) and the way a user types it: the
// header variables, the UCS table and the history afterwards, and U taking
// every change back to the same file.
#include <array>
#include <cmath>
#include <numbers>

#include <tarnsdk/tcedgeom.h>

#include "api/sysvars.h"
#include "command_fixture.h"

namespace {

using tarn::db::Point3;

Point3 pointVar(const char* name) {
  tarn::host::SysVarValue v;
  EXPECT_TRUE(tarn::host::getSysVar(name, v)) << name;
  return v.point;
}

std::string textVar(const char* name) {
  tarn::host::SysVarValue v;
  EXPECT_TRUE(tarn::host::getSysVar(name, v)) << name;
  return v.text;
}

void expectNear(Point3 a, Point3 b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-9) << what;
  EXPECT_NEAR(a.y, b.y, 1e-9) << what;
  EXPECT_NEAR(a.z, b.z, 1e-9) << what;
}

class UcsCommand : public CommandTest {
 protected:
  // The view is the session's: start each test from the same one.
  void SetUp() override {
    tarn::host::setSysVarInternal("VIEWCTR", tarn::host::pointValue({210, 148.5, 0}));
    tarn::host::setSysVarInternal("VIEWSIZE", tarn::host::realValue(297));
    tarn::host::setSysVarInternal("VIEWDIR", tarn::host::pointValue({0, 0, 1}));
  }
  size_t ucsRecords() {
    size_t n = 0;
    for (uint32_t id : db().table("UCS")->records) n += db().isErased(id) ? 0 : 1;
    return n;
  }
  void expectWorld() {
    expectNear(pointVar("UCSORG"), {0, 0, 0}, "origin");
    expectNear(pointVar("UCSXDIR"), {1, 0, 0}, "x");
    expectNear(pointVar("UCSYDIR"), {0, 1, 0}, "y");
  }
};

TEST_F(UcsCommand, TextFitSequenceAlignsToTheTextAndLeavesNoSavedUcsBehind) {
  typed("TEXT", "10,5\n2\n30\nfit me\n");
  std::string before = dxf();
  tc_name text;
  name(entities("TEXT")[0], text);
  const char* saved = "_TARNCAD_EXTEND_TEXTFIT_SAVED_UCS_0702";
  asModule([&] {
    ASSERT_EQ(textVar("UCSNAME"), "");
    ASSERT_EQ(tcedCommand(RTSTR, "_.UCS", RTSTR, "_S", RTSTR, saved, RTNONE), RTNORM);
    EXPECT_EQ(textVar("UCSNAME"), saved);
    ASSERT_EQ(tcedCommand(RTSTR, "_.UCS", RTSTR, "_E", RTENAME, text, RTNONE), RTNORM);
    expectNear(pointVar("UCSORG"), {10, 5, 0}, "origin at the insertion point");
    expectNear(pointVar("UCSXDIR"), {std::cos(std::numbers::pi / 6), std::sin(std::numbers::pi / 6), 0}, "x along the text");
    EXPECT_EQ(textVar("UCSNAME"), "");
    // A distance from the aligned origin is measured along the text.
    double out[3];
    resbuf from{}, to{};
    from.restype = to.restype = RTSHORT;
    from.resval.rint = 1;
    to.resval.rint = 0;
    double along[3] = {4, 0, 0};
    ASSERT_EQ(tcedTrans(along, &from, &to, 0, out), RTNORM);
    EXPECT_NEAR(out[0], 10 + 4 * std::cos(std::numbers::pi / 6), 1e-9);
    tcedCommand(RTSTR, "_.UCS", RTSTR, "_R", RTSTR, saved, RTNONE);
    tcedCommand(RTSTR, "_.UCS", RTSTR, "_D", RTSTR, saved, RTNONE);
  });
  expectWorld();
  EXPECT_EQ(textVar("UCSNAME"), "");
  EXPECT_EQ(ucsRecords(), 0u);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(UcsCommand, NamedUcsIsSavedAsATableRecordRestoredListedAndReplacedOnlyWhenConfirmed) {
  typed("UCS", "5,6,7\n");
  typed("UCS", "Z\n90\n");
  typed("UCS", "S\nPLANT\n");
  ASSERT_EQ(ucsRecords(), 1u);
  uint32_t rec = db().findRecord("UCS", "PLANT");
  EXPECT_EQ(points(rec, 10)[0], (Point3{5, 6, 7}));
  expectNear(points(rec, 11)[0], {0, 1, 0}, "record x axis");
  expectNear(points(rec, 12)[0], {-1, 0, 0}, "record y axis");
  typed("UCS", "W\n");
  expectWorld();
  EXPECT_EQ(textVar("UCSNAME"), "");
  ASSERT_EQ(tcedCommand(RTSTR, "_.UCS", RTSTR, "_R", RTSTR, "plant", RTNONE), RTNORM);
  EXPECT_EQ(textVar("UCSNAME"), "PLANT");
  expectNear(pointVar("UCSORG"), {5, 6, 7}, "restored origin");
  expectNear(pointVar("UCSXDIR"), {0, 1, 0}, "restored x");
  // The list the plan-view command asks for.
  tcedCommand(RTSTR, "_.UCS", RTSTR, "_?", RTSTR, "_*", RTSTR, "", RTNONE);
  EXPECT_NE(transcript().find("UCS name: PLANT"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Origin = <5.0000,6.0000,7.0000>"), std::string::npos);
  // Saving over it asks; "No" keeps the old record, "Yes" replaces it.
  typed("UCS", "W\n");
  typed("UCS", "S\nPLANT\nN\n");
  EXPECT_EQ(points(rec, 10)[0], (Point3{5, 6, 7}));
  typed("UCS", "S\nPLANT\nY\n");
  EXPECT_EQ(points(rec, 10)[0], (Point3{0, 0, 0}));
  EXPECT_EQ(ucsRecords(), 1u);
}

TEST_F(UcsCommand, ScriptSavesMovesAndRestores) {
  script("UCS 4,4 UCS S CORNER\nUCS W\nCIRCLE 0,0 1\nUCS R CORNER\nCIRCLE 0,0 1\n");
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  EXPECT_EQ(points(circles[0], 10)[0], (Point3{0, 0, 0}));
  EXPECT_EQ(points(circles[1], 10)[0], (Point3{4, 4, 0}));  // drawn at the restored origin
  EXPECT_EQ(textVar("UCSNAME"), "CORNER");
  script("UCS D CORNER\n");
  EXPECT_EQ(textVar("UCSNAME"), "") << "the current UCS stays, unnamed";
  expectNear(pointVar("UCSORG"), {4, 4, 0}, "origin kept");
}

TEST_F(UcsCommand, UnknownNamesAndBadNamesAreRefusedWithAMessage) {
  EXPECT_EQ(typed("UCS", "R\nNOSUCH\n"), RTERROR);
  EXPECT_NE(transcript().find("Cannot find UCS NOSUCH"), std::string::npos);
  typed("UCS", "S\nA*B\nGOOD\n");
  EXPECT_NE(transcript().find("Invalid UCS name \"A*B\""), std::string::npos);
  EXPECT_NE(db().findRecord("UCS", "GOOD"), tarn::db::kNoObject);
}

TEST_F(UcsCommand, ZAxisOfThePolarArrayThenPreviousGoesBack) {
  double centre[3] = {10, 0, 0}, tip[3] = {10, 5, 0};
  asModule([&] {
    ASSERT_EQ(tcedCommand(RTSTR, "_.UCS", RTSTR, "_ZAXIS", RT3DPOINT, centre, RT3DPOINT, tip, RTNONE), RTNORM);
  });
  expectNear(pointVar("UCSORG"), {10, 0, 0}, "origin at the centre");
  Point3 x = pointVar("UCSXDIR"), y = pointVar("UCSYDIR");
  // Z = X x Y runs towards the tip; the axes are square and of unit length.
  Point3 z{x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x};
  expectNear(z, {0, 1, 0}, "z towards the tip");
  EXPECT_NEAR(x.x * y.x + x.y * y.y + x.z * y.z, 0, 1e-12);
  tcedCommand(RTSTR, "_.UCS", RTSTR, "_P", RTNONE);
  expectWorld();
}

TEST_F(UcsCommand, PreviousKeepsTenUcssPerDrawing) {
  for (int i = 1; i <= 12; ++i) typed("UCS", "1,0\n");  // typed in the UCS: each moves one further
  for (int i = 0; i < 10; ++i) EXPECT_EQ(typed("UCS", "P\n"), RTNORM);
  expectNear(pointVar("UCSORG"), {2, 0, 0}, "ten steps back");
  EXPECT_EQ(typed("UCS", "P\n"), RTERROR);
  EXPECT_NE(transcript().find("No previous UCS saved."), std::string::npos);
}

TEST_F(UcsCommand, ObjectUcsOfLinesCirclesAndPolylines) {
  makeLine(2, 2, 2, 12);
  tc_name e;
  name(entities("LINE")[0], e);
  tcedCommand(RTSTR, "_.UCS", RTSTR, "_OB", RTENAME, e, RTNONE);
  expectNear(pointVar("UCSORG"), {2, 2, 0}, "line start");
  expectNear(pointVar("UCSXDIR"), {0, 1, 0}, "along the line");
  typed("UCS", "W\n");
  typed("UCS", "OB\n2,11\n");  // picked near the far end: that end is the origin
  expectNear(pointVar("UCSORG"), {2, 12, 0}, "nearest end");
  expectNear(pointVar("UCSXDIR"), {0, -1, 0}, "back along the line");
  typed("UCS", "W\n");
  typed("PLINE", "20,0\n20,10\n30,10\n\n");
  name(entities("LWPOLYLINE")[0], e);
  tcedCommand(RTSTR, "_.UCS", RTSTR, "_E", RTENAME, e, RTNONE);
  expectNear(pointVar("UCSORG"), {20, 0, 0}, "first vertex");
  expectNear(pointVar("UCSXDIR"), {0, 1, 0}, "towards the second");
}

TEST_F(UcsCommand, RotationAboutXTiltsThePlaneAndTheViewStaysWhereItWas) {
  tcedCommand(RTSTR, "_.ZOOM", RTSTR, "_C", RTPOINT, std::array<double, 3>{30, 40, 0}.data(), RTREAL, 50.0, RTNONE);
  typed("UCS", "X\n90\n");
  expectNear(pointVar("UCSYDIR"), {0, 0, 1}, "y up");
  // The view centre and direction, kept in UCS terms, still name the same place.
  expectNear(pointVar("VIEWCTR"), {30, 0, -40}, "centre in the new UCS");
  expectNear(pointVar("VIEWDIR"), {0, 1, 0}, "world Z seen from the new UCS");
  typed("UCS", "\n");  // Enter: world
  expectNear(pointVar("VIEWCTR"), {30, 40, 0}, "centre back in world terms");
}

class UcsThenUndo : public CommandTest, public testing::WithParamInterface<const char*> {};

TEST_P(UcsThenUndo, RestoresTheFileExactly) {
  typed("UCS", "S\nKEEP\n");
  typed("TEXT", "1,1\n2\n0\nx\n");
  std::string before = dxf();
  EXPECT_EQ(typed("UCS", GetParam()), RTNORM) << transcript();
  ASSERT_NE(dxf(), before) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

INSTANTIATE_TEST_SUITE_P(Options, UcsThenUndo,
                         testing::Values("3,4\n", "ZA\n0,0\n1,1,1\n", "3\n1,1\n2,2\n1,3\n", "Y\n45\n",
                                         "S\nNEWNAME\n", "D\nKEEP\n", "OB\n1,1\n"));

}  // namespace
