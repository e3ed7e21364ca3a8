// Times reading and writing a DXF drawing: bench_dxf FILE.dxf [repeats]
// Prints read and write seconds (best of the repeats) and the peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/database.h"
#include "db/dxf.h"

namespace {
double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
// Processor time of this process: less disturbed than wall time when other
// work shares the machine.
double cpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
long peakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) { std::fprintf(stderr, "usage: bench_dxf FILE.dxf [repeats]\n"); return 2; }
  std::string path = argv[1];
  int repeats = argc > 2 ? std::atoi(argv[2]) : 1;
  double bestRead = 1e9, bestWrite = 1e9, cpuRead = 1e9, cpuWrite = 1e9;
  size_t objects = 0;
  long memAfterFirstRead = 0;
  for (int i = 0; i < repeats; ++i) {
    tarn::db::Database db;
    double t0 = now(), c0 = cpu();
    auto r = tarn::db::readDxfFile(path, db);
    double t1 = now(), c1 = cpu();
    if (!r.ok()) { std::fprintf(stderr, "%s\n", r.message.c_str()); return 1; }
    if (i == 0) memAfterFirstRead = peakKb();
    objects = db.objectCount();
    std::string out = "/tmp/bench_dxf_out.dxf";
    auto w = tarn::db::writeDxfFile(db, out);
    double t2 = now(), c2 = cpu();
    cpuRead = std::min(cpuRead, c1 - c0);
    cpuWrite = std::min(cpuWrite, c2 - c1);
    if (!w.ok()) { std::fprintf(stderr, "%s\n", w.message.c_str()); return 1; }
    bestRead = std::min(bestRead, t1 - t0);
    bestWrite = std::min(bestWrite, t2 - t1);
  }
  std::printf("tarncad  objects %zu  read %.3f s (cpu %.3f s)  write %.3f s (cpu %.3f s)  peak memory after read %.0f MB\n",
              objects, bestRead, cpuRead, bestWrite, cpuWrite, memAfterFirstRead / 1024.0);
  return 0;
}
