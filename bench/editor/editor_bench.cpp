// Measures: 100,000 script replies through tcedGetReal prompts, and a
// selection with mode "X" and a layer/type/colour filter over 1,000,000
// entities. Prints the numbers; never part of the tests.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "db/database.h"
#include "db/tags.h"
#include "editor/scenario_session.h"

namespace {

using Clock = std::chrono::steady_clock;
double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }
// Processor time of this process: on a busy machine wall time says little.
double cpuSeconds(std::clock_t since) { return double(std::clock() - since) / CLOCKS_PER_SEC; }

void replies(tarn::editor::ScenarioSession& s) {
  const int n = 100'000;
  std::string script;
  for (int i = 0; i < n; ++i) script += std::to_string(i % 1000) + ".5\n";
  s.editor().pushSource(std::make_unique<tarn::editor::StringSource>(script));
  s.editor().transcript().clear();
  double v = 0, sum = 0;
  auto t0 = Clock::now();
  std::clock_t c0 = std::clock();
  for (int i = 0; i < n; ++i) {
    if (tcedGetReal("Value: ", &v) != RTNORM) return;
    sum += v;
    if (i % 10000 == 0) s.editor().transcript().clear();
  }
  double t = seconds(t0), cpu = cpuSeconds(c0);
  std::printf("replies: %d in %.3f s = %.0f replies/s (processor: %.0f replies/s; sum %.1f)\n", n, t, n / t,
              n / cpu, sum);
}

// Lines spread over ten layers and colours, made straight in model space.
void fill(tarn::db::Database& db, int count) {
  using tarn::db::Tag;
  uint32_t ms = db.modelSpace();
  const char* layers[] = {"L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9"};
  db.reserve(db.objectCount() + count);
  for (int i = 0; i < count; ++i) {
    tarn::db::TagList tags{Tag::handle(5, db.allocateHandle()), Tag::str(100, "AcDbEntity"),
                           Tag::str(8, layers[i % 10]), Tag::integer(62, i % 7 + 1), Tag::str(100, "AcDbLine"),
                           Tag::point(10, {double(i), 0, 0}), Tag::point(11, {double(i), 1, 0})};
    uint32_t id = db.addObject(i % 3 ? "LINE" : "CIRCLE", tags, tarn::db::kEntity);
    db.appendToBlock(ms, id);
  }
}

void selection(tarn::editor::ScenarioSession& s) {
  const int n = 1'000'000;
  auto t0 = Clock::now();
  fill(s.database(), n);
  std::printf("made %d entities in %.3f s\n", n, seconds(t0));
  resbuf* filter = tcutBuildList(RTDXF0, "LINE", 8, "L3", 62, 4, RTNONE);
  for (int round = 0; round < 3; ++round) {
    tc_name ss;
    t0 = Clock::now();
    std::clock_t c0 = std::clock();
    int rc = tcedSSGet("X", nullptr, nullptr, filter, ss);
    double t = seconds(t0), cpu = cpuSeconds(c0);
    int32_t len = 0;
    if (rc == RTNORM) tcedSSLength(ss, &len), tcedSSFree(ss);
    std::printf("ssget X filter type/layer/colour over %d entities: %.1f ms (processor %.1f ms), %d selected\n", n,
                t * 1000, cpu * 1000, len);
  }
  tcutRelRb(filter);
  tc_name all;
  t0 = Clock::now();
  std::clock_t c0 = std::clock();
  if (tcedSSGet("X", nullptr, nullptr, nullptr, all) == RTNORM) tcedSSFree(all);
  std::printf("ssget X without filter over %d entities: %.1f ms (processor %.1f ms)\n", n, seconds(t0) * 1000,
              cpuSeconds(c0) * 1000);
}

}  // namespace

int main() {
  tarn::editor::ScenarioSession session;
  replies(session);
  selection(session);
  return 0;
}
