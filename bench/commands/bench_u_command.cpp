// Times U after MOVE of every object of a drawing of N lines (default
// 100,000), both run as a user types them in a session.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/host_commands.h"
#include "db/dxf.h"
#include "db/records.h"
#include "editor/scenario_session.h"

using namespace tarn;

namespace {
double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  editor::ScenarioSession session;
  commands::registerHostCommands(session.editor());
  db::Database& d = session.database();
  uint32_t model = d.modelSpace();
  uint64_t owner = d.object(std::as_const(d).blocks()[model].record).handle;
  for (int i = 0; i < n; ++i) {
    db::TagList tags = {db::Tag::handle(5, d.allocateHandle()), db::Tag::handle(330, owner),
                        db::Tag::str(100, "AcDbEntity"), db::Tag::str(8, "0"), db::Tag::str(100, "AcDbLine"),
                        db::Tag::point(10, {double(i), 0, 0}), db::Tag::point(11, {double(i), 1, 0})};
    d.appendToBlock(model, d.addObject("LINE", tags, db::kEntity));
  }
  std::string before = db::writeDxfString(d);
  double t0 = now();
  session.run("MOVE", "ALL\n\n0,0\n5,5\n");
  double t1 = now();
  session.run("U");
  double t2 = now();
  std::printf("%d lines: MOVE %.3f s, U %.4f s, file restored: %s\n", n, t1 - t0, t2 - t1,
              db::writeDxfString(d) == before ? "yes" : "NO");
  return 0;
}
