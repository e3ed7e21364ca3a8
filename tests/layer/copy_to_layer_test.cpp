// COPYTOLAYER run as a user runs it: objects picked one selection at a
// time, the destination chosen in the dialog (a listed layer, a new name,
// or an object picked with "Select Object <"), copies left in place or
// moved, a locked destination locked again, and a cancel at the base point,
// during the move or at any earlier prompt leaving no copies behind.
#include <tarnsdk/tcedinput.h>

#include <algorithm>
#include <vector>

#include "api/host_state.h"
#include "layer_fixture.h"
#include "merge_helpers.h"

using merge_test::dxf;
using merge_test::objectsOn;

class CopyToLayerTest : public LayerModuleTest {
 protected:
  void SetUp() override {
    LayerModuleTest::SetUp();
    makeLayer("A");
    makeLayer("B");
    first = makeLine("A", 0, 0, 10, 0);
    second = makeLine("A", 0, 5, 10, 5);
  }
  std::string pickBoth() { return pickAt(first) + "\n" + pickAt(second) + "\n\n"; }
  // The lines on a layer with the y of their first points.
  std::vector<double> rowsOn(std::string_view layer) {
    std::vector<double> rows;
    const tarn::db::Database& d = db();
    for (uint32_t id : d.blocks()[d.modelSpace()].entities) {
      auto tag = tarn::db::findTag(d, id, 8);
      if (d.isErased(id) || !tag || tag->s != layer) continue;
      rows.push_back(tarn::db::findTag(d, id, 10)->p.y);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  uint32_t first = 0, second = 0;
};

TEST_F(CopyToLayerTest, CopiesInPlaceOntoALayerChosenInTheList) {
  run("COPYTOLAYER", pickBoth() + "select 1001 \"B\"\nok\n\n");
  EXPECT_EQ(rowsOn("B"), (std::vector<double>{0, 5})) << transcript();
  EXPECT_EQ(rowsOn("A"), (std::vector<double>{0, 5}));
  EXPECT_NE(transcript().find("2 object(s) copied to layer \"B\"."), std::string::npos);
}

TEST_F(CopyToLayerTest, MovesTheCopiesToTheSecondPointGiven) {
  run("COPYTOLAYER", pickBoth() + "select 1001 \"B\"\nok\n0,0\n0,100\n");
  EXPECT_EQ(rowsOn("B"), (std::vector<double>{100, 105})) << transcript();
  EXPECT_EQ(rowsOn("A"), (std::vector<double>{0, 5}));
}

TEST_F(CopyToLayerTest, ANewLayerTakesTheColourAndLinetypeOfTheFirstObject) {
  double a[3] = {0, 20, 0}, b[3] = {10, 20, 0};
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "LTYPE", 2, "DOTS", 70, 0, 3, "dots", 72, 65, 73, 0, 40, 0.0,
                                             RTNONE)));
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "LINE", 8, "A", 62, 3, 6, "DOTS", 10, a, 11, b, RTNONE)));
  run("COPYTOLAYER", "5,20\n\ntext 1002 Green copies\nok\n\n");
  EXPECT_EQ(layerColour("Green copies"), 3) << transcript();
  auto linetype = tarn::db::findTag(db(), db().findRecord("LAYER", "Green copies"), 6);
  ASSERT_TRUE(linetype.has_value());
  EXPECT_EQ(linetype->s, "DOTS");
  EXPECT_EQ(rowsOn("Green copies"), (std::vector<double>{20}));
}

TEST_F(CopyToLayerTest, ANewLayerForAnObjectWithoutColourOrLinetypeIsWhiteAndContinuous) {
  run("COPYTOLAYER", pickAt(first) + "\n\ntext 1002 Plain\nok\n\n");
  EXPECT_EQ(layerColour("Plain"), 7) << transcript();
  auto linetype = tarn::db::findTag(db(), db().findRecord("LAYER", "Plain"), 6);
  ASSERT_TRUE(linetype.has_value());
  EXPECT_TRUE(tarn::db::equalsNoCase(linetype->s, "CONTINUOUS"));
}

TEST_F(CopyToLayerTest, ALockedDestinationIsLockedAgainAfterTheCopies) {
  makeLayer("Lock.ed", 4);
  makeLayer("Lock-ed");
  run("COPYTOLAYER", pickBoth() + "select 1001 \"Lock.ed\"\nok\n0,0\n50,0\n");
  EXPECT_EQ(layerFlags("Lock.ed") & 4, 4) << transcript();
  EXPECT_EQ(layerFlags("Lock-ed") & 4, 0) << "the lock went to that layer only";
  EXPECT_EQ(rowsOn("Lock.ed"), (std::vector<double>{0, 5}));
}

TEST_F(CopyToLayerTest, SelectObjectTakesTheLayerOfThePickedObject) {
  const uint32_t onB = makeLine("B", 0, 30, 10, 30);
  run("COPYTOLAYER", pickAt(first) + "\n\nclick 1003\n" + pickAt(onB) + "\n\n");
  EXPECT_EQ(rowsOn("B"), (std::vector<double>{0, 30})) << transcript();
}

// A copy goes to the end of model space; objects of paper space made later
// come after it in the drawing's order and must not be taken for copies.
TEST_F(CopyToLayerTest, FindsTheCopiesWhenPaperSpaceHoldsLaterObjects) {
  double a[3] = {0, 0, 0}, b[3] = {3, 3, 0};
  ASSERT_TRUE(merge_test::make(tcutBuildList(RTDXF0, "LINE", 8, "A", 67, 1, 10, a, 11, b, RTNONE)));
  run("COPYTOLAYER", pickAt(first) + "\n\nselect 1001 \"B\"\nok\n\n");
  EXPECT_EQ(rowsOn("B"), (std::vector<double>{0})) << transcript();
  EXPECT_EQ(objectsOn(db(), "A"), 3) << "the paper-space line stays on its layer";
}

TEST_F(CopyToLayerTest, ObjectsOnLockedLayersAreLeftOut) {
  makeLayer("Locked", 4);
  const uint32_t locked = makeLine("Locked", 0, 40, 10, 40);
  const std::string before = dxf(db());
  run("COPYTOLAYER", pickAt(locked) + "\n\n");
  EXPECT_NE(transcript().find("1 object(s) on locked layers removed from the selection."), std::string::npos)
      << transcript();
  EXPECT_EQ(dxf(db()), before);
}

TEST_F(CopyToLayerTest, ABadNewNameIsRefusedInTheDialog) {
  run("COPYTOLAYER", pickAt(first) + "\n\ntext 1002 bad<name\nok\ncancel\n");
  EXPECT_NE(transcript().find("\"bad<name\" cannot be a layer name"), std::string::npos) << transcript();
  EXPECT_FALSE(layerExists("bad<name"));
  EXPECT_EQ(objectsOn(db(), "A"), 2);
}

// A cancel at the base point or during the move takes the copies back, and
// a layer made for them goes too.
class CopyToLayerDiscardTest : public CopyToLayerTest, public testing::WithParamInterface<const char*> {};

TEST_P(CopyToLayerDiscardTest, LeavesNoCopies) {
  makeLayer("Locked", 4);
  const auto settings = merge_test::settings();
  run("COPYTOLAYER", pickBoth() + GetParam());
  EXPECT_EQ(objectsOn(db(), "Locked"), 0) << transcript();
  EXPECT_EQ(objectsOn(db(), "New"), 0);
  EXPECT_FALSE(layerExists("New"));
  EXPECT_EQ(layerFlags("Locked") & 4, 4);
  EXPECT_EQ(objectsOn(db(), "A"), 2);
  EXPECT_EQ(merge_test::settings(), settings);
}

INSTANTIATE_TEST_SUITE_P(AtBasePointOrMove, CopyToLayerDiscardTest,
                         testing::Values("select 1001 \"Locked\"\nok\n^C\n",      // the base point
                                         "select 1001 \"Locked\"\nok\n0,0\n^C\n",  // the second point
                                         "text 1002 New\nok\n^C\n"));              // with a new layer

class CopyToLayerCancelTest : public CopyToLayerTest, public testing::WithParamInterface<const char*> {};

TEST_P(CopyToLayerCancelTest, ChangesNothing) {
  const std::string before = dxf(db());
  const auto settings = merge_test::settings();
  std::string replies = GetParam();
  if (size_t at = replies.find("PICK"); at != std::string::npos) replies.replace(at, 4, pickAt(first));
  run("COPYTOLAYER", replies);
  EXPECT_EQ(dxf(db()), before) << transcript();
  EXPECT_EQ(merge_test::settings(), settings);
}

INSTANTIATE_TEST_SUITE_P(AtEachPrompt, CopyToLayerCancelTest,
                         testing::Values("^C\n",                         // the first selection
                                         "PICK\n^C\n",                   // a later selection
                                         "PICK\n\ncancel\n",             // the dialog
                                         "PICK\n\n^C\n",                 // the dialog, by Esc
                                         "PICK\n\nclick 1003\n^C\n"));   // the pick for the layer

// COPYTOLAYER keeps the pickfirst set when it reads it: objects selected
// before the command are the first selection, and the next selection must
// ask rather than give the same set again for ever.
TEST_F(CopyToLayerTest, ObjectsSelectedBeforeTheCommandAreTheFirstSelection) {
  tc_name line{}, set{};
  tarn::host::makeName(db(), first, line);
  ASSERT_EQ(tcedSSAdd(line, nullptr, set), RTNORM);
  ASSERT_EQ(tcedSSSetFirst(set, nullptr), RTNORM);
  tcedSSFree(set);
  run("_PICKFIRST", "1\n");
  run("COPYTOLAYER", pickAt(second) + "\n\nselect 1001 \"B\"\nok\n\n");
  EXPECT_EQ(rowsOn("B"), (std::vector<double>{0, 5})) << transcript();
}
