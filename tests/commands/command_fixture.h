// A scenario session with the host commands registered: commands run the
// way a user types them (a script text) or the way a module issues them
// (tcedCommand), each inside an undo group as the editor opens one, and
// helpers that look at the drawing afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "db/database.h"
#include "editor/scenario_session.h"

// Runs Debian's /usr/bin/python3 (where ezdxf is installed) on a script
// file with one argument; its output (both streams) and its exit status in
// `status` (-1 when it could not be started).
std::string runPython(const std::string& script, const std::string& argument, int& status);

class CommandTest : public testing::Test {
 protected:
  CommandTest();
  void TearDown() override;

  // Runs a command with typed replies inside an undo group; its status.
  int typed(std::string_view command, std::string_view replies = {});
  // Runs a script at the command prompt, each command in its own group.
  void script(std::string_view text);
  // Runs `body` as a module command would run: one undo group.
  template <class F>
  void asModule(F body);
  // Undoes the last command group with U, as typed.
  void undo() { typed("U"); }

  std::string dxf() const;
  tarn::db::Database& db() { return session.database(); }
  // Live main entities of model space of a type ("" any), in order.
  std::vector<uint32_t> entities(std::string_view type = {});
  std::vector<tarn::db::Point3> points(uint32_t id, int code);
  double real(uint32_t id, int code);
  int layerFlags(std::string_view name);
  int layerColour(std::string_view name);
  std::string currentLayer();
  void name(uint32_t id, tc_name out);
  void makeLine(double x1, double y1, double x2, double y2, const char* layer = "0");
  const std::string& transcript() { return session.transcript(); }

  tarn::editor::ScenarioSession session;
  long buffersBefore = 0, setsBefore = 0;
};

template <class F>
void CommandTest::asModule(F body) {
  db().beginCommand("MODULE");
  body();
  db().endCommand();
}
