// LAYOFF: the layer of each picked object goes off, the current layer only
// when the user agrees; picks inside block references name the object's
// own layer, the innermost reference's or the outermost one's by the
// nesting mode; layers of external references carry the "block|" prefix.
#include "iso_helpers.h"

namespace {

class LayOff : public LayerToolTest {
 protected:
  void SetUp() override {
    LayerToolTest::SetUp();
    for (const char* name : {"A", "B"}) makeLayer(name);
    a = makeLine("A", 0, 0, 10, 0);
    b = makeLine("B", 0, 20, 10, 20);
  }
  uint32_t a = 0, b = 0;
};

TEST_F(LayOff, TurnsOffTheLayerOfEachPickedObject) {
  ASSERT_EQ(run("LAYOFF", pickAt(a) + "\n" + pickAt(b) + "\nX\n"), RTNORM) << transcript();
  EXPECT_FALSE(layerOn("A"));
  EXPECT_FALSE(layerOn("B"));
  EXPECT_TRUE(layerOn("0"));
  EXPECT_TRUE(printed("Layer A has been turned off.")) << transcript();
  EXPECT_TRUE(printed("Layer B has been turned off."));
}

TEST_F(LayOff, TheCurrentLayerIsAskedForNoKeepsItOnEnterTurnsItOff) {
  ASSERT_EQ(run("-LAYER", "S\nA\n\n"), RTNORM);
  ASSERT_EQ(run("LAYOFF", pickAt(a) + "\nN\nX\n"), RTNORM) << transcript();
  EXPECT_TRUE(layerOn("A")) << "the answer No keeps the current layer on";
  EXPECT_TRUE(printed("Layer A is the current layer.")) << transcript();

  ASSERT_EQ(run("LAYOFF", pickAt(a) + "\n\nX\n"), RTNORM) << transcript();
  EXPECT_FALSE(layerOn("A")) << "Enter agrees";
  EXPECT_EQ(currentLayer(), "A");
}

TEST_F(LayOff, CancelAtTheQuestionEndsWithTheLayerOn) {
  ASSERT_EQ(run("-LAYER", "S\nA\n\n"), RTNORM);
  run("LAYOFF", pickAt(b) + "\n" + pickAt(a) + "\n^C\n" + pickAt(a) + "\n");
  EXPECT_FALSE(layerOn("B")) << "turned off before the cancel";
  EXPECT_TRUE(layerOn("A"));
  EXPECT_EQ(countOf(transcript(), "is the current layer"), 1u) << "the command ended at the cancel";
}

TEST_F(LayOff, CancelAtThePickChangesNothing) {
  run("LAYOFF", "^C\n");
  EXPECT_TRUE(layerOn("A"));
  EXPECT_TRUE(layerOn("B"));
  EXPECT_EQ(shortVar("CMDECHO"), 1);
}

TEST_F(LayOff, AMissedPickAsksAgain) {
  ASSERT_EQ(run("LAYOFF", "500,500\n" + pickAt(b) + "\nX\n"), RTNORM);
  EXPECT_FALSE(layerOn("B"));
}

TEST_F(LayOff, AWildcardCharacterInTheNameTurnsOffThatLayerOnly) {
  makeLayer("E.LIGHT");
  makeLayer("E-LIGHT");
  const uint32_t dotted = makeLine("E.LIGHT", 0, 40, 10, 40);
  ASSERT_EQ(run("LAYOFF", pickAt(dotted) + "\nX\n"), RTNORM);
  EXPECT_FALSE(layerOn("E.LIGHT"));
  EXPECT_TRUE(layerOn("E-LIGHT"));
}

// OUTER (referenced on layer LO) holds a line on L1 and a reference to
// INNER on layer LI; INNER holds a line on L2. The pick hits INNER's line.
struct NestingCase {
  const char* mode;
  const char* turnedOff;
};

class LayOffBlocks : public LayOff {
 protected:
  void SetUp() override {
    LayOff::SetUp();
    for (const char* name : {"L1", "L2", "LI", "LO"}) makeLayer(name);
    makeBlock("INNER", "L2");
    makeBlock("OUTER", "L1", "INNER", 0, "LI");
    insert("OUTER", "LO", 100, 0);
  }
};

class LayOffNesting : public LayOffBlocks, public testing::WithParamInterface<NestingCase> {};

TEST_P(LayOffNesting, TheModeChoosesTheLayer) {
  ASSERT_EQ(run("LAYOFF", std::string("O\n") + GetParam().mode + "\n105,5\nX\n"), RTNORM) << transcript();
  for (const char* name : {"L1", "L2", "LI", "LO"})
    EXPECT_EQ(layerOn(name), std::string(name) != GetParam().turnedOff) << name << "\n" << transcript();
}

INSTANTIATE_TEST_SUITE_P(Modes, LayOffNesting,
                         testing::Values(NestingCase{"E", "L2"}, NestingCase{"B", "LI"}, NestingCase{"N", "LO"}));

TEST_F(LayOffBlocks, NotNestedEveryModeTakesTheObjectsLayer) {
  for (const char* mode : {"E", "B", "N"}) {
    ASSERT_EQ(run("-LAYER", "ON\n*\n\n"), RTNORM);
    ASSERT_EQ(run("LAYOFF", std::string("O\n") + mode + "\n" + pickAt(a) + "\nX\n"), RTNORM);
    EXPECT_FALSE(layerOn("A")) << mode;
  }
}

TEST_F(LayOffBlocks, EnterAtTheOptionsKeepsTheModeAndCancelEnds) {
  ASSERT_EQ(run("LAYOFF", "O\nN\nO\n\n105,5\nX\n"), RTNORM);
  EXPECT_FALSE(layerOn("LO")) << "still None";
  run("LAYOFF", "O\n^C\n" + pickAt(a) + "\n");
  EXPECT_TRUE(layerOn("A")) << "the command ended at the cancel";
}

// An external reference's layers are named "XR|layer" in the drawing.
TEST_F(LayOff, EntityModeInsideAnExternalReferenceAddsTheReferencePrefix) {
  makeLayer("WALL");
  makeLayer("XR|WALL");
  makeBlock("XR", "WALL", {}, 4);
  insert("XR", "0", 200, 0);
  ASSERT_EQ(run("LAYOFF", "O\nE\n205,0\nX\n"), RTNORM) << transcript();
  EXPECT_FALSE(layerOn("XR|WALL")) << transcript();
  EXPECT_TRUE(layerOn("WALL"));
}

}  // namespace
