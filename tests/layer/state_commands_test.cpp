// LAYLCK, LAYULK, LAYON, LAYTHW, LAYCUR and LAYCUR1 run as a user runs
// them: the summary of locked layers, missed picks asked again, objects
// moved to the current layer counted, CMDECHO after LAYCUR1, and a cancel
// at each prompt that changes nothing.
#include "iso_helpers.h"

namespace {

class LayerStates : public LayerToolTest {
 protected:
  void SetUp() override {
    LayerToolTest::SetUp();
    for (const char* name : {"A", "AB", "B"}) makeLayer(name);
    a1 = makeLine("A", 0, 0, 10, 0);
    a2 = makeLine("A", 0, 10, 10, 10);
    ab = makeLine("AB", 0, 20, 10, 20);
    b = makeLine("B", 0, 30, 10, 30);
  }
  bool locked(const char* name) { return (layerFlags(name) & 4) != 0; }
  uint32_t a1 = 0, a2 = 0, ab = 0, b = 0;
};

TEST_F(LayerStates, LayLckNamesALayerOnceInTheSummary) {
  ASSERT_EQ(run("LAYLCK", pickAt(a1) + "\n" + pickAt(a2) + "\n" + pickAt(b) + "\n\n"), RTNORM);
  EXPECT_TRUE(locked("A"));
  EXPECT_TRUE(locked("B"));
  EXPECT_FALSE(locked("AB"));
  EXPECT_EQ(countOf(transcript(), "Layer is locked: A\n"), 2u) << transcript();
  EXPECT_EQ(lineStarting("Layers locked:"), "Layers locked: A B") << transcript();
}

// "AB" in the summary must not hide a later "A".
TEST_F(LayerStates, LayLckSummaryComparesWholeNames) {
  ASSERT_EQ(run("LAYLCK", pickAt(ab) + "\n" + pickAt(a1) + "\n\n"), RTNORM);
  EXPECT_EQ(lineStarting("Layers locked:"), "Layers locked: AB A") << transcript();
}

TEST_F(LayerStates, LayLckMissedPickAsksAgainAndEnterEnds) {
  ASSERT_EQ(run("LAYLCK", "500,500\n" + pickAt(b) + "\n\n"), RTNORM);
  EXPECT_TRUE(printed(resourceText(2249))) << transcript();
  EXPECT_TRUE(locked("B"));
  EXPECT_EQ(lineStarting("Layers locked:"), "Layers locked: B") << transcript();
}

TEST_F(LayerStates, LayLckCancelledAtOnceLocksNothingAndLaterKeepsWhatItLocked) {
  run("LAYLCK", "^C\n");
  EXPECT_FALSE(locked("A"));
  EXPECT_FALSE(printed(resourceText(2245)));
  run("LAYLCK", pickAt(b) + "\n^C\n");
  EXPECT_TRUE(locked("B"));
  EXPECT_TRUE(printed("Layers locked: B")) << transcript();
}

TEST_F(LayerStates, LayUlkUnlocksThePickedObjectsLayer) {
  ASSERT_EQ(run("-LAYER", "LO\nA,B\n\n"), RTNORM);
  ASSERT_EQ(run("LAYULK", "500,500\n" + pickAt(b) + "\n"), RTNORM);
  EXPECT_TRUE(printed(resourceText(2249)));
  EXPECT_FALSE(locked("B"));
  EXPECT_TRUE(locked("A"));
  EXPECT_TRUE(printed("Layer B has been unlocked.")) << transcript();

  run("LAYULK", "^C\n");
  EXPECT_TRUE(locked("A"));
}

TEST_F(LayerStates, LayOnTurnsEveryLayerOnAndLayThwThawsEveryLayer) {
  ASSERT_EQ(run("-LAYER", "OFF\nA,B\nF\nAB\n\n"), RTNORM);
  ASSERT_EQ(run("LAYON"), RTNORM);
  EXPECT_TRUE(layerOn("A"));
  EXPECT_TRUE(layerOn("B"));
  EXPECT_EQ(layerFlags("AB") & 1, 1) << "LAYON does not thaw";
  ASSERT_EQ(run("LAYTHW"), RTNORM);
  EXPECT_EQ(layerFlags("AB") & 1, 0);
  EXPECT_TRUE(printed(resourceText(3563)));
  EXPECT_EQ(shortVar("CMDECHO"), 1);
}

TEST_F(LayerStates, LayCurReportsOnlyTheObjectsItMoved) {
  ASSERT_EQ(run("-LAYER", "S\nA\n\n"), RTNORM);
  ASSERT_EQ(run("LAYCUR", pickAt(a1) + "\n" + pickAt(b) + "\n" + pickAt(ab) + "\n\n"), RTNORM);
  EXPECT_EQ(layerOf(a1), "A");
  EXPECT_EQ(layerOf(b), "A");
  EXPECT_EQ(layerOf(ab), "A");
  EXPECT_TRUE(printed("2 object(s) moved to the current layer A.")) << transcript();
}

// An object the host refuses to change (its layer is locked) stays where it
// is and is reported; the others still move.
TEST_F(LayerStates, LayCurGoesOnPastAnObjectOnALockedLayer) {
  ASSERT_EQ(run("-LAYER", "LO\nB\n\n"), RTNORM);
  ASSERT_EQ(run("LAYCUR", pickAt(b) + "\n" + pickAt(ab) + "\n\n"), RTNORM);
  EXPECT_EQ(layerOf(b), "B");
  EXPECT_EQ(layerOf(ab), "0");
  EXPECT_TRUE(printed("1 object(s) moved to the current layer 0.")) << transcript();
  EXPECT_TRUE(printed("1 object(s) on locked layers could not be changed.")) << transcript();
}

TEST_F(LayerStates, LayCurCancelledMovesNothing) {
  run("LAYCUR", pickAt(b) + "\n^C\n");
  EXPECT_EQ(layerOf(b), "B");
}

TEST_F(LayerStates, LayCur1MakesTheLayerCurrentAndLeavesCmdechoOn) {
  setShortVar("CMDECHO", 0);
  ASSERT_EQ(run("LAYCUR1", pickAt(b) + "\n\n"), RTNORM) << transcript();
  EXPECT_EQ(currentLayer(), "B");
  EXPECT_EQ(shortVar("CMDECHO"), 1);
}

TEST_F(LayerStates, LayCur1WithAWildcardCharacterInTheName) {
  makeLayer("A#1");
  makeLayer("A01", 1);  // frozen: a thaw of "A#1" must not reach it
  const uint32_t hash = makeLine("A#1", 50, 0, 60, 0);
  ASSERT_EQ(run("LAYCUR1", pickAt(hash) + "\n\n"), RTNORM) << transcript();
  EXPECT_EQ(currentLayer(), "A#1");
  EXPECT_EQ(layerFlags("A01") & 1, 1);
}

TEST_F(LayerStates, LayCur1CancelledChangesNothing) {
  setShortVar("CMDECHO", 0);
  run("LAYCUR1", "^C\n");
  EXPECT_EQ(currentLayer(), "0");
  EXPECT_EQ(shortVar("CMDECHO"), 0);
}

}  // namespace
