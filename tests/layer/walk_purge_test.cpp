// LAYWALK's purge: only layers that nothing holds or refers to go; layer
// "0", "DEFPOINTS", the current layer, layers with objects anywhere (block
// definitions and attributes included) and layers named by viewport
// freezes, extended data, external references or other objects stay.
#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "walk_helpers.h"

namespace {

class LayerWalkPurge : public LayerWalkTest {
 protected:
  void SetUp() override {
    LayerWalkTest::SetUp();
    for (const char* name : {"DEFPOINTS", "Current", "InBlock", "InAttribute", "ViewportFrozen", "InXdata",
                             "ByHandle", "Unused1", "Unused2"})
      makeLayer(name);
    makeLayer("Base|Walls", 16 | 32);
    makeCurrent("Current");
    makeBlockWithLineOn("InBlock");
    makeInsertWithAttributeOn("InAttribute");
    makeViewportFreezing("ViewportFrozen");
    makeLineWithXdataNaming("InXdata");
    makeXrecordPointingAt("ByHandle");
  }

  static void make(resbuf* list) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
  }
  static void layerName(const char* layer, tc_name name) {
    ASSERT_EQ(tcdbTblObjName("LAYER", layer, name), RTNORM) << layer;
  }

  void makeBlockWithLineOn(const char* layer) {
    double o[3] = {0, 0, 0}, a[3] = {0, 0, 0}, b[3] = {1, 1, 0};
    make(tcutBuildList(RTDXF0, "BLOCK", 2, "PART", 70, 0, 10, o, 8, "0", RTNONE));
    make(tcutBuildList(RTDXF0, "LINE", 8, layer, 10, a, 11, b, RTNONE));
    make(tcutBuildList(RTDXF0, "ENDBLK", 8, "0", RTNONE));
  }
  void makeInsertWithAttributeOn(const char* layer) {
    double o[3] = {0, 0, 0}, at[3] = {50, 50, 0};
    make(tcutBuildList(RTDXF0, "BLOCK", 2, "TAGGED", 70, 2, 10, o, 8, "0", RTNONE));
    make(tcutBuildList(RTDXF0, "ATTDEF", 8, "0", 10, o, 40, 1.0, 1, "", 3, "Tag?", 2, "TAG", 70, 0, RTNONE));
    make(tcutBuildList(RTDXF0, "ENDBLK", 8, "0", RTNONE));
    make(tcutBuildList(RTDXF0, "INSERT", 8, "0", 2, "TAGGED", 10, at, 66, 1, RTNONE));
    make(tcutBuildList(RTDXF0, "ATTRIB", 8, layer, 10, at, 40, 1.0, 1, "X", 2, "TAG", 70, 0, RTNONE));
    make(tcutBuildList(RTDXF0, "SEQEND", 8, "0", RTNONE));
  }
  void makeViewportFreezing(const char* layer) {
    double centre[3] = {100, 100, 0};
    tc_name frozen = {0, 0};
    layerName(layer, frozen);
    make(tcutBuildList(RTDXF0, "VIEWPORT", 8, "0", 67, 1, 10, centre, 40, 80.0, 41, 60.0, 69, 2, 331, frozen,
                       RTNONE));
  }
  void makeLineWithXdataNaming(const char* layer) {
    ASSERT_EQ(tcdbRegApp("WALKTEST"), RTNORM);
    double a[3] = {0, 20, 0}, b[3] = {5, 20, 0};
    make(tcutBuildList(RTDXF0, "LINE", 8, "0", 10, a, 11, b, -3, 1001, "WALKTEST", 1003, layer, RTNONE));
  }
  void makeXrecordPointingAt(const char* layer) {
    tc_name target = {0, 0}, made = {0, 0};
    layerName(layer, target);
    resbuf* list = tcutBuildList(RTDXF0, "XRECORD", 100, "AcDbXrecord", 340, target, RTNONE);
    EXPECT_EQ(tcdbEntMakeX(list, made), RTNORM);
    tcutRelRb(list);
  }

  void expectOnlyUnusedLayersPurged() {
    for (const char* name : {"0", "DEFPOINTS", "Current", "InBlock", "InAttribute", "ViewportFrozen", "InXdata",
                             "ByHandle", "Base|Walls"})
      EXPECT_TRUE(layerExists(name)) << name;
    EXPECT_FALSE(layerExists("Unused1"));
    EXPECT_FALSE(layerExists("Unused2"));
    EXPECT_NE(transcript().find("2 layer(s) purged."), std::string::npos) << transcript();
  }
};

TEST_F(LayerWalkPurge, PurgingEveryLayerRemovesOnlyTheUnusedOnes) {
  walk("click 2316\nclick 2303\nclose\n");
  expectOnlyUnusedLayersPurged();
  EXPECT_EQ(currentLayer(), "Current");
}

TEST_F(LayerWalkPurge, SelectUnusedSelectsExactlyThePurgeableLayers) {
  walk("click 2319\nclick 2303\nclose\n");
  expectOnlyUnusedLayersPurged();
}

TEST_F(LayerWalkPurge, PurgeIsDisabledWhenOnlyProtectedLayersAreSelected) {
  run("LAYWALK", "select 2305 \"0\" \"DEFPOINTS\" \"Current\" \"InBlock\"\nclick 2303\nclose\n");
  EXPECT_NE(transcript().find("Control 2303 (button) is disabled."), std::string::npos) << transcript();
  EXPECT_TRUE(layerExists("InBlock"));
}

TEST_F(LayerWalkPurge, PurgedLayersLeaveTheListAndTheRestoreAndTheFile) {
  const std::string before = layerTableDxf();
  walk("select 2305 \"Unused1\"\nclick 2303\nclick 2316\nclose\n");
  EXPECT_FALSE(layerExists("Unused1"));
  EXPECT_EQ(transcript().find("No matching layer"), std::string::npos) << "the restore does not name it";
  const std::string after = layerTableDxf();
  EXPECT_EQ(after.find("Unused1"), std::string::npos);
  EXPECT_NE(after.find("Unused2"), std::string::npos);
}

}  // namespace
