// Processes, files and folders, code pages and the Chinese script mapping.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include <tarnsdk/tcplatform.h>

#include "platform/chinese_script.h"
#include "scratch_folder.h"

namespace {

using tarn::platform::testing::ScopedEnv;
using tarn::platform::testing::ScratchFolder;

TEST(FileCalls, TempPathEndsWithASeparatorAndRefusesShortBuffers) {
  ScratchFolder folder;
  ScopedEnv tmp("TMPDIR", folder.path().c_str());
  char buffer[4096];
  const size_t n = tcplTempPath(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), folder.path().string() + "/");
  EXPECT_EQ(n, folder.path().string().size() + 1);
  EXPECT_EQ(tcplTempPath(nullptr, 0), n);
  EXPECT_EQ(tcplTempPath(buffer, n), 0u) << "no room for the NUL";
  EXPECT_STREQ(buffer, "");
}

TEST(FileCalls, FoldersCopiesAndDeletesWithTheDesktopsSuccessRules) {
  ScratchFolder folder;
  const std::string sub = folder / "fcmp";
  EXPECT_EQ(tcplCreateFolder(sub.c_str()), 1);
  EXPECT_EQ(tcplCreateFolder(sub.c_str()), 1) << "an existing folder counts as created";
  const std::string file = folder.Write("a.dxf", "0\nEOF\n");
  EXPECT_EQ(tcplCreateFolder(file.c_str()), 0) << "a file stands there";
  EXPECT_EQ(tcplCreateFolder((folder / "no/such/parent").c_str()), 0);

  const std::string copy = sub + "/a.dxf";
  EXPECT_EQ(tcplCopyFile(file.c_str(), copy.c_str(), 1), 1);
  EXPECT_EQ(ScratchFolder::Read(copy), "0\nEOF\n");
  EXPECT_EQ(tcplCopyFile(file.c_str(), copy.c_str(), 1), 0) << "the target exists";
  EXPECT_EQ(tcplCopyFile(file.c_str(), copy.c_str(), 0), 1);
  EXPECT_EQ(tcplCopyFile((folder / "none.dxf").c_str(), copy.c_str(), 0), 0);

  EXPECT_EQ(tcplFileExists(copy.c_str()), 1);
  EXPECT_EQ(tcplFileExists(sub.c_str()), 1) << "folders exist too";
  EXPECT_EQ(tcplDeleteFile(copy.c_str()), 1);
  EXPECT_EQ(tcplFileExists(copy.c_str()), 0);
  EXPECT_EQ(tcplDeleteFile(copy.c_str()), 0);
  EXPECT_EQ(tcplDeleteFile(sub.c_str()), 0) << "a folder is not deleted as a file";
  EXPECT_EQ(tcplFileExists(nullptr), 0);
}

TEST(ProcessCalls, StartsInTheWorkingFolderAndRefusesMissingProgramsAndFolders) {
  ScratchFolder folder;
  ASSERT_EQ(tcplStartProcess("touch \"made here\"", folder.path().c_str()), 1);
  // The program runs on its own; wait for its file (it takes milliseconds).
  const std::string made = folder / "made here";
  for (int i = 0; i < 1000 && tcplFileExists(made.c_str()) == 0; ++i) ::usleep(10000);
  EXPECT_EQ(tcplFileExists(made.c_str()), 1);
  EXPECT_EQ(tcplStartProcess("no-such-program-tarn", nullptr), 0);
  EXPECT_EQ(tcplStartProcess("touch x", (folder / "missing").c_str()), 0);
  EXPECT_EQ(tcplStartProcess("", nullptr), 0);
  EXPECT_EQ(tcplShellOpen((folder / "missing.txt").c_str()), 0);
}

TEST(TextCalls, CodePage936RoundTripAndLengthQueries) {
  const std::string chinese = "中文 text";
  const long needed = tcplUtf8ToCodePage(936, chinese.c_str(), chinese.size(), nullptr, 0);
  ASSERT_EQ(needed, 9);   // two characters of two bytes, a space and four letters
  char gbk[16];
  ASSERT_EQ(tcplUtf8ToCodePage(936, chinese.c_str(), static_cast<size_t>(-1), gbk, sizeof gbk), 9);
  EXPECT_EQ(tcplUtf8ToCodePage(936, chinese.c_str(), chinese.size(), gbk, 9), -1) << "no room for the NUL";
  char back[32];
  EXPECT_EQ(tcplCodePageToUtf8(936, gbk, 9, back, sizeof back), static_cast<long>(chinese.size()));
  EXPECT_EQ(std::string(back), chinese);
}

TEST(TextCalls, TextThatCannotBeConvertedExactlyIsRefused) {
  char out[32];
  EXPECT_EQ(tcplUtf8ToCodePage(936, "\xF0\x9F\x98\x80", 4, out, sizeof out), -1) << "an emoji has no GBK form";
  EXPECT_EQ(tcplCodePageToUtf8(936, "\x81", 1, out, sizeof out), -1) << "half a character";
  EXPECT_EQ(tcplCodePageToUtf8(936, nullptr, 0, out, sizeof out), -1);
}

TEST(TextCalls, ChineseScriptBothWays) {
  ASSERT_TRUE(tarn::platform::FindScriptTable("s2t.json").has_value()) << "OpenCC tables are needed";
  char out[64];
  ASSERT_GT(tcplChineseScript(0, "汉字", out, sizeof out), 0);
  EXPECT_STREQ(out, "漢字");
  ASSERT_GT(tcplChineseScript(1, "漢字", out, sizeof out), 0);
  EXPECT_STREQ(out, "汉字");
  EXPECT_EQ(tcplChineseScript(0, "汉字", nullptr, 0), 6);
  EXPECT_EQ(tcplChineseScript(2, "汉字", out, sizeof out), -1);
  EXPECT_EQ(tcplChineseScript(0, "\xFF", out, sizeof out), -1);
}

}  // namespace
