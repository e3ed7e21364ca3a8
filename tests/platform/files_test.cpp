// Files and folders: the temporary folder, and the success rules of folder
// creation, copy and delete.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "scratch_folder.h"

namespace tarn::platform {
namespace {

using testing::ScratchFolder;

TEST(TempFolderPath, EndsWithOneSeparator) {
  {
    testing::ScopedEnv tmp("TMPDIR", "/var/tmp");
    EXPECT_EQ(TempFolder(), "/var/tmp/");
  }
  {
    testing::ScopedEnv tmp("TMPDIR", "/var/tmp/");
    EXPECT_EQ(TempFolder(), "/var/tmp/");
  }
  testing::ScopedEnv tmp("TMPDIR", "");
  EXPECT_EQ(TempFolder(), "/tmp/");
}

TEST(TempFolderPath, ComparisonFolderWithBackslashIsCreatedInside) {
  ScratchFolder folder;
  testing::ScopedEnv tmp("TMPDIR", folder.path().c_str());
  const std::string compare = platform::TempFolder() + "fcmp\\";
  EXPECT_EQ(CreateFolder(compare), Status::kOk);
  EXPECT_TRUE(FolderExists(folder / "fcmp"));
}

struct CreateCase {
  const char* name;
  const char* setup;   // "folder", "file" or nothing
  Status expected;
  bool countsAsCreated;
};

class CreateFolderRule : public ::testing::TestWithParam<CreateCase> {};

TEST_P(CreateFolderRule, StatusAndSuccessRule) {
  ScratchFolder folder;
  const std::string path = folder / GetParam().name;
  const std::string setup = GetParam().setup;
  if (setup == "folder") ::mkdir(path.c_str(), 0755);
  if (setup == "file") folder.Write(GetParam().name, "x");
  const Status status = CreateFolder(path);
  EXPECT_EQ(status, GetParam().expected);
  EXPECT_EQ(FolderCreatedOrExists(status), GetParam().countsAsCreated);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateFolderRule,
    ::testing::Values(CreateCase{"new", "", Status::kOk, true},
                      CreateCase{"existing", "folder", Status::kAlreadyExists, true},
                      CreateCase{"occupied", "file", Status::kNotADirectory, false},
                      CreateCase{"missing/child", "", Status::kPathNotFound, false},
                      CreateCase{"trailing/", "", Status::kOk, true}));

class CopyFileTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string source_ = folder_.Write("source.dxf", "new contents");
  std::string target_ = folder_ / "target.dxf";
};

TEST_F(CopyFileTest, CopiesBytesPermissionsAndTime) {
  ::chmod(source_.c_str(), 0640);
  const struct timespec times[2] = {{1000000, 0}, {1000000, 0}};
  ::utimensat(AT_FDCWD, source_.c_str(), times, 0);
  ASSERT_EQ(CopyFile(source_, target_, false), Status::kOk);
  EXPECT_EQ(ScratchFolder::Read(target_), "new contents");
  struct stat info {};
  ::stat(target_.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(info.st_mtim.tv_sec, 1000000);
}

TEST_F(CopyFileTest, ExistingTargetNeedsOverwrite) {
  folder_.Write("target.dxf", "old");
  EXPECT_EQ(CopyFile(source_, target_, false), Status::kFileExists);
  EXPECT_EQ(ScratchFolder::Read(target_), "old");
  EXPECT_EQ(CopyFile(source_, target_, true), Status::kOk);
  EXPECT_EQ(ScratchFolder::Read(target_), "new contents");
}

// Copying a file onto itself with overwrite would truncate it before reading
// it; the copy refuses and the file keeps its contents.
TEST_F(CopyFileTest, CopyOntoItselfKeepsTheFile) {
  EXPECT_EQ(CopyFile(source_, source_, true), Status::kSharingViolation);
  const std::string sameByOtherName = (folder_.path() / "." / "source.dxf").string();
  EXPECT_EQ(CopyFile(source_, sameByOtherName, true), Status::kSharingViolation);
  EXPECT_EQ(ScratchFolder::Read(source_), "new contents");
}

struct CopyFailure {
  const char* from;
  const char* to;
  Status expected;
};

class CopyFileFailure : public ::testing::TestWithParam<CopyFailure> {};

TEST_P(CopyFileFailure, ReportsAndLeavesNoFiles) {
  ScratchFolder folder;
  folder.Write("present.txt", "x");
  ::mkdir((folder / "dir").c_str(), 0755);
  EXPECT_EQ(CopyFile(folder / GetParam().from, folder / GetParam().to, true), GetParam().expected);
  size_t entries = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(folder.path());
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    ++entries;
  }
  EXPECT_EQ(entries, 2u);   // present.txt and dir: no partial copy left
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFileFailure,
    ::testing::Values(CopyFailure{"absent.txt", "copy.txt", Status::kFileNotFound},
                      CopyFailure{"nodir/absent.txt", "copy.txt", Status::kPathNotFound},
                      CopyFailure{"dir", "copy.txt", Status::kAccessDenied},
                      CopyFailure{"present.txt", "dir", Status::kAccessDenied},
                      CopyFailure{"present.txt", "nodir/copy.txt", Status::kPathNotFound}));

TEST(DeleteFileRule, StatusByWhatIsThere) {
  ScratchFolder folder;
  const std::string file = folder.Write("f.txt", "x");
  EXPECT_EQ(DeleteFile(file), Status::kOk);
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(DeleteFile(file), Status::kFileNotFound);
  EXPECT_EQ(DeleteFile(folder / "nodir/f.txt"), Status::kPathNotFound);
  EXPECT_EQ(DeleteFile(folder.path().string()), Status::kAccessDenied);
  EXPECT_TRUE(FolderExists(folder.path().string()));
}

}  // namespace
}  // namespace tarn::platform
