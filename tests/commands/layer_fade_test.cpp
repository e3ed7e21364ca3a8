// The fade of locked layers: LAYER "_LO" and "_U", typed or issued by a
// module, and LAYLOCKFADECTL changes show in the record of how each layer
// is drawn.
#include "commands/layer_fade.h"

#include "api/sysvars.h"
#include "command_fixture.h"

namespace {

using tarn::commands::layerFades;

class LayerFade : public CommandTest {
 protected:
  // LAYLOCKFADECTL is a session variable: each test starts from the default.
  void SetUp() override {
    setFadeControl(50);
    for (const char* layer : {"A", "B", "WALL"}) makeLine(0, 0, 1, 1, layer);
  }
  void TearDown() override {
    setFadeControl(50);
    CommandTest::TearDown();
  }
  static void setFadeControl(int v) { ASSERT_TRUE(tarn::host::setSysVar("LAYLOCKFADECTL", tarn::host::shortValue(v))); }
  static int fade(const char* layer) {
    std::map<std::string, int> fades = layerFades();
    auto it = fades.find(layer);
    return it == fades.end() ? -1 : it->second;
  }
};

TEST_F(LayerFade, ModuleLocksAllButTheIsolatedLayersWhichFadeByTheDefaultFifty) {
  asModule([] {
    tcedCommand(RTSTR, "_.LAYER", RTSTR, "_LO", RTSTR, "*", RTSTR, "", RTNONE);
    tcedCommand(RTSTR, "_.LAYER", RTSTR, "_U", RTSTR, "A", RTSTR, "", RTNONE);
  });
  EXPECT_EQ(fade("A"), 0);
  EXPECT_EQ(fade("B"), 50);
  EXPECT_EQ(fade("WALL"), 50);
  EXPECT_EQ(fade("0"), 50);
}

TEST_F(LayerFade, ZeroOrNegativeControlMeansNoFadeAndAChangeRefreshesTheRecord) {
  typed("-LAYER", "LO\nB,WALL\n\n");
  setFadeControl(0);
  EXPECT_EQ(fade("B"), 0);
  setFadeControl(-30);  // fading switched off, the amount kept
  EXPECT_EQ(fade("WALL"), 0);
  setFadeControl(70);
  EXPECT_EQ(fade("B"), 70);
  EXPECT_EQ(fade("WALL"), 70);
  EXPECT_EQ(fade("A"), 0);
}

TEST_F(LayerFade, UnlockAndUndoOfALockClearTheFade) {
  typed("LAYER", "LO\nA,B\n\n");
  ASSERT_EQ(fade("A"), 50);
  typed("-LAYER", "U\nA\n\n");
  EXPECT_EQ(fade("A"), 0);
  EXPECT_EQ(fade("B"), 50);
  undo();  // the unlock
  EXPECT_EQ(fade("A"), 50);
  undo();  // the lock
  EXPECT_EQ(fade("B"), 0);
}

}  // namespace
