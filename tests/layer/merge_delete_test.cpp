// LAYDEL run as a user runs it: layers marked by picking and by name, the
// refusals, "No" and cancel putting every marked layer back as it was,
// objects in block definitions, records kept while an attribute or vertex
// still names them, and names with wildcard characters.
#include <utility>

#include "layer_fixture.h"
#include "merge_helpers.h"

using merge_test::countOf;
using merge_test::dxf;
using merge_test::objectsOn;

class LayDelTest : public LayerModuleTest {};

TEST_F(LayDelTest, DeletesPickedLayerWithItsObjectsAndRecord) {
  makeLayer("Walls");
  makeLayer("Doors");
  const uint32_t wall = makeLine("Walls", 0, 0, 10, 0);
  makeLine("Walls", 0, 5, 10, 5);
  makeLine("Doors", 0, 10, 10, 10);
  run("LAYDEL", pickAt(wall) + "\n\nYes\n");
  EXPECT_FALSE(layerExists("Walls")) << transcript();
  EXPECT_EQ(objectsOn(db(), "Walls"), 0);
  EXPECT_EQ(objectsOn(db(), "Doors"), 1);
  EXPECT_NE(transcript().find("Deleting layer \"Walls\"."), std::string::npos);
  EXPECT_NE(transcript().find("1 layer(s) deleted."), std::string::npos);
}

struct Refusal {
  const char* layer;
  int flags;
  const char* message;
};

class LayDelRefusalTest : public LayerModuleTest, public testing::WithParamInterface<Refusal> {};

TEST_P(LayDelRefusalTest, RefusesWithItsMessageAndLeavesTheLayerUnmarked) {
  const Refusal& r = GetParam();
  makeLayer("Current");
  const bool exists = r.flags >= 0;
  if (exists && std::string(r.layer) != "0" && std::string(r.layer) != "Current") makeLayer(r.layer, r.flags);
  run("-LAYER", "Set\nCurrent\n\n");
  const int flagsBefore = layerFlags(r.layer);
  const std::string before = dxf(db());
  run("LAYDEL", std::string("Type\n") + r.layer + "\n\n\n");
  EXPECT_NE(transcript().find(r.message), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("Layers marked for deletion"), std::string::npos);
  EXPECT_EQ(layerFlags(r.layer), flagsBefore);
  EXPECT_EQ(layerOn(r.layer), exists);
  EXPECT_EQ(dxf(db()), before);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, LayDelRefusalTest,
    testing::Values(Refusal{"0", 0, "Layer 0 cannot be deleted."},
                    Refusal{"Current", 0, "The current layer cannot be deleted."},
                    Refusal{"Locked", 4, "Layer \"Locked\" is locked or belongs to an external reference"},
                    Refusal{"Site|Trees", 16 | 32, "Layer \"Site|Trees\" is locked or belongs to an external"},
                    Refusal{"Nowhere", -1, "The drawing has no layer \"Nowhere\"."}),
    [](const testing::TestParamInfo<Refusal>& param) { return std::to_string(param.index); });

TEST_F(LayDelTest, AnsweredNoPutsEveryMarkedLayerBackAsItWas) {
  makeLayer("Walls");
  makeLayer("Frozen", 1);
  makeLayer("Hidden", 0, -3);
  const uint32_t wall = makeLine("Walls", 0, 0, 10, 0);
  makeLine("Frozen", 0, 5, 10, 5);
  const std::string before = dxf(db());
  const auto settings = merge_test::settings();
  run("LAYDEL", pickAt(wall) + "\nType\nFrozen\nHidden\n\n\nNo\n");
  EXPECT_NE(transcript().find("Walls , Frozen , Hidden"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("No layers were deleted."), std::string::npos);
  EXPECT_TRUE(layerOn("Walls"));
  EXPECT_EQ(layerFlags("Walls") & 1, 0) << "thawed again";
  EXPECT_EQ(layerFlags("Frozen") & 1, 1) << "a layer frozen before stays frozen";
  EXPECT_FALSE(layerOn("Hidden")) << "a layer off before stays off";
  EXPECT_EQ(dxf(db()), before);
  EXPECT_EQ(merge_test::settings(), settings);
}

TEST_F(LayDelTest, UndoUnmarksTheLastLayer) {
  makeLayer("A");
  makeLayer("B");
  const uint32_t a = makeLine("A", 0, 0, 10, 0);
  const uint32_t b = makeLine("B", 0, 5, 10, 5);
  run("LAYDEL", pickAt(a) + "\n" + pickAt(b) + "\nUndo\n\nYes\n");
  EXPECT_FALSE(layerExists("A")) << transcript();
  EXPECT_TRUE(layerExists("B"));
  EXPECT_TRUE(layerOn("B"));
  EXPECT_EQ(layerFlags("B") & 1, 0);
  EXPECT_EQ(objectsOn(db(), "B"), 1);
}

TEST_F(LayDelTest, ErasesObjectsOnTheLayerInsideBlockDefinitions) {
  makeLayer("Gone");
  makeLayer("Kept");
  merge_test::makeBlock("Door", {"Gone", "Kept", "Gone"});
  run("LAYDEL", "Type\nGone\n\n\nYes\n");
  EXPECT_NE(transcript().find("2 object(s) inside block definitions"), std::string::npos) << transcript();
  EXPECT_EQ(merge_test::objectsInBlockOn(db(), "Door", "Gone"), 0);
  EXPECT_EQ(merge_test::objectsInBlockOn(db(), "Door", "Kept"), 1);
  EXPECT_FALSE(layerExists("Gone"));
}

// The selection of LAYDEL reaches the drawing's main objects and block
// definitions; an attribute or a vertex on the layer still names it after
// the erase, so the record must stay (and the layer comes back as it was).
TEST_F(LayDelTest, KeepsRecordsAnAttributeOrVertexStillNames) {
  makeLayer("Block");
  makeLayer("AttrLayer");
  makeLayer("VertexLayer");
  merge_test::makeBlock("Tag", {"0"});
  merge_test::makeInsertWithAttribute("Tag", "Block", "AttrLayer", 20, 20);
  merge_test::makePolyline("Block", "VertexLayer", 30);
  makeLine("AttrLayer", 0, 0, 10, 0);
  run("LAYDEL", "Type\nAttrLayer\nVertexLayer\n\n\nYes\n");
  EXPECT_TRUE(layerExists("AttrLayer")) << transcript();
  EXPECT_TRUE(layerExists("VertexLayer"));
  EXPECT_NE(transcript().find("were kept:\nAttrLayer\nVertexLayer"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("0 layer(s) deleted."), std::string::npos);
  EXPECT_EQ(objectsOn(db(), "AttrLayer"), 1) << "the line went, the attribute stays";
  EXPECT_TRUE(layerOn("AttrLayer"));
  EXPECT_EQ(layerFlags("VertexLayer") & 1, 0);
}

TEST_F(LayDelTest, NameWithWildcardCharactersDeletesOnlyThatLayer) {
  makeLayer("A#1");
  makeLayer("A01");
  makeLayer("E.LIGHT");
  makeLayer("E-LIGHT");
  makeLine("A#1", 0, 0, 10, 0);
  makeLine("A01", 0, 5, 10, 5);
  makeLine("E.LIGHT", 0, 10, 10, 10);
  makeLine("E-LIGHT", 0, 15, 10, 15);
  run("LAYDEL", "Type\nA#1\nE.LIGHT\n\n\nYes\n");
  EXPECT_FALSE(layerExists("A#1")) << transcript();
  EXPECT_FALSE(layerExists("E.LIGHT"));
  EXPECT_EQ(objectsOn(db(), "A01"), 1);
  EXPECT_EQ(objectsOn(db(), "E-LIGHT"), 1);
  EXPECT_TRUE(layerOn("A01"));
  EXPECT_TRUE(layerOn("E-LIGHT"));
}

// Cancel at each prompt after layers were marked: the drawing and the
// settings are as before and nothing is held (the fixture checks that).
class LayDelCancelTest : public LayerModuleTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayDelCancelTest, LeavesTheDrawingAsItWas) {
  makeLayer("Walls");
  makeLayer("Doors");
  const uint32_t wall = makeLine("Walls", 0, 0, 10, 0);
  makeLine("Doors", 0, 5, 10, 5);
  const std::string before = dxf(db());
  const auto settings = merge_test::settings();
  std::string replies = GetParam();
  replies.replace(replies.find("PICK"), 4, pickAt(wall));
  run("LAYDEL", replies);
  EXPECT_EQ(dxf(db()), before) << transcript();
  EXPECT_EQ(merge_test::settings(), settings);
  EXPECT_EQ(countOf(transcript(), "Layers marked for deletion"), 2u) << "marked, then Doors by name";
}

INSTANTIATE_TEST_SUITE_P(AtEachPrompt, LayDelCancelTest,
                         testing::Values("PICK\nType\nDoors\n\n^C\n",  // the pick prompt
                                         "PICK\nType\nDoors\n^C\n",    // the name prompt
                                         "PICK\nType\nDoors\n\n\n^C\n"  // the confirmation
                                         ));
