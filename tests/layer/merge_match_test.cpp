// LAYMCH run as a user runs it: the selected objects go to the layer of the
// picked object; objects on locked layers are not taken; cancelling at
// either prompt changes nothing.
#include "layer_fixture.h"
#include "merge_helpers.h"

using merge_test::dxf;

class LayMchTest : public LayerModuleTest {};

TEST_F(LayMchTest, MovesTheSelectionToThePickedObjectsLayer) {
  makeLayer("A");
  makeLayer("B");
  makeLayer("Locked", 4);
  const uint32_t first = makeLine("A", 0, 0, 10, 0);
  const uint32_t second = makeLine("A", 0, 5, 10, 5);
  const uint32_t locked = makeLine("Locked", 0, 10, 10, 10);
  const uint32_t target = makeLine("B", 0, 15, 10, 15);
  run("-LAYMCH", pickAt(first) + "\n" + pickAt(second) + "\n" + pickAt(locked) + "\n\n" + pickAt(target) + "\n");
  EXPECT_EQ(layerOf(first), "B") << transcript();
  EXPECT_EQ(layerOf(second), "B");
  EXPECT_EQ(layerOf(locked), "Locked");
  EXPECT_NE(transcript().find("2 object(s) changed to layer \"B\"."), std::string::npos);
}

class LayMchCancelTest : public LayerModuleTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayMchCancelTest, ChangesNothing) {
  makeLayer("A");
  const uint32_t line = makeLine("A", 0, 0, 10, 0);
  makeLine("0", 0, 5, 10, 5);
  const std::string before = dxf(db());
  std::string replies = GetParam();
  if (size_t at = replies.find("PICK"); at != std::string::npos) replies.replace(at, 4, pickAt(line));
  run("LAYMCH", replies);
  EXPECT_EQ(dxf(db()), before) << transcript();
  EXPECT_EQ(layerOf(line), "A");
}

INSTANTIATE_TEST_SUITE_P(AtEachPrompt, LayMchCancelTest,
                         testing::Values("^C\n",           // the selection
                                         "PICK\n\n^C\n",   // the target pick
                                         "PICK\n\n\n"));   // Enter at the target pick
