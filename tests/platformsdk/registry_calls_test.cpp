// The registry calls: handles, the desktop's error numbers, buffer sizes,
// and a store kept in a scratch folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "editor/editor.h"
#include "platformsdk/platform_sdk.h"
#include "scratch_folder.h"

namespace {

using tarn::platform::testing::ScopedEnv;
using tarn::platform::testing::ScratchFolder;

class RegistryCalls : public testing::Test {
 protected:
  RegistryCalls() : env_("TARNCAD_CONFIG_DIR", folder_.path().c_str()) {
    tarn::platformsdk::ResetSharedRegistryStore();
  }
  ~RegistryCalls() override { tarn::platformsdk::ResetSharedRegistryStore(); }

  // A fresh key with full access below the product root.
  tcpl_hkey CreateTestKey(const std::string& sub = "Test") {
    tcpl_hkey key = nullptr;
    const std::string path = std::string(tcplProductRegistryRoot()) + "\\" + sub;
    EXPECT_EQ(tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, path.c_str(), &key), TCPL_ERROR_SUCCESS);
    return key;
  }

  ScratchFolder folder_;
  ScopedEnv env_;
};

TEST_F(RegistryCalls, ProductRootIsTheHostsKey) {
  EXPECT_STREQ(tcplProductRegistryRoot(), "Software\\Tarn\\TarnCAD\\R1");
}

TEST_F(RegistryCalls, DwordIntoFourBytesAndSizesOfShortBuffers) {
  tcpl_hkey key = CreateTestKey();
  const uint32_t value = 0x12345678;
  ASSERT_EQ(tcplRegSetValue(key, "LockFlag", TCPL_REG_DWORD, &value, 4), TCPL_ERROR_SUCCESS);

  uint32_t read = 0, type = 0, size = 4;
  EXPECT_EQ(tcplRegQueryValue(key, "lockflag", &type, &read, &size), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(read, value);
  EXPECT_EQ(type, static_cast<uint32_t>(TCPL_REG_DWORD));
  EXPECT_EQ(size, 4u);

  uint16_t tooSmall = 0;
  size = 2;
  EXPECT_EQ(tcplRegQueryValue(key, "LockFlag", &type, &tooSmall, &size), TCPL_ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u) << "the size needed comes back";
  size = 0;
  EXPECT_EQ(tcplRegQueryValue(key, "LockFlag", nullptr, nullptr, &size), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(tcplRegQueryValue(key, "LockFlag", nullptr, &read, nullptr), TCPL_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(tcplRegQueryValue(key, "FreezeFlag", &type, &read, &size), TCPL_ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(tcplRegSetValue(key, "Bad", TCPL_REG_DWORD, &value, 3), TCPL_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(tcplRegSetValue(key, "Bad", 2 /* expandable text */, "x", 2), TCPL_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(tcplRegCloseKey(key), TCPL_ERROR_SUCCESS);
}

TEST_F(RegistryCalls, TextComesWithItsNulAndSurvivesANewStore) {
  tcpl_hkey key = CreateTestKey();
  ASSERT_EQ(tcplRegSetValue(key, "CheckFlag", TCPL_REG_SZ, "1.000000", 9), TCPL_ERROR_SUCCESS);
  tcplRegCloseKey(key);
  tarn::platformsdk::ResetSharedRegistryStore();   // as the next run of the host

  key = nullptr;
  const std::string path = std::string(tcplProductRegistryRoot()) + "\\Test";
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, path.c_str(), TCPL_KEY_READ, &key), TCPL_ERROR_SUCCESS);
  char text[16] = {};
  uint32_t type = 0, size = sizeof text;
  EXPECT_EQ(tcplRegQueryValue(key, "CheckFlag", &type, text, &size), TCPL_ERROR_SUCCESS);
  EXPECT_STREQ(text, "1.000000");
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(type, static_cast<uint32_t>(TCPL_REG_SZ));
  size = 8;
  EXPECT_EQ(tcplRegQueryValue(key, "CheckFlag", &type, text, &size), TCPL_ERROR_MORE_DATA);
  EXPECT_EQ(size, 9u);
  tcplRegCloseKey(key);
}

TEST_F(RegistryCalls, OpeningMissingKeysAndWritingThroughReadOnlyKeys) {
  tcpl_hkey key = reinterpret_cast<tcpl_hkey>(1);
  EXPECT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, "Software\\Nowhere", TCPL_KEY_READ, &key),
            TCPL_ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, "x", TCPL_KEY_READ, nullptr), TCPL_ERROR_INVALID_PARAMETER);

  tcplRegCloseKey(CreateTestKey());
  const std::string path = std::string(tcplProductRegistryRoot()) + "\\Test";
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, path.c_str(), TCPL_KEY_READ, &key), TCPL_ERROR_SUCCESS);
  const uint32_t one = 1;
  EXPECT_EQ(tcplRegSetValue(key, "LockFlag", TCPL_REG_DWORD, &one, 4), TCPL_ERROR_ACCESS_DENIED);
  tcpl_hkey child = nullptr;
  EXPECT_EQ(tcplRegCreateKey(key, "Child", &child), TCPL_ERROR_ACCESS_DENIED);
  tcplRegCloseKey(key);
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, path.c_str(), TCPL_KEY_ALL_ACCESS, &key), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegSetValue(key, "LockFlag", TCPL_REG_DWORD, &one, 4), TCPL_ERROR_SUCCESS);
  tcplRegCloseKey(key);
}

TEST_F(RegistryCalls, ClosedForgedAndDeletedKeysAreRefused) {
  tcpl_hkey key = CreateTestKey();
  uint32_t size = 4, value = 0;
  EXPECT_EQ(tcplRegCloseKey(key), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegCloseKey(key), TCPL_ERROR_INVALID_HANDLE);
  EXPECT_EQ(tcplRegQueryValue(key, "x", nullptr, &value, &size), TCPL_ERROR_INVALID_HANDLE);
  EXPECT_EQ(tcplRegQueryValue(reinterpret_cast<tcpl_hkey>(&value), "x", nullptr, &value, &size),
            TCPL_ERROR_INVALID_HANDLE);
  EXPECT_EQ(tcplRegCloseKey(TCPL_HKEY_CURRENT_USER), TCPL_ERROR_SUCCESS) << "the roots stay open";

  key = CreateTestKey("Doomed");
  const std::string root = tcplProductRegistryRoot();
  tcpl_hkey parent = nullptr;
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, root.c_str(), TCPL_KEY_ALL_ACCESS, &parent), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegDeleteKey(parent, "Doomed"), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegQueryValue(key, "x", nullptr, &value, &size), TCPL_ERROR_KEY_DELETED);
  EXPECT_EQ(tcplRegDeleteKey(parent, "Doomed"), TCPL_ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(tcplRegDeleteKey(parent, ""), TCPL_ERROR_INVALID_PARAMETER);
  tcplRegCloseKey(key);
  tcplRegCloseKey(parent);
}

TEST_F(RegistryCalls, AKeyWithSubkeysIsNotDeletedAlone) {
  tcplRegCloseKey(CreateTestKey("Outer\\Inner"));
  tcpl_hkey root = nullptr;
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, tcplProductRegistryRoot(), TCPL_KEY_ALL_ACCESS, &root),
            TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegDeleteKey(root, "Outer"), TCPL_ERROR_ACCESS_DENIED);
  EXPECT_EQ(tcplRegDeleteKey(root, "Outer\\Inner"), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegDeleteKey(root, "Outer"), TCPL_ERROR_SUCCESS);
  tcplRegCloseKey(root);
}

TEST_F(RegistryCalls, EnumerationWithShortBuffersAndTheEnd) {
  tcpl_hkey key = CreateTestKey();
  for (const char* sub : {"Beta", "alpha"}) {
    tcpl_hkey child = nullptr;
    ASSERT_EQ(tcplRegCreateKey(key, sub, &child), TCPL_ERROR_SUCCESS);
    tcplRegCloseKey(child);
  }
  const uint32_t one = 1;
  tcplRegSetValue(key, "Filter1", TCPL_REG_SZ, "A*", 3);
  tcplRegSetValue(key, "RestoreOnExit", TCPL_REG_DWORD, &one, 4);

  char name[32];
  EXPECT_EQ(tcplRegEnumKey(key, 0, name, sizeof name), TCPL_ERROR_SUCCESS);
  EXPECT_STREQ(name, "alpha");
  EXPECT_EQ(tcplRegEnumKey(key, 1, name, sizeof name), TCPL_ERROR_SUCCESS);
  EXPECT_STREQ(name, "Beta");
  EXPECT_EQ(tcplRegEnumKey(key, 2, name, sizeof name), TCPL_ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(tcplRegEnumKey(key, 1, name, 4), TCPL_ERROR_MORE_DATA) << "\"Beta\" needs 5 bytes";
  EXPECT_EQ(tcplRegEnumKey(key, 1, name, 5), TCPL_ERROR_SUCCESS);

  EXPECT_EQ(tcplRegEnumValue(key, 0, name, sizeof name), TCPL_ERROR_SUCCESS);
  EXPECT_STREQ(name, "Filter1");
  EXPECT_EQ(tcplRegEnumValue(key, 1, name, sizeof name), TCPL_ERROR_SUCCESS);
  EXPECT_STREQ(name, "RestoreOnExit");
  EXPECT_EQ(tcplRegEnumValue(key, 2, name, sizeof name), TCPL_ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(tcplRegEnumValue(key, 0, name, 7), TCPL_ERROR_MORE_DATA);
  EXPECT_EQ(tcplRegEnumValue(key, 0, nullptr, 7), TCPL_ERROR_INVALID_PARAMETER);

  EXPECT_EQ(tcplRegDeleteValue(key, "Filter1"), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegDeleteValue(key, "Filter1"), TCPL_ERROR_FILE_NOT_FOUND);
  tcplRegCloseKey(key);
}

TEST_F(RegistryCalls, ADamagedSettingsFileIsReportedOnTheCommandLineAndReadAsFarAsPossible) {
  tarn::editor::Editor editor;
  tarn::editor::setCurrentEditor(&editor);
  const std::string root = tcplProductRegistryRoot();
  folder_.Write("registry-current-user.txt",
                "[" + root + "\\Test]\n\"Good\"=dword:00000007\n\"Broken\"=dword:zz\n");
  tcpl_hkey key = nullptr;
  ASSERT_EQ(tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, (root + "\\Test").c_str(), TCPL_KEY_READ, &key),
            TCPL_ERROR_SUCCESS);
  uint32_t value = 0, size = 4;
  EXPECT_EQ(tcplRegQueryValue(key, "Good", nullptr, &value, &size), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(tcplRegQueryValue(key, "Broken", nullptr, &value, &size), TCPL_ERROR_FILE_NOT_FOUND);
  EXPECT_NE(editor.transcriptText().find("registry-current-user.txt:3:"), std::string::npos)
      << editor.transcriptText();
  tcplRegCloseKey(key);
  tarn::editor::setCurrentEditor(nullptr);
}

}  // namespace
