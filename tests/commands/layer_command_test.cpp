// -LAYER and LAYER: every option typed by a user and issued by a module
// (the argument sequences the module's commands give), with comma lists,
// wildcards and escaped wildcard characters in names.
#include "command_fixture.h"

namespace {

class LayerCommand : public CommandTest {
 protected:
  void SetUp() override {
    for (const char* layer : {"A", "B", "WALL1", "WALL2"}) makeLine(0, 0, 1, 1, layer);
  }
  bool isOff(const char* layer) { return layerColour(layer) < 0; }
};

TEST_F(LayerCommand, ModuleTurnsOffAListIncludingTheCurrentLayerWithConfirmation) {
  typed("-LAYER", "S\nA\n\n");
  ASSERT_EQ(currentLayer(), "A");
  asModule([] { tcedCommand(RTSTR, "_.LAYER", RTSTR, "_OFF", RTSTR, "A,B", RTSTR, "_Y", RTSTR, "", RTNONE); });
  EXPECT_TRUE(isOff("A"));
  EXPECT_TRUE(isOff("B"));
  EXPECT_FALSE(isOff("WALL1"));
}

TEST_F(LayerCommand, CurrentLayerStaysOnWhenTheUserSaysNo) {
  typed("-LAYER", "OF\n0,A\nN\n\n");
  EXPECT_FALSE(isOff("0"));
  EXPECT_TRUE(isOff("A"));
}

TEST_F(LayerCommand, WildcardsLockFreezeAndThaw) {
  asModule([] { tcedCommand(RTSTR, "_.-Layer", RTSTR, "_LO", RTSTR, "WALL*", RTSTR, "", RTNONE); });
  EXPECT_EQ(layerFlags("WALL1") & 4, 4);
  EXPECT_EQ(layerFlags("WALL2") & 4, 4);
  EXPECT_EQ(layerFlags("A") & 4, 0);
  typed("LAYER", "U\nWALL2\nF\n*\nT\nB\n\n");
  EXPECT_EQ(layerFlags("WALL2") & 4, 0);
  EXPECT_EQ(layerFlags("A") & 1, 1);
  EXPECT_EQ(layerFlags("B") & 1, 0);
  EXPECT_EQ(layerFlags("0") & 1, 0) << "the current layer cannot be frozen";
  EXPECT_NE(transcript().find("It is the CURRENT layer"), std::string::npos);
}

TEST_F(LayerCommand, ModuleUnlocksAndTurnsOnIsolatedLayers) {
  typed("-LAYER", "LO\n*\nOFF\n*\nY\n\n");
  asModule([] {
    tcedCommand(RTSTR, "_.LAYER", RTSTR, "_ON", RTSTR, "A,WALL1", RTSTR, "_U", RTSTR, "A,WALL1", RTSTR, "",
                RTNONE);
  });
  EXPECT_FALSE(isOff("A"));
  EXPECT_EQ(layerFlags("WALL1") & 4, 0);
  EXPECT_TRUE(isOff("B"));
  EXPECT_EQ(layerFlags("B") & 4, 4);
}

TEST_F(LayerCommand, MakeCreatesAndSetsCurrentNewCreatesSeveral) {
  typed("-LAYER", "M\nNEWCUR\nN\nX1,X2\n\n");
  EXPECT_EQ(currentLayer(), "NEWCUR");
  EXPECT_EQ(layerFlags("X1"), 0);
  EXPECT_EQ(layerFlags("X2"), 0);
}

TEST_F(LayerCommand, SetRefusesAFrozenOrMissingLayer) {
  typed("-LAYER", "F\nB\nS\nB\nS\nNOPE\n\n");
  EXPECT_EQ(currentLayer(), "0");
  EXPECT_NE(transcript().find("Cannot set current layer to a frozen layer."), std::string::npos);
  EXPECT_NE(transcript().find("Cannot find layer \"NOPE\"."), std::string::npos);
}

TEST_F(LayerCommand, ColourKeepsALayerOffAndLinetypeMustBeLoaded) {
  typed("-LAYER", "OFF\nB\nC\nred\nA,B\nL\nNOSUCH\nL\nContinuous\nA\n\n");
  EXPECT_EQ(layerColour("A"), 1);
  EXPECT_EQ(layerColour("B"), -1);
  EXPECT_NE(transcript().find("Linetype \"NOSUCH\" not found."), std::string::npos) << transcript();
}

TEST_F(LayerCommand, EscapedWildcardCharactersNameOneLayer) {
  // "#" stands for any digit unless escaped.
  typed("-LAYER", "N\nA`#B,A1B\n\n");
  ASSERT_EQ(layerFlags("A#B"), 0) << transcript();
  typed("-LAYER", "OFF\nA`#B\n\n");
  EXPECT_TRUE(isOff("A#B"));
  EXPECT_FALSE(isOff("A1B"));
  typed("-LAYER", "OFF\nA#B\n\n");
  EXPECT_TRUE(isOff("A1B"));
}

TEST_F(LayerCommand, NamesWithForbiddenCharactersAreRefused) {
  typed("-LAYER", "N\nBAD<NAME\n\n");
  EXPECT_EQ(layerFlags("BAD<NAME"), -1);
  EXPECT_NE(transcript().find("Invalid layer name \"BAD<NAME\"."), std::string::npos) << transcript();
}

TEST_F(LayerCommand, UnmatchedNamesSayNothingMatched) {
  typed("-LAYER", "ON\nZZZ*\n\n");
  EXPECT_NE(transcript().find("No matching layer names found."), std::string::npos);
}

TEST_F(LayerCommand, ListShowsStates) {
  typed("-LAYER", "LO\nB\n?\n\n\n");
  EXPECT_NE(transcript().find("B  On, Locked"), std::string::npos) << transcript();
}

TEST_F(LayerCommand, EachOptionIsUndoneExactly) {
  for (const char* replies : {"OFF\nA,0\nY\n\n", "LO\n*\n\n", "F\nWALL?\n\n", "M\nFRESH\n\n", "C\n5\n*\n\n"}) {
    std::string before = dxf();
    typed("-LAYER", replies);
    ASSERT_NE(dxf(), before) << replies;
    undo();
    EXPECT_EQ(dxf(), before) << replies;
  }
}

}  // namespace
