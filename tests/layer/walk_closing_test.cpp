// LAYWALK's ways out: restoring the layers on closing, the closing question
// when they are not restored, cancelling, and picking objects in the
// drawing to choose the layers (the dialog's end code 2301 and back).
#include "walk_helpers.h"

namespace {

class LayerWalkClosing : public LayerWalkTest {
 protected:
  void SetUp() override {
    LayerWalkTest::SetUp();
    makeLayer("Walls");
    makeLayer("Doors", 0, -3);  // off
    makeLayer("Frozen", 1);
    makeLayer("Locked", 4, 5);
    makeLayer("Hatch", 0, -2);  // off
    walls = makeLine("Walls", 0, 0, 10, 0);
    makeLine("Doors", 0, 5, 10, 5);
    makeCurrent("Hatch");  // a current layer that is off
  }
  uint32_t walls = 0;
};

const char* const kBusyWalk =
    "select 2305 \"Walls\"\nclick 2313\nselect 2305 \"Doors\"\nclick 2318\ntext 2307 H*\n\nclick 2320\n"
    "click 2308\nselect 2305 none\n";

TEST_F(LayerWalkClosing, RestoreOnExitPutsTheLayerTableBackExactly) {
  const std::string before = layerTableDxf();
  walk(std::string(kBusyWalk) + "close\n");
  EXPECT_EQ(layerTableDxf(), before);
  EXPECT_EQ(currentLayer(), "Hatch");
}

TEST_F(LayerWalkClosing, CancellingTheDialogRestoresToo) {
  const std::string before = layerTableDxf();
  walk(std::string(kBusyWalk) + "^C\n");
  EXPECT_EQ(layerTableDxf(), before);
  walk(kBusyWalk);  // the script runs out while the dialog is open
  EXPECT_EQ(layerTableDxf(), before);
  EXPECT_EQ(currentLayer(), "Hatch");
}

TEST_F(LayerWalkClosing, WithoutRestoreTheQuestionIsAskedAndCancellingItKeepsTheDialogOpen) {
  walk("click 2304\nclose\ncancel\nselect 2305 \"Locked\"\nclose\nok\n");
  EXPECT_EQ(occurrences("Close the layer walk?"), 2u) << transcript();
  EXPECT_TRUE(layerOn("Locked")) << "the dialog went on after the question was cancelled";
  EXPECT_FALSE(layerOn("Walls"));
  EXPECT_FALSE(layerOn("0"));
  EXPECT_EQ(currentLayer(), "Hatch");
  uint32_t restore = 9, dontShow = 9;
  ASSERT_TRUE(storedDword("RestoreOnExit", &restore));
  ASSERT_TRUE(storedDword("DontShowPrompt", &dontShow));
  EXPECT_EQ(restore, 0u);
  EXPECT_EQ(dontShow, 0u);
}

TEST_F(LayerWalkClosing, DontShowAgainIsStoredAndTheNextWalkClosesWithoutAsking) {
  walk("click 2304\nclose\ncheck 2332 on\nok\n");
  uint32_t dontShow = 0;
  ASSERT_TRUE(storedDword("DontShowPrompt", &dontShow));
  EXPECT_EQ(dontShow, 1u);
  const size_t asked = occurrences("Close the layer walk?");
  walk("select 2305 \"Walls\"\nclose\n");
  EXPECT_EQ(occurrences("Close the layer walk?"), asked);
  EXPECT_TRUE(layerOn("Walls"));
  EXPECT_FALSE(layerOn("Locked")) << "RestoreOnExit 0 was remembered";
}

TEST_F(LayerWalkClosing, StoredSettingsAreShownWhenTheDialogOpens) {
  storeDword("RestoreOnExit", 0);
  storeDword("DontShowPrompt", 1);
  walk("select 2305 \"Walls\"\nclose\n");
  EXPECT_NE(transcript().find("[2304] check \"Restore on exit\": off"), std::string::npos) << transcript();
  EXPECT_FALSE(layerOn("Locked"));
}

TEST_F(LayerWalkClosing, PickingObjectsShowsTheirLayers) {
  walk("click 2306\n" + pickAt(walls) + "\n\n" + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("Walls")) << transcript();
  for (const char* name : {"0", "Doors", "Locked", "Hatch"}) EXPECT_FALSE(layerOn(name)) << name;
  EXPECT_EQ(currentLayer(), "Hatch");
}

TEST_F(LayerWalkClosing, AnEmptyOrCancelledPickKeepsTheSelection) {
  walk(std::string("select 2305 \"Walls\"\nclick 2306\n\nclick 2306\n^C\n") + kCloseKeepingLayers);
  EXPECT_EQ(occurrences("No object was selected"), 2u) << transcript();
  EXPECT_TRUE(layerOn("Walls"));
  EXPECT_FALSE(layerOn("Doors"));
}

TEST_F(LayerWalkClosing, TheOpeningStateSurvivesAPickRoundTrip) {
  const std::string before = layerTableDxf();
  walk("select 2305 \"Walls\"\nclick 2306\n" + pickAt(walls) + "\n\nclose\n");
  EXPECT_EQ(layerTableDxf(), before) << "restored to the state before the first dialog, not the second";
}

}  // namespace
