// Times opening objects: bench_objects FILE.dxf [repeats]
// Walks every block of the drawing, opening each entity for read, then opens
// each for write, changes its colour and closes it. Prints seconds per pass
// and opens per second (best of the repeats).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <tarnsdk/tcdbobjects.h>

#include "objects/object_pool.h"

namespace {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Opens every entity of every block once; gives the number opened.
size_t pass(TcDbDatabase& d, TcDb::OpenMode mode) {
  size_t n = 0;
  TcDbBlockTable* blocks = nullptr;
  if (d.getBlockTable(blocks, TcDb::kForRead) != TcDb::eOk) return 0;
  for (TcDbObjectId recordId : blocks->recordIds()) {
    TcDbBlockTableRecord* record = nullptr;
    if (tcdbOpenObject(record, recordId, TcDb::kForRead) != TcDb::eOk) continue;
    for (TcDbObjectId id : record->entityIds()) {
      TcDbEntity* e = nullptr;
      if (tcdbOpenObject(e, id, mode) != TcDb::eOk) continue;
      if (mode == TcDb::kForWrite) e->setColorIndex(e->colorIndex() == 1 ? 2 : 1);
      e->close();
      ++n;
    }
    record->close();
  }
  blocks->close();
  tarn::objects::releaseClosedObjects();
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_objects FILE.dxf [repeats]\n");
    return 2;
  }
  int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
  TcDbDatabase d(false);
  if (d.readDxfFile(argv[1]) != TcDb::eOk) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  for (TcDb::OpenMode mode : {TcDb::kForRead, TcDb::kForWrite}) {
    double best = 1e9;
    size_t n = 0;
    for (int i = 0; i < repeats; ++i) {
      double t0 = now();
      n = pass(d, mode);
      best = std::min(best, now() - t0);
    }
    std::printf("%s: %zu entities, %.4f s, %.0f opens/s\n", mode == TcDb::kForRead ? "read" : "write", n, best,
                best > 0 ? double(n) / best : 0.0);
  }
  return 0;
}
