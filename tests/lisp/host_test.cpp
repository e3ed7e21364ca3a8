// The host interface: system variables, host commands, number formatting and
// functions defined by modules, through the test host.
#include <gtest/gtest.h>

#include "lisp_fixture.h"

namespace tarn::lisp {
namespace {

using testing::Case;
using testing::LispSession;

TEST(HostVariables, GetvarAndSetvarGoThroughTheHost) {
  LispSession s;
  s.host.variables["OSMODE"] = Value::integer(35);
  s.host.variables["CLAYER"] = Value::string("0");
  EXPECT_EQ(s.run("(getvar \"osmode\")"), "35");
  EXPECT_EQ(s.run("(getvar \"nosuchvar\")"), "nil");
  EXPECT_EQ(s.run("(setvar \"clayer\" \"WALLS\")"), "\"WALLS\"");
  EXPECT_EQ(toString(s.host.variables["CLAYER"]), "\"WALLS\"");
}

TEST(HostVariables, ARefusedSetvarAbortsWithTheHostsMessage) {
  LispSession s;
  s.host.variables["DWGNAME"] = Value::string("a.dxf");
  s.host.readOnly.insert("DWGNAME");
  EXPECT_EQ(s.run("(setvar \"dwgname\" \"b\") (princ \"not reached\")"),
            "error: system variable setting rejected: DWGNAME");
  EXPECT_EQ(s.host.output, "; error: system variable setting rejected: DWGNAME\n");
  EXPECT_EQ(s.run("(getvar 1)"), "error: bad argument type: stringp: 1");
}

TEST(HostCommands, ArgumentsReachTheHostInOrder) {
  LispSession s;
  EXPECT_EQ(s.run("(command \"_.LINE\" '(0 0) (list 1.0 2.0) \"\")"), "nil");
  ASSERT_EQ(s.host.commands.size(), 1u);
  std::string seen;
  for (const Value& v : s.host.commands[0]) seen += toString(v) + " ";
  EXPECT_EQ(seen, "\"_.LINE\" (0 0) (1.0 2.0) \"\" ");
}

TEST(HostCommands, CancelAbortsTheEvaluation) {
  LispSession s;
  s.host.cancelCommands = true;
  EXPECT_EQ(s.run("(command \"_.ERASE\") (setq after 1)"), "error: Function cancelled");
  EXPECT_EQ(s.run("after"), "nil");
  EXPECT_EQ(s.run("(command car)"), "error: bad argument type: command argument: #<SUBR CAR>");
}

class HostFormatting : public ::testing::TestWithParam<Case> {};

TEST_P(HostFormatting, RtosAndAngtos) {
  LispSession s;
  EXPECT_EQ(s.run(GetParam().source), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HostFormatting,
    ::testing::Values(Case{"(rtos 2.5)", "\"2.5000\""}, Case{"(rtos 2 2 1)", "\"2.0\""},
                      Case{"(rtos 1234.5 1 2)", "\"1.23E+03\""}, Case{"(rtos 1.0 nil 0)", "\"1\""},
                      Case{"(angtos 3.14159265358979)", "\"180.0000\""}, Case{"(angtos 1.0 3 2)", "\"1.00r\""},
                      Case{"(rtos 1 6)", "error: bad argument value: rtos: 6"},
                      Case{"(rtos 1 2 9)", "error: bad argument value: rtos: 9"},
                      Case{"(angtos 1 5)", "error: bad argument value: angtos: 5"},
                      Case{"(rtos \"1\")", "error: bad argument type: numberp: \"1\""},
                      Case{"(rtos 1 2.0)", "error: bad argument type: fixnump: 2.0"}));

TEST(ExternalFunctions, CallsReachTheHostWithCodeOwnerAndArguments) {
  LispSession s;
  ASSERT_TRUE(s.lisp.defineExternal("cal", 1, 77));
  std::string seen;
  s.host.external = [&seen](const ExternalFunction& fn, std::span<const Value> args) {
    seen = fn.name + "/" + std::to_string(fn.code) + "/" + std::to_string(fn.owner) + "/" + std::to_string(args.size());
    return Outcome::success(Value::integer(6));
  };
  EXPECT_EQ(s.run("(cal \"2*3\")"), "6");
  EXPECT_EQ(seen, "CAL/1/77/1");
  EXPECT_EQ(s.run("(type cal)"), "EXSUBR");
  EXPECT_EQ(s.run("cal"), "#<EXSUBR CAL>");
}

TEST(ExternalFunctions, AnErrorFromTheModuleAbortsLikeAnyOther) {
  LispSession s;
  ASSERT_TRUE(s.lisp.defineExternal("C:CAL", 0, 1));
  s.host.external = [](const ExternalFunction&, std::span<const Value>) { return Outcome::failure("Incorrect function code."); };
  EXPECT_EQ(s.run("(c:cal)"), "error: Incorrect function code.");
}

TEST(ExternalFunctions, CommandFunctionsAreCallableByName) {
  LispSession s;
  ASSERT_TRUE(s.lisp.defineExternal("C:CAL", 0, 1));
  s.host.external = [](const ExternalFunction& fn, std::span<const Value>) { return Outcome::success(Value::string(fn.name)); };
  EXPECT_TRUE(s.lisp.isFunction("c:cal"));
  Outcome r = s.lisp.callFunction("c:Cal", {});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(toString(r.value()), "\"C:CAL\"");
  EXPECT_FALSE(s.lisp.callFunction("c:none", {}).ok());
  EXPECT_EQ(s.host.output, "; error: no function definition: C:NONE\n");
}

class BadExternalNames : public ::testing::TestWithParam<const char*> {};

TEST_P(BadExternalNames, AreRefused) {
  LispSession s;
  EXPECT_FALSE(s.lisp.defineExternal(GetParam(), 0, 1));
}

INSTANTIATE_TEST_SUITE_P(Names, BadExternalNames, ::testing::Values("", "nil", "T", "12", "a b", "(x)", "if", "setq", "."));

TEST(ExternalFunctions, UndefineRemovesOnlyTheOwnersFunctions) {
  LispSession s;
  ASSERT_TRUE(s.lisp.defineExternal("C:CAL", 0, 1));
  ASSERT_TRUE(s.lisp.defineExternal("CAL", 1, 1));
  ASSERT_TRUE(s.lisp.defineExternal("OTHER", 0, 2));
  EXPECT_EQ(s.lisp.undefineExternals(1, 1), 1);
  EXPECT_FALSE(s.lisp.isFunction("cal"));
  EXPECT_TRUE(s.lisp.isFunction("c:cal"));
  EXPECT_EQ(s.lisp.undefineExternals(1), 1);
  EXPECT_TRUE(s.lisp.isFunction("other"));
}

TEST(ExternalFunctions, UserCanRedefineAndTheModuleDoesNotClobberIt) {
  LispSession s;
  ASSERT_TRUE(s.lisp.defineExternal("CAL", 1, 1));
  s.run("(defun cal (x) (list 'mine x))");
  EXPECT_EQ(s.lisp.undefineExternals(1), 0);
  EXPECT_EQ(s.run("(cal 1)"), "(MINE 1)");
}

TEST(HostGlobals, HostCanSetAndReadSymbols) {
  LispSession s;
  s.lisp.setGlobal("pt", Value::list({Value::real(1), Value::real(2)}));
  EXPECT_EQ(s.run("(car pt)"), "1.0");
  s.run("(setq answer 42)");
  EXPECT_EQ(toString(s.lisp.global("ANSWER")), "42");
}

}  // namespace
}  // namespace tarn::lisp
