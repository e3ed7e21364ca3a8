// Commands: SETVAR through typed input, the command stack's names and
// prefixes, replies fed by tcedCommand/tcedCmd and the LISP, scripts whose
// errors name file and line, and the scenario checks.
#include "editor_fixture.h"

#include "api/sysvars.h"
#include "editor/session.h"

namespace {

using tarn::editor::CommandStack;

double var(const char* name) {
  tarn::host::SysVarValue v;
  tarn::host::getSysVar(name, v);
  return v.number;
}

// A host command that asks for two points and keeps them.
class Commands : public EditorTest {
 protected:
  void SetUp() override {
    session.editor().commands().registerHostCommand("TWOPTS", [this] {
      points.clear();
      for (const char* prompt : {"First point: ", "Second point: "}) {
        tc_point p;
        int rc = tcedGetPoint(nullptr, prompt, p);
        if (rc == RTCAN) return int(RTCAN);
        points.push_back(rc == RTNONE ? "none" : std::to_string(int(p[0])) + "," + std::to_string(int(p[1])));
      }
      return int(RTNORM);
    });
    pickbox = var("PICKBOX");
  }
  void TearDown() override {
    tarn::host::setSysVar("PICKBOX", tarn::host::shortValue(int(pickbox)));
    EditorTest::TearDown();
  }
  std::vector<std::string> points;
  double pickbox = 3;
};

struct SetvarCase {
  const char* command;
  const char* replies;
};

class SetvarTyped : public Commands, public testing::WithParamInterface<SetvarCase> {};

TEST_P(SetvarTyped, SetsPickbox) {
  auto c = GetParam();
  session.runScript(std::string(c.command) + "\n" + c.replies);
  EXPECT_EQ(var("PICKBOX"), 9) << transcript();
}

INSTANTIATE_TEST_SUITE_P(Forms, SetvarTyped,
                         testing::Values(SetvarCase{"SETVAR", "PICKBOX\n9\n"}, SetvarCase{"setvar", "pickbox\n9\n"},
                                         SetvarCase{"_.SETVAR", "PICKBOX\n9\n"}, SetvarCase{"PICKBOX", "9\n"},
                                         SetvarCase{"_pickbox", "9\n"},
                                         SetvarCase{"SETVAR", "NOSUCHVAR\nPICKBOX\nbad\n9\n"},
                                         SetvarCase{"SETVAR", "PICKBOX\n500\n9\n"}));

TEST_F(Commands, SetvarEnterKeepsTheValueAndCancelStops) {
  session.runScript("PICKBOX\n\n");
  EXPECT_EQ(var("PICKBOX"), pickbox);
  EXPECT_NE(transcript().find("Enter new value for PICKBOX <"), std::string::npos);
  EXPECT_EQ(session.run("SETVAR", "PICKBOX\n^C\n"), RTCAN);
  EXPECT_EQ(var("PICKBOX"), pickbox);
}

TEST_F(Commands, SetvarTextTakesSpacesAndReadOnlyIsRefused) {
  session.runScript("INETLOCATION\nhttp://host/a b\nAREA\n");
  tarn::host::SysVarValue v;
  tarn::host::getSysVar("INETLOCATION", v);
  EXPECT_EQ(v.text, "http://host/a b");
  EXPECT_NE(transcript().find("AREA = 0 (read only)"), std::string::npos) << transcript();
}

TEST_F(Commands, ScriptErrorsNameFileAndLine) {
  session.runScript("TWOPTS\n1,1\n2,2\nFOO\nTWOPTS 1,x\n1,1 2,2\n", "plan.scr");
  EXPECT_NE(transcript().find("plan.scr:4: Unknown command \"FOO\"."), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("plan.scr:5: Invalid point."), std::string::npos) << transcript();
  EXPECT_EQ(points, (std::vector<std::string>{"1,1", "2,2"}));
}

TEST_F(Commands, EnterAtCommandPromptRepeatsTheLastCommand) {
  session.runScript("TWOPTS 1,1 2,2\n\n3,3 4,4\n");
  EXPECT_EQ(points, (std::vector<std::string>{"3,3", "4,4"}));
}

TEST_F(Commands, CommandFeedsItsArgumentsAsReplies) {
  double p[3] = {5, 6, 0};
  ASSERT_EQ(tcedCommand(RTSTR, "_.TWOPTS", RTPOINT, p, RTSTR, "7,8", RTNONE), RTNORM);
  EXPECT_EQ(points, (std::vector<std::string>{"5,6", "7,8"}));
  ASSERT_EQ(tcedCommand(RTSTR, "TWOPTS", RTSTR, "", RTSTR, "1,2", RTSTR, "TWOPTS", RTSTR, "3,4", RTSTR, "5,6", 0),
            RTNORM);
  EXPECT_EQ(points, (std::vector<std::string>{"3,4", "5,6"}));  // the second command ran after the first
}

TEST_F(Commands, EmptyTextIsEnter) {
  ASSERT_EQ(tcedCommand(RTSTR, "TWOPTS", RTSTR, "", RTSTR, "1,2", RTNONE), RTNORM);
  EXPECT_EQ(points, (std::vector<std::string>{"none", "1,2"}));
}

TEST_F(Commands, PauseAndMissingRepliesComeFromTheUser) {
  reply("7,7\n9,9\n");
  ASSERT_EQ(tcedCommand(RTSTR, "TWOPTS", RTSTR, "\\", RTSTR, "1,1", RTNONE), RTNORM);
  EXPECT_EQ(points, (std::vector<std::string>{"7,7", "1,1"}));
  ASSERT_EQ(tcedCommand(RTSTR, "TWOPTS", RTSTR, "2,2", RTNONE), RTNORM);
  EXPECT_EQ(points, (std::vector<std::string>{"2,2", "9,9"}));
}

TEST_F(Commands, CommandChainAndBadArguments) {
  double p[3] = {1, 2, 3};
  resbuf* args = tcutBuildList(RTSTR, "TWOPTS", RT3DPOINT, p, RTSTR, "4,5", RTNONE);
  ASSERT_EQ(tcedCmd(args), RTNORM);
  tcutRelRb(args);
  EXPECT_EQ(points, (std::vector<std::string>{"1,2", "4,5"}));
  EXPECT_EQ(tcedCommand(RTSTR, "NOSUCH", RTNONE), RTERROR);
  EXPECT_EQ(tcedCommand(RTLB, RTNONE), RTERROR);
}

TEST_F(Commands, CancelledCommandReportsCancel) {
  reply("^C\n");
  EXPECT_EQ(tcedCommand(RTSTR, "TWOPTS", RTNONE), RTCAN);
  EXPECT_NE(transcript().find("*Cancel*"), std::string::npos);
}

TEST_F(Commands, LispCommandFunctionAndReplies) {
  session.runScript("(command \"SETVAR\" \"PICKBOX\" 7)\nTWOPTS (list 1 2) (list (+ 1 2) 4)\n");
  EXPECT_EQ(var("PICKBOX"), 7);
  EXPECT_EQ(points, (std::vector<std::string>{"1,2", "3,4"}));
}

TEST(CommandStack, LocalGlobalAndPrefixes) {
  CommandStack stack;
  int which = 0;
  stack.registerHostCommand("MOVE", [&] { return which = 1; });
  ASSERT_TRUE(stack.addCommand("TOOLS", "MOVE", "BOUGER", [&] { return which = 2; }));
  ASSERT_TRUE(stack.addCommand("TOOLS", "ZAP", "EFFACER", [&] { return which = 3; }));
  EXPECT_FALSE(stack.addCommand("tools", "ZAP", "AUTRE", [] { return 0; }));  // same global in the group
  auto run = [&](const char* typed) {
    which = 0;
    auto e = stack.find(typed);
    if (e) e->handler();
    return which;
  };
  EXPECT_EQ(run("move"), 2);      // the module's command hides the host's
  EXPECT_EQ(run(".MOVE"), 1);     // "." asks for the host's own
  EXPECT_EQ(run("_.move"), 1);
  EXPECT_EQ(run("bouger"), 2);
  EXPECT_EQ(run("_bouger"), 0);   // "_" takes global names only
  EXPECT_EQ(run("_zap"), 3);
  EXPECT_EQ(run("effacer"), 3);
  EXPECT_EQ(stack.removeGroup("TOOLS"), 2);
  EXPECT_EQ(run("move"), 1);
  EXPECT_EQ(run("zap"), 0);
}

TEST_F(Commands, ScenarioFindsLeftSetsAndChangedVariables) {
  session.editor().commands().registerHostCommand("LEAKY", [] {
    tc_name ss;
    tcedSSAdd(nullptr, nullptr, ss);
    tarn::host::setSysVar("PICKBOX", tarn::host::shortValue(11));
    return int(RTCAN);
  });
  session.run("LEAKY");
  EXPECT_EQ(session.takeProblems(),
            (std::vector<std::string>{"LEAKY left 0 result buffers, 1 selection sets, 0 open objects behind",
                                      "LEAKY was cancelled and left PICKBOX changed"}));
  EXPECT_EQ(session.leaks().selectionSets, 1);
  EXPECT_FALSE(session.leaks().none());
  EXPECT_EQ(session.changedVariables(), (std::vector<std::string>{"PICKBOX"}));
  session.editor().selections().releaseAll();
  session.run("TWOPTS", "1,1 2,2\n");
  EXPECT_TRUE(session.leaks().none()) << session.leaks().describe();
  EXPECT_TRUE(session.changedVariables() == std::vector<std::string>{"LASTPOINT"});
}

TEST(ScenarioFile, OpensADrawingAndSelectsItsEntities) {
  std::string error;
  auto s = tarn::editor::ScenarioSession::open(std::string(TARN_SOURCE_DIR) + "/examples/site-plan.dxf", &error);
  ASSERT_TRUE(s) << error;
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, nullptr, ss), RTNORM);
  int32_t n = 0;
  tcedSSLength(ss, &n);
  EXPECT_GT(n, 0);
  tcedSSFree(ss);
  EXPECT_FALSE(tarn::editor::ScenarioSession::open("/nonexistent.dxf", &error));
}

TEST(Session, RunsCommandLinesAndSavesTheDrawing) {
  tarn::editor::SessionOptions o;
  o.commands = {"SETVAR LUPREC 2", "(entmake '((0 . \"LINE\") (10 0.0 0.0 0.0) (11 1.0 1.0 0.0)))"};
  o.output = testing::TempDir() + "/editor_session.dxf";
  ASSERT_EQ(tarn::editor::runSession(o), tarn::editor::kSessionOk);
  std::FILE* f = std::fopen(o.output.c_str(), "r");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  o.script = "/nonexistent.scr";
  EXPECT_EQ(tarn::editor::runSession(o), tarn::editor::kSessionScriptError);
}

}  // namespace
