// The scenario fixture of the host command tests.
#include "command_fixture.h"

#include <cstdio>

#include "api/host_state.h"
#include "commands/host_commands.h"
#include "db/dxf.h"
#include "editor/reply_source.h"

using namespace tarn;

std::string runPython(const std::string& script, const std::string& argument, int& status) {
  const std::string command = "/usr/bin/python3 " + script + " " + argument + " 2>&1";
  status = -1;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return "cannot run /usr/bin/python3";
  std::string out;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  status = ::pclose(p);
  return out;
}

CommandTest::CommandTest() {
  commands::registerHostCommands(session.editor());
  buffersBefore = host::counters().resbufs;
  setsBefore = host::counters().selectionSets;
}

void CommandTest::TearDown() {
  EXPECT_EQ(host::counters().resbufs, buffersBefore) << "result buffers left";
  EXPECT_EQ(host::counters().selectionSets, setsBefore) << "selection sets left";
}

int CommandTest::typed(std::string_view command, std::string_view replies) {
  commands::CommandJournalScope scope(command);
  return session.run(command, replies);
}

void CommandTest::script(std::string_view text) {
  // Each command of the script is one group: run them one at a time.
  session.editor().clearSources();
  session.editor().pushSource(std::make_unique<editor::StringSource>(text, "<script>"));
  session.editor().commandLoop();
}

std::string CommandTest::dxf() const { return db::writeDxfString(const_cast<CommandTest*>(this)->db()); }

std::vector<uint32_t> CommandTest::entities(std::string_view type) {
  std::vector<uint32_t> out;
  const db::Database& d = db();
  for (uint32_t id : d.blocks()[d.modelSpace()].entities)
    if (!d.isErased(id) && !(d.object(id).flags & db::kSubEntity) && (type.empty() || d.typeOf(id) == type))
      out.push_back(id);
  return out;
}

std::vector<db::Point3> CommandTest::points(uint32_t id, int code) {
  std::vector<db::Point3> out;
  for (db::TagCursor c = db().tags(id); !c.done(); c.next())
    if (c.code() == code) out.push_back(c.point());
  return out;
}

double CommandTest::real(uint32_t id, int code) {
  auto t = db::findTag(db(), id, code);
  return t ? t->asReal() : 0;
}

int CommandTest::layerFlags(std::string_view layerName) {
  uint32_t id = db().findRecord("LAYER", layerName);
  auto t = id == db::kNoObject ? std::nullopt : db::findTag(db(), id, 70);
  return t ? int(t->i) : -1;
}

int CommandTest::layerColour(std::string_view layerName) {
  uint32_t id = db().findRecord("LAYER", layerName);
  auto t = id == db::kNoObject ? std::nullopt : db::findTag(db(), id, 62);
  return t ? int(t->i) : 0;
}

std::string CommandTest::currentLayer() {
  const db::TagList* v = std::as_const(db()).headerVar("$CLAYER");
  return v && !v->empty() ? v->front().s : "";
}

void CommandTest::name(uint32_t id, tc_name out) { host::makeName(db(), id, out); }

void CommandTest::makeLine(double x1, double y1, double x2, double y2, const char* layer) {
  double a[3] = {x1, y1, 0}, b[3] = {x2, y2, 0};
  resbuf* list = tcutBuildList(RTDXF0, "LINE", 8, layer, 10, a, 11, b, RTNONE);
  ASSERT_EQ(tcdbEntMake(list), RTNORM);
  tcutRelRb(list);
}
