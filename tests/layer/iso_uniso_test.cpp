// LAYUNISO through the layer-state module: the layer states recorded by
// LAYISO come back, a second LAYUNISO or one without an isolation reports
// that there is nothing to restore, and REGENMODE stays as it was.
#include "iso_helpers.h"

namespace {

class LayUniso : public LayerToolTest {
 protected:
  void SetUp() override {
    LayerToolTest::SetUp();
    makeLayer("A");
    makeLayer("B", 4);       // locked before the isolation
    makeLayer("C", 0, -3);   // off before the isolation
    a = makeLine("A", 0, 0, 10, 0);
    makeLine("B", 0, 20, 10, 20);
    setShortVar("REGENMODE", 1);
  }
  uint32_t a = 0;
};

TEST_F(LayUniso, RestoresTheStatesBeforeTheIsolation) {
  useSettings(0, 0);
  ASSERT_EQ(run("LAYISO", pickAt(a) + "\n\n"), RTNORM);
  ASSERT_FALSE(layerOn("B"));
  ASSERT_EQ(run("LAYUNISO"), RTNORM);

  EXPECT_TRUE(printed(resourceText(2242))) << transcript();
  EXPECT_TRUE(layerOn("A"));
  EXPECT_TRUE(layerOn("B"));
  EXPECT_EQ(layerFlags("B") & 4, 4) << "locked as before";
  EXPECT_FALSE(layerOn("C")) << "off as before";
  EXPECT_TRUE(layerOn("0"));
  EXPECT_EQ(shortVar("REGENMODE"), 1);
}

TEST_F(LayUniso, RestoresLockedLayers) {
  useSettings(1, 0);
  ASSERT_EQ(run("LAYISO", pickAt(a) + "\n\n"), RTNORM);
  ASSERT_EQ(layerFlags("0") & 4, 4);
  ASSERT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_EQ(layerFlags("0") & 4, 0);
  EXPECT_EQ(layerFlags("A") & 4, 0);
  EXPECT_EQ(layerFlags("B") & 4, 4);
}

TEST_F(LayUniso, WithoutAnIsolationReportsNothingToRestore) {
  ASSERT_EQ(run("LAYUNISO"), RTNORM);
  EXPECT_TRUE(printed(resourceText(2243))) << transcript();
  EXPECT_TRUE(layerOn("A"));
  EXPECT_FALSE(layerOn("C"));
  EXPECT_EQ(shortVar("REGENMODE"), 1);
}

}  // namespace
