// Times the undo journal on a drawing of N lines (default 100,000): one
// command that changes every line, one that erases them all and one that
// adds N more, each followed by U. Prints the seconds of each step.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"

using namespace tarn::db;

namespace {

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

uint32_t addLine(Database& db, uint32_t model, uint64_t owner, double x) {
  TagList tags = {Tag::handle(5, db.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                  Tag::str(8, "0"), Tag::str(100, "AcDbLine"), Tag::point(10, {x, 0, 0}), Tag::point(11, {x, 1, 0})};
  uint32_t id = db.addObject("LINE", tags, kEntity);
  db.appendToBlock(model, id);
  return id;
}

template <class F>
void timed(Database& db, const char* what, const std::string& before, F change) {
  double t0 = now();
  db.beginCommand(what);
  change();
  db.endCommand();
  double t1 = now();
  db.undo(1);
  double t2 = now();
  bool same = writeDxfString(db) == before;
  std::printf("%-8s command %.3f s  undo %.3f s  file restored: %s\n", what, t1 - t0, t2 - t1, same ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  Database db;
  initNewDrawing(db);
  uint32_t model = db.modelSpace();
  uint64_t owner = db.object(db.blocks()[model].record).handle;
  std::vector<uint32_t> lines;
  for (int i = 0; i < n; ++i) lines.push_back(addLine(db, model, owner, i));
  std::string before = writeDxfString(db);
  std::printf("%d lines\n", n);
  timed(db, "MOVE", before, [&] {
    for (uint32_t id : lines) {
      TagList tags = db.tagList(id);
      tags[5].p.y += 1;
      tags[6].p.y += 1;
      db.replaceTags(id, tags);
    }
  });
  timed(db, "ERASE", before, [&] { for (uint32_t id : lines) db.setErased(id, true); });
  timed(db, "COPY", before, [&] { for (int i = 0; i < n; ++i) addLine(db, model, owner, i + 0.5); });
  return 0;
}
