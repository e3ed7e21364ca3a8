// LAYISO run as a user runs it: the layers of the selected objects stay
// usable and the others are locked, turned off or frozen in the layout
// viewport; the name lists, escaped names, the constraints layer, the new
// current layer, the messages and the host's notice.
#include "iso_helpers.h"

#include "editor/layer_notice.h"

namespace {

class LayIso : public LayerToolTest {
 protected:
  void SetUp() override {
    LayerToolTest::SetUp();
    for (const char* name : {"A", "B", "C"}) makeLayer(name);
    a1 = makeLine("A", 0, 0, 10, 0);
    a2 = makeLine("A", 0, 10, 10, 10);
    b = makeLine("B", 0, 20, 10, 20);
    c = makeLine("C", 0, 30, 10, 30);
  }
  bool locked(const std::string& name) { return (layerFlags(name) & 4) != 0; }
  bool frozen(const std::string& name) { return (layerFlags(name) & 1) != 0; }
  uint32_t a1 = 0, a2 = 0, b = 0, c = 0;
};

TEST_F(LayIso, TwoObjectsOnOneLayerIsolateThatLayerWithTheSingleLayerMessage) {
  useSettings(1, 0);
  tarn::editor::clearLayerNotices();
  ASSERT_EQ(run("LAYISO", pickAt(a1) + "\n" + pickAt(a2) + "\n\n"), RTNORM) << transcript();

  EXPECT_TRUE(printed("Layer A has been isolated.")) << transcript();
  EXPECT_FALSE(locked("A"));
  for (const char* other : {"0", "B", "C"}) EXPECT_TRUE(locked(other)) << other;
  EXPECT_EQ(currentLayer(), "A");
  // The host hears of the three locked layers, with the refresh flag.
  ASSERT_FALSE(tarn::editor::layerNotices().empty());
  const auto& notice = tarn::editor::layerNotices().back();
  EXPECT_EQ(notice.code, 7);
  EXPECT_EQ(notice.flag, 1);
  EXPECT_EQ(notice.layers.size(), 3u);
}

TEST_F(LayIso, FirstIsolatedLayerBecomesCurrentAndTheMessageNamesTheStartLayer) {
  useSettings(1, 0);
  ASSERT_EQ(run("-LAYER", "S\nB\n\n"), RTNORM);
  ASSERT_EQ(run("LAYISO", pickAt(a1) + "\n" + pickAt(b) + "\n\n"), RTNORM);

  EXPECT_EQ(currentLayer(), "A") << "the first isolated layer, even though B was current and isolated";
  EXPECT_TRUE(printed("2 layers have been isolated. Layer B is current.")) << transcript();
  EXPECT_FALSE(locked("A"));
  EXPECT_FALSE(locked("B"));
  EXPECT_TRUE(locked("C"));
}

TEST_F(LayIso, HideModeTurnsTheOtherLayersOffAndKeepsTheRestOn) {
  useSettings(0, 0);
  ASSERT_EQ(run("LAYISO", pickAt(b) + "\n\n"), RTNORM);
  EXPECT_TRUE(layerOn("B"));
  for (const char* other : {"0", "A", "C"}) EXPECT_FALSE(layerOn(other)) << other;
  EXPECT_FALSE(locked("A"));
  EXPECT_EQ(currentLayer(), "B");
}

// A name with wildcard characters names only itself: "A#1" must not keep
// "A01" (# matches any digit) usable, in either mode.
TEST_F(LayIso, AWildcardCharacterInALayerNameDoesNotMatchOtherLayers) {
  makeLayer("A#1");
  makeLayer("A01");
  const uint32_t hash = makeLine("A#1", 50, 0, 60, 0);
  makeLine("A01", 50, 10, 60, 10);

  useSettings(0, 0);
  ASSERT_EQ(run("LAYISO", pickAt(hash) + "\n\n"), RTNORM);
  EXPECT_TRUE(layerOn("A#1"));
  EXPECT_FALSE(layerOn("A01"));

  ASSERT_EQ(run("-LAYER", "ON\n*\n\n"), RTNORM);
  useSettings(1, 0);
  ASSERT_EQ(run("LAYISO", pickAt(hash) + "\n\n"), RTNORM);
  EXPECT_FALSE(locked("A#1"));
  EXPECT_TRUE(locked("A01"));
}

// Names longer than one LAYER name list allows go in several lists, each
// its own LAYER call, and every one of them is isolated.
TEST_F(LayIso, NamesBeyond2048CharactersGoInSeveralLayerCalls) {
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) {
    // 100 characters, two of them escaped in the name list.
    std::string name = "N#" + std::to_string(100 + i) + ".";
    name += std::string(100 - name.size(), 'x');
    makeLayer(name);
    makeLine(name, 100, 100 + i, 110, 100 + i);
    names.push_back(name);
  }
  useSettings(1, 0);
  countLayerCalls();
  ASSERT_EQ(run("LAYISO", "W\n99,99\n111,140\n\n"), RTNORM) << transcript();

  // 30 names of 102 characters escaped, joined: two lists; one call locks all.
  EXPECT_EQ(layerCalls, 3);
  for (const std::string& name : names) EXPECT_FALSE(locked(name)) << name;
  for (const char* other : {"0", "A", "B", "C"}) EXPECT_TRUE(locked(other)) << other;
  EXPECT_TRUE(printed("30 layers have been isolated.")) << transcript();
}

class LayIsoConstraints : public LayIso, public testing::WithParamInterface<int> {};

TEST_P(LayIsoConstraints, TheConstraintsLayerStaysUsable) {
  makeLayer("*ADSK_CONSTRAINTS");
  ASSERT_TRUE(layerExists("*ADSK_CONSTRAINTS"));
  useSettings(GetParam(), 0);
  countLayerCalls();
  ASSERT_EQ(run("LAYISO", pickAt(a1) + "\n\n"), RTNORM);
  EXPECT_TRUE(layerOn("*ADSK_CONSTRAINTS"));
  EXPECT_FALSE(locked("*ADSK_CONSTRAINTS"));
  EXPECT_EQ(layerCalls, 3) << "all layers, the constraints layer, the isolated list";
  EXPECT_TRUE(GetParam() ? locked("B") : !layerOn("B"));
}

INSTANTIATE_TEST_SUITE_P(LockAndHide, LayIsoConstraints, testing::Values(1, 0));

TEST_F(LayIso, ViewportFreezeOnTheModelTabTurnsLayersOff) {
  useSettings(0, 1);
  ASSERT_EQ(shortVar("TILEMODE"), 1);
  ASSERT_EQ(run("LAYISO", pickAt(a1) + "\n\n"), RTNORM);
  EXPECT_FALSE(layerOn("B"));
  EXPECT_FALSE(frozen("B"));
  EXPECT_TRUE(layerOn("A"));
}

TEST_F(LayIso, ViewportFreezeInALayoutViewportFreezesThereOnly) {
  openLayoutDrawing();
  const uint32_t viewport = viewportNumbered(2);
  const uint32_t other = viewportNumbered(3);
  ASSERT_NE(viewport, tarn::db::kNoObject);
  ASSERT_NE(other, tarn::db::kNoObject);
  const int onLayerFlags = layerFlags("ON"), lockedFlags = layerFlags("LOCKED");
  useLayoutViewport(2);
  useSettings(0, 1);
  countLayerCalls();
  tarn::editor::clearLayerNotices();
  ASSERT_EQ(run("LAYISO", "5,0\n\n"), RTNORM) << transcript();

  EXPECT_EQ(frozenIn(viewport), layersBut({"ON"}));
  EXPECT_TRUE(frozenIn(other).empty()) << "another viewport keeps its layers";
  EXPECT_TRUE(layerOn("ON"));
  EXPECT_TRUE(layerOn("0")) << "frozen in the viewport, not turned off";
  EXPECT_EQ(layerFlags("ON"), onLayerFlags);
  EXPECT_EQ(layerFlags("LOCKED"), lockedFlags);
  EXPECT_EQ(layerCalls, 0) << "no LAYER command in a viewport freeze";
  EXPECT_EQ(currentLayer(), "ON");
  ASSERT_FALSE(tarn::editor::layerNotices().empty());
  EXPECT_EQ(tarn::editor::layerNotices().back().layers.size(), layersBut({"ON"}).size());
}

TEST_F(LayIso, CancelAtTheSelectionChangesNothing) {
  useSettings(1, 0);
  setShortVar("REGENMODE", 1);
  run("LAYISO", pickAt(a1) + "\n^C\n");
  EXPECT_TRUE(printed("*Cancel*"));
  for (const char* name : {"0", "A", "B", "C"}) EXPECT_EQ(layerFlags(name), 0) << name;
  EXPECT_EQ(currentLayer(), "0");
  EXPECT_EQ(shortVar("REGENMODE"), 1);
  EXPECT_EQ(shortVar("CMDECHO"), 1);
}

TEST_F(LayIso, EnterWithoutObjectsEndsWithoutChanges) {
  useSettings(0, 0);
  EXPECT_EQ(run("LAYISO", "\n"), RTNORM);
  for (const char* name : {"0", "A", "B", "C"}) EXPECT_TRUE(layerOn(name)) << name;
}

}  // namespace
