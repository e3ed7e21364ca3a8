// Module handles and resources: finding, loading and freeing the test
// resource modules, their exports, and strings and templates by id.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "scratch_folder.h"

namespace {

using tarn::platform::testing::ScopedEnv;

const std::string kModuleDir = TARN_TEST_MODULE_DIR;
const std::string kResPath = kModuleDir + "/TestRes.so";

// Loads a module for one test and frees it afterwards.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& name) : handle_(tcplLoadModule(name.c_str())) {}
  ~LoadedModule() {
    if (handle_ != nullptr) tcplFreeModule(handle_);
  }
  tcpl_module get() const { return handle_; }

 private:
  tcpl_module handle_;
};

std::string LoadString(tcpl_module module, uint32_t id, size_t size, int* length = nullptr) {
  std::string buffer(size, '#');
  const int n = tcplLoadString(module, id, buffer.data(), size);
  if (length != nullptr) *length = n;
  return std::string(buffer.c_str());
}

TEST(ModuleCalls, FindLoadedModuleAnswersOnlyWhileLoadedByEveryFormOfItsName) {
  ScopedEnv path("TARNCAD_MODULE_PATH", kModuleDir.c_str());
  EXPECT_EQ(tcplFindLoadedModule("TestRes"), nullptr);
  {
    LoadedModule res(kResPath);
    ASSERT_NE(res.get(), nullptr);
    for (const char* name : {"TestRes", "TestRes.dll", "TestRes.so", "testres.DLL"}) {
      EXPECT_EQ(tcplFindLoadedModule(name), res.get()) << name;
    }
    EXPECT_EQ(tcplFindLoadedModule(kResPath.c_str()), res.get());
  }
  // The lookups above kept no reference: freeing the one load unloads it.
  EXPECT_EQ(tcplFindLoadedModule("TestRes"), nullptr);
}

TEST(ModuleCalls, FindsAModuleLoadedFromAFolderOutsideTheModulePath) {
  ScopedEnv path("TARNCAD_MODULE_PATH", nullptr);
  LoadedModule res(kResPath);
  ASSERT_NE(res.get(), nullptr);
  EXPECT_EQ(tcplFindLoadedModule("TestRes.dll"), res.get());
  EXPECT_EQ(tcplFindLoadedModule("NoSuchModule"), nullptr);
  EXPECT_EQ(tcplFindLoadedModule(""), nullptr);
  EXPECT_EQ(tcplFindLoadedModule(nullptr), nullptr);
}

TEST(ModuleCalls, LoadsByBareNameFromTheModulePathAndRefusesUnknownNames) {
  ScopedEnv path("TARNCAD_MODULE_PATH", kModuleDir.c_str());
  LoadedModule byName("TestRes.dll");
  EXPECT_NE(byName.get(), nullptr);
  EXPECT_EQ(tcplLoadModule("NoSuchModule.dll"), nullptr);
  EXPECT_EQ(tcplLoadModule(nullptr), nullptr);
  EXPECT_EQ(tcplFreeModule(nullptr), 0);
}

TEST(ModuleCalls, ExportsAddressesAndFileNames) {
  LoadedModule res(kResPath);
  ASSERT_NE(res.get(), nullptr);
  auto marker = reinterpret_cast<int (*)()>(tcplGetProcAddress(res.get(), "test_resources_marker"));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker(), 42);
  EXPECT_EQ(tcplGetProcAddress(res.get(), "no_such_symbol"), nullptr);
  EXPECT_EQ(tcplGetProcAddress(res.get(), nullptr), nullptr);

  EXPECT_EQ(tcplModuleOfAddress(reinterpret_cast<const void*>(marker)), res.get());
  EXPECT_EQ(tcplModuleOfAddress(tcplGetProcAddress(res.get(), TCPL_STRING_TABLE)), res.get());
  EXPECT_EQ(tcplModuleOfAddress(nullptr), nullptr);

  char name[4096];
  const size_t length = tcplModuleFileName(res.get(), name, sizeof name);
  EXPECT_EQ(std::string(name), kResPath);
  EXPECT_EQ(length, kResPath.size());
  EXPECT_EQ(tcplModuleFileName(res.get(), nullptr, 0), kResPath.size());
  char small[8] = "unset";
  EXPECT_EQ(tcplModuleFileName(res.get(), small, sizeof small), 0u) << "a cut path names another file";
  EXPECT_STREQ(small, "");
}

TEST(ModuleCalls, TheProgramItselfIsAModuleWithItsFileName) {
  static int local = 0;
  tcpl_module self = tcplModuleOfAddress(&local);
  ASSERT_NE(self, nullptr);
  char name[4096];
  ASSERT_GT(tcplModuleFileName(self, name, sizeof name), 0u);
  EXPECT_NE(std::string(name).find("platformsdk_tests"), std::string::npos) << name;
}

TEST(ResourceCalls, StringsByIdWithLengthsAndCuts) {
  LoadedModule res(kResPath);
  ASSERT_NE(res.get(), nullptr);
  int n = 0;
  EXPECT_EQ(LoadString(res.get(), 100, 64, &n), "Hello");
  EXPECT_EQ(n, 5);
  EXPECT_EQ(LoadString(res.get(), 300, 64), "Select objects: ");
  EXPECT_EQ(tcplLoadString(res.get(), 101, nullptr, 0), static_cast<int>(std::strlen("Grüße aus Köln")));
  // "Grü" is 4 bytes; a 4-byte buffer holds 3 bytes, which would cut the ü.
  EXPECT_EQ(LoadString(res.get(), 101, 4, &n), "Gr");
  EXPECT_EQ(n, 2);
  EXPECT_EQ(LoadString(res.get(), 101, 5, &n), "Grü");
  EXPECT_EQ(LoadString(res.get(), 100, 1, &n), "");
  EXPECT_EQ(n, 0);
}

TEST(ResourceCalls, MissingIdsEmptyTextsAndModulesWithoutTablesAnswerNothing) {
  LoadedModule res(kResPath);
  int n = -1;
  for (uint32_t id : {0u, 99u, 102u, 205u, 301u, 0xFFFFFFFFu}) {
    EXPECT_EQ(LoadString(res.get(), id, 16, &n), "") << id;
    EXPECT_EQ(n, 0) << id;
  }
  EXPECT_EQ(LoadString(nullptr, 100, 16, &n), "");
  EXPECT_EQ(n, 0);
  LoadedModule unsorted(kModuleDir + "/TestUnsortedRes.so");
  ASSERT_NE(unsorted.get(), nullptr);
  EXPECT_EQ(tcplFindDialogTemplate(unsorted.get(), 2001), nullptr);
}

TEST(ResourceCalls, AnUnsortedTableIsStillSearchedWhole) {
  LoadedModule unsorted(kModuleDir + "/TestUnsortedRes.so");
  ASSERT_NE(unsorted.get(), nullptr);
  EXPECT_EQ(LoadString(unsorted.get(), 10, 16), "ten");
  EXPECT_EQ(LoadString(unsorted.get(), 20, 16), "twenty");
  EXPECT_EQ(LoadString(unsorted.get(), 30, 16), "thirty");
}

TEST(ResourceCalls, DialogTemplatesById) {
  LoadedModule res(kResPath);
  const char* text = tcplFindDialogTemplate(res.get(), 2001);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text).rfind("dialog 2001", 0), 0u);
  EXPECT_EQ(tcplFindDialogTemplate(res.get(), 2002), nullptr);
  EXPECT_EQ(tcplFindDialogTemplate(nullptr, 2001), nullptr);
}

}  // namespace
