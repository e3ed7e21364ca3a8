// The fixture of the layer tool scenarios.
#include "layer_fixture.h"

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcrxapi.h>
#include <tarnsdk/tcutapi.h>

#include <algorithm>
#include <utility>

#include "commands/host_commands.h"
#include "db/tags.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

using tarn::runtime::documentManager;
using tarn::runtime::dynamicLinker;

void LayerModuleTest::SetUp() {
  session = std::make_unique<tarn::editor::ScenarioSession>();
  start();
}

void LayerModuleTest::TearDown() {
  EXPECT_TRUE(session->problems().empty()) << session->problems().front();
  end();
}

void LayerModuleTest::start() {
  tarn::commands::registerHostCommands(session->editor());
  tarn::runtime::registerRuntimeCommands(session->editor());
  tarn::runtime::bindEditor(session->editor());
  ASSERT_TRUE(dynamicLinker().loadSupportModule(TARN_MODULE_DIR "/TarnUinfo.so"));
  ASSERT_TRUE(dynamicLinker().loadModule(TARN_MODULE_DIR "/TarnExtend.trx", true)) << session->transcript();
}

void LayerModuleTest::end() {
  EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
  dynamicLinker().quitAll();
  documentManager().closeAll();
  session.reset();
}

void LayerModuleTest::reopen(const std::string& path) {
  end();
  std::string error;
  session = tarn::editor::ScenarioSession::open(path, &error);
  ASSERT_TRUE(session) << error;
  start();
}

int LayerModuleTest::run(std::string_view command, std::string_view replies) {
  return session->run(command, replies);
}

void LayerModuleTest::makeLayer(std::string_view name, int flags, int colour) {
  const std::string text(name);
  resbuf* list = tcutBuildList(RTDXF0, "LAYER", 2, text.c_str(), 70, flags, 62, colour, 6, "CONTINUOUS", RTNONE);
  ASSERT_EQ(tcdbEntMake(list), RTNORM) << "layer " << text;
  tcutRelRb(list);
}

uint32_t LayerModuleTest::makeLine(std::string_view layer, double x1, double y1, double x2, double y2) {
  const std::string text(layer);
  double a[3] = {x1, y1, 0}, b[3] = {x2, y2, 0};
  resbuf* list = tcutBuildList(RTDXF0, "LINE", 8, text.c_str(), 10, a, 11, b, RTNONE);
  const int status = tcdbEntMake(list);
  tcutRelRb(list);
  EXPECT_EQ(status, RTNORM) << "line on " << text;
  return db().blocks()[db().modelSpace()].entities.back();
}

int LayerModuleTest::layerFlags(std::string_view name) {
  const uint32_t id = db().findRecord("LAYER", name);
  auto t = id == tarn::db::kNoObject ? std::nullopt : tarn::db::findTag(db(), id, 70);
  return t ? int(t->i) : -1;
}

int LayerModuleTest::layerColour(std::string_view name) {
  const uint32_t id = db().findRecord("LAYER", name);
  auto t = id == tarn::db::kNoObject ? std::nullopt : tarn::db::findTag(db(), id, 62);
  return t ? int(t->i) : 0;
}

bool LayerModuleTest::layerExists(std::string_view name) {
  const uint32_t id = db().findRecord("LAYER", name);
  return id != tarn::db::kNoObject && !db().isErased(id);
}

std::string LayerModuleTest::layerOf(uint32_t entity) {
  auto t = tarn::db::findTag(db(), entity, 8);
  return t ? t->s : "";
}

std::string LayerModuleTest::currentLayer() {
  const tarn::db::TagList* v = std::as_const(db()).headerVar("$CLAYER");
  return v && !v->empty() ? v->front().s : "";
}

std::string LayerModuleTest::pickAt(uint32_t entity) {
  auto a = tarn::db::findTag(db(), entity, 10);
  auto b = tarn::db::findTag(db(), entity, 11);
  if (!a || !b) return "0,0";
  return std::to_string((a->p.x + b->p.x) / 2) + "," + std::to_string((a->p.y + b->p.y) / 2);
}

uint32_t LayerModuleTest::viewportNumbered(int number) {
  const auto& ids = db().blocks()[db().paperSpace()].entities;
  auto found = std::find_if(ids.begin(), ids.end(), [&](uint32_t id) {
    auto n = tarn::db::findTag(db(), id, 69);
    return !db().isErased(id) && db().typeOf(id) == "VIEWPORT" && n && n->i == number;
  });
  return found == ids.end() ? tarn::db::kNoObject : *found;
}

std::vector<std::string> LayerModuleTest::frozenIn(uint32_t viewport) {
  if (viewport == tarn::db::kNoObject) return {"<no such viewport>"};
  std::vector<std::string> out;
  for (const tarn::db::Tag& t : db().tagList(viewport))
    if (t.code == 331) out.emplace_back(tarn::db::findString(db(), db().findHandle(t.asHandle()), 2));
  std::sort(out.begin(), out.end());
  return out;
}
