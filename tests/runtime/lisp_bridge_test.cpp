// Module functions called from LISP: function code, arguments, every kind of
// returned value, "C:" functions typed as commands, and LISP evaluated for a
// module.
#include <tarnsdk/tcrxapi.h>
#include <tarnsdk/tcutapi.h>

#include "runtime_fixture.h"

namespace tarn::runtime::test {
namespace {

TEST_F(RuntimeTest, LispCallReachesTheModuleWithCodeAndArguments) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(eval("(tmecho 1 2.5 \"s\" '(1 2))"), "(1 2.5 \"s\" (1 2))");
  EXPECT_NE(transcript().find("[tm] invoke 1 with 7 buffers"), std::string::npos) << transcript();
  EXPECT_EQ(eval("(tmecho)"), "nil");
  EXPECT_NE(transcript().find("[tm] invoke 1 with 0 buffers"), std::string::npos);
  EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
}

TEST_F(RuntimeTest, ArgumentsTheModuleCannotTakeAreAnErrorBeforeTheCall) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(eval("(tmecho 'symbol)").rfind("error: ", 0), 0u);
  EXPECT_EQ(transcript().find("[tm] invoke"), std::string::npos);
}

struct ReturnKind {
  const char* kind;
  const char* printed;
};

class ReturnedValue : public RuntimeTest, public ::testing::WithParamInterface<ReturnKind> {};

TEST_P(ReturnedValue, ComesBackToLisp) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(eval(std::string("(tmkind \"") + GetParam().kind + "\")"), GetParam().printed);
  EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
}

INSTANTIATE_TEST_SUITE_P(Bridge, ReturnedValue,
                         ::testing::Values(ReturnKind{"real", "2.5"}, ReturnKind{"int", "42"},
                                           ReturnKind{"str", "\"text\""}, ReturnKind{"point", "(1.0 2.0 3.0)"},
                                           ReturnKind{"nil", "nil"}, ReturnKind{"t", "T"}, ReturnKind{"void", ""},
                                           ReturnKind{"nothing", "nil"}, ReturnKind{"list", "(1 \"two\" 3.0)"}));

TEST_F(RuntimeTest, ReturnedEntityNameIsAnEntityName) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(eval("(type (tmkind \"name\"))"), "ENAME");
}

TEST_F(RuntimeTest, CFunctionTypedAsCommandIsNotEchoed) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(session->run("TMCMD"), RTNORM);
  EXPECT_NE(transcript().find("[tm] invoke 0 with 0 buffers\nTMCMD ran.\n"), std::string::npos) << transcript();
  EXPECT_EQ(session->run("tmkommando"), RTNORM);  // the local name
  EXPECT_EQ(countOf(transcript(), "TMCMD ran."), 2u);
  session->runScript("TMCMD\n");
  std::string t = transcript();
  EXPECT_EQ(t.substr(t.rfind("TMCMD ran.\n")), "TMCMD ran.\nCommand: \n") << t;  // no value line
}

TEST_F(RuntimeTest, ModuleEvaluatesLisp) {
  ASSERT_TRUE(load("tm_module"));
  session->run("TMEVAL");
  EXPECT_NE(transcript().find("[tm] evaluated 42"), std::string::npos) << transcript();
  EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
}

TEST_F(RuntimeTest, BridgeCallsOutsideAFunctionCallFail) {
  EXPECT_EQ(tcedGetFunCode(), RTERROR);
  EXPECT_EQ(tcedGetArgs(), nullptr);
  EXPECT_EQ(tcedRetInt(1), RTERROR);
  EXPECT_EQ(tcedRetStr("x"), RTERROR);
  EXPECT_EQ(tcedRetVoid(), RTERROR);
  // Only a module can define a function: the host would have nobody to call.
  EXPECT_EQ(tcedDefun("STRAY", "", 0), RTERROR);
  EXPECT_EQ(tcedUndef("STRAY", 0), RTERROR);
  resbuf* r = tcedEvaluateLisp("(list 1 \"a\")");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->restype, RTLB);
  tcutRelRb(r);
  EXPECT_EQ(tcedEvaluateLisp("(car"), nullptr);
  EXPECT_EQ(tcedEvaluateLisp(nullptr), nullptr);
}

}  // namespace
}  // namespace tarn::runtime::test
