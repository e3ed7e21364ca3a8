// The registry store: persistence across store instances, case-insensitive
// keys and values, Windows-style buffer queries and typing, access rules,
// enumeration, deletion, crash safety and damaged files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/registry.h"
#include "scratch_folder.h"

namespace tarn::platform {
namespace {

using testing::ScratchFolder;
constexpr auto kUser = RegistryRoot::kCurrentUser;
constexpr const char* kLayerTools =
    "Software\\Tarn\\TarnCAD\\R1\\Profiles\\<<Unnamed Profile>>\\UserInterfaceSettings\\LayerTools";

class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryKey Create(RegistryStore& store, const std::string& path) {
    RegistryKey key;
    EXPECT_EQ(store.CreateKey(kUser, path, &key), Status::kOk);
    return key;
  }
  RegistryKey Open(RegistryStore& store, const std::string& path, KeyAccess access) {
    RegistryKey key;
    EXPECT_EQ(store.OpenKey(kUser, path, access, &key), Status::kOk);
    return key;
  }

  ScratchFolder folder_;
};

TEST_F(RegistryStoreTest, ValuesOfEveryTypeSurviveANewStore) {
  {
    RegistryStore store(folder_.path());
    RegistryKey key = Create(store, kLayerTools);
    ASSERT_EQ(key.SetDword("LockFlag", 0), Status::kOk);
    ASSERT_EQ(key.SetString("CheckFlag", "1.000000"), Status::kOk);
    ASSERT_EQ(key.SetQword("Big", 0x123456789ULL), Status::kOk);
    ASSERT_EQ(key.SetBinary("Raw", std::string("\0\1\2", 3)), Status::kOk);
  }
  RegistryStore again(folder_.path());
  RegistryKey key = Open(again, kLayerTools, KeyAccess::kRead);
  EXPECT_EQ(key.QueryDword("LockFlag").value, 0u);
  EXPECT_EQ(key.QueryString("CheckFlag").value, "1.000000");
  EXPECT_EQ(key.QueryQword("Big").value, 0x123456789ULL);
  EXPECT_EQ(key.QueryBinary("Raw").value, std::string("\0\1\2", 3));
  EXPECT_TRUE(again.TakeMessages().empty());
}

TEST_F(RegistryStoreTest, KeysAndValueNamesIgnoreCaseButKeepTheirSpelling) {
  RegistryStore store(folder_.path());
  Create(store, "Software\\Tarn\\LayWalk").SetDword("RestoreOnExit", 1);
  RegistryKey key = Open(store, "SOFTWARE\\tarn\\laywalk", KeyAccess::kFull);
  EXPECT_EQ(key.QueryDword("restoreonexit").value, 1u);
  ASSERT_EQ(key.SetDword("RESTOREONEXIT", 0), Status::kOk);   // same value, not a second one
  const auto values = key.Values();
  ASSERT_EQ(values.value.size(), 1u);
  EXPECT_EQ(values.value[0].name, "RestoreOnExit");
  RegistryKey parent = Open(store, "software\\TARN", KeyAccess::kRead);
  EXPECT_EQ(parent.EnumSubkey(0).value, "LayWalk");
}

TEST_F(RegistryStoreTest, CaseFoldingCoversAccentedAndCyrillicNames) {
  RegistryStore store(folder_.path());
  Create(store, "Profiles\\Équipe Стандарт");
  RegistryKey key;
  EXPECT_EQ(store.OpenKey(kUser, "PROFILES\\équipe стандарт", KeyAccess::kRead, &key), Status::kOk);
}

TEST_F(RegistryStoreTest, CreatingAnExistingKeyOpensItUnchanged) {
  RegistryStore store(folder_.path());
  Create(store, "A\\B").SetDword("V", 7);
  RegistryKey key;
  bool created = true;
  ASSERT_EQ(store.CreateKey(kUser, "a\\b", &key, &created), Status::kOk);
  EXPECT_FALSE(created);
  EXPECT_EQ(key.QueryDword("V").value, 7u);
  ASSERT_EQ(store.CreateKey(kUser, "a\\b\\c", &key, &created), Status::kOk);
  EXPECT_TRUE(created);
}

TEST_F(RegistryStoreTest, MissingKeysAndValuesAreNotFound) {
  RegistryStore store(folder_.path());
  RegistryKey key;
  EXPECT_EQ(store.OpenKey(kUser, kLayerTools, KeyAccess::kRead, &key), Status::kFileNotFound);
  key = Create(store, kLayerTools);
  EXPECT_EQ(key.QueryDword("LockFlag").status, Status::kFileNotFound);
  EXPECT_EQ(key.DeleteValue("LockFlag"), Status::kFileNotFound);
}

TEST_F(RegistryStoreTest, BufferQueryFollowsTheWindowsSizeRules) {
  RegistryStore store(folder_.path());
  RegistryKey key = Create(store, "K");
  key.SetDword("D", 0x01020304);
  key.SetString("S", "abc");

  uint32_t value = 0xFFFFFFFF;
  uint32_t size = 4;
  ValueType type = ValueType::kNone;
  ASSERT_EQ(key.QueryValue("D", &type, &value, &size), Status::kOk);
  EXPECT_EQ(type, ValueType::kDword);
  EXPECT_EQ(value, 0x01020304u);

  char text[8];
  size = 3;   // no room for the terminating NUL
  EXPECT_EQ(key.QueryValue("S", &type, text, &size), Status::kMoreData);
  EXPECT_EQ(size, 4u);
  size = 0;
  EXPECT_EQ(key.QueryValue("S", nullptr, nullptr, &size), Status::kOk);
  EXPECT_EQ(size, 4u);
  size = sizeof text;
  ASSERT_EQ(key.QueryValue("S", &type, text, &size), Status::kOk);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(key.QueryValue("S", &type, text, nullptr), Status::kInvalidParameter);
}

// Reading a text value as a 4-byte number would give the bytes of the text;
// the typed query refuses instead, so a caller keeps its default.
TEST_F(RegistryStoreTest, TypedQueryRefusesAnotherType) {
  RegistryStore store(folder_.path());
  RegistryKey key = Create(store, "K");
  key.SetString("LockFlag", "1");
  key.SetDword("Count", 3);
  EXPECT_EQ(key.QueryDword("LockFlag").status, Status::kDatatypeMismatch);
  EXPECT_EQ(key.QueryString("Count").status, Status::kDatatypeMismatch);
}

TEST_F(RegistryStoreTest, SetValueChecksSizesAndCutsTextAtNul) {
  RegistryStore store(folder_.path());
  RegistryKey key = Create(store, "K");
  const char three[3] = {1, 2, 3};
  EXPECT_EQ(key.SetValue("D", ValueType::kDword, three, 3), Status::kInvalidParameter);
  EXPECT_EQ(key.SetValue("N", ValueType::kNone, three, 3), Status::kInvalidParameter);
  const char text[] = "abc\0def";
  ASSERT_EQ(key.SetValue("S", ValueType::kString, text, sizeof text), Status::kOk);
  EXPECT_EQ(key.QueryString("S").value, "abc");
}

TEST_F(RegistryStoreTest, ReadAccessCannotWrite) {
  RegistryStore store(folder_.path());
  Create(store, "K");
  RegistryKey key = Open(store, "K", KeyAccess::kRead);
  EXPECT_EQ(key.SetDword("V", 1), Status::kAccessDenied);
  EXPECT_EQ(key.DeleteValue("V"), Status::kAccessDenied);
  RegistryKey child;
  EXPECT_EQ(key.CreateSubkey("Child", &child), Status::kAccessDenied);
}

TEST_F(RegistryStoreTest, EnumerationOrdersSubkeysByNameAndValuesBySetting) {
  RegistryStore store(folder_.path());
  RegistryKey key = Create(store, "Root");
  for (const char* name : {"beta", "Alpha", "gamma"}) Create(store, std::string("Root\\") + name);
  for (const char* name : {"Filter2", "Filter1", "Filter4"}) key.SetString(name, name);
  std::vector<std::string> subkeys;
  for (uint32_t i = 0;; ++i) {
    auto name = key.EnumSubkey(i);
    if (!name.ok()) {
      EXPECT_EQ(name.status, Status::kNoMoreItems);
      break;
    }
    subkeys.push_back(name.value);
  }
  EXPECT_EQ(subkeys, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(key.EnumValue(0).value.name, "Filter2");
  EXPECT_EQ(key.EnumValue(2).value.name, "Filter4");
  EXPECT_EQ(key.EnumValue(2).value.size, 8u);   // "Filter4" and its NUL
  EXPECT_EQ(key.EnumValue(3).status, Status::kNoMoreItems);
}

TEST_F(RegistryStoreTest, DeletingKeys) {
  RegistryStore store(folder_.path());
  RegistryKey parent = Create(store, "P");
  RegistryKey child = Create(store, "P\\C");
  EXPECT_EQ(store.DeleteKey(kUser, "p"), Status::kKeyHasChildren);
  EXPECT_EQ(store.DeleteKey(kUser, "p\\c"), Status::kOk);
  EXPECT_EQ(child.SetDword("V", 1), Status::kKeyDeleted);
  EXPECT_EQ(child.QueryDword("V").status, Status::kKeyDeleted);
  Create(store, "P\\C\\D");
  EXPECT_EQ(store.DeleteTree(kUser, "P"), Status::kOk);
  EXPECT_EQ(store.DeleteTree(kUser, "P"), Status::kFileNotFound);
  EXPECT_EQ(store.DeleteKey(kUser, ""), Status::kInvalidParameter);
}

TEST_F(RegistryStoreTest, EmptyKeysSurviveANewStore) {
  { RegistryStore store(folder_.path()); Create(store, "Only\\Empty"); }
  RegistryStore again(folder_.path());
  RegistryKey key;
  EXPECT_EQ(again.OpenKey(kUser, "Only\\Empty", KeyAccess::kRead, &key), Status::kOk);
}

TEST_F(RegistryStoreTest, InvalidPathsAreRefused) {
  RegistryStore store(folder_.path());
  RegistryKey key;
  EXPECT_EQ(store.CreateKey(kUser, "A\\\\B", &key), Status::kInvalidParameter);
  EXPECT_EQ(store.OpenKey(kUser, "\\A", KeyAccess::kRead, &key), Status::kInvalidParameter);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.SetDword("V", 1), Status::kInvalidHandle);
}

// A crash during a write leaves a temporary file beside the store; it must
// never be read, and the next write must still succeed.
TEST_F(RegistryStoreTest, LeftoverTemporaryFileDoesNotDamageTheStore) {
  { RegistryStore store(folder_.path()); Create(store, "K").SetDword("V", 5); }
  const std::string file = RegistryStore(folder_.path()).FileOf(kUser).string();
  folder_.Write(std::filesystem::path(file).filename().string() + ".tmp-AbC123",
                "[K]\n\"V\"=dword:00000009\n\"Half\"=dwo");
  RegistryStore store(folder_.path());
  RegistryKey key = Open(store, "K", KeyAccess::kFull);
  EXPECT_EQ(key.QueryDword("V").value, 5u);
  EXPECT_EQ(key.SetDword("V", 6), Status::kOk);
  EXPECT_TRUE(store.TakeMessages().empty());
  RegistryStore reopened(folder_.path());
  ASSERT_EQ(reopened.OpenKey(kUser, "K", KeyAccess::kRead, &key), Status::kOk);
  EXPECT_EQ(key.QueryDword("V").value, 6u);
}

TEST_F(RegistryStoreTest, WriteLeavesNoTemporaryFiles) {
  RegistryStore store(folder_.path());
  Create(store, "K").SetDword("V", 1);
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "registry-current-user.txt" || name == "registry.lock") << name;
  }
}

TEST_F(RegistryStoreTest, DamagedFileGivesWhatCanBeReadAndAMessage) {
  RegistryStore probe(folder_.path());
  const std::string file = probe.FileOf(kUser).string();
  folder_.Write(std::filesystem::path(file).filename().string(),
                "[Settings]\n\"LockFlag\"=dword:00000000\n\x01\x02 binary junk\n"
                "\"FreezeFlag\"=dword:00000001\n");
  RegistryStore store(folder_.path());
  RegistryKey key = Open(store, "Settings", KeyAccess::kFull);
  EXPECT_EQ(key.QueryDword("LockFlag").value, 0u);
  EXPECT_EQ(key.QueryDword("FreezeFlag").value, 1u);
  const auto messages = store.TakeMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0].rfind(file + ":3: ", 0), 0u) << messages[0];

  // The first write replaces the file but keeps the damaged one beside it.
  ASSERT_EQ(key.SetDword("LockFlag", 1), Status::kOk);
  EXPECT_NE(ScratchFolder::Read(file + ".damaged").find("binary junk"), std::string::npos);
  EXPECT_EQ(ScratchFolder::Read(file).find("binary junk"), std::string::npos);
}

TEST_F(RegistryStoreTest, UnreadableFileLeavesDefaultsAndAMessage) {
  RegistryStore probe(folder_.path());
  std::filesystem::create_directory(probe.FileOf(kUser));   // a folder where the file should be
  RegistryStore store(folder_.path());
  RegistryKey key;
  EXPECT_EQ(store.OpenKey(kUser, "K", KeyAccess::kRead, &key), Status::kFileNotFound);
  EXPECT_FALSE(store.TakeMessages().empty());
  EXPECT_NE(store.CreateKey(kUser, "K", &key), Status::kOk);   // cannot replace a folder
}

TEST_F(RegistryStoreTest, SeesChangesMadeByAnotherProcess) {
  RegistryStore first(folder_.path());
  RegistryStore second(folder_.path());
  Create(first, "K").SetDword("V", 1);
  RegistryKey key = Open(second, "K", KeyAccess::kFull);
  EXPECT_EQ(key.QueryDword("V").value, 1u);
  Open(first, "K", KeyAccess::kFull).SetDword("Other", 2);
  ASSERT_EQ(key.SetDword("V", 3), Status::kOk);   // must not lose "Other"
  RegistryKey check = Open(first, "K", KeyAccess::kRead);
  EXPECT_EQ(check.QueryDword("Other").value, 2u);
  EXPECT_EQ(check.QueryDword("V").value, 3u);
}

// Two programs writing settings at the same time must not lose each
// other's values (each write reads the latest file under a shared lock).
TEST_F(RegistryStoreTest, ConcurrentWritersInTwoProcessesLoseNothing) {
  constexpr int kValues = 40;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  const char* prefix = child == 0 ? "Child" : "Parent";
  {
    RegistryStore store(folder_.path());
    RegistryKey key;
    store.CreateKey(kUser, "Shared", &key);
    for (int i = 0; i < kValues; ++i) key.SetDword(prefix + std::to_string(i), static_cast<uint32_t>(i));
  }
  if (child == 0) ::_exit(0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  RegistryStore store(folder_.path());
  const auto values = Open(store, "Shared", KeyAccess::kRead).Values();
  EXPECT_EQ(values.value.size(), 2u * kValues);
}

TEST_F(RegistryStoreTest, ComputedKeysAreReadOnlyAndStoredKeysOverrideThem) {
  RegistryStore store(folder_.path());
  bool present = true;
  store.AddComputedKey(kUser, "Computed\\Key", [&present] {
    if (!present) return std::vector<RegistryValue>{};
    return std::vector<RegistryValue>{{"", ValueType::kString, "computed"}};
  });
  RegistryKey key;
  ASSERT_EQ(store.OpenKey(kUser, "computed\\key", KeyAccess::kRead, &key), Status::kOk);
  EXPECT_EQ(key.QueryString("").value, "computed");
  EXPECT_EQ(store.OpenKey(kUser, "Computed\\Key", KeyAccess::kFull, &key), Status::kAccessDenied);
  present = false;
  EXPECT_EQ(store.OpenKey(kUser, "Computed\\Key", KeyAccess::kRead, &key), Status::kFileNotFound);
  Create(store, "Computed\\Key").SetString("", "mine");
  present = true;
  ASSERT_EQ(store.OpenKey(kUser, "Computed\\Key", KeyAccess::kRead, &key), Status::kOk);
  EXPECT_EQ(key.QueryString("").value, "mine");
}

TEST(ConfigDirectory, EnvironmentChoosesTheFolder) {
  testing::ScopedEnv home("HOME", "/home/user");
  testing::ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  testing::ScopedEnv own("TARNCAD_CONFIG_DIR", nullptr);
  EXPECT_EQ(ConfigDirectory(), "/home/user/.config/tarncad");
  {
    testing::ScopedEnv setXdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(ConfigDirectory(), "/xdg/tarncad");
    testing::ScopedEnv setOwn("TARNCAD_CONFIG_DIR", "/some/where");
    EXPECT_EQ(ConfigDirectory(), "/some/where");
  }
}

}  // namespace
}  // namespace tarn::platform
