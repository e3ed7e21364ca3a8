// LAYWALK's saved filters: read from the "LayWalk" settings (numbered from 1
// up to the first gap), offered in the filter box, saved and deleted by the
// dialog, and applied when picked and switched on.
#include "walk_helpers.h"

namespace {

class LayerWalkFilters : public LayerWalkTest {
 protected:
  void SetUp() override {
    LayerWalkTest::SetUp();
    for (const char* name : {"A-Walls", "A-Doors", "M-Pipes", "E-Light"}) makeLayer(name);
  }
};

TEST_F(LayerWalkFilters, FiltersNumberedOneTwoAndFourGiveTwo) {
  storeText("Filter1", "A-*");
  storeText("Filter2", "M-*");
  storeText("Filter4", "E-*");
  walk("close\n");
  EXPECT_NE(transcript().find("  [2307] combo \"Filter\" (editable): \"*\"\n"
                              "        0 \"A-*\"\n"
                              "        1 \"M-*\"\n"
                              "  [2308]"),
            std::string::npos)
      << transcript();
}

TEST_F(LayerWalkFilters, APickedFilterAppliesWhenSwitchedOn) {
  storeText("Filter1", "A-*");
  storeText("Filter2", "M-*");
  walk(std::string("select 2307 \"M-*\"\nclick 2308\n") + kCloseKeepingLayers);
  EXPECT_TRUE(layerOn("M-Pipes"));
  for (const char* name : {"0", "A-Walls", "A-Doors", "E-Light"}) EXPECT_FALSE(layerOn(name)) << name;
}

TEST_F(LayerWalkFilters, SavingAndDeletingFiltersRewritesTheNumberedValues) {
  storeText("Filter1", "A-*");
  walk("text 2307 E-*\nclick 2326\ntext 2307 M-*\nclick 2326\ntext 2307 A-*\nclick 2327\nclose\n");
  std::string text;
  ASSERT_TRUE(storedText("Filter1", &text));
  EXPECT_EQ(text, "E-*");
  ASSERT_TRUE(storedText("Filter2", &text));
  EXPECT_EQ(text, "M-*");
  EXPECT_FALSE(storedText("Filter3", &text)) << "the deleted filter leaves no value behind";
  walk("close\n");
  EXPECT_NE(transcript().find("        0 \"E-*\"\n        1 \"M-*\"\n  [2308]"), std::string::npos) << transcript();
}

TEST_F(LayerWalkFilters, AFilterTooLongToReadBackIsNotSaved) {
  walk("text 2307 " + std::string(600, 'A') + "*\nclick 2326\nclose\n");
  std::string text;
  EXPECT_FALSE(storedText("Filter1", &text));
  EXPECT_NE(transcript().find("cannot be saved"), std::string::npos);
}

}  // namespace
