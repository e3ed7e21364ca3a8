// Named layer states saved by the layer-state module ("LayerStateSaveCmd",
// the layer walk's save button) as DXF drawings keep them: the LAYER table's
// extension dictionary "ACAD_LAYERSTATES" with one xrecord per state, read
// back here by the host and by another DXF reader.
#include <cstdio>
#include <memory>

#include "manager_helpers.h"

namespace {

class NamedStateTest : public LayerManagerTest {
 protected:
  // The host's view: the state names in the dictionary, in order.
  std::vector<std::string> stateNames() {
    std::vector<std::string> out;
    TcDbLayerTable* table = nullptr;
    if (tcdbWorkingDatabase()->getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return out;
    const TcDbObjectId xdict = table->extensionDictionary();
    table->close();
    TcDbDictionary* dict = nullptr;
    if (xdict.isNull() || tcdbOpenObject(dict, xdict, TcDb::kForRead) != TcDb::eOk) return out;
    TcDbObjectId statesId;
    dict->getAt("ACAD_LAYERSTATES", statesId);
    dict->close();
    TcDbDictionary* states = nullptr;
    if (statesId.isNull() || tcdbOpenObject(states, statesId, TcDb::kForRead) != TcDb::eOk) return out;
    for (const auto& entry : states->entries()) out.push_back(entry.first);
    states->close();
    return out;
  }

  // What the other DXF reader finds in a saved drawing, one line per finding.
  static std::string readWithEzdxf(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 " TARN_TEST_DATA "/layer/read_layer_states.py '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return "cannot run " + command;
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
    return out;
  }
};

TEST_F(NamedStateTest, StatesTakeTheNextFreeName) {
  makeLayer("A");
  saveLayerState();
  saveLayerState();
  EXPECT_EQ(stateNames(), (std::vector<std::string>{"LAYWALK1", "LAYWALK2"}));
  EXPECT_NE(transcript().find("\"LAYWALK2\""), std::string::npos) << transcript();
}

TEST_F(NamedStateTest, AnotherDxfReaderFindsTheSavedState) {
  makeLayer("WALLS", 0, -1);
  makeLayer("DOORS", 5, 2);
  saveLayerState();
  const std::string found = readWithEzdxf(saveDrawing("states.dxf"));
  EXPECT_NE(found.find("audit-errors 0\n"), std::string::npos) << found;
  EXPECT_NE(found.find("state LAYWALK1 current=0 "), std::string::npos) << found;
  EXPECT_NE(found.find("layer LAYWALK1 WALLS flags=0 colour=-1 linetype=CONTINUOUS\n"), std::string::npos) << found;
  EXPECT_NE(found.find("layer LAYWALK1 DOORS flags=5 colour=2 linetype=CONTINUOUS\n"), std::string::npos) << found;
  EXPECT_NE(found.find("layer LAYWALK1 0 flags=0 colour=7 "), std::string::npos) << found;
}

TEST_F(NamedStateTest, StatesSurviveSaveAndReopenAndNumberingGoesOn) {
  makeLayer("A");
  saveLayerState();
  reopen(saveDrawing("first.dxf"));
  saveLayerState();
  EXPECT_EQ(stateNames(), (std::vector<std::string>{"LAYWALK1", "LAYWALK2"}));
  const std::string found = readWithEzdxf(saveDrawing("second.dxf"));
  EXPECT_NE(found.find("audit-errors 0\n"), std::string::npos) << found;
  EXPECT_NE(found.find("state LAYWALK2 "), std::string::npos) << found;
}

// The isolation record and the named states live apart: saving a state
// does not disturb a pending LAYUNISO.
TEST_F(NamedStateTest, SavingAStateKeepsTheIsolationRecord) {
  makeLayer("A");
  layIso();
  run("-LAYER", "_OFF\nA\n\n");
  saveLayerState();
  EXPECT_NE(layUniso(), 0);
  EXPECT_EQ(layerState("A"), "on");
  EXPECT_EQ(stateNames().size(), 1u);
}

}  // namespace
