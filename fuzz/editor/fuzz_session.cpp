// Arbitrary bytes as a script run at the "Command: " prompt of a session
// with a few objects: SETVAR (also transparent and "?"), and a command that
// asks through every input call, a selection and a nested pick. Must never
// crash, hang or leave a result buffer or selection set held.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "editor/scenario_session.h"

using namespace tarn::editor;

namespace {

int askEverything() {
  tc_point p, base = {0, 0, 0};
  double d;
  int i;
  char text[64];
  tcedInitGet(1 + 2 + 4, "Width Height _Width Height");
  if (tcedGetPoint(nullptr, "Point: ", p) == RTCAN) return RTCAN;
  tcedInitGet(128, nullptr);
  if (tcedGetDist(base, "Distance: ", &d) == RTCAN) return RTCAN;
  if (tcedGetAngle(nullptr, "Angle: ", &d) == RTCAN) return RTCAN;
  if (tcedGetInt("Integer: ", &i) == RTCAN) return RTCAN;
  if (tcedGetString(1, "Text: ", text, sizeof text) == RTCAN) return RTCAN;
  tc_name ss, e;
  int rc = tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
  if (rc == RTNORM) tcedSSFree(ss);
  if (rc == RTCAN) return RTCAN;
  tc_matrix m;
  resbuf* chain = nullptr;
  if (tcedNEntSelP(nullptr, e, p, 0, m, &chain) == RTNORM) tcutRelRb(chain);
  int colour = 7;
  return tcedSetColorDialog(&colour, 1, 7);
}

ScenarioSession& session() {
  static ScenarioSession* s = [] {
    auto* made = new ScenarioSession();
    double a[3] = {0, 0, 0}, b[3] = {10, 10, 0};
    resbuf* line = tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE);
    tcdbEntMake(line);
    tcutRelRb(line);
    made->editor().commands().registerHostCommand("ASK", askEverything);
    return made;
  }();
  return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string script(reinterpret_cast<const char*>(data), size);
  for (char& c : script)
    if (c == '(') c = ' ';  // LISP has a fuzz target of its own and may loop for ever
  ScenarioSession& s = session();
  s.editor().transcript().clear();
  s.runScript(script, "fuzz.scr");
  for (const std::string& problem : s.takeProblems()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    __builtin_trap();
  }
  return 0;
}
