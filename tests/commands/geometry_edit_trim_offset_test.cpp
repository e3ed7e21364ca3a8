// TRIM and OFFSET typed at the command line and driven by a module with
// the argument sequences of its trim and offset commands (cutting set,
// Enter, object picked with its point, Enter; distance or "_T", object,
// side point, Enter). After each, U restores the written file exactly.
#include "geometry_edit_fixture.h"

#include <cmath>

#include "api/sysvars.h"
#include "editor/editor.h"

namespace {

using tarn::db::Point3;

class GeometryEdit : public GeometryEditTest {
 protected:
  uint32_t made(resbuf* list) {
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    return entities().back();
  }
  FedReply picks(const tc_name ss) { return {{ReplyKind::Picks, {}, {ss[0], ss[1]}, {}}, false}; }
  void setOf(uint32_t id, tc_name ss) {
    tc_name e;
    name(id, e);
    ASSERT_EQ(tcedSSAdd(e, nullptr, ss), RTNORM);
  }
  uint64_t handle(uint32_t id) { return db().object(id).handle; }
  bool said(std::string_view text) { return transcript().find(text) != std::string::npos; }
  std::string before;
};

// ---- TRIM

TEST_F(GeometryEdit, TypedTrimKeepsTheObjectAndUndoRestoresTheFile) {
  line(5, -5, 5, 5);
  uint32_t target = line(0, 0, 10, 0);
  before = dxf();
  EXPECT_EQ(typed("TRIM", "5,3\n\n8,0\n\n"), RTNORM) << transcript();
  ASSERT_FALSE(db().isErased(target));
  EXPECT_EQ(points(target, 11)[0], (Point3{5, 0, 0}));
  EXPECT_EQ(entities("LINE").size(), 2u);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(GeometryEdit, ModuleTrimsEachCrossingObjectWithTheCuttingSet) {
  uint32_t edge = line(5, -5, 5, 5);
  std::vector<uint32_t> targets = {line(0, 0, 10, 0), line(0, 1, 10, 1), line(0, 2, 10, 2)};
  tc_name ss;
  setOf(edge, ss);
  before = dxf();
  asModule([&] {
    for (int i = 0; i < 2; ++i)  // picks as (entity point)
      session.editor().feedCommands({text("_.Trim"), picks(ss), text(""), pick(targets[i], 8, i), text("")});
    double q[3] = {8, 2, 0};  // a pick by point
    tcedCommand(RTSTR, "_.Trim", RTPICKS, ss, RTSTR, "", RTPOINT, q, RTSTR, "", RTNONE);
  });
  tcedSSFree(ss);
  for (uint32_t t : targets) EXPECT_NEAR(points(t, 11)[0].x, 5, 1e-12) << transcript();
  EXPECT_EQ(points(edge, 10)[0], (Point3{5, -5, 0}));  // the edge stays
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(GeometryEdit, EnterMakesEveryObjectACuttingEdgeAndAMiddlePartSplitsTheObject) {
  line(2, -5, 2, 5);
  line(8, -5, 8, 5);
  uint32_t target = line(0, 0, 10, 0);
  typed("TRIM", "\n5,0\n\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 4u) << transcript();
  EXPECT_EQ(points(target, 11)[0], (Point3{2, 0, 0}));
  EXPECT_EQ(points(lines[3], 10)[0], (Point3{8, 0, 0}));
  EXPECT_NE(handle(lines[3]), handle(target));
}

TEST_F(GeometryEdit, EdgeModeDecidesWhetherAShortEdgeCuts) {
  line(5, 1, 5, 5);
  uint32_t target = line(0, 0, 10, 0);
  typed("TRIM", "5,3\n\n8,0\n\n");
  EXPECT_TRUE(said("Object does not intersect an edge."));
  EXPECT_EQ(points(target, 11)[0], (Point3{10, 0, 0}));
  typed("TRIM", "5,3\n\nE\nE\n8,0\n\n");
  EXPECT_EQ(points(target, 11)[0], (Point3{5, 0, 0})) << transcript();
  tarn::host::SysVarValue v;
  ASSERT_TRUE(tarn::host::getSysVar("EDGEMODE", v));
  EXPECT_EQ(v.number, 1);
}

TEST_F(GeometryEdit, ConstructionLineTrimsIntoARayAndTheRayTrimsAgain) {
  double base[3] = {0, 0, 0}, dir[3] = {1, 0, 0};
  uint32_t xline = made(tcutBuildList(RTDXF0, "XLINE", 10, base, 11, dir, RTNONE));
  line(5, -5, 5, 5);
  line(-5, -5, -5, 5);
  before = dxf();
  asModule([&] { session.editor().feedCommands({text("_.TRIM"), text(""), pick(xline, 8, 0), text("")}); });
  ASSERT_TRUE(db().isErased(xline)) << transcript();
  auto rays = entities("RAY");
  ASSERT_EQ(rays.size(), 1u);
  EXPECT_EQ(points(rays[0], 10)[0], (Point3{5, 0, 0}));
  asModule([&] { session.editor().feedCommands({text("_.TRIM"), text(""), pick(rays[0], -8, 0), text("")}); });
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 3u) << transcript();
  EXPECT_EQ(points(lines[2], 10)[0], (Point3{5, 0, 0}));
  EXPECT_EQ(points(lines[2], 11)[0], (Point3{-5, 0, 0}));
  undo();
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(GeometryEdit, CircleCutTwiceBecomesAnArc) {
  double c[3] = {0, 0, 0};
  uint32_t circle = made(tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 5.0, RTNONE));
  line(-10, 0, 10, 0);
  typed("TRIM", "-8,0\n\n0,5\n\n");
  ASSERT_TRUE(db().isErased(circle)) << transcript();
  auto arcs = entities("ARC");
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_NEAR(real(arcs[0], 50), 180, 1e-9);
  EXPECT_NEAR(std::fmod(real(arcs[0], 51), 360), 0, 1e-9);
}

TEST_F(GeometryEdit, UndoOptionTakesBackTheLastTrimOnly) {
  line(3, -5, 3, 5);
  line(6, -5, 6, 5);
  uint32_t target = line(0, 0, 10, 0);
  typed("TRIM", "3,3\n6,3\n\n8,0\n1,0\nU\n\n");
  EXPECT_EQ(points(target, 10)[0], (Point3{0, 0, 0})) << transcript();
  EXPECT_EQ(points(target, 11)[0], (Point3{6, 0, 0}));
  typed("TRIM", "\nU\n\n");
  EXPECT_TRUE(said("Nothing to undo."));
}

TEST_F(GeometryEdit, ObjectsOnLockedLayersAreNotTrimmed) {
  line(5, -5, 5, 5);
  uint32_t target = line(0, 0, 10, 0, "KEEP");
  typed("-LAYER", "LO\nKEEP\n\n");
  typed("TRIM", "\n8,0\n\n");
  EXPECT_TRUE(said("The object is on a locked layer."));
  EXPECT_EQ(points(target, 11)[0], (Point3{10, 0, 0}));
}

TEST_F(GeometryEdit, FenceTrimsEveryObjectItCrosses) {
  line(5, -5, 5, 5);
  uint32_t a = line(0, 0, 10, 0), b = line(0, 2, 10, 2);
  typed("TRIM", "\nF\n8,-1\n8,3\n\n\n");
  EXPECT_EQ(points(a, 11)[0], (Point3{5, 0, 0})) << transcript();
  EXPECT_EQ(points(b, 11)[0], (Point3{5, 2, 0}));
}

TEST_F(GeometryEdit, PicksFindObjectsAfterUndoEraseAndMove) {
  line(5, -5, 5, 5);
  uint32_t target = line(0, 0, 10, 0);
  line(0, 20, 1, 20);
  typed("TRIM", "5,3\n\n8,0\n\n");
  undo();  // the trimmed part is back: picks must see it again
  typed("ERASE", "0.5,20\n\n");
  typed("TRIM", "5,3\n\n8,0\n\n");
  EXPECT_EQ(points(target, 11)[0], (Point3{5, 0, 0})) << transcript();
  typed("MOVE", "2,0\n\n0,0\n0,10\n");
  line(3, 5, 3, 15);
  typed("TRIM", "\n1,10\n\n");  // the moved line is found where it now lies
  EXPECT_EQ(points(target, 10)[0], (Point3{3, 10, 0})) << transcript();
  EXPECT_FALSE(said("No object found at that point."));
}

// ---- OFFSET

TEST_F(GeometryEdit, TypedOffsetCopiesBesideTheSourceOnItsLayer) {
  uint32_t source = line(0, 0, 10, 0, "PARTS");
  before = dxf();
  typed("OFFSET", "2\n5,0\n5,1\n\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 2u) << transcript();
  EXPECT_EQ(points(lines[1], 10)[0], (Point3{0, 2, 0}));
  EXPECT_EQ(tarn::db::findString(db(), lines[1], 8), "PARTS");
  EXPECT_NE(handle(lines[1]), handle(source));
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(GeometryEdit, ModuleOffsetByDistanceNameAndSidePointMakesTheLastEntity) {
  double c[3] = {0, 0, 0};
  uint32_t circle = made(tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 5.0, RTNONE));
  tc_name e, last;
  name(circle, e);
  asModule([&] { tcedCommand(RTSTR, "_.OFFSET", RTREAL, 0.25, RTENAME, e, RTPOINT, c, RTSTR, "", RTNONE); });
  tcdbEntLast(last);
  EXPECT_NE(last[1], e[1]);
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  EXPECT_NEAR(real(circles[1], 40), 4.75, 1e-12);
  tarn::host::SysVarValue v;
  ASSERT_TRUE(tarn::host::getSysVar("OFFSETDIST", v));
  EXPECT_EQ(v.number, 0.25);
}

TEST_F(GeometryEdit, ThroughModeFromAModulePassesThroughThePoint) {
  double c[3] = {0, 0, 0}, through[3] = {0, 8, 0};
  uint32_t circle = made(tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 5.0, RTNONE));
  tc_name e;
  name(circle, e);
  before = dxf();
  asModule([&] { tcedCommand(RTSTR, "_.Offset", RTSTR, "_T", RTENAME, e, RTPOINT, through, RTSTR, "", RTNONE); });
  auto circles = entities("CIRCLE");
  ASSERT_EQ(circles.size(), 2u) << transcript();
  EXPECT_NEAR(real(circles[1], 40), 8, 1e-12);
  typed("OFFSET", "\n\n");
  EXPECT_TRUE(said("[Through] <Through>"));
  undo();
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(GeometryEdit, GapTypeDecidesHowPolylineCornersAreClosed) {
  double p[4][3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
  uint32_t square = made(tcutBuildList(RTDXF0, "LWPOLYLINE", 100, "AcDbEntity", 100, "AcDbPolyline", 90, 4, 70, 1,
                                       10, p[0], 10, p[1], 10, p[2], 10, p[3], RTNONE));
  tc_name e;
  name(square, e);
  double outside[3] = {20, 20, 0};
  for (short gap : {0, 1}) {
    asModule([&] {
      tcedCommand(RTSTR, "_.OFFSETGAPTYPE", RTSHORT, gap, RTNONE);
      tcedCommand(RTSTR, "_.Offset", RTREAL, 1.0, RTENAME, e, RTPOINT, outside, RTSTR, "", RTNONE);
    });
    uint32_t copy = entities("LWPOLYLINE").back();
    ASSERT_NE(copy, square) << transcript();
    bool rounded = tarn::db::findTag(db(), copy, 42).has_value();
    EXPECT_EQ(rounded, gap == 1);
    if (gap == 0) {
      EXPECT_EQ(points(copy, 10)[0], (Point3{-1, -1, 0}));
    }
  }
}

TEST_F(GeometryEdit, OffsetRefusesObjectsWithoutACurveAndGoesOn) {
  typed("TEXT", "0,0\n2\n0\nABC\n");
  uint32_t l = line(0, 10, 10, 10);
  tc_name t, e;
  name(entities("TEXT")[0], t);
  name(l, e);
  double side[3] = {5, 20, 0};
  asModule([&] {
    tcedCommand(RTSTR, "_.OFFSET", RTREAL, 1.0, RTENAME, t, RTENAME, e, RTPOINT, side, RTSTR, "", RTNONE);
  });
  EXPECT_TRUE(said("Cannot offset that object."));
  EXPECT_EQ(entities("LINE").size(), 2u);
}

}  // namespace
