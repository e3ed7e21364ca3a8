// LAYWALK's walk: what the list selection, holding and the filters turn on
// and off in the drawing, with layer "0" current during the walk and the
// old current layer back afterwards.
#include "walk_helpers.h"

namespace {

class LayerWalkDialog : public LayerWalkTest {
 protected:
  void SetUp() override {
    LayerWalkTest::SetUp();
    for (const char* name : {"Walls", "Doors", "Windows", "E.LIGHT", "E-LIGHT"}) makeLayer(name);
    makeCurrent("Doors");
  }
};

TEST_F(LayerWalkDialog, SelectingOneLayerTurnsEveryOtherOffAndLayerZeroIsConfirmed) {
  walk(std::string("select 2305 \"Walls\"\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("Walls"));
  for (const char* name : {"0", "Doors", "Windows", "E.LIGHT", "E-LIGHT"}) EXPECT_FALSE(layerOn(name)) << name;
  EXPECT_EQ(currentLayer(), "Doors") << "the layer current before the walk comes back";
}

// "0" is current during the walk: turning it off needs LAYER's confirmation,
// which must not go to the layer that was current before.
TEST_F(LayerWalkDialog, TheConfirmationGoesToTheLayerCurrentDuringTheWalk) {
  walk(std::string("select 2305 \"Doors\"\nselect 2305 \"Walls\"\nselect 2305 \"Doors\"\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("Doors"));
  EXPECT_FALSE(layerOn("0"));
  EXPECT_FALSE(layerOn("Walls"));
}

TEST_F(LayerWalkDialog, SelectingNoneTurnsAllListedOffExceptHeld) {
  walk(std::string("select 2305 \"Windows\"\nclick 2313\nselect 2305 none\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("Windows")) << "held";
  for (const char* name : {"0", "Walls", "Doors", "E.LIGHT", "E-LIGHT"}) EXPECT_FALSE(layerOn(name)) << name;
  EXPECT_NE(transcript().find("\"*Windows\""), std::string::npos) << "a held layer is listed with a star";
}

TEST_F(LayerWalkDialog, AHeldLayerStaysOnWhenFilteredOut) {
  walk(std::string("select 2305 \"Walls\"\nclick 2313\ntext 2307 WIN*\n\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("Walls")) << "held, not listed";
  EXPECT_TRUE(layerOn("Windows")) << "listed by the filter and selected";
  for (const char* name : {"0", "Doors", "E.LIGHT"}) EXPECT_FALSE(layerOn(name)) << name;
}

TEST_F(LayerWalkDialog, ReleasingTheHeldLayerTurnsItOffOnceItIsNoLongerShown) {
  walk(std::string("select 2305 \"Walls\"\nclick 2313\ntext 2307 D*\n\nclick 2315\n") + kCloseKeepingLayers);
  EXPECT_FALSE(layerOn("Walls"));
  EXPECT_TRUE(layerOn("Doors"));
}

TEST_F(LayerWalkDialog, FiltersAreWildcardsWithEscapes) {
  walk(std::string("text 2307 E`.LIGHT\n\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("E.LIGHT"));
  EXPECT_FALSE(layerOn("E-LIGHT")) << "the escaped dot matches only itself";
  EXPECT_FALSE(layerOn("Walls"));
}

TEST_F(LayerWalkDialog, FilterAlternativesAndNegation) {
  walk(std::string("text 2307 ~*LIGHT,Walls\n\n") + kCloseKeepingLayers);
  for (const char* name : {"0", "Walls", "Doors", "Windows"}) EXPECT_TRUE(layerOn(name)) << name;
  EXPECT_FALSE(layerOn("E.LIGHT"));
  EXPECT_FALSE(layerOn("E-LIGHT"));
}

TEST_F(LayerWalkDialog, TheFilterToggleAppliesTheTextAndSwitchedOffListsEveryLayer) {
  walk(std::string("text 2307 E?LIGHT\nclick 2308\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("E.LIGHT"));
  EXPECT_TRUE(layerOn("E-LIGHT"));
  EXPECT_FALSE(layerOn("Walls"));
  walk("text 2307 E?LIGHT\nclick 2308\nclick 2308\nclose\nok\n");  // RestoreOnExit 0 is stored now
  EXPECT_TRUE(layerOn("Walls")) << "the filter switched off lists and shows every layer";
}

TEST_F(LayerWalkDialog, AnEmptyFilterTextListsEveryLayer) {
  walk(std::string("text 2307 Walls\n\ntext 2307 \"\"\n") + kCloseKeepingLayers);
  for (const char* name : {"0", "Walls", "Doors", "E.LIGHT"}) EXPECT_TRUE(layerOn(name)) << name;
}

// Layer names reach LAYER escaped: "A#1" must not also switch "A01".
TEST_F(LayerWalkDialog, NamesWithPatternCharactersSwitchOnlyThemselves) {
  makeLayer("A#1", 0, -7);
  makeLayer("A01", 0, -7);
  walk(std::string("select 2305 \"A#1\"\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("A#1"));
  EXPECT_FALSE(layerOn("A01"));
}

TEST_F(LayerWalkDialog, LongLayerNamesAreSwitchedWhole) {
  const std::string longName = std::string(250, 'L') + "#1";
  const std::string sibling = std::string(250, 'L') + "01";
  makeLayer(longName, 0, -7);
  makeLayer(sibling, 0, -7);
  walk("select 2305 \"" + longName + "\"\n" + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn(longName));
  EXPECT_FALSE(layerOn(sibling));
}

TEST_F(LayerWalkDialog, MenuCommandsChangeTheSelection) {
  walk(std::string("select 2305 \"Walls\"\nclick 2318\n") + kCloseKeepingLayers);
  EXPECT_FALSE(layerOn("Walls")) << "inverted";
  EXPECT_TRUE(layerOn("Doors"));
  walk("click 2317\nclick 2316\nclose\nok\n");  // RestoreOnExit 0 is stored now
  for (const char* name : {"0", "Walls", "Doors", "E.LIGHT"}) EXPECT_TRUE(layerOn(name)) << name;
}

TEST_F(LayerWalkDialog, ReleaseAndNameCopyAreEnabledOnlyWhenTheyCanAct) {
  run("LAYWALK", "select 2305 \"Walls\"\nclick 2314\nselect 2305 \"Walls\" \"Doors\"\nclick 2325\nclose\n");
  EXPECT_NE(transcript().find("Control 2314 (button) is disabled."), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Control 2325 (button) is disabled."), std::string::npos);
}

TEST_F(LayerWalkDialog, CopyingANameFillsTheFilter) {
  walk(std::string("select 2305 \"E.LIGHT\"\nclick 2325\n\n") + kCloseKeepingLayers);
  EXPECT_NE(transcript().find("[2307] combo \"Filter\" (editable): \"E.LIGHT\""), std::string::npos) << transcript();
  EXPECT_TRUE(layerOn("E.LIGHT"));
  EXPECT_TRUE(layerOn("E-LIGHT")) << "the copied name is a pattern: the dot matches any separator";
  EXPECT_FALSE(layerOn("Walls"));
}

}  // namespace
