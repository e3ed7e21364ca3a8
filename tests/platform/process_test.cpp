// Starting programs, command-line splitting, shell open and the App Paths
// answered from the office programs found on a search path.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/app_paths.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/shell_open.h"
#include "scratch_folder.h"

namespace tarn::platform {
namespace {

using testing::ScratchFolder;

std::string WithBackslashes(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

struct SplitCase {
  const char* line;
  std::vector<std::string> args;
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesTheArguments) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().args);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineSplit,
    ::testing::Values(
        SplitCase{"prog a b", {"prog", "a", "b"}},
        SplitCase{"  prog\t a  ", {"prog", "a"}},
        SplitCase{"\"/opt/My Office/calc\" --calc", {"/opt/My Office/calc", "--calc"}},
        SplitCase{"a\\\\b c\\d", {"a\\\\b", "c\\d"}},
        SplitCase{"\"a\\\"b\"", {"a\"b"}},
        SplitCase{"\"a\\\\\" b", {"a\\", "b"}},
        SplitCase{"x\"y z\"w", {"xy zw"}},
        SplitCase{"\"\"", {""}},
        SplitCase{"\"a\"\"b\"", {"a\"b"}},
        SplitCase{"", {}},
        SplitCase{"tail\\", {"tail\\"}}));

class QuoteRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(QuoteRoundTrip, SplitGivesTheArgumentBack) {
  const std::string line = "prog " + QuoteArgument(GetParam()) + " next";
  EXPECT_EQ(SplitCommandLine(line), (std::vector<std::string>{"prog", GetParam(), "next"}));
}

INSTANTIATE_TEST_SUITE_P(Arguments, QuoteRoundTrip,
                         ::testing::Values("plain", "with space", "", "quote\"inside",
                                           "ends\\", "C:\\Program Files\\x\\", "\\\"mixed\\\\\"",
                                           "tab\there"));

TEST(StartProcess, WaitReportsTheExitCode) {
  const ProcessResult run = StartProcess("exit 3", {.wait = true, .useShell = true});
  ASSERT_EQ(run.status, Status::kOk);
  EXPECT_GT(run.pid, 0);
  EXPECT_EQ(run.exitCode, 3);
}

TEST(StartProcess, ArgumentsArriveSplitNotThroughAShell) {
  ScratchFolder folder;
  const std::string out = folder / "args.txt";
  const std::string script = folder.WriteScript("show", "printf '%s|' \"$@\" > \"$OUT\"");
  testing::ScopedEnv env("OUT", out.c_str());
  const ProcessResult run =
      StartProcess(QuoteArgument(script) + " \"two words\" $HOME ;", {.wait = true});
  ASSERT_EQ(run.status, Status::kOk);
  EXPECT_EQ(ScratchFolder::Read(out), "two words|$HOME|;|");
}

TEST(StartProcess, MissingProgramIsNotFound) {
  EXPECT_EQ(StartProcess("/no/such/program --x").status, Status::kFileNotFound);
  EXPECT_EQ(StartProcess("   ").status, Status::kInvalidParameter);
}

TEST(StartProcess, WithoutWaitingTheProgramRunsOnItsOwn) {
  ScratchFolder folder;
  const std::string done = folder / "done";
  const ProcessResult run = StartProcess("touch " + QuoteArgument(done));
  ASSERT_EQ(run.status, Status::kOk);
  // Wait until the program has run: it was reaped by the store's own waiter,
  // so it is not our child to wait for any more.
  for (int i = 0; i < 1000 && !std::filesystem::exists(done); ++i) ::usleep(10000);
  EXPECT_TRUE(std::filesystem::exists(done));
}

TEST(FindOnPath, FindsOnlyExecutableFiles) {
  ScratchFolder folder;
  folder.WriteScript("tool", "exit 0");
  folder.Write("plain", "not executable");
  const std::string dirs = "/nonexistent:" + folder.path().string();
  EXPECT_EQ(FindOnPath("tool", dirs), folder / "tool");
  EXPECT_EQ(FindOnPath("plain", dirs), std::nullopt);
  EXPECT_EQ(FindOnPath("tool", "/nonexistent"), std::nullopt);
  EXPECT_EQ(FindOnPath(folder / "tool", ""), folder / "tool");
}

class ShellOpenTest : public ::testing::Test {
 protected:
  // An opener that records its argument and exits with the given code.
  ShellOpenOptions Opener(int exitCode) {
    folder_.WriteScript("opener", "echo \"$1\" > " + QuoteArgument(folder_ / "opened") +
                                      "\nexit " + std::to_string(exitCode));
    return ShellOpenOptions{"opener", folder_.path().string()};
  }
  std::string Opened() { return ScratchFolder::Read(folder_ / "opened"); }

  ScratchFolder folder_;
};

TEST_F(ShellOpenTest, UrlGoesToTheOpener) {
  const ShellOpenResult result = ShellOpen("https://example.invalid/page", Opener(0));
  EXPECT_TRUE(result.Succeeded());
  EXPECT_EQ(Opened(), "https://example.invalid/page\n");
}

TEST_F(ShellOpenTest, LocalPathWithBackslashesIsOpened) {
  folder_.Write("report.txt", "x");
  const std::string windowsStyle = WithBackslashes(folder_ / "report.txt");
  EXPECT_EQ(ShellOpen(windowsStyle, Opener(0)).code, kShellOpened);
  EXPECT_EQ(Opened(), folder_ / "report.txt" + "\n");
}

struct MissingCase {
  const char* relative;
  int code;
};

class ShellOpenMissing : public ShellOpenTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(ShellOpenMissing, ReportsFileOrPathNotFound) {
  const ShellOpenResult result = ShellOpen(folder_ / GetParam().relative, Opener(0));
  EXPECT_FALSE(result.Succeeded());
  EXPECT_EQ(result.code, GetParam().code);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "opened"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ShellOpenMissing,
                         ::testing::Values(MissingCase{"absent.txt", kShellFileNotFound},
                                           MissingCase{"nodir/absent.txt", kShellPathNotFound}));

TEST_F(ShellOpenTest, OpenerFailuresAreReported) {
  EXPECT_EQ(ShellOpen("https://x.invalid", Opener(2)).code, kShellFileNotFound);
  EXPECT_EQ(ShellOpen("https://x.invalid", Opener(4)).code, kShellNoAssociation);
  EXPECT_EQ(ShellOpen("https://x.invalid", ShellOpenOptions{"opener", "/nonexistent"}).code,
            kShellNoAssociation);
  EXPECT_EQ(ShellOpen("", Opener(0)).code, kShellFileNotFound);
}

class AppPathsTest : public ::testing::Test {
 protected:
  std::string Install(std::initializer_list<const char*> programs) {
    for (const char* program : programs) folder_.WriteScript(program, "exit 0");
    return folder_.path().string();
  }
  ScratchFolder folder_;
};

TEST_F(AppPathsTest, PrefersTheFirstOfficeProgramFound) {
  const std::string path = Install({"gnumeric", "libreoffice", "abiword"});
  EXPECT_EQ(AppPathCommand("EXCEL.EXE", path), folder_ / "libreoffice" + " --calc");
  EXPECT_EQ(AppPathCommand("winword.exe", path), folder_ / "libreoffice" + " --writer");
  EXPECT_EQ(AppPathCommand("notepad.exe", path), std::nullopt);
}

TEST_F(AppPathsTest, FallsBackToSingleProgramsAndToNothing) {
  std::string path = Install({"gnumeric", "abiword"});
  EXPECT_EQ(AppPathCommand("excel.exe", path), folder_ / "gnumeric");
  EXPECT_EQ(AppPathCommand("winword.exe", path), folder_ / "abiword");
  EXPECT_EQ(AppPathCommand("excel.exe", "/nonexistent"), std::nullopt);
}

TEST_F(AppPathsTest, RegistryKeysTheLaunchersReadAnswerFromTheMachine) {
  testing::ScratchFolder store_folder;
  RegistryStore store(store_folder.path());
  InstallAppPathKeys(store, Install({"localc"}));
  RegistryKey key;
  const std::string excel = std::string(kAppPathsKey) + "\\Excel.exe";
  ASSERT_EQ(store.OpenKey(RegistryRoot::kLocalMachine, excel, KeyAccess::kRead, &key), Status::kOk);
  char command[1024];
  uint32_t size = sizeof command;
  ASSERT_EQ(key.QueryValue("", nullptr, command, &size), Status::kOk);
  EXPECT_EQ(std::string(command), folder_ / "localc");
  EXPECT_EQ(key.QueryString("Path").value, folder_.path().string());
  const std::string word = std::string(kAppPathsKey) + "\\Winword.exe";
  EXPECT_EQ(store.OpenKey(RegistryRoot::kLocalMachine, word, KeyAccess::kRead, &key),
            Status::kFileNotFound);
  // What the launcher reads is a command line that starts the program.
  const ProcessResult run = StartProcess(std::string(command), {.wait = true});
  EXPECT_EQ(run.status, Status::kOk);
  EXPECT_EQ(run.exitCode, 0);
}

}  // namespace
}  // namespace tarn::platform
