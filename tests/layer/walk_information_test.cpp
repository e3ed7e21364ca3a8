// LAYWALK's information box (the objects on the selected layers) and the
// layer state saved through the layer-state module.
#include <tarnsdk/tcdbobjects.h>

#include "walk_helpers.h"

namespace {

class LayerWalkInformation : public LayerWalkTest {
 protected:
  void SetUp() override {
    LayerWalkTest::SetUp();
    for (const char* name : {"A#1", "A01", "Walls", "Unused"}) makeLayer(name);
    makeLine("A#1", 0, 0, 1, 0);
    for (int i = 0; i < 4; ++i) makeLine("A01", 0, i, 1, i);
    for (int i = 0; i < 2; ++i) makeLine("Walls", 5, i, 6, i);
  }

  // The named layer states the drawing keeps.
  uint32_t savedLayerStates() {
    TcDbLayerTable* table = nullptr;
    if (tcdbWorkingDatabase()->getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return 0;
    const TcDbObjectId extension = table->extensionDictionary();
    table->close();
    TcDbDictionary* dictionary = nullptr;
    if (extension.isNull() || tcdbOpenObject(dictionary, extension, TcDb::kForRead) != TcDb::eOk) return 0;
    TcDbObjectId statesId;
    const bool found = dictionary->getAt("ACAD_LAYERSTATES", statesId) == TcDb::eOk;
    dictionary->close();
    TcDbDictionary* states = nullptr;
    if (!found || tcdbOpenObject(states, statesId, TcDb::kForRead) != TcDb::eOk) return 0;
    const uint32_t count = states->numEntries();
    states->close();
    return count;
  }
};

TEST_F(LayerWalkInformation, TheInformationBoxCountsTheObjectsOnTheSelectedLayers) {
  walk("select 2305 \"A#1\" \"Walls\"\nclick 2323\nok\nclose\n");
  EXPECT_NE(transcript().find("Selected layers: 2"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Objects on these layers: 3"), std::string::npos)
      << "A#1 counts its own object only, not those of A01";
}

TEST_F(LayerWalkInformation, InformationIsDisabledWithoutASelection) {
  run("LAYWALK", "select 2305 none\nclick 2323\nclose\n");
  EXPECT_NE(transcript().find("Control 2323 (button) is disabled."), std::string::npos) << transcript();
}

// The layer-state module saves the state (it may ask for a name: Enter
// takes its default); a saved state, which names every layer, does not keep
// an unused layer from being purged.
TEST_F(LayerWalkInformation, SaveLayerStateKeepsANamedStateAndUnusedLayersStayPurgeable) {
  walk("click 2322\n\nselect 2305 \"Unused\"\nclick 2303\nclose\n");
  EXPECT_EQ(savedLayerStates(), 1u) << transcript();
  EXPECT_FALSE(layerExists("Unused"));
  EXPECT_TRUE(layerExists("Walls"));
}

}  // namespace
