// EXPLODE typed and issued by a module with a selection set and nothing
// after it: polylines and block references replaced by their parts,
// refused objects reported and kept, and a dimension that comes out of a
// block reference given a geometry block of its own. U restores the file.
#include "command_fixture.h"

namespace {

using tarn::db::Point3;

class Explode : public CommandTest {
 protected:
  void make(resbuf* list) {
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
  }
  uint32_t polyline() {
    double p[3][3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    make(tcutBuildList(RTDXF0, "LWPOLYLINE", 8, "WALLS", 100, "AcDbEntity", 100, "AcDbPolyline", 90, 3, 70, 0, 10,
                       p[0], 10, p[1], 42, 1.0, 10, p[2], RTNONE));
    return entities().back();
  }
  // Block "PART": a line and a circle around its base point.
  void definePart() {
    double o[3] = {0, 0, 0}, a[3] = {1, 0, 0}, c[3] = {0, 1, 0};
    make(tcutBuildList(RTDXF0, "BLOCK", 2, "PART", 70, 0, 10, o, RTNONE));
    make(tcutBuildList(RTDXF0, "LINE", 8, "0", 10, o, 11, a, RTNONE));
    make(tcutBuildList(RTDXF0, "CIRCLE", 8, "0", 10, c, 40, 0.5, RTNONE));
    make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  }
  uint32_t insert(const char* block, double x, double y, double scale) {
    double at[3] = {x, y, 0};
    make(tcutBuildList(RTDXF0, "INSERT", 8, "PARTS", 2, block, 10, at, 41, scale, 42, scale, 43, scale, RTNONE));
    return entities().back();
  }
  bool said(std::string_view text) { return transcript().find(text) != std::string::npos; }
};

TEST_F(Explode, ModuleSelectionSetAloneExplodesThePolyline) {
  uint32_t pl = polyline();
  std::string before = dxf();
  tc_name ss;
  tc_name e;
  name(pl, e);
  ASSERT_EQ(tcedSSAdd(e, nullptr, ss), RTNORM);
  int rc = RTERROR;
  asModule([&] { rc = tcedCommand(RTSTR, "_.EXPLODE", RTPICKS, ss, RTNONE); });
  tcedSSFree(ss);
  EXPECT_EQ(rc, RTNORM);
  EXPECT_TRUE(db().isErased(pl)) << transcript();
  auto lines = entities("LINE"), arcs = entities("ARC");
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(tarn::db::findString(db(), lines[0], 8), "WALLS");
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(Explode, TypedExplodeOfAScaledBlockReferencePlacesItsEntities) {
  definePart();
  uint32_t ref = insert("PART", 10, 10, 2);
  std::string before = dxf();
  typed("EXPLODE", "ALL\n\n");
  EXPECT_TRUE(db().isErased(ref)) << transcript();
  auto lines = entities("LINE"), circles = entities("CIRCLE");
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(points(lines[0], 11)[0], (Point3{12, 10, 0}));
  EXPECT_EQ(points(circles[0], 10)[0], (Point3{10, 12, 0}));
  EXPECT_EQ(real(circles[0], 40), 1);
  EXPECT_NE(db().object(lines[0]).handle, db().object(ref).handle);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(Explode, RefusedObjectsAreReportedAndKept) {
  makeLine(0, 0, 5, 5);
  uint32_t line = entities().back();
  uint32_t pl = polyline();
  typed("EXPLODE", "ALL\n\n");
  EXPECT_FALSE(db().isErased(line));
  EXPECT_TRUE(db().isErased(pl));
  EXPECT_TRUE(said("is not an object that can be exploded")) << transcript();
  EXPECT_TRUE(said("1 object could not be exploded."));
}

TEST_F(Explode, DimensionFromABlockReferenceGetsItsOwnGeometryBlock) {
  double o[3] = {0, 0, 0}, a[3] = {4, 0, 0}, text[3] = {2, 1, 0};
  make(tcutBuildList(RTDXF0, "BLOCK", 2, "*D", 70, 1, 10, o, RTNONE));
  make(tcutBuildList(RTDXF0, "LINE", 8, "0", 10, o, 11, a, RTNONE));
  make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  std::string geometryBlock(tarn::db::findString(db(), db().blocks().back().begin, 2));
  make(tcutBuildList(RTDXF0, "BLOCK", 2, "WITHDIM", 70, 0, 10, o, RTNONE));
  make(tcutBuildList(RTDXF0, "DIMENSION", 8, "0", 2, geometryBlock.c_str(), 10, a, 11, text, 70, 0, 13, o, 14, a,
                     RTNONE));
  make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  insert("WITHDIM", 100, 0, 1);
  std::string before = dxf();
  typed("EXPLODE", "ALL\n\n");
  auto dims = entities("DIMENSION");
  ASSERT_EQ(dims.size(), 1u) << transcript();
  std::string own(tarn::db::findString(db(), dims[0], 2));
  EXPECT_NE(own, geometryBlock);
  EXPECT_EQ(own.rfind("*D", 0), 0u);
  uint32_t block = db().findBlock(own);
  ASSERT_NE(block, tarn::db::kNoObject);
  ASSERT_EQ(db().blocks()[block].entities.size(), 1u);
  EXPECT_EQ(points(db().blocks()[block].entities[0], 11)[0], (Point3{104, 0, 0}));
  // The old definition still shows the old place for whoever else names it.
  uint32_t old = db().findBlock(geometryBlock);
  EXPECT_EQ(points(db().blocks()[old].entities[0], 11)[0], (Point3{4, 0, 0}));
  undo();
  EXPECT_EQ(dxf(), before);
}

}  // namespace
