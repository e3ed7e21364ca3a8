// Helpers of the layer-state module's tests: the module's exports as a
// module finds them, layout viewports with their layer freezes, layer states
// read from the drawing, a folder of the test's own and a drawing saved and
// opened again in a new session.
#pragma once

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcutapi.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "commands/host_commands.h"
#include "db/tags.h"
#include "layer_fixture.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

class LayerManagerTest : public LayerModuleTest {
 protected:
  using VoidExport = void (*)();
  using StatusExport = int32_t (*)();

  void TearDown() override {
    LayerModuleTest::TearDown();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  // An export of the module, loaded through the host's linker as the
  // layer tools load it.
  void* managerExport(const char* name) {
    EXPECT_TRUE(tarn::runtime::dynamicLinker().loadModule("TarnLayerManager.trx", true)) << transcript();
    return tcplGetProcAddress(tcplFindLoadedModule("TarnLayerManager.trx"), name);
  }
  // Each call checks that the export leaves nothing held.
  void layIso() { callHolding([&] { reinterpret_cast<VoidExport>(managerExport("LayIso"))(); }); }
  int32_t layUniso() {
    int32_t result = 0;
    callHolding([&] { result = reinterpret_cast<StatusExport>(managerExport("LayUnisoNew"))(); });
    return result;
  }
  void saveLayerState() {
    callHolding([&] { reinterpret_cast<VoidExport>(managerExport("LayerStateSaveCmd"))(); });
  }

  // Opens the drawing of these tests in a new session: layers "ON", "OFF"
  // (off), "FROZEN", "LOCKED" and the layout viewports 1 (the layout's own),
  // 2 (then given "OFF" frozen in it) and 3 (nothing frozen).
  void openLayoutDrawing() {
    reopen(TARN_TEST_DATA "/layer/layout_viewports.dxf");
    changeFreezes(2, {"OFF"}, true);
  }

  // Freezes or thaws layers in a viewport of the active layout.
  void changeFreezes(int viewport, const std::vector<std::string>& layers, bool freeze) {
    TcDbObjectIdArray ids;
    for (const std::string& name : layers) ids.emplace_back(db().serial(), db().findRecord("LAYER", name));
    TcDbViewport* port = nullptr;
    const uint32_t id = viewportNumbered(viewport);
    ASSERT_NE(id, tarn::db::kNoObject) << "viewport " << viewport;
    ASSERT_EQ(tcdbOpenObject(port, TcDbObjectId(db().serial(), id), TcDb::kForWrite), TcDb::eOk);
    EXPECT_EQ(freeze ? port->freezeLayersInViewport(ids) : port->thawLayersInViewport(ids), TcDb::eOk);
    port->close();
  }



  // The layout viewport the commands work in: TILEMODE 0 and CVPORT.
  void useLayoutViewport(int number) {
    ASSERT_TRUE(tarn::host::setSysVar("TILEMODE", tarn::host::shortValue(0)));
    ASSERT_TRUE(tarn::host::setSysVar("CVPORT", tarn::host::shortValue(number)));
  }

  // The layer's on/off, frozen and locked state as "on", "off" plus "F"
  // and "L": a compact picture to compare.
  std::string layerState(const std::string& name) {
    const int flags = layerFlags(name);
    return std::string(layerOn(name) ? "on" : "off") + (flags & 1 ? "F" : "") + (flags & 4 ? "L" : "");
  }

  // A folder of this test's own, removed at the end.
  std::filesystem::path folder() {
    if (folder_.empty()) {
      const auto* info = testing::UnitTest::GetInstance()->current_test_info();
      folder_ = std::filesystem::temp_directory_path() /
                ("tarn_manager_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
      std::filesystem::remove_all(folder_);
      std::filesystem::create_directories(folder_);
    }
    return folder_;
  }

  // Saves the drawing as the host saves it; the file's path.
  std::string saveDrawing(const std::string& file) {
    const std::string path = (folder() / file).string();
    EXPECT_EQ(tcdbWorkingDatabase()->saveAs(path.c_str()), TcDb::eOk) << path;
    return path;
  }


  // A text of the resource module by string id.
  static std::string resourceText(uint32_t id) {
    char buffer[512] = "";
    tcplLoadString(tcplFindLoadedModule("TarnExtendRes"), id, buffer, sizeof buffer);
    return buffer;
  }

 private:
  template <class Call>
  void callHolding(Call call) {
    const tarn::host::OwnershipCounters before = tarn::host::counters();
    call();
    const tarn::host::OwnershipCounters& after = tarn::host::counters();
    EXPECT_EQ(after.resbufs, before.resbufs) << "result buffers left held";
    EXPECT_EQ(after.openObjects, before.openObjects) << "objects left open";
  }

  std::filesystem::path folder_;
};
