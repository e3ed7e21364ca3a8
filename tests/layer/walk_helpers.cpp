// The layer walk scenarios' fixture.
#include "walk_helpers.h"

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcplatform.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platformsdk/platform_sdk.h"

namespace fs = std::filesystem;

namespace {

std::string SectionKey() {
  struct resbuf profile {};
  std::string name;
  if (tcedGetVar("CPROFILE", &profile) == RTNORM && profile.restype == RTSTR) {
    name = profile.resval.rstring;
    std::free(profile.resval.rstring);
  }
  return std::string(tcplProductRegistryRoot()) + "\\Profiles\\" + name + "\\UserInterfaceSettings\\LayWalk";
}

}  // namespace

void LayerWalkTest::SetUp() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  folder = (fs::temp_directory_path() /
            ("layer_walk_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name()))
               .string();
  fs::remove_all(folder);
  fs::create_directories(folder);
  const char* old = std::getenv("TARNCAD_CONFIG_DIR");
  previousConfig = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("TARNCAD_CONFIG_DIR", folder.c_str(), 1);
  tarn::platformsdk::ResetSharedRegistryStore();
  LayerModuleTest::SetUp();
}

void LayerWalkTest::TearDown() {
  LayerModuleTest::TearDown();
  if (previousConfig) setenv("TARNCAD_CONFIG_DIR", previousConfig->c_str(), 1);
  else unsetenv("TARNCAD_CONFIG_DIR");
  tarn::platformsdk::ResetSharedRegistryStore();
  fs::remove_all(folder);
}

std::string LayerWalkTest::layerTableDxf() {
  const std::string path = folder + "/table.dxf";
  EXPECT_EQ(tcdbWorkingDatabase()->saveAs(path.c_str()), TcDb::eOk);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const std::string dxf = text.str();
  const size_t start = dxf.find("\nLAYER\n");
  const size_t end = dxf.find("ENDTAB", start);
  EXPECT_NE(start, std::string::npos);
  return start == std::string::npos ? std::string() : dxf.substr(start, end - start);
}

void LayerWalkTest::storeDword(const char* name, uint32_t value) {
  tcpl_hkey key = nullptr;
  ASSERT_EQ(tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, SectionKey().c_str(), &key), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegSetValue(key, name, TCPL_REG_DWORD, &value, sizeof value), TCPL_ERROR_SUCCESS);
  tcplRegCloseKey(key);
}

void LayerWalkTest::storeText(const char* name, const std::string& text) {
  tcpl_hkey key = nullptr;
  ASSERT_EQ(tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, SectionKey().c_str(), &key), TCPL_ERROR_SUCCESS);
  EXPECT_EQ(tcplRegSetValue(key, name, TCPL_REG_SZ, text.c_str(), uint32_t(text.size() + 1)), TCPL_ERROR_SUCCESS);
  tcplRegCloseKey(key);
}

bool LayerWalkTest::storedDword(const char* name, uint32_t* value) {
  tcpl_hkey key = nullptr;
  if (tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, SectionKey().c_str(), TCPL_KEY_READ, &key) != TCPL_ERROR_SUCCESS)
    return false;
  uint32_t type = 0, size = sizeof *value;
  const bool found = tcplRegQueryValue(key, name, &type, value, &size) == TCPL_ERROR_SUCCESS && type == TCPL_REG_DWORD;
  tcplRegCloseKey(key);
  return found;
}

bool LayerWalkTest::storedText(const char* name, std::string* text) {
  tcpl_hkey key = nullptr;
  if (tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, SectionKey().c_str(), TCPL_KEY_READ, &key) != TCPL_ERROR_SUCCESS)
    return false;
  char buffer[600] = {};
  uint32_t type = 0, size = sizeof buffer - 1;
  const bool found = tcplRegQueryValue(key, name, &type, buffer, &size) == TCPL_ERROR_SUCCESS && type == TCPL_REG_SZ;
  tcplRegCloseKey(key);
  if (found) *text = buffer;
  return found;
}

void LayerWalkTest::makeCurrent(const std::string& name) {
  struct resbuf value {};
  value.restype = RTSTR;
  value.resval.rstring = const_cast<char*>(name.c_str());
  ASSERT_EQ(tcedSetVar("CLAYER", &value), RTNORM) << name;
}

size_t LayerWalkTest::occurrences(const std::string& text) const {
  size_t count = 0;
  for (size_t at = transcript().find(text); at != std::string::npos; at = transcript().find(text, at + 1)) ++count;
  return count;
}

void LayerWalkTest::walk(const std::string& actions) {
  run("LAYWALK", actions);
  EXPECT_EQ(transcript().find("Invalid option keyword."), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("is disabled."), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("has no item"), std::string::npos) << transcript();
}
