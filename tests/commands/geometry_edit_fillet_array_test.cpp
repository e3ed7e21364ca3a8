// FILLET and ARRAY typed and driven by a module: the joining sequence
// ("FILLETRAD" "0" "TRIMMODE" "1" "_FILLET" and two picks with their
// points), the three-dimensional array's "_.ARRAY" sequences (rectangular
// with one or two distances, polar with rotation "_Yes" or "_No"), arrays in
// a turned UCS, and U after each.
#include "geometry_edit_fixture.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "api/sysvars.h"
#include "editor/editor.h"
#include "editor/host_files.h"
#include "platform/registry.h"

namespace {

using tarn::db::Point3;

class FilletArray : public GeometryEditTest {
 protected:
  uint32_t circle(double x, double y, double r) {
    double c[3] = {x, y, 0};
    resbuf* list = tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, r, RTNONE);
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    return entities().back();
  }
  void everything(tc_name ss) { ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, nullptr, ss), RTNORM); }
  void expectNear(Point3 a, Point3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
  }
  bool said(std::string_view text) { return transcript().find(text) != std::string::npos; }
  std::string before;
};

// ---- FILLET

TEST_F(FilletArray, JoiningSequenceBringsTwoLinesToTheirCorner) {
  uint32_t a = line(0, 0, 4, 0), b = line(5, 1, 5, 5);
  tcedCommand(RTSTR, "FILLETRAD", RTREAL, 2.0, RTSTR, "TRIMMODE", RTSHORT, 0, RTNONE);
  before = dxf();
  asModule([&] {
    session.editor().feedCommands({text("FILLETRAD"), text("0"), text("TRIMMODE"), text("1"), text("_FILLET"),
                                   pick(a, 2, 0), pick(b, 5, 3)});
  });
  expectNear(points(a, 11)[0], {5, 0, 0});
  expectNear(points(b, 10)[0], {5, 0, 0});
  expectNear(points(b, 11)[0], {5, 5, 0});
  EXPECT_TRUE(entities("ARC").empty()) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(FilletArray, TypedRadiusJoinsTwoLinesWithATangentArc) {
  uint32_t a = line(0, 0, 10, 0), b = line(10, 0, 10, 10);
  typed("FILLET", "R\n2\n5,0\n10,5\n");
  auto arcs = entities("ARC");
  ASSERT_EQ(arcs.size(), 1u) << transcript();
  expectNear(points(arcs[0], 10)[0], {8, 2, 0});
  EXPECT_NEAR(real(arcs[0], 40), 2, 1e-9);
  expectNear(points(a, 11)[0], {8, 0, 0});
  expectNear(points(b, 10)[0], {10, 2, 0});
  tarn::host::SysVarValue v;
  ASSERT_TRUE(tarn::host::getSysVar("FILLETRAD", v));
  EXPECT_EQ(v.number, 2);
}

TEST_F(FilletArray, NoTrimModeAddsTheArcAndLeavesTheLines) {
  uint32_t a = line(0, 0, 10, 0), b = line(10, 0, 10, 10);
  typed("FILLET", "T\nN\nR\n2\n5,0\n10,5\n");
  EXPECT_EQ(entities("ARC").size(), 1u) << transcript();
  expectNear(points(a, 11)[0], {10, 0, 0});
  expectNear(points(b, 10)[0], {10, 0, 0});
}

TEST_F(FilletArray, ParallelLinesAndTheSameObjectTwiceAreRefused) {
  line(0, 0, 10, 0);
  line(0, 5, 10, 5);
  std::string start = dxf();
  typed("FILLET", "5,0\n5,5\n");
  typed("FILLET", "5,0\n2,0\n");
  EXPECT_TRUE(said("The objects are parallel: no fillet."));
  EXPECT_TRUE(said("Cannot fillet an object with itself."));
  EXPECT_EQ(dxf(), start);
}

TEST_F(FilletArray, MultipleFilletsWithUndoOfTheLast) {
  uint32_t a = line(0, 0, 4, 0), b = line(5, 1, 5, 5), c = line(0, 6, 4, 6);
  typed("FILLET", "M\n2,0\n5,3\n2,6\n5,4\nU\n\n");
  expectNear(points(a, 11)[0], {5, 0, 0});
  expectNear(points(c, 11)[0], {4, 6, 0});  // taken back
  expectNear(points(b, 10)[0], {5, 0, 0});
}

// ---- ARRAY

TEST_F(FilletArray, RectangularSequenceWithRowAndColumnDistances) {
  uint32_t source = circle(0, 0, 1);
  tc_name ss;
  everything(ss);
  before = dxf();
  asModule([&] {
    tcedCommand(RTSTR, "_.ARRAY", RTPICKS, ss, RTSTR, "", RTSTR, "_R", RTSHORT, 2, RTSHORT, 3, RTREAL, 10.0, RTREAL,
                20.0, RTNONE);
  });
  tcedSSFree(ss);
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 6u) << transcript();
  std::vector<Point3> centres;
  for (uint32_t c : circles) centres.push_back(points(c, 10)[0]);
  for (Point3 want : {Point3{20, 0, 0}, Point3{40, 0, 0}, Point3{0, 10, 0}, Point3{40, 10, 0}})
    EXPECT_NE(std::find(centres.begin(), centres.end(), want), centres.end()) << want.x << "," << want.y;
  EXPECT_NE(db().object(circles[1]).handle, db().object(source).handle);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(FilletArray, RowsOnlyTakeASingleDistance) {
  circle(0, 0, 1);
  tc_name ss;
  everything(ss);
  asModule([&] {
    tcedCommand(RTSTR, "_.ARRAY", RTPICKS, ss, RTSTR, "", RTSTR, "_R", RTSHORT, 2, RTSHORT, 1, RTREAL, 10.0, RTNONE);
  });
  tcedSSFree(ss);
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  expectNear(points(circles[1], 10)[0], {0, 10, 0});
}

TEST_F(FilletArray, ATurnedUcsTurnsTheArray) {
  line(0, 0, 1, 0);
  tarn::host::setSysVarInternal("UCSXDIR", tarn::host::pointValue({0, 1, 0}));
  tarn::host::setSysVarInternal("UCSYDIR", tarn::host::pointValue({-1, 0, 0}));
  typed("ARRAY", "ALL\n\nR\n2\n2\n5\n3\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 4u) << transcript();
  // Columns run along the UCS X axis (world Y), rows along its Y axis (world -X).
  expectNear(points(lines[1], 10)[0], {0, 3, 0});
  expectNear(points(lines[2], 10)[0], {-5, 0, 0});
  expectNear(points(lines[3], 10)[0], {-5, 3, 0});
}

TEST_F(FilletArray, PolarSequenceTurnsTheItemsOrOnlyMovesThem) {
  uint32_t source = line(10, 0, 12, 0);
  tc_name ss;
  everything(ss);
  double centre[3] = {0, 0, 0};
  asModule([&] {
    tcedCommand(RTSTR, "_.ARRAY", RTPICKS, ss, RTSTR, "", RTSTR, "_P", RT3DPOINT, centre, RTSHORT, 4, RTREAL, 360.0,
                RTSTR, "_Yes", RTNONE);
  });
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 4u) << transcript();
  expectNear(points(lines[1], 10)[0], {0, 10, 0});
  expectNear(points(lines[1], 11)[0], {0, 12, 0});
  expectNear(points(lines[3], 11)[0], {0, -12, 0});
  undo();
  tc_name one;
  name(source, one);
  asModule([&] {
    tcedCommand(RTSTR, "_.ARRAY", RTENAME, one, RTSTR, "", RTSTR, "_P", RT3DPOINT, centre, RTSHORT, 3, RTREAL, 180.0,
                RTSTR, "_No", RTNONE);
  });
  tcedSSFree(ss);
  lines = entities("LINE");
  ASSERT_EQ(lines.size(), 3u) << transcript();
  expectNear(points(lines[1], 10)[0], {0, 10, 0});  // moved, not turned
  expectNear(points(lines[1], 11)[0], {2, 10, 0});
  expectNear(points(lines[2], 10)[0], {-10, 0, 0});
}

TEST_F(FilletArray, ArraysLargerThanMaxArrayAreRefused) {
  // The host environment of this test lives in a folder of its own.
  namespace fs = std::filesystem;
  fs::path dir = fs::path(testing::TempDir()) / ("array-maxarray-" + std::to_string(getpid()));
  fs::create_directories(dir);
  auto store = std::make_unique<tarn::platform::RegistryStore>(dir / "config");
  tarn::editor::setEnvironmentRegistry(store.get());
  circle(0, 0, 1);
  ASSERT_EQ(tcedSetEnv("MaxArray", "3"), RTNORM);
  typed("ARRAY", "ALL\n\nR\n2\n2\n1\n1\n");
  ASSERT_EQ(tcedSetEnv("MaxArray", "4"), RTNORM);
  typed("ARRAY", "ALL\n\nR\n2\n2\n1\n1\n");
  tarn::editor::setEnvironmentRegistry(nullptr);
  store.reset();
  fs::remove_all(dir);
  EXPECT_EQ(entities("CIRCLE").size(), 4u);
  EXPECT_TRUE(said("larger than the limit of 3 (MaxArray)")) << transcript();
}

}  // namespace
