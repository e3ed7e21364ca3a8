// A scenario session with the host commands, the runtime and the real
// TarnExtend.trx (with its language module) loaded, as tarncad runs them:
// the layer commands run typed, and the drawing and the layer table are
// looked at afterwards. Every test checks that nothing was left held.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "editor/scenario_session.h"

class LayerModuleTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Ends this session as the host ends, and starts a new one on a drawing
  // file with the module loaded, as tarncad does.
  void reopen(const std::string& path);

  // Runs a command with typed replies (one reply per line); its status.
  int run(std::string_view command, std::string_view replies = {});
  const std::string& transcript() const { return session->transcript(); }
  tarn::db::Database& db() { return session->database(); }

  // A layer record with LAYER flags (group 70) and colour (62).
  void makeLayer(std::string_view name, int flags = 0, int colour = 7);
  // A line in model space on a layer; its entity id.
  uint32_t makeLine(std::string_view layer, double x1, double y1, double x2, double y2);
  // Group 70 of a layer record, -1 when there is none.
  int layerFlags(std::string_view name);
  // Group 62 of a layer record (negative when the layer is off), 0 when none.
  int layerColour(std::string_view name);
  bool layerExists(std::string_view name);
  bool layerOn(std::string_view name) { return layerColour(name) > 0; }
  std::string layerOf(uint32_t entity);
  std::string currentLayer();
  // The VIEWPORT of paper space with this number (group 69), or kNoObject.
  uint32_t viewportNumbered(int number);
  // The names of the layers frozen in a viewport, sorted.
  std::vector<std::string> frozenIn(uint32_t viewport);
  // The point an entity can be picked at: the middle of a line.
  std::string pickAt(uint32_t entity);

  std::unique_ptr<tarn::editor::ScenarioSession> session;

 private:
  // Host commands, runtime and the module in the session.
  void start();
  void end();
};
