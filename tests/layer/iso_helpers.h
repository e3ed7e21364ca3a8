// Helpers of the isolation and layer state scenarios: a registry store of
// the test's own (the "LayerTools" settings), a count of the LAYER commands
// the module issues, a drawing with layout viewports, block references to
// pick inside, and the resource texts the commands print.
#pragma once

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcutapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "api/sysvars.h"
#include "commands/host_commands.h"
#include "db/records.h"
#include "db/tags.h"
#include "editor/command_stack.h"
#include "layer_fixture.h"
#include "platformsdk/platform_sdk.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

class LayerToolTest : public LayerModuleTest {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("tarn_laytools_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    const char* old = std::getenv("TARNCAD_CONFIG_DIR");
    hadConfig_ = old != nullptr;
    if (old) previousConfig_ = old;
    setenv("TARNCAD_CONFIG_DIR", folder_.c_str(), 1);
    tarn::platformsdk::ResetSharedRegistryStore();
    LayerModuleTest::SetUp();
    // System variables outlive a session: start every test from the default.
    setShortVar("CMDECHO", 1);
  }

  void TearDown() override {
    LayerModuleTest::TearDown();
    tarn::platformsdk::ResetSharedRegistryStore();
    if (hadConfig_) setenv("TARNCAD_CONFIG_DIR", previousConfig_.c_str(), 1);
    else unsetenv("TARNCAD_CONFIG_DIR");
    std::filesystem::remove_all(folder_);
  }

  // ---- the "LayerTools" section of the registry store

  std::string settingsKey() {
    tarn::host::SysVarValue profile;
    tarn::host::getSysVar("CPROFILE", profile);
    return std::string(tcplProductRegistryRoot()) + "\\Profiles\\" + profile.text +
           "\\UserInterfaceSettings\\LayerTools";
  }
  void storeSetting(const char* name, uint32_t value) {
    tcpl_hkey key = nullptr;
    ASSERT_EQ(tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, settingsKey().c_str(), &key), TCPL_ERROR_SUCCESS);
    ASSERT_EQ(tcplRegSetValue(key, name, TCPL_REG_DWORD, &value, sizeof value), TCPL_ERROR_SUCCESS);
    tcplRegCloseKey(key);
  }
  // The stored value, -1 when there is none.
  int64_t storedSetting(const char* name) {
    tcpl_hkey key = nullptr;
    if (tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, settingsKey().c_str(), TCPL_KEY_READ, &key) != TCPL_ERROR_SUCCESS) return -1;
    uint32_t value = 0, type = 0, size = sizeof value;
    const bool read = tcplRegQueryValue(key, name, &type, &value, &size) == TCPL_ERROR_SUCCESS;
    tcplRegCloseKey(key);
    return read && type == TCPL_REG_DWORD ? int64_t(value) : -1;
  }
  // The module keeps the settings it read last: every test states its mode.
  void useSettings(uint32_t lockFlag, uint32_t freezeFlag) {
    storeSetting("LockFlag", lockFlag);
    storeSetting("FreezeFlag", freezeFlag);
  }

  // ---- system variables

  int shortVar(const char* name) {
    tarn::host::SysVarValue v;
    return tarn::host::getSysVar(name, v) ? int(v.number) : -9999;
  }
  void setShortVar(const char* name, int value) {
    ASSERT_TRUE(tarn::host::setSysVar(name, tarn::host::shortValue(short(value)))) << name;
  }

  // ---- the host's LAYER command, counted

  // From now on every LAYER the module issues is counted in layerCalls.
  void countLayerCalls() {
    const tarn::editor::CommandEntry* layer = session->editor().commands().find("_.LAYER");
    ASSERT_NE(layer, nullptr);
    tarn::editor::CommandHandler original = layer->handler;
    session->editor().commands().registerHostCommand("LAYER", [this, original] {
      ++layerCalls;
      return original();
    });
  }
  int layerCalls = 0;

  // ---- layout viewports

  // A drawing with a layout of viewports 1 (paper space), 2 (layer "OFF"
  // frozen in it) and 3, a line on layer "ON" from (0,0) to (10,0).
  void openLayoutDrawing() { reopen(TARN_TEST_DATA "/layer/layout_viewports.dxf"); }

  // Every layer of the drawing but these, sorted.
  std::vector<std::string> layersBut(const std::vector<std::string>& kept) {
    std::vector<std::string> out;
    const tarn::db::SymbolTable* table = std::as_const(db()).table("LAYER");
    for (uint32_t id : table ? table->records : std::vector<uint32_t>{}) {
      std::string name(tarn::db::findString(db(), id, 2));
      if (!db().isErased(id) && std::find(kept.begin(), kept.end(), name) == kept.end()) out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  void useLayoutViewport(int number) {
    setShortVar("TILEMODE", 0);
    setShortVar("CVPORT", number);
  }

  // ---- blocks

  // A block definition (group 70 `flags`) holding one line on `lineLayer`
  // from (0,0) to (10,0) and, when `inner` is given, a reference to that
  // block at (0,5) on `innerLayer`.
  void makeBlock(const std::string& name, const std::string& lineLayer, const std::string& inner = {},
                 int flags = 0, const std::string& innerLayer = "0") {
    double origin[3] = {0, 0, 0}, end[3] = {10, 0, 0};
    resbuf* head = tcutBuildList(RTDXF0, "BLOCK", 2, name.c_str(), 70, flags, 10, origin, RTNONE);
    ASSERT_EQ(tcdbEntMake(head), RTNORM) << name;
    tcutRelRb(head);
    resbuf* line = tcutBuildList(RTDXF0, "LINE", 8, lineLayer.c_str(), 10, origin, 11, end, RTNONE);
    ASSERT_EQ(tcdbEntMake(line), RTNORM);
    tcutRelRb(line);
    if (!inner.empty()) {
      double at[3] = {0, 5, 0};
      resbuf* ref = tcutBuildList(RTDXF0, "INSERT", 8, innerLayer.c_str(), 2, inner.c_str(), 10, at, RTNONE);
      ASSERT_EQ(tcdbEntMake(ref), RTNORM);
      tcutRelRb(ref);
    }
    resbuf* tail = tcutBuildList(RTDXF0, "ENDBLK", RTNONE);
    ASSERT_EQ(tcdbEntMake(tail), RTNORM) << name;
    tcutRelRb(tail);
  }
  // A reference in model space at (x, y); its id.
  uint32_t insert(const std::string& block, const std::string& layer, double x, double y) {
    double at[3] = {x, y, 0};
    resbuf* ref = tcutBuildList(RTDXF0, "INSERT", 8, layer.c_str(), 2, block.c_str(), 10, at, RTNONE);
    EXPECT_EQ(tcdbEntMake(ref), RTNORM) << block;
    tcutRelRb(ref);
    return db().blocks()[db().modelSpace()].entities.back();
  }

  // ---- texts

  static std::string resourceText(uint32_t id) {
    char buffer[512] = "";
    tcplLoadString(tcplFindLoadedModule("TarnExtendRes"), id, buffer, sizeof buffer);
    return buffer;
  }
  static size_t countOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
  }
  bool printed(const std::string& what) { return transcript().find(what) != std::string::npos; }
  // The last line of the transcript that starts with `head`, whole; empty
  // when there is none.
  std::string lineStarting(const std::string& head) {
    const std::string& text = transcript();
    size_t at = text.rfind("\n" + head);
    if (at == std::string::npos) return {};
    ++at;
    const size_t end = text.find('\n', at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
  }

 private:
  std::filesystem::path folder_;
  std::string previousConfig_;
  bool hadConfig_ = false;
};
