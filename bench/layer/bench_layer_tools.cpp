// Times LAYISO, LAYUNISO and LAYMRG on a drawing of L layers (default
// 2,000) and N lines (default 1,000,000) spread evenly over them, each
// command run as a user types it in a session with the modules loaded.
// Wall and processor time are printed for each command, and each line says
// whether the command did its work (the drawing is examined afterwards);
// the exit status is 1 when one of them did not.
//   bench_layer_tools [layers] [objects] [merged layers (default 10)]
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "commands/host_commands.h"
#include "db/records.h"
#include "editor/scenario_session.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

using namespace tarn;

namespace {

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double cpuNow() { return double(std::clock()) / CLOCKS_PER_SEC; }

// Wall and processor seconds of one command.
struct Timing {
  double wall0 = now(), cpu0 = cpuNow();
  std::string text() const {
    char line[64];
    std::snprintf(line, sizeof line, "%.3f s wall, %.3f s cpu", now() - wall0, cpuNow() - cpu0);
    return line;
  }
};

std::string layerName(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "L%04d", i);
  return name;
}

// Counts the layers whose colour is negative (off) and whose flags say locked.
std::pair<int, int> offAndLocked(db::Database& d, int layers) {
  int off = 0, locked = 0;
  for (int i = 0; i < layers; ++i) {
    uint32_t id = d.findRecord("LAYER", layerName(i));
    auto colour = db::findTag(d, id, 62);
    auto flags = db::findTag(d, id, 70);
    if (colour && colour->i < 0) ++off;
    if (flags && (flags->i & 4)) ++locked;
  }
  return {off, locked};
}

// The objects of model space on each of the first `count` layers.
std::vector<int> objectsOnLayers(db::Database& d, int count) {
  std::vector<int> on(count, 0);
  for (uint32_t id : std::as_const(d).blocks()[d.modelSpace()].entities) {
    if (d.isErased(id)) continue;
    auto layer = db::findTag(d, id, 8);
    if (!layer || layer->s.size() != 5 || layer->s[0] != 'L') continue;
    const int index = std::atoi(layer->s.c_str() + 1);
    if (index < count) ++on[index];
  }
  return on;
}

std::string currentLayer(db::Database& d) {
  const db::TagList* v = std::as_const(d).headerVar("$CLAYER");
  return v && !v->empty() ? v->front().s : "";
}

}  // namespace

int main(int argc, char** argv) {
  const int layers = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int objects = argc > 2 ? std::atoi(argv[2]) : 1000000;
  const int merged = argc > 3 ? std::atoi(argv[3]) : 10;
  if (layers < 20 || objects < layers || merged < 1 || merged >= layers) {
    std::fprintf(stderr, "usage: bench_layer_tools [layers >= 20] [objects >= layers] [layers > merged >= 1]\n");
    return 2;
  }
  editor::ScenarioSession session;
  commands::registerHostCommands(session.editor());
  runtime::registerRuntimeCommands(session.editor());
  runtime::bindEditor(session.editor());
  if (!runtime::dynamicLinker().loadSupportModule(TARN_MODULE_DIR "/TarnUinfo.so") ||
      !runtime::dynamicLinker().loadModule(TARN_MODULE_DIR "/TarnExtend.trx", true)) {
    std::fprintf(stderr, "the modules could not be loaded from %s\n%s", TARN_MODULE_DIR,
                 session.transcript().c_str());
    return 1;
  }

  db::Database& d = session.database();
  for (int i = 0; i < layers; ++i)
    db::addTableRecord(d, "LAYER", layerName(i),
                       {db::Tag::integer(70, 0), db::Tag::integer(62, 1 + i % 250), db::Tag::str(6, "CONTINUOUS")});
  const uint32_t model = d.modelSpace();
  const uint64_t owner = d.object(std::as_const(d).blocks()[model].record).handle;
  // Object i lies at x = i on layer i mod L: the first objects are one per layer.
  for (int i = 0; i < objects; ++i) {
    db::TagList tags = {db::Tag::handle(5, d.allocateHandle()), db::Tag::handle(330, owner),
                        db::Tag::str(100, "AcDbEntity"),       db::Tag::str(8, layerName(i % layers)),
                        db::Tag::str(100, "AcDbLine"),         db::Tag::point(10, {double(i), 0, 0}),
                        db::Tag::point(11, {double(i), 1, 0})};
    d.appendToBlock(model, d.addObject("LINE", tags, db::kEntity));
  }

  std::printf("%d layers, %d objects\n", layers, objects);
  bool allDone = true;

  // With BENCH_SELECT_FIRST set, the host's window selection runs alone
  // first, with LAYISO's window: the first window over a drawing measures
  // the box of every object (the editor's pick provider keeps them), so
  // LAYISO then shows its own share of the time.
  int rc = 0;
  if (std::getenv("BENCH_SELECT_FIRST")) {
    Timing window;
    rc = session.run("SELECT", "W\n-0.5,-0.5\n2.5,1.5\n\n");
    std::printf("SELECT   %s (status %d; the window of LAYISO alone, boxes measured)\n", window.text().c_str(), rc);
  }

  // LAYISO on the objects of three layers (a window around the first three
  // lines): every other layer is turned off or locked, whichever the
  // settings say, and one of the three becomes current.
  Timing iso;
  rc = session.run("LAYISO", "W\n-0.5,-0.5\n2.5,1.5\n\n");
  std::string took = iso.text();
  auto [offIso, lockedIso] = offAndLocked(d, layers);
  bool done = std::max(offIso, lockedIso) == layers - 3;
  allDone = allDone && done;
  std::printf("LAYISO   %s (status %d; layers locked %d, off %d, current %s) %s\n", took.c_str(), rc, lockedIso,
              offIso, currentLayer(d).c_str(), done ? "done" : "NOT DONE");

  Timing uniso;
  rc = session.run("LAYUNISO");
  took = uniso.text();
  auto [offUniso, lockedUniso] = offAndLocked(d, layers);
  done = offUniso == 0 && lockedUniso == 0;
  allDone = allDone && done;
  std::printf("LAYUNISO %s (status %d; layers locked %d, off %d) %s\n", took.c_str(), rc, lockedUniso, offUniso,
              done ? "done" : "NOT DONE");

  // LAYMRG of the first `merged` layers (ten by default), typed by name
  // ("Name", one name per prompt, Enter back to picking, Enter to end the
  // list), into the next layer (typed the same way), and kept.
  std::string replies = "N\n";
  for (int i = 0; i < merged; ++i) replies += layerName(i) + "\n";
  replies += "\n\nN\n" + layerName(merged) + "\nY\n";
  const std::vector<int> before = objectsOnLayers(d, merged + 1);
  int moving = 0;
  for (int count : before) moving += count;
  const size_t transcriptFrom = session.transcript().size();
  Timing merge;
  rc = session.run("-LAYMRG", replies);
  took = merge.text();
  int left = 0;
  for (int i = 0; i < merged; ++i) {
    const uint32_t record = d.findRecord("LAYER", layerName(i));
    left += record != db::kNoObject && !d.isErased(record);
  }
  const std::vector<int> after = objectsOnLayers(d, merged + 1);
  int stayed = 0;
  for (int i = 0; i < merged; ++i) stayed += after[i];
  done = left == 0 && stayed == 0 && after[merged] == moving;
  allDone = allDone && done;
  std::printf("LAYMRG   %s (status %d; %d layers into %s: objects on %s %d -> %d, left on the sources %d, "
              "source layers left %d) %s\n",
              took.c_str(), rc, merged, layerName(merged).c_str(), layerName(merged).c_str(), before[merged],
              after[merged], stayed, left,
              done ? "done" : "NOT DONE");
  if (!done) std::fputs(session.transcript().substr(transcriptFrom).c_str(), stdout);
  if (std::getenv("BENCH_TRANSCRIPT")) std::fputs(session.transcript().c_str(), stdout);
  runtime::dynamicLinker().quitAll();
  runtime::documentManager().closeAll();
  return allDone ? 0 : 1;
}
