// The layer family's commands are registered by the module under both
// names of the shared handlers.
#include "layer_fixture.h"

#include "editor/command_stack.h"

TEST_F(LayerModuleTest, EveryLayerCommandIsRegistered) {
  for (const char* name : {"LAYISO", "LAYUNISO", "LAYOFF", "LAYLCK", "LAYULK", "LAYON", "LAYTHW", "LAYCUR",
                           "LAYCUR1", "LAYMCH", "-LAYMCH", "LAYDEL", "-LAYDEL", "LAYMRG", "-LAYMRG",
                           "COPYTOLAYER", "LAYWALK"})
    EXPECT_NE(session->editor().commands().find(name), nullptr) << name;
}
