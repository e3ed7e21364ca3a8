// LAYMRG run as a user runs it: sources picked and typed, the target typed
// or picked, objects moved everywhere (block definitions, attributes), the
// partially opened drawing, "No" and cancel at the end taking the whole
// merge back with one U, locked targets and sources, wildcard characters
// in names, and cancel at every prompt.
#include "api/sysvars.h"
#include "layer_fixture.h"
#include "merge_helpers.h"

using merge_test::countOf;
using merge_test::dxf;
using merge_test::objectsOn;

class LayMrgTest : public LayerModuleTest {
 protected:
  void makeLayers() {
    makeLayer("A");
    makeLayer("B");
    makeLayer("T");
    makeLayer("Other");
    a = makeLine("A", 0, 0, 10, 0);
    b = makeLine("B", 0, 5, 10, 5);
    makeLine("A", 0, 10, 10, 10);
    makeLine("Other", 0, 15, 10, 15);
  }
  uint32_t a = 0, b = 0;
};

TEST_F(LayMrgTest, MovesTheObjectsAndErasesTheSourceRecords) {
  makeLayers();
  run("LAYMRG", pickAt(a) + "\n" + pickAt(b) + "\n\nName\nT\n\n");
  EXPECT_FALSE(layerExists("A")) << transcript();
  EXPECT_FALSE(layerExists("B"));
  EXPECT_EQ(objectsOn(db(), "T"), 3);
  EXPECT_EQ(objectsOn(db(), "Other"), 1);
  EXPECT_NE(transcript().find("3 object(s) in model space"), std::string::npos);
  EXPECT_NE(transcript().find("Merging into layer \"T\" the layers:\nA\nB"), std::string::npos);
}

TEST_F(LayMrgTest, MovesObjectsInBlockDefinitionsAndAttributes) {
  makeLayers();
  merge_test::makeBlock("Door", {"A", "Other"});
  merge_test::makeInsertWithAttribute("Door", "Other", "B", 50, 50);
  run("LAYMRG", "Name\nA\nB\n\n\nName\nT\n\n");
  EXPECT_NE(transcript().find("1 object(s) inside block definitions"), std::string::npos) << transcript();
  EXPECT_EQ(merge_test::objectsInBlockOn(db(), "Door", "T"), 1);
  EXPECT_EQ(objectsOn(db(), "A"), 0);
  EXPECT_EQ(objectsOn(db(), "B"), 0) << "the attribute moved too";
  EXPECT_FALSE(layerExists("A"));
  EXPECT_FALSE(layerExists("B"));
}

// The objects of the layouts are found by a selection filtered on the
// source names, their attributes and vertices through their parents: a
// paper-space line, a line naming its layer in other letter case, and the
// vertices of a paper-space polyline on another layer all move.
TEST_F(LayMrgTest, MovesPaperSpaceObjectsSubEntitiesAndNamesInOtherCase) {
  makeLayers();
  double a0[3] = {0, 0, 0}, a1[3] = {3, 3, 0}, v0[3] = {0, 9, 0}, v1[3] = {4, 9, 0};
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "LINE", 8, "A", 67, 1, 10, a0, 11, a1, RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "LINE", 8, "b", 10, a0, 11, a1, RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "POLYLINE", 8, "Other", 67, 1, 66, 1, 70, 0, 10, a0, RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "VERTEX", 8, "B", 10, v0, RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "VERTEX", 8, "A", 10, v1, RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "SEQEND", 8, "Other", RTNONE)));
  const int onOther = objectsOn(db(), "Other");
  run("LAYMRG", "Name\nA\nB\n\n\nName\nT\n\n");
  EXPECT_EQ(objectsOn(db(), "A") + objectsOn(db(), "B") + objectsOn(db(), "b"), 0) << transcript();
  EXPECT_EQ(objectsOn(db(), "T"), 7) << "3 lines, 2 more lines and 2 vertices";
  EXPECT_EQ(objectsOn(db(), "Other"), onOther) << "the polyline and its end stay";
  EXPECT_FALSE(layerExists("A"));
  EXPECT_FALSE(layerExists("B"));
  EXPECT_TRUE(layerExists("Other"));
}

TEST_F(LayMrgTest, StopsAtOnceInAPartiallyOpenedDrawing) {
  makeLayers();
  tarn::host::setSysVarInternal("FULLOPEN", tarn::host::shortValue(0));
  const std::string before = dxf(db());
  run("LAYMRG", pickAt(a) + "\n\nName\nT\n\n");
  tarn::host::setSysVarInternal("FULLOPEN", tarn::host::shortValue(1));
  EXPECT_NE(transcript().find("LAYMRG cannot be used in a partially opened drawing."), std::string::npos);
  EXPECT_EQ(transcript().find("Select an object"), std::string::npos) << "asks nothing";
  EXPECT_EQ(dxf(db()), before);
}

// Everything the merge changed (objects, records, the current layer, the
// target's lock) is one undo group: "No" takes it back with one U, to the
// byte, and a U the user gives afterwards undoes the command before.
class LayMrgDeclineTest : public LayMrgTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayMrgDeclineTest, UndoesTheWholeMergeWithOneU) {
  makeLayers();
  makeLayer("Locked", 4);
  merge_test::makeBlock("Door", {"A"});
  run("-LAYER", "Set\nA\n\n");
  const std::string before = dxf(db());
  const auto settings = merge_test::settings();
  run("LAYMRG", pickAt(a) + "\n" + pickAt(b) + "\n\nName\nLocked\n" + GetParam());
  EXPECT_EQ(dxf(db()), before) << transcript();
  EXPECT_EQ(currentLayer(), "A");
  EXPECT_EQ(merge_test::settings(), settings);
  EXPECT_EQ(countOf(transcript(), "LAYMRG\n"), 1u) << "one U";
}

INSTANTIATE_TEST_SUITE_P(NoOrCancel, LayMrgDeclineTest, testing::Values("No\n", "^C\n"));

TEST_F(LayMrgTest, KeptMergeMakesTheTargetCurrentAndRelocksIt) {
  makeLayers();
  makeLayer("Locked", 4);
  run("-LAYER", "Set\nA\n\n");
  run("LAYMRG", pickAt(a) + "\n\nName\nLocked\nYes\n");
  EXPECT_EQ(currentLayer(), "Locked") << transcript();
  EXPECT_EQ(layerFlags("Locked") & 4, 4);
  EXPECT_EQ(objectsOn(db(), "Locked"), 2);
  EXPECT_FALSE(layerExists("A"));
  EXPECT_NE(transcript().find("Layer is locked: Locked"), std::string::npos);
}

// Objects on a locked source cannot move: the record they name stays.
TEST_F(LayMrgTest, KeepsALockedSourceWhoseObjectsCouldNotMove) {
  makeLayers();
  makeLayer("Fixed", 4);
  makeLine("Fixed", 0, 20, 10, 20);
  run("LAYMRG", "Name\nFixed\nB\n\n\nName\nT\n\n");
  EXPECT_TRUE(layerExists("Fixed")) << transcript();
  EXPECT_EQ(objectsOn(db(), "Fixed"), 1);
  EXPECT_FALSE(layerExists("B"));
  EXPECT_NE(transcript().find("were kept:\nFixed"), std::string::npos);
}

TEST_F(LayMrgTest, NamesWithWildcardCharactersMergeOnlyThoseLayers) {
  makeLayer("E.LIGHT");
  makeLayer("E-LIGHT");
  makeLayer("A#1");
  makeLayer("A01");
  makeLayer("T");
  makeLine("E.LIGHT", 0, 0, 10, 0);
  makeLine("E-LIGHT", 0, 5, 10, 5);
  makeLine("A01", 0, 10, 10, 10);
  makeLayer("T.1", 4);
  makeLayer("T-1");
  run("LAYMRG", "Name\nE.LIGHT\nA#1\n\n\nName\nT.1\n\n");
  EXPECT_FALSE(layerExists("E.LIGHT")) << transcript();
  EXPECT_FALSE(layerExists("A#1"));
  EXPECT_TRUE(layerExists("E-LIGHT"));
  EXPECT_TRUE(layerExists("A01"));
  EXPECT_EQ(objectsOn(db(), "E-LIGHT"), 1);
  EXPECT_EQ(objectsOn(db(), "A01"), 1);
  EXPECT_EQ(objectsOn(db(), "T.1"), 1);
  EXPECT_EQ(layerFlags("T.1") & 4, 4) << "the target is locked again";
  EXPECT_EQ(layerFlags("T-1") & 4, 0) << "unlocking and relocking the target left T-1 alone";
}

TEST_F(LayMrgTest, RefusesASourceAsTargetAndAsksAgain) {
  makeLayers();
  run("LAYMRG", pickAt(a) + "\n\nName\nA\n" + pickAt(b) + "\n\n");
  EXPECT_NE(transcript().find("The target layer cannot be one of the layers to merge."), std::string::npos);
  EXPECT_FALSE(layerExists("A")) << transcript();
  EXPECT_EQ(objectsOn(db(), "B"), 3);
}

class LayMrgCancelTest : public LayMrgTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayMrgCancelTest, LeavesTheDrawingAsItWas) {
  makeLayers();
  const std::string before = dxf(db());
  const auto settings = merge_test::settings();
  std::string replies = GetParam();
  replies.replace(replies.find("PICK"), 4, pickAt(a));
  run("LAYMRG", replies);
  EXPECT_EQ(dxf(db()), before) << transcript();
  EXPECT_EQ(merge_test::settings(), settings);
}

INSTANTIATE_TEST_SUITE_P(AtEachPrompt, LayMrgCancelTest,
                         testing::Values("PICK\n^C\n",               // the source prompt
                                         "PICK\nName\n^C\n",         // a source name
                                         "PICK\n\n^C\n",             // the target prompt
                                         "PICK\n\nName\n^C\n",       // the target name
                                         "PICK\n\nName\nNowhere\n\n"  // Enter at the target
                                         ));

TEST_F(LayMrgTest, AKeptMergeIsTakenBackByOneLaterU) {
  makeLayers();
  const std::string before = dxf(db());
  run("LAYMRG", pickAt(a) + "\n" + pickAt(b) + "\n\nName\nT\nYes\n");
  ASSERT_FALSE(layerExists("A")) << transcript();
  run("U");
  EXPECT_EQ(dxf(db()), before) << transcript();
}
