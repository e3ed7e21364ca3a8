// AREA as the area-sum command drives it ("_E" and an object, then AREA
// read) and as typed with points: the report and the AREA variable.
#include <cmath>
#include <numbers>

#include <tarnsdk/tcutapi.h>

#include "api/sysvars.h"
#include "command_fixture.h"

namespace {

double areaVar() {
  tarn::host::SysVarValue v;
  EXPECT_TRUE(tarn::host::getSysVar("AREA", v));
  return v.number;
}

class AreaCommand : public CommandTest {
 protected:
  double areaOf(uint32_t id) {
    tc_name e;
    name(id, e);
    double area = -1;
    asModule([&] {
      tcedCommand(RTSTR, "_.AREA", RTSTR, "_E", RTENAME, e, RTNONE);
      area = areaVar();
    });
    return area;
  }
};

TEST_F(AreaCommand, CircleReportsItsCircumference) {
  typed("CIRCLE", "0,0\n5\n");
  EXPECT_NEAR(areaOf(entities("CIRCLE")[0]), 25 * std::numbers::pi, 1e-9);
  EXPECT_NE(transcript().find("Area = 78.5398, Circumference = 31.4159"), std::string::npos) << transcript();
}

TEST_F(AreaCommand, SummingOverObjectsAsTheAreaSumCommandDoes) {
  typed("PLINE", "0,0\n10,0\n10,5\n0,5\nC\n");
  typed("PLINE", "20,0\n24,0\nA\n24,4\n\n");  // open: closed by its chord for the area
  typed("CIRCLE", "50,50\n1\n");
  double total = 0;
  for (uint32_t id : entities()) total += areaOf(id);
  // The open one: the triangle under its chord and a half circle of radius 2.
  double open = 8 + 2 * std::numbers::pi;
  EXPECT_NEAR(total, 50 + open + std::numbers::pi, 1e-9);
  EXPECT_NE(transcript().find("Area = 50.0000, Perimeter = 30.0000"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find(", Length = "), std::string::npos);
}

TEST_F(AreaCommand, ObjectWithoutAreaSetsZeroSoASumDoesNotCountTheLastOneAgain) {
  typed("CIRCLE", "0,0\n1\n");
  makeLine(0, 0, 5, 5);
  areaOf(entities("CIRCLE")[0]);
  EXPECT_EQ(areaOf(entities("LINE")[0]), 0);
  EXPECT_NE(transcript().find("Selected object does not have an area."), std::string::npos);
}

TEST_F(AreaCommand, PointsInTheUcsMakeAPolygon) {
  typed("UCS", "100,100\n");
  EXPECT_EQ(typed("AREA", "0,0\n10,0\n10,10\n\n"), RTNORM);
  EXPECT_NEAR(areaVar(), 50, 1e-9);
  EXPECT_NE(transcript().find("Area = 50.0000, Perimeter = 34.1421"), std::string::npos) << transcript();
}

TEST_F(AreaCommand, TypedObjectPickLeavesTheFileAlone) {
  typed("CIRCLE", "0,0\n2\n");
  std::string before = dxf();
  EXPECT_EQ(typed("AREA", "O\n2,0\n"), RTNORM);
  EXPECT_NEAR(areaVar(), 4 * std::numbers::pi, 1e-9);
  EXPECT_EQ(typed("AREA", "\n2,0\n"), RTNORM);  // Enter: an object
  EXPECT_EQ(dxf(), before);
}

}  // namespace
