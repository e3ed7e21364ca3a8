// U and UNDO at the command line and inside module commands: a module
// command that changes objects through entity lists and host commands
// together is undone by one U, to the same file bytes.
#include "command_fixture.h"

namespace {

class UndoCommands : public CommandTest {};

TEST_F(UndoCommands, ModuleCommandWithEntityListsAndHostCommandsIsOneGroup) {
  makeLine(0, 0, 10, 0, "A");
  std::string before = dxf();
  asModule([&] {
    tc_name e;
    tcdbEntLast(e);
    resbuf* list = tcdbEntGet(e);
    for (resbuf* rb = list; rb; rb = rb->rbnext)
      if (rb->restype == 10) rb->resval.rpoint[1] = 3;
    tcdbEntMod(list);
    tcutRelRb(list);
    tcdbEntDel(e);
    tcdbEntDel(e);  // toggled back
    tcedCommand(RTSTR, "_.LAYER", RTSTR, "_N", RTSTR, "NEW", RTSTR, "_LO", RTSTR, "A", RTSTR, "", RTNONE);
    double a[3] = {0, 0, 0}, b[3] = {5, 5, 0};
    tcedCommand(RTSTR, "_.LINE", RTPOINT, a, RTPOINT, b, RTSTR, "", RTNONE);
    tcedCommand(RTSTR, "_.ERASE", RTENAME, e, RTSTR, "", RTNONE);  // locked now: kept
  });
  EXPECT_EQ(entities("LINE").size(), 2u);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(UndoCommands, UIssuedByAModuleTakesBackWhatTheModuleDidSoFar) {
  typed("CIRCLE", "0,0\n1\n");
  std::string afterCircle = dxf();
  asModule([] {
    double a[3] = {0, 0, 0}, b[3] = {5, 5, 0};
    tcedCommand(RTSTR, "_.LINE", RTPOINT, a, RTPOINT, b, RTSTR, "", RTNONE);
    tcedCommand(RTSTR, "_.U", RTNONE);
  });
  EXPECT_EQ(dxf(), afterCircle);
  EXPECT_EQ(entities("CIRCLE").size(), 1u);
}

TEST_F(UndoCommands, UndoWithACountAndInAScript) {
  std::string start = dxf();
  script("LINE 0,0 1,1 \nCIRCLE 0,0 2\nPOINT 4,4\n");
  ASSERT_EQ(entities().size(), 3u) << transcript();
  script("UNDO 2\n");
  EXPECT_EQ(entities().size(), 1u);
  script("U\nU\n");
  EXPECT_EQ(dxf(), start);
  EXPECT_NE(transcript().find("Everything has been undone"), std::string::npos);
}

TEST_F(UndoCommands, SetvarAndTypedVariablesAreUndoneWithTheirCommand) {
  std::string before = dxf();
  script("CIRCLE 0,0 2\nTEXTSIZE 7\n");
  ASSERT_NE(dxf(), before);
  typed("UNDO", "2\n");
  EXPECT_EQ(dxf(), before) << transcript();
}

}  // namespace
