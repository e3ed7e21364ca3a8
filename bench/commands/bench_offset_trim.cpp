// Times OFFSET and TRIM driven through tcedCommand, as a module drives
// them, on a drawing of N entities (default 100,000): a grid of cells, each
// a horizontal line crossed in its middle by a vertical one. Each OFFSET
// call copies one horizontal line by name and side point; each TRIM call
// cuts one horizontal line at its vertical (given as the cutting set, or
// with Enter: every object an edge) picked by point. Prints the mean time
// per call and checks that every call did its work.
//
//   bench_offset_trim [entities] [calls]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "commands/host_commands.h"
#include "db/database.h"
#include "editor/scenario_session.h"

using namespace tarn;

namespace {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Processor time of this process: on a busy machine the wall clock also
// counts the time other programs had the processor.
double cpu() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Timing {
  double wall = 0, cpu = 0;
};

class Stopwatch {
 public:
  Stopwatch() : wall_(now()), cpu_(cpu()) {}
  Timing elapsed() const { return {now() - wall_, cpu() - cpu_}; }

 private:
  double wall_, cpu_;
};

void report(const char* what, int calls, Timing t, const std::string& check) {
  std::printf("%s x%d: %.4f ms per call (processor time %.4f ms) %s\n", what, calls, t.wall / calls * 1e3,
              t.cpu / calls * 1e3, check.c_str());
}

struct Cell {
  double x, y;
  uint32_t horizontal, vertical;
};

uint32_t addLine(db::Database& d, uint64_t owner, db::Point3 a, db::Point3 b) {
  db::TagList tags = {db::Tag::handle(5, d.allocateHandle()), db::Tag::handle(330, owner),
                      db::Tag::str(100, "AcDbEntity"),        db::Tag::str(8, "0"),
                      db::Tag::str(100, "AcDbLine"),          db::Tag::point(10, a),
                      db::Tag::point(11, b)};
  uint32_t id = d.addObject("LINE", tags, db::kEntity);
  d.appendToBlock(d.modelSpace(), id);
  return id;
}

std::vector<Cell> buildGrid(db::Database& d, int entities) {
  int cells = entities / 2;
  int side = int(std::ceil(std::sqrt(double(cells))));
  uint64_t owner = d.object(std::as_const(d).blocks()[d.modelSpace()].record).handle;
  std::vector<Cell> grid;
  grid.reserve(size_t(cells));
  for (int i = 0; i < cells; ++i) {
    double x = 2.0 * (i % side), y = 2.0 * (i / side);
    uint32_t h = addLine(d, owner, {x, y, 0}, {x + 1, y, 0});
    uint32_t v = addLine(d, owner, {x + 0.5, y - 0.5, 0}, {x + 0.5, y + 0.5, 0});
    grid.push_back({x, y, h, v});
  }
  return grid;
}

// The cells the calls work on: spread over the drawing, none twice.
size_t cellOf(int call, size_t cells, size_t offset) { return (size_t(call) * 7919 + offset) % cells; }

Timing timeOffsets(db::Database& d, const std::vector<Cell>& grid, int calls) {
  Stopwatch watch;
  for (int k = 0; k < calls; ++k) {
    const Cell& c = grid[cellOf(k, grid.size(), 0)];
    tc_name e;
    host::makeName(d, c.horizontal, e);
    double side[3] = {c.x + 0.5, c.y + 0.3, 0};
    tcedCommand(RTSTR, "_.OFFSET", RTREAL, 0.2, RTENAME, e, RTPOINT, side, RTSTR, "", RTNONE);
  }
  return watch.elapsed();
}

Timing timeTrims(db::Database& d, const std::vector<Cell>& grid, int calls, size_t offset, bool withSet) {
  Stopwatch watch;
  for (int k = 0; k < calls; ++k) {
    const Cell& c = grid[cellOf(k, grid.size(), offset)];
    double pick[3] = {c.x + 0.8, c.y, 0};
    if (!withSet) {
      tcedCommand(RTSTR, "_.TRIM", RTSTR, "", RTPOINT, pick, RTSTR, "", RTNONE);
      continue;
    }
    tc_name edge, ss;
    host::makeName(d, c.vertical, edge);
    tcedSSAdd(edge, nullptr, ss);
    tcedCommand(RTSTR, "_.Trim", RTPICKS, ss, RTSTR, "", RTPOINT, pick, RTSTR, "", RTNONE);
    tcedSSFree(ss);
  }
  return watch.elapsed();
}

int trimmedCount(db::Database& d, const std::vector<Cell>& grid, int calls, size_t offset) {
  int done = 0;
  for (int k = 0; k < calls; ++k) {
    const Cell& c = grid[cellOf(k, grid.size(), offset)];
    auto end = db::findTag(d, c.horizontal, 11);
    if (end && std::fabs(end->p.x - (c.x + 0.5)) < 1e-9) ++done;
  }
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  int calls = argc > 2 ? std::atoi(argv[2]) : 10000;
  editor::ScenarioSession session;
  commands::registerHostCommands(session.editor());
  // The test harness's per-command checks are not part of the command path.
  session.editor().onCommandStart = nullptr;
  session.editor().onCommandEnd = nullptr;
  db::Database& d = session.database();
  std::vector<Cell> grid = buildGrid(d, n);
  if (calls * 3 > int(grid.size())) calls = int(grid.size()) / 3;
  host::setSysVarInternal("CMDECHO", host::shortValue(0));
  host::setSysVarInternal("VIEWSIZE", host::realValue(20));  // a pick box of a few hundredths

  // The first pick builds the entity index of the drawing: timed apart.
  Stopwatch first;
  double nowhere[3] = {-1000, -1000, 0};
  tcedCommand(RTSTR, "_.TRIM", RTSTR, "", RTPOINT, nowhere, RTSTR, "", RTNONE);
  std::printf("%d entities: first pick, building the entity index: %.1f ms\n", n, first.elapsed().wall * 1e3);

  size_t before = d.blocks()[d.modelSpace()].entities.size();
  Timing offsets = timeOffsets(d, grid, calls);
  size_t made = d.blocks()[d.modelSpace()].entities.size() - before;
  report("OFFSET", calls, offsets, "(" + std::to_string(made) + " copies made)");

  size_t setOffset = grid.size() / 3, allOffset = 2 * grid.size() / 3;
  Timing trims = timeTrims(d, grid, calls, setOffset, true);
  report("TRIM with a cutting set", calls, trims,
         "(" + std::to_string(trimmedCount(d, grid, calls, setOffset)) + " trimmed)");
  Timing all = timeTrims(d, grid, calls, allOffset, false);
  report("TRIM with every object an edge", calls, all,
         "(" + std::to_string(trimmedCount(d, grid, calls, allOffset)) + " trimmed)");
  return 0;
}
