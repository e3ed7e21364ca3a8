// LAYISO's setting dialogue at the selection prompt: the fade limits, the
// hide modes, invalid answers asked again, cancels that change nothing, and
// the "LayerTools" values read from and written to the registry store.
#include "iso_helpers.h"

namespace {

class LayIsoSettings : public LayerToolTest {
 protected:
  void SetUp() override {
    LayerToolTest::SetUp();
    makeLayer("A");
    makeLayer("B");
    a = makeLine("A", 0, 0, 10, 0);
    makeLine("B", 0, 20, 10, 20);
    setShortVar("LAYLOCKFADECTL", 50);
  }
  std::string pickA() { return pickAt(a) + "\n\n"; }
  uint32_t a = 0;
};

TEST_F(LayIsoSettings, FadeOf91IsRefusedAndAskedAgain90IsTaken) {
  useSettings(0, 0);
  ASSERT_EQ(run("LAYISO", "S\nL\n91\n90\n" + pickA()), RTNORM) << transcript();
  EXPECT_EQ(countOf(transcript(), resourceText(2241)), 1u) << transcript();
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 90);
  EXPECT_EQ(storedSetting("LockFlag"), 1);
  EXPECT_NE(layerFlags("B") & 4, 0) << "locked, the mode chosen on the way";
}

TEST_F(LayIsoSettings, FadeOfZeroIsTakenAndEnterKeepsTheFade) {
  useSettings(1, 0);
  ASSERT_EQ(run("LAYISO", "S\nL\n0\n" + pickA()), RTNORM);
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 0);
  EXPECT_TRUE(transcript().find(resourceText(2241)) == std::string::npos);

  ASSERT_EQ(run("-LAYER", "U\n*\n\n"), RTNORM);
  ASSERT_EQ(run("LAYISO", "S\n\n\n" + pickA()), RTNORM);
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 0);
  EXPECT_TRUE(printed("Fade=0")) << transcript();
}

TEST_F(LayIsoSettings, NegativeFadeIsRefused) {
  useSettings(1, 0);
  ASSERT_EQ(run("LAYISO", "S\nL\n-1\n10\n" + pickA()), RTNORM);
  EXPECT_EQ(countOf(transcript(), resourceText(2241)), 1u);
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 10);
}

TEST_F(LayIsoSettings, OffThenVpfreezeIsStoredAndShownNextTime) {
  useSettings(1, 0);
  ASSERT_EQ(run("LAYISO", "S\nO\nV\n" + pickA()), RTNORM) << transcript();
  EXPECT_EQ(storedSetting("LockFlag"), 0);
  EXPECT_EQ(storedSetting("FreezeFlag"), 1);
  // On the model tab the viewport freeze turns layers off.
  EXPECT_FALSE(layerOn("B"));

  ASSERT_EQ(run("-LAYER", "ON\n*\n\n"), RTNORM);
  ASSERT_EQ(run("LAYISO", "S\nO\nO\n" + pickA()), RTNORM);
  EXPECT_TRUE(printed("Hide layers, Viewports=Vpfreeze")) << transcript();
  EXPECT_EQ(storedSetting("FreezeFlag"), 0);
}

TEST_F(LayIsoSettings, StoredSettingsChooseTheMode) {
  useSettings(0, 0);
  ASSERT_EQ(run("LAYISO", pickA()), RTNORM);
  EXPECT_TRUE(printed("Hide layers, Viewports=Off")) << transcript();
  EXPECT_FALSE(layerOn("B"));
  EXPECT_EQ(layerFlags("B") & 4, 0);
}

// Esc at a question of the dialogue ends the dialogue without a change;
// the selection goes on and the isolation is made with the old settings.
TEST_F(LayIsoSettings, CancelInsideTheDialogueKeepsTheSettingsAndSelects) {
  useSettings(1, 0);
  EXPECT_EQ(run("LAYISO", "S\nL\n^C\n" + pickA()), RTNORM) << transcript();
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 50);
  EXPECT_NE(layerFlags("B") & 4, 0) << "isolated by locking, as before";
  EXPECT_EQ(run("LAYUNISO"), RTNORM);

  EXPECT_EQ(run("LAYISO", "S\nO\n^C\n" + pickA()), RTNORM) << transcript();
  EXPECT_EQ(storedSetting("LockFlag"), 1);
  EXPECT_EQ(storedSetting("FreezeFlag"), 0);
  EXPECT_TRUE(layerOn("B"));
  EXPECT_NE(layerFlags("B") & 4, 0);
}

TEST_F(LayIsoSettings, FadeChosenThenCommandCancelledIsPutBack) {
  useSettings(1, 0);
  run("LAYISO", "S\nL\n20\n^C\n");
  EXPECT_EQ(shortVar("LAYLOCKFADECTL"), 50);
  EXPECT_EQ(layerFlags("B") & 4, 0);
}

}  // namespace
