// The layer-state module's isolation record: "LayIso" records every layer's
// on/off, frozen and locked state and every layout viewport's freezes in the
// drawing; "LayUnisoNew" puts them back once, also after the drawing was
// saved and opened again, and answers 0 when nothing is recorded.
#include "manager_helpers.h"

namespace {

class IsolationRecordTest : public LayerManagerTest {
 protected:
  void buildDrawing() { openLayoutDrawing(); }

  // Everything the isolation may change, changed another way.
  void scramble() {
    run("-LAYER", "_OFF\nON\n_T\nFROZEN\n_U\nLOCKED\n_LO\nOFF\n_ON\nOFF\n\n");
    freezeIn(3, {"ON", "LOCKED"});
    thawIn(2, {"OFF"});
  }

  void expectRecordedStates() {
    EXPECT_EQ(layerState("ON"), "on");
    EXPECT_EQ(layerState("OFF"), "off");
    EXPECT_EQ(layerState("FROZEN"), "onF");
    EXPECT_EQ(layerState("LOCKED"), "onL");
    EXPECT_EQ(frozenIn(viewportNumbered(2)), std::vector<std::string>{"OFF"});
    EXPECT_TRUE(frozenIn(viewportNumbered(3)).empty());
  }

  void freezeIn(int viewport, const std::vector<std::string>& layers) { changeFreezes(viewport, layers, true); }
  void thawIn(int viewport, const std::vector<std::string>& layers) { changeFreezes(viewport, layers, false); }
};

TEST_F(IsolationRecordTest, NothingRecordedAnswersZeroAndChangesNothing) {
  buildDrawing();
  EXPECT_EQ(layUniso(), 0);
  expectRecordedStates();
}

TEST_F(IsolationRecordTest, RestoresLayerStatesAndViewportFreezesOnce) {
  buildDrawing();
  layIso();
  scramble();
  ASSERT_EQ(layerState("ON"), "off");
  ASSERT_EQ(frozenIn(viewportNumbered(3)), (std::vector<std::string>{"LOCKED", "ON"}));

  EXPECT_NE(layUniso(), 0);
  expectRecordedStates();
  // The record is used up: a second restore has nothing to give.
  scramble();
  EXPECT_EQ(layUniso(), 0);
  EXPECT_EQ(layerState("ON"), "off");
}

TEST_F(IsolationRecordTest, ColoursChangedWhileIsolatedAreKept) {
  buildDrawing();
  layIso();
  run("-LAYER", "_C\n1\nON\n_OFF\nON\n\n");
  EXPECT_NE(layUniso(), 0);
  EXPECT_EQ(layerColour("ON"), 1);
  EXPECT_EQ(layerColour("OFF"), -5) << "a layer off keeps its colour";
}

TEST_F(IsolationRecordTest, TheCurrentLayerIsNotFrozenAgain) {
  buildDrawing();
  layIso();
  run("-LAYER", "_T\nFROZEN\n_S\nFROZEN\n\n");
  ASSERT_EQ(currentLayer(), "FROZEN");
  EXPECT_NE(layUniso(), 0);
  EXPECT_EQ(layerState("FROZEN"), "on");
  EXPECT_EQ(layerState("LOCKED"), "onL");
}

TEST_F(IsolationRecordTest, ALaterIsolationReplacesTheRecord) {
  buildDrawing();
  layIso();
  run("-LAYER", "_OFF\nON\n\n");
  layIso();
  run("-LAYER", "_ON\nON\n_LO\nON\n\n");
  EXPECT_NE(layUniso(), 0);
  EXPECT_EQ(layerState("ON"), "off");
  EXPECT_EQ(layUniso(), 0);
}

TEST_F(IsolationRecordTest, LayersAndViewportsGoneSinceAreSkipped) {
  buildDrawing();
  layIso();
  tc_name viewport = {0, 0};
  tarn::host::makeName(db(), viewportNumbered(3), viewport);
  ASSERT_EQ(tcdbEntDel(viewport), RTNORM);
  run("-LAYER", "_T\nFROZEN\n\n");
  makeLayer("NEW", 0, -7);
  EXPECT_NE(layUniso(), 0);
  EXPECT_EQ(layerState("FROZEN"), "onF");
  EXPECT_EQ(layerState("NEW"), "off") << "a layer made after the record keeps its state";
}

TEST_F(IsolationRecordTest, RecordSurvivesSaveAndReopen) {
  buildDrawing();
  layIso();
  scramble();
  const std::string path = saveDrawing("isolated.dxf");

  reopen(path);
  ASSERT_EQ(layerState("ON"), "off");
  EXPECT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_NE(transcript().find(resourceText(2242)), std::string::npos) << transcript();
  expectRecordedStates();
  EXPECT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_NE(transcript().find(resourceText(2243)), std::string::npos) << transcript();
}

TEST_F(IsolationRecordTest, UndoOfTheRestoreBringsTheRecordBack) {
  buildDrawing();
  layIso();
  run("-LAYER", "_OFF\nON\n\n");
  EXPECT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_EQ(layerState("ON"), "on");
  run("U");
  EXPECT_EQ(layerState("ON"), "off");
  EXPECT_NE(layUniso(), 0) << "undoing LAYUNISO gives the record back";
  EXPECT_EQ(layerState("ON"), "on");
}

// A record of a layout this module does not know (written by a later
// version) is left alone rather than misread.
TEST_F(IsolationRecordTest, ARecordOfAnotherLayoutIsNotUsed) {
  buildDrawing();
  TcDbDictionary* root = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getNamedObjectsDictionary(root, TcDb::kForWrite), TcDb::eOk);
  auto* record = new TcDbXrecord();
  resbuf* data = tcutBuildList(70, 2, 8, "ON", 70, 1, 62, -7, RTNONE);
  EXPECT_EQ(record->setFromRbChain(data), TcDb::eOk);
  tcutRelRb(data);
  TcDbObjectId id;
  ASSERT_EQ(root->setAt("TARN_LAYISO", record, id), TcDb::eOk);
  record->close();
  root->close();
  EXPECT_EQ(layUniso(), 0);
  EXPECT_EQ(layerState("ON"), "on");
  EXPECT_FALSE(id.isErased()) << "the unknown record stays for the program that wrote it";
}

// The layer tools find the module themselves: LAYUNISO loads it when it is
// not loaded yet and reports that nothing was recorded.
TEST_F(IsolationRecordTest, LayunisoLoadsTheModuleThroughTheLinker) {
  ASSERT_EQ(tarn::runtime::dynamicLinker().find("TarnLayerManager.trx"), nullptr);
  EXPECT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_NE(tarn::runtime::dynamicLinker().find("TarnLayerManager.trx"), nullptr);
  EXPECT_NE(transcript().find(resourceText(2243)), std::string::npos) << transcript();
}

// LAYISO records before it changes anything, whatever its mode: LAYUNISO
// then gives back exactly the states from before.
TEST_F(IsolationRecordTest, LayisoThenLayunisoGivesBackEveryState) {
  buildDrawing();
  makeLayer("PLAIN");
  const uint32_t line = makeLine("ON", 0, 20, 10, 20);
  makeLine("PLAIN", 0, 25, 10, 25);
  EXPECT_EQ(run("LAYISO", pickAt(line) + "\n\n"), RTNORM);
  ASSERT_NE(layerState("PLAIN"), "on") << "the isolation changed nothing: " << transcript();
  EXPECT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_EQ(layerState("PLAIN"), "on");
  expectRecordedStates();
}

}  // namespace
