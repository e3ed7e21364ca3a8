// Loading, refusing, messaging and unloading real modules.
#include <tarnsdk/tcrxapi.h>

#include "runtime_fixture.h"

namespace tarn::runtime::test {
namespace {

TcEdCommandStack* commandStack() { return static_cast<TcEdCommandStack*>(tcrxSysRegistry()->at(TCRX_COMMAND_STACK)); }

TEST_F(RuntimeTest, LoadedModuleRegistersCommandsServiceAndItsDrawing) {
  ASSERT_TRUE(load("tm_module")) << transcript();
  EXPECT_NE(transcript().find("[tm] init\n[tm] load drawing 1 of 1\n"), std::string::npos) << transcript();
  EXPECT_TRUE(tcrxServiceIsRegistered("TM_SERVICE"));
  EXPECT_TRUE(commandStack()->hasCommand("TMHELLO"));
  EXPECT_EQ(session->run("TMHELLO"), RTNORM);
  EXPECT_EQ(session->run("tmhallo"), RTNORM);  // the local name, any case
  EXPECT_EQ(countOf(transcript(), "Hello from the test module."), 2u);
  EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
  const LoadedModule* m = dynamicLinker().find("tm_module.so");
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->locked);
  EXPECT_TRUE(m->mdiAware);
  EXPECT_NE(dynamicLinker().moduleHandle("tm_module"), nullptr);
  EXPECT_TRUE(load("tm_module"));  // already loaded: no second init
  EXPECT_EQ(countOf(transcript(), "[tm] init"), 1u);
}

TEST_F(RuntimeTest, HostCommandsCannotBeTakenOver) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(transcript().find("[tm] took APPLOAD"), std::string::npos);
  const editor::CommandEntry* e = session->editor().commands().find("APPLOAD");
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->host);
}

TEST_F(RuntimeTest, CommandFlagsReachTheCommandLine) {
  ASSERT_TRUE(load("tm_module"));
  session->run("TMPAPER");  // TILEMODE 1: refused on the model tab
  EXPECT_NE(transcript().find("** That command cannot be used on the Model tab **"), std::string::npos);
  EXPECT_EQ(transcript().find("[tm] paper space command ran"), std::string::npos);
  session->editor().lisp().evaluate("(setvar \"TILEMODE\" 0)");
  session->run("TMPAPER");
  EXPECT_NE(transcript().find("[tm] paper space command ran"), std::string::npos);
}

TEST_F(RuntimeTest, InitRefusedLeavesNothingRegistered) {
  EXPECT_FALSE(load("tm_refuse"));
  EXPECT_NE(transcript().find("tm_refuse.so failed to initialise and was unloaded."), std::string::npos);
  EXPECT_FALSE(commandStack()->hasCommand("TMHELLO"));
  EXPECT_FALSE(tcrxServiceIsRegistered("TM_SERVICE"));
  EXPECT_TRUE(dynamicLinker().modules().empty());
  EXPECT_EQ(transcript().find("[tm] load drawing"), std::string::npos);
  EXPECT_EQ(transcript().find("[tm] unload"), std::string::npos);
}

struct Refusal {
  const char* module;
  const char* message;
};

class RefusedModule : public RuntimeTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedModule, IsNotInitialisedAndTheMessageNamesTheFile) {
  EXPECT_FALSE(load(GetParam().module));
  EXPECT_NE(transcript().find(GetParam().module), std::string::npos) << transcript();
  EXPECT_NE(transcript().find(GetParam().message), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("[tm] init"), std::string::npos);
  EXPECT_TRUE(dynamicLinker().modules().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Linker, RefusedModule,
    ::testing::Values(Refusal{"tm_stamp", "was built for another host interface (stamp 0x12345678, this host 0xECADDACE)"},
                      Refusal{"tm_noentry", "is not a module: it does not export tcrxEntryPoint"},
                      Refusal{"tm_absent", "Cannot find the module"}));

TEST_F(RuntimeTest, UnloadSendsUnloadAndRemovesCommandsAndFunctions) {
  ASSERT_TRUE(load("tm_module"));
  EXPECT_TRUE(dynamicLinker().unloadModule("tm_module.so"));
  EXPECT_NE(transcript().find("[tm] unload\n"), std::string::npos);
  EXPECT_FALSE(commandStack()->hasCommand("TMHELLO"));
  EXPECT_FALSE(tcrxServiceIsRegistered("TM_SERVICE"));
  EXPECT_FALSE(session->editor().lisp().isFunction("TMECHO"));
  EXPECT_EQ(session->run("TMCMD"), RTERROR);  // the "C:" command went with it
  EXPECT_FALSE(dynamicLinker().unloadModule("tm_module.so"));  // absent now
}

TEST_F(RuntimeTest, LockedModuleIsNotUnloaded) {
  ASSERT_TRUE(load("tm_locked"));
  EXPECT_FALSE(dynamicLinker().unloadModule("tm_locked"));
  EXPECT_EQ(session->run("APPUNLOAD", "tm_locked\n"), RTERROR);
  EXPECT_NE(transcript().find("tm_locked.so is locked and cannot be unloaded."), std::string::npos) << transcript();
  EXPECT_TRUE(commandStack()->hasCommand("TMHELLO"));
}

TEST_F(RuntimeTest, ModuleCannotBeUnloadedWhileItsCommandRuns) {
  ASSERT_TRUE(load("tm_module"));
  session->run("TMUNLOADSELF");
  EXPECT_NE(transcript().find("[tm] self unload refused"), std::string::npos) << transcript();
  EXPECT_TRUE(commandStack()->hasCommand("TMHELLO"));
}

TEST_F(RuntimeTest, QuitThenUnloadAtTheEnd) {
  ASSERT_TRUE(load("tm_module"));
  ASSERT_TRUE(load("tm_locked"));  // locked modules go too when the host ends
  dynamicLinker().quitAll();
  EXPECT_EQ(countOf(transcript(), "[tm] quit\n"), 2u);
  size_t lastQuit = transcript().rfind("[tm] quit"), firstUnload = transcript().find("[tm] unload\n");
  ASSERT_NE(firstUnload, std::string::npos);
  EXPECT_LT(lastQuit, firstUnload);  // every module hears quit before any is unloaded
  EXPECT_EQ(countOf(transcript(), "[tm] unload\n"), 2u);
  EXPECT_TRUE(dynamicLinker().modules().empty());
  EXPECT_FALSE(commandStack()->hasCommand("TMHELLO"));
}

TEST_F(RuntimeTest, AppLoadAndAppUnloadAtThePrompt) {
  EXPECT_EQ(session->run("APPLOAD", modulePath("tm_module") + "\n"), RTNORM);
  EXPECT_NE(transcript().find("tm_module.so loaded."), std::string::npos) << transcript();
  EXPECT_EQ(session->run("APPUNLOAD", "?\n"), RTNORM);
  EXPECT_NE(transcript().find("tm_module.so  ("), std::string::npos) << transcript();
  EXPECT_EQ(session->run("APPUNLOAD", "tm_module.so\n"), RTNORM);
  EXPECT_NE(transcript().find("tm_module.so unloaded."), std::string::npos);
  EXPECT_EQ(session->run("APPLOAD", "no_such_module.trx\n"), RTERROR);
  EXPECT_NE(transcript().find("Cannot find the module \"no_such_module.trx\"."), std::string::npos);
  EXPECT_EQ(session->run("APPUNLOAD", "no_such_module.trx\n"), RTERROR);
  EXPECT_NE(transcript().find("no_such_module.trx is not loaded."), std::string::npos);
}

}  // namespace
}  // namespace tarn::runtime::test
