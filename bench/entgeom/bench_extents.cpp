// Extents of a large drawing: every model-space entity measured once with
// one calculator. With a DXF path it measures that drawing (for example the
// mixed drawing of bench/db/make_lines.py); without one it builds a mixed
// drawing of N entities (default 1,000,000) through the entity-list calls.
//   bench_extents [N | file.dxf]
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "entgeom/extents.h"
#include "font/font_resolver.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kDeg = 3.14159265358979323846 / 180.0;  // entity lists take radians
double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void makeList(resbuf* list) {
  tcdbEntMake(list);
  tcutRelRb(list);
}

void defineTagBlock() {
  double o[3] = {0, 0, 0};
  makeList(tcutBuildList(RTDXF0, "BLOCK", 2, "TAG", 70, 2, 10, o, RTNONE));
  makeList(tcutBuildList(RTDXF0, "CIRCLE", 10, o, 40, 1.0, RTNONE));
  makeList(tcutBuildList(RTDXF0, "ATTDEF", 10, o, 40, 0.5, 1, "", 2, "NO", 3, "No", 70, 0, RTNONE));
  makeList(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
}

// A mix like the DXF benchmark's: lines, arcs, circles, bulged polylines,
// texts, and references with one attribute.
void buildMixed(long n) {
  defineTagBlock();
  for (long i = 0; i < n; ++i) {
    double x = double(i % 1000) * 3, y = double(i / 1000) * 3;
    double a[3] = {x, y, 0}, b[3] = {x + 2, y + 1, 0}, c[3] = {x + 1, y + 2, 0};
    switch (i % 8) {
      case 0: case 1: case 2: makeList(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)); break;
      case 3: makeList(tcutBuildList(RTDXF0, "ARC", 10, a, 40, 1.0, 50, 10.0 * kDeg, 51, 200.0 * kDeg, RTNONE)); break;
      case 4: makeList(tcutBuildList(RTDXF0, "CIRCLE", 10, a, 40, 1.0, RTNONE)); break;
      case 5:
        makeList(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 0, 10, a, 10, b, 42, 0.5, 10, c, RTNONE));
        break;
      case 6: makeList(tcutBuildList(RTDXF0, "TEXT", 10, a, 40, 0.5, 1, "T" + std::to_string(i % 97), RTNONE)); break;
      case 7:
        makeList(tcutBuildList(RTDXF0, "INSERT", 2, "TAG", 66, 1, 10, a, 50, double((i / 8) % 4) * 90 * kDeg, RTNONE));
        makeList(tcutBuildList(RTDXF0, "ATTRIB", 10, a, 40, 0.5, 1, "7", 2, "NO", 70, 0, RTNONE));
        makeList(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  tarn::font::setPinnedFontOnly(true);
  tarn::db::Database db;
  std::string arg = argc > 1 ? argv[1] : "1000000";
  auto t0 = Clock::now();
  if (arg.find(".dxf") != std::string::npos) {
    tarn::db::DxfResult r = tarn::db::readDxfFile(arg, db);
    if (!r.ok()) return std::fprintf(stderr, "%s\n", r.message.c_str()), 1;
  } else {
    tarn::db::initNewDrawing(db);
    tarn::host::setCurrentDatabase(&db);
    buildMixed(std::atol(arg.c_str()));
  }
  auto t1 = Clock::now();
  const auto& model = db.blocks()[db.modelSpace()].entities;
  tarn::entgeom::ExtentsCalculator calc(db);
  tarn::geom::BoundingBox all;
  std::map<std::string, std::pair<long, double>> byType;
  long measured = 0, failed = 0;
  auto t2 = Clock::now();
  std::clock_t c2 = std::clock();
  for (uint32_t id : model) {
    if (db.object(id).flags & tarn::db::kSubEntity) continue;
    tarn::entgeom::Extents e = calc.extentsOf(id);
    ++measured;
    if (e.ok()) all.add(e.box); else ++failed;
  }
  auto t3 = Clock::now();
  double cpu = double(std::clock() - c2) / CLOCKS_PER_SEC;
  // Per type, a second pass (the block cache is warm by now).
  for (uint32_t id : model) {
    if (db.object(id).flags & tarn::db::kSubEntity) continue;
    auto a = Clock::now();
    calc.extentsOf(id);
    auto& slot = byType[std::string(db.typeOf(id))];
    slot.first++, slot.second += seconds(a, Clock::now());
  }
  std::printf("drawing: %ld entities (%s in %.3f s)\n", measured, arg.c_str(), seconds(t0, t1));
  std::printf("extents of all: %.3f s, %.1f ns per entity, %ld without extents, %zu cached block views\n",
              seconds(t2, t3), 1e9 * seconds(t2, t3) / double(measured), failed, calc.cachedBlockViews());
  std::printf("extents of all, processor time: %.3f s (%.1f ns per entity)\n", cpu, 1e9 * cpu / double(measured));
  std::printf("drawing box: (%.3f, %.3f) - (%.3f, %.3f)\n", all.min.x, all.min.y, all.max.x, all.max.y);
  for (const auto& [type, v] : byType)
    std::printf("  %-12s %8ld  %8.1f ns each (timer included)\n", type.c_str(), v.first, 1e9 * v.second / double(v.first));
  return 0;
}
