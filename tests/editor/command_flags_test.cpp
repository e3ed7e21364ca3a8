// The command stack at work: flags that refuse a command or decide over the
// pickfirst set, CMDECHO, transparent commands, SETVAR "?", ^C (SIGINT),
// LIMCHECK, and the scenario checks after every command.
#include <csignal>
#include <cstdio>
#include <fstream>

#include "editor_fixture.h"

#include "api/sysvars.h"

namespace {

using tarn::host::SysVarValue;

int var(const char* name) {
  SysVarValue v;
  tarn::host::getSysVar(name, v);
  return int(v.number);
}

void setVar(const char* name, int value) { tarn::host::setSysVarInternal(name, tarn::host::shortValue(value)); }

class Flags : public EditorTest {
 protected:
  void TearDown() override {
    for (auto& [name, value] : saved) setVar(name, value);
    EditorTest::TearDown();
  }
  void save(const char* name) { saved.emplace_back(name, var(name)); }
  // Adds a module command that counts its runs.
  void add(const char* name, int flags, std::function<int()> body = [] { return int(RTNORM); }) {
    ASSERT_TRUE(session.editor().commands().addCommand("TESTS", name, "", [this, body] {
      ++runs;
      return body();
    }, flags));
  }
  std::vector<std::pair<const char*, int>> saved;
  int runs = 0;
};

struct Refusal {
  int flags;
  const char* variable;
  int value;
  const char* message;
};

class Refusals : public Flags, public testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, CommandIsRefusedWithTheHostMessageAndRunsOtherwise) {
  auto c = GetParam();
  save(c.variable);
  add("GUARDED", c.flags);
  setVar(c.variable, c.value);
  EXPECT_EQ(session.run("GUARDED"), RTERROR);
  EXPECT_EQ(runs, 0);
  EXPECT_NE(transcript().find(c.message), std::string::npos) << transcript();
  setVar(c.variable, c.value == 1 && std::string(c.variable) != "VIEWMODE" ? 0 : c.value ^ 1);
  EXPECT_EQ(session.run("GUARDED"), RTNORM);
  EXPECT_EQ(runs, 1);
}

INSTANTIATE_TEST_SUITE_P(
    HostStates, Refusals,
    testing::Values(Refusal{8, "PERSPECTIVE", 1, "cannot be used in a perspective view"},
                    Refusal{8, "VIEWMODE", 1, "cannot be used in a perspective view"},
                    Refusal{0x20, "TILEMODE", 1, "cannot be used on the Model tab"},
                    Refusal{0x2000000, "BLOCKEDITOR", 1, "cannot be used in the block editor"},
                    Refusal{0x200002a, "TILEMODE", 1, "cannot be used on the Model tab"}));

TEST_F(Flags, OtherStatesDoNotRefuse) {
  save("PERSPECTIVE");
  save("BLOCKEDITOR");
  add("PLAIN", 6);
  setVar("PERSPECTIVE", 1);
  setVar("BLOCKEDITOR", 1);
  EXPECT_EQ(session.run("PLAIN"), RTNORM);
  EXPECT_EQ(runs, 1);
}

// The pickfirst set as a command of each flag value finds and leaves it.
struct PickfirstCase {
  int flags;
  bool taken;       // the ordinary selection takes the pickfirst set without prompting
  bool keptAfter;   // the pickfirst set is still there after the command
};

class Pickfirst : public Flags, public testing::WithParamInterface<PickfirstCase> {};

TEST_P(Pickfirst, FlagsDecideOverThePickfirstSet) {
  auto c = GetParam();
  tc_name a, b, first;
  line(0, 0, 10, 0, "0", 256, a);
  line(0, 5, 10, 5, "0", 256, b);
  ASSERT_EQ(tcedSSAdd(a, nullptr, first), RTNORM);
  ASSERT_EQ(tcedSSSetFirst(first, nullptr), RTNORM);
  tcedSSFree(first);
  int32_t selected = 0;
  add("NOUNVERB", c.flags, [&] {
    tc_name ss;
    if (tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return int(RTCAN);
    tcedSSLength(ss, &selected);
    tcedSSFree(ss);
    return int(RTNORM);
  });
  EXPECT_EQ(session.run("NOUNVERB", "5,5\n\n"), RTNORM) << transcript();
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(transcript().find("Select objects: ") == std::string::npos, c.taken) << transcript();
  tc_name after;
  bool kept = tcedSSGetFirst(after) == RTNORM;
  if (kept) tcedSSFree(after);
  EXPECT_EQ(kept, c.keptAfter);
}

INSTANTIATE_TEST_SUITE_P(FlagValues, Pickfirst,
                         testing::Values(PickfirstCase{0, false, false}, PickfirstCase{2, true, false},
                                         PickfirstCase{6, true, true}));

TEST_F(Flags, PickfirstOffMakesTheOrdinarySelectionAsk) {
  save("PICKFIRST");
  tc_name a, first;
  line(0, 0, 10, 0, "0", 256, a);
  tcedSSAdd(a, nullptr, first);
  tcedSSSetFirst(first, nullptr);
  tcedSSFree(first);
  setVar("PICKFIRST", 0);
  reply("\n");
  tc_name ss;
  EXPECT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);  // asked, and Enter selected nothing
  EXPECT_NE(transcript().find("Select objects: "), std::string::npos);
  tcedSSSetFirst(nullptr, nullptr);
}

TEST_F(Flags, CmdechoZeroKeepsFedRepliesOffTheCommandLine) {
  save("CMDECHO");
  save("PICKBOX");
  add("QUIET", 0, [] { return tcedCommand(RTSTR, "_.SETVAR", RTSTR, "PICKBOX", RTSTR, "6", RTNONE); });
  setVar("CMDECHO", 1);
  ASSERT_EQ(session.run("QUIET"), RTNORM);
  EXPECT_NE(transcript().find("Enter new value for PICKBOX"), std::string::npos);
  EXPECT_EQ(var("PICKBOX"), 6);
  session.editor().transcript().clear();
  setVar("CMDECHO", 0);
  setVar("PICKBOX", 3);
  ASSERT_EQ(session.run("QUIET"), RTNORM);
  EXPECT_EQ(var("PICKBOX"), 6);
  EXPECT_EQ(transcript(), "");
}

TEST_F(Flags, TransparentSetvarRunsInsideAPromptThenThePromptReturns) {
  save("PICKBOX");
  double value = 0;
  add("ASKS", 0, [&] { return tcedGetReal("Value: ", &value); });
  EXPECT_EQ(session.run("ASKS", "'SETVAR PICKBOX 7 'pickbox 8 2.5\n"), RTNORM) << transcript();
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(var("PICKBOX"), 8);
  EXPECT_NE(transcript().find("Resuming ASKS command."), std::string::npos);
}

TEST_F(Flags, WhatTheUserSetsTransparentlyIsNoFaultOfACancelledCommand) {
  save("PICKBOX");
  double value = 0;
  add("ASKS", 0, [&] { return tcedGetReal("Value: ", &value); });
  EXPECT_EQ(session.run("ASKS", "'PICKBOX 7 ^C\n"), RTCAN);
  EXPECT_EQ(var("PICKBOX"), 7);
  EXPECT_TRUE(session.problems().empty());
}

TEST_F(Flags, OnlyTransparentCommandsRunInsideOthers) {
  double value = 0;
  add("OPAQUE", 0);
  add("ASKS", 0, [&] { return tcedGetReal("Value: ", &value); });
  EXPECT_EQ(session.run("ASKS", "'OPAQUE 'NOSUCH 4\n"), RTNORM);
  EXPECT_EQ(runs, 1);  // ASKS only
  EXPECT_EQ(value, 4);
  EXPECT_NE(transcript().find("cannot be used transparently"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Unknown command \"NOSUCH\""), std::string::npos);
}

TEST_F(Flags, TransparentCommandLeavesThePickfirstSet) {
  save("PICKBOX");
  tc_name a, first;
  line(0, 0, 10, 0, "0", 256, a);
  tcedSSAdd(a, nullptr, first);
  tcedSSSetFirst(first, nullptr);
  tcedSSFree(first);
  int32_t selected = 0;
  add("KEEPS", 6, [&] {
    double v;
    tcedGetReal("Value: ", &v);
    tc_name ss;
    if (tcedSSGet("I", nullptr, nullptr, nullptr, ss) != RTNORM) return int(RTNORM);
    tcedSSLength(ss, &selected);
    tcedSSFree(ss);
    return int(RTNORM);
  });
  session.run("KEEPS", "'PICKBOX 4 1\n");
  EXPECT_EQ(selected, 1);
  tcedSSSetFirst(nullptr, nullptr);
}

TEST_F(Flags, SetvarQuestionMarkListsMatchingVariables) {
  EXPECT_EQ(session.run("SETVAR", "?\nPICK*\n"), RTNORM);
  EXPECT_NE(transcript().find("PICKBOX"), std::string::npos);
  EXPECT_NE(transcript().find("PICKFIRST"), std::string::npos);
  EXPECT_EQ(transcript().find("CMDECHO"), std::string::npos);
  session.editor().transcript().clear();
  EXPECT_EQ(session.run("SETVAR", "? DWG?AME\n"), RTNORM);
  EXPECT_NE(transcript().find("DWGNAME"), std::string::npos);
  EXPECT_NE(transcript().find("(read only)"), std::string::npos);
  EXPECT_EQ(session.run("SETVAR", "? NOTHING*\n"), RTNORM);
  EXPECT_NE(transcript().find("No variable matches."), std::string::npos);
}

// ^C at the terminal raises SIGINT; the handler comes with the script and
// terminal sources.
class Interrupt : public Flags {
 protected:
  void SetUp() override {
    std::string path = testing::TempDir() + "/interrupt.scr";
    std::ofstream(path) << "\n";
    ASSERT_TRUE(tarn::editor::ScriptFileSource::open(path));
  }
};

TEST_F(Interrupt, CtrlCWhileACommandWorksCancelsItsNextPrompt) {
  double value = 0;
  int rc = 0;
  add("BUSY", 0, [&] {
    std::raise(SIGINT);
    rc = tcedGetReal("Value: ", &value);
    return rc;
  });
  EXPECT_EQ(session.run("BUSY", "5\n"), RTCAN);
  EXPECT_EQ(rc, RTCAN);
  EXPECT_EQ(value, 0);
  EXPECT_NE(transcript().find("Value: *Cancel*"), std::string::npos) << transcript();
}

TEST_F(Interrupt, UserBreakTakesTheCtrlCOnce) {
  double value = 0;
  int broke = 0;
  add("POLLS", 0, [&] {
    std::raise(SIGINT);
    broke = tcedUsrBrk();
    broke += tcedUsrBrk();
    return tcedGetReal("Value: ", &value);
  });
  EXPECT_EQ(session.run("POLLS", "5\n"), RTNORM);
  EXPECT_EQ(broke, 1);
  EXPECT_EQ(value, 5);
}

TEST_F(Interrupt, CtrlCStopsAScriptAtTheCommandPrompt) {
  save("PICKBOX");
  add("STOP", 0, [] {
    std::raise(SIGINT);
    return int(RTNORM);
  });
  session.runScript("STOP\nPICKBOX 9\n");
  EXPECT_NE(var("PICKBOX"), 9);
}

// LIMCHECK with LIMMIN/LIMMAX; bit 8 lifts the check.
class Limits : public Flags, public testing::WithParamInterface<bool> {};

TEST_P(Limits, PointsOutsideTheLimitsAreRefusedUnlessBit8) {
  bool corner = GetParam();
  save("LIMCHECK");
  setVar("LIMCHECK", 1);
  tc_point base = {0, 0, 0}, p;
  auto get = [&](int bits) {
    tcedInitGet(bits, nullptr);
    return corner ? tcedGetCorner(base, "Point: ", p) : tcedGetPoint(nullptr, "Point: ", p);
  };
  reply("500,10 20,10\n");
  EXPECT_EQ(get(0), RTNORM);
  EXPECT_EQ(p[0], 20);
  EXPECT_NE(transcript().find("**Outside limits"), std::string::npos);
  reply("500,10\n");
  EXPECT_EQ(get(8), RTNORM);
  EXPECT_EQ(p[0], 500);
  setVar("LIMCHECK", 0);
  reply("-5,-5\n");
  EXPECT_EQ(get(0), RTNORM);
  EXPECT_EQ(p[0], -5);
}

INSTANTIATE_TEST_SUITE_P(PointAndCorner, Limits, testing::Bool());

TEST_F(Flags, ScenarioChecksEveryCommandOfAScript) {
  save("PICKBOX");
  add("FORGETS", 0, [] {
    tarn::host::setSysVar("PICKBOX", tarn::host::shortValue(12));
    return int(RTCAN);
  });
  resbuf* held = nullptr;
  add("HOLDS", 0, [&] {
    held = tcutNewRb(RTSHORT);
    return int(RTNORM);
  });
  session.runScript("FORGETS\nHOLDS\nPICKBOX 4\n");
  auto problems = session.takeProblems();
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0], "FORGETS was cancelled and left PICKBOX changed");
  EXPECT_EQ(problems[1], "HOLDS left 1 result buffers, 0 selection sets, 0 open objects behind");
  tcutRelRb(held);
}

}  // namespace
