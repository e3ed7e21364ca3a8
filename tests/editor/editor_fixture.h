// A scenario session per test, with helpers to add lines and to feed
// replies; after each test nothing may be left held.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "editor/scenario_session.h"

class EditorTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(tarn::host::counters().resbufs, buffersBefore) << "result buffers left";
    EXPECT_EQ(tarn::host::counters().selectionSets, setsBefore) << "selection sets left";
    for (const std::string& problem : session.problems()) ADD_FAILURE() << problem;
  }

  // The replies the next input calls read.
  void reply(std::string_view text) {
    session.editor().clearSources();
    session.editor().pushSource(std::make_unique<tarn::editor::StringSource>(text, "<test>"));
  }

  // A line on a layer with a colour (256: by layer); its name.
  void line(double x1, double y1, double x2, double y2, const char* layer = "0", int colour = 256, tc_name out = nullptr) {
    double a[3] = {x1, y1, 0}, b[3] = {x2, y2, 0};
    resbuf* list = tcutBuildList(RTDXF0, "LINE", 8, layer, 62, colour, 10, a, 11, b, RTNONE);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    if (out) tcdbEntLast(out);
  }

  const std::string& transcript() { return session.transcript(); }

  long buffersBefore = tarn::host::counters().resbufs;
  long setsBefore = tarn::host::counters().selectionSets;
  tarn::editor::ScenarioSession session;
};
