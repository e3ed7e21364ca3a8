// ERASE, MOVE, COPY, MIRROR and SELECT, typed and issued by a module with
// selection sets, pauses and the answers the module gives.
#include "command_fixture.h"

namespace {

using tarn::db::Point3;

class ModifyCommands : public CommandTest {
 protected:
  void SetUp() override {
    makeLine(0, 0, 10, 0);
    makeLine(0, 5, 10, 5, "LOCKED");
    typed("-LAYER", "LO\nLOCKED\n\n");
  }
  // A selection set of all lines (freed by the caller).
  void allLines(tc_name ss) {
    resbuf* filter = tcutBuildList(0, "LINE", RTNONE);
    ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
    tcutRelRb(filter);
  }
};

TEST_F(ModifyCommands, EraseByModuleLeavesObjectsOnLockedLayers) {
  tc_name ss;
  allLines(ss);
  asModule([&] { tcedCommand(RTSTR, "_.ERASE", RTPICKS, ss, RTSTR, "", RTNONE); });
  tcedSSFree(ss);
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(tarn::db::findString(db(), lines[0], 8), "LOCKED");
  EXPECT_NE(transcript().find("1 was on a locked layer."), std::string::npos) << transcript();
}

TEST_F(ModifyCommands, MoveTypedWithBaseAndSecondPoint) {
  typed("MOVE", "ALL\n\n0,0\n@3,4\n");
  auto lines = entities("LINE");
  EXPECT_EQ(points(lines[0], 10)[0], (Point3{3, 4, 0}));
  EXPECT_EQ(points(lines[1], 10)[0], (Point3{0, 5, 0}));  // locked: stays
}

TEST_F(ModifyCommands, MoveByModuleWithAPauseForTheSecondPoint) {
  tc_name ss;
  allLines(ss);
  double base[3] = {0, 0, 0};
  // The pause: the second point comes from the user (here: the replies).
  session.editor().clearSources();
  session.editor().pushSource(std::make_unique<tarn::editor::StringSource>("7,0\n", "<user>"));
  asModule([&] { tcedCommand(RTSTR, "_.MOVE", RTPICKS, ss, RTSTR, "", RTPOINT, base, RTSTR, "\\", RTNONE); });
  tcedSSFree(ss);
  EXPECT_EQ(points(entities("LINE")[0], 11)[0], (Point3{17, 0, 0})) << transcript();
}

TEST_F(ModifyCommands, MoveWithEnterUsesTheBasePointAsDisplacement) {
  typed("MOVE", "ALL\n\n2,1\n\n");
  EXPECT_EQ(points(entities("LINE")[0], 10)[0], (Point3{2, 1, 0}));
}

TEST_F(ModifyCommands, CopyTypedMakesACopyForEachPointUntilEnter) {
  typed("COPY", "0,1\n\n0,0\n0,10\n0,20\n\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 4u) << transcript();
  EXPECT_EQ(points(lines[2], 10)[0], (Point3{0, 10, 0}));
  EXPECT_EQ(points(lines[3], 10)[0], (Point3{0, 20, 0}));
  EXPECT_NE(db().object(lines[2]).handle, db().object(lines[0]).handle);
}

TEST_F(ModifyCommands, CopyByModuleMakesOneCopyPerCall) {
  tc_name e;
  name(entities("LINE")[0], e);
  double base[3] = {0, 0, 0};
  asModule([&] {
    for (double z : {1.0, 2.0}) {
      double to[3] = {0, 0, z};
      tcedCommand(RTSTR, "_.COPY", RTENAME, e, RTSTR, "", RT3DPOINT, base, RT3DPOINT, to, RTNONE);
    }
  });
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 4u) << transcript();
  EXPECT_EQ(points(lines[3], 10)[0], (Point3{0, 0, 2}));
}

TEST_F(ModifyCommands, MirrorKeepsOrErasesTheSource) {
  typed("MIRROR", "0,1\n\n0,0\n1,0\nN\n");
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(points(lines[2], 10)[0], (Point3{0, 0, 0}));
  typed("MIRROR", "ALL\n\n5,-10\n5,10\nY\n");
  lines = entities("LINE");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(points(lines[0], 10)[0].x, 10, 1e-9);
}

TEST_F(ModifyCommands, MirrorTextFollowsMirrtext) {
  typed("TEXT", "0,0\n2\n0\nABC\n");
  tcedCommand(RTSTR, "MIRRTEXT", RTSHORT, 1, RTNONE);
  uint32_t text = entities("TEXT")[0];
  tc_name e;
  name(text, e);
  double a[3] = {0, -1, 0}, b[3] = {0, 1, 0};
  asModule([&] { tcedCommand(RTSTR, "_.mirror", RTENAME, e, RTSTR, "", RTPOINT, a, RTPOINT, b, RTSTR, "_Y", RTNONE); });
  auto flags = tarn::db::findTag(db(), text, 71);
  ASSERT_TRUE(flags.has_value()) << transcript();
  EXPECT_EQ(flags->i & 2, 2);  // written backwards
}

TEST_F(ModifyCommands, SelectRemovingEverythingLeavesAnEmptyPreviousSet) {
  typed("SELECT", "ALL\n\n");
  EXPECT_EQ(session.editor().selections().previous.size(), 2u);
  asModule([] { tcedCommand(RTSTR, "_.select", RTSTR, "_r", RTSTR, "_all", RTSTR, "", RTNONE); });
  EXPECT_EQ(session.editor().selections().previous.size(), 0u);
}

struct ModifyCase {
  const char* command;
  const char* replies;
};

class ModifyThenUndo : public ModifyCommands, public testing::WithParamInterface<ModifyCase> {};

TEST_P(ModifyThenUndo, RestoresTheFileExactly) {
  std::string before = dxf();
  typed(GetParam().command, GetParam().replies);
  ASSERT_NE(dxf(), before) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

INSTANTIATE_TEST_SUITE_P(Commands, ModifyThenUndo,
                         testing::Values(ModifyCase{"ERASE", "ALL\n\n"}, ModifyCase{"MOVE", "ALL\n\n0,0\n5,5\n"},
                                         ModifyCase{"COPY", "ALL\n\n0,0\n5,5\n6,6\n\n"},
                                         ModifyCase{"MIRROR", "ALL\n\n0,0\n0,1\nN\n"},
                                         ModifyCase{"MIRROR", "ALL\n\n0,0\n0,1\nY\n"}),
                         [](const testing::TestParamInfo<ModifyCase>& p) {
                           return std::string(p.param.command) + std::to_string(p.index);
                         });

}  // namespace
