// The test session: drawing, editor, ownership and variable checks.
#include "editor/scenario_session.h"

#include <algorithm>

#include "api/sysvars.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "setvar_command.h"

namespace tarn::editor {

std::string Leaks::describe() const {
  return std::to_string(resbufs) + " result buffers, " + std::to_string(selectionSets) + " selection sets, " +
         std::to_string(openObjects) + " open objects";
}

std::vector<std::pair<std::string, std::string>> variableSnapshot() {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::string_view name : host::sysVarNames()) {
    host::SysVarValue v;
    if (host::getSysVar(name, v)) out.emplace_back(std::string(name), formatVariable(v));
  }
  return out;
}

ScenarioSession::ScenarioSession(std::unique_ptr<db::Database> db) : db_(std::move(db)) {
  previousDb_ = host::currentDatabase();
  host::registerDatabase(db_.get());
  host::setCurrentDatabase(db_.get());
  setCurrentEditor(&editor_);
  begin();
}

ScenarioSession::ScenarioSession() : ScenarioSession([] {
  auto db = std::make_unique<db::Database>();
  db::initNewDrawing(*db);
  return db;
}()) {}

std::unique_ptr<ScenarioSession> ScenarioSession::open(const std::string& path, std::string* error) {
  auto db = std::make_unique<db::Database>();
  db::DxfResult r = db::readDxfFile(path, *db);
  if (!r.ok()) {
    if (error) *error = r.message;
    return nullptr;
  }
  return std::unique_ptr<ScenarioSession>(new ScenarioSession(std::move(db)));
}

ScenarioSession::~ScenarioSession() {
  editor_.selections().releaseAll();
  setCurrentEditor(nullptr);
  host::setCurrentDatabase(previousDb_);
  host::unregisterDatabase(db_.get());
}

void ScenarioSession::begin() {
  start_ = host::counters();
  variables_ = variableSnapshot();
}

int ScenarioSession::run(std::string_view command, std::string_view replies) {
  begin();
  editor_.clearSources();
  editor_.pushSource(std::make_unique<StringSource>(replies, "<replies>"));
  int rc = editor_.runCommand(command);
  editor_.clearSources();
  return rc;
}

void ScenarioSession::runScript(std::string_view script, std::string name) {
  begin();
  editor_.clearSources();
  editor_.pushSource(std::make_unique<StringSource>(script, std::move(name)));
  editor_.commandLoop();
}

Leaks ScenarioSession::leaks() const {
  const host::OwnershipCounters& now = host::counters();
  return {now.resbufs - start_.resbufs, now.selectionSets - start_.selectionSets, now.openObjects - start_.openObjects};
}

std::vector<std::string> ScenarioSession::changedVariables() const {
  std::vector<std::string> changed;
  for (const auto& now : variableSnapshot()) {
    auto it = std::find_if(variables_.begin(), variables_.end(), [&](auto& v) { return v.first == now.first; });
    if (it == variables_.end() || it->second != now.second) changed.push_back(now.first);
  }
  return changed;
}

}  // namespace tarn::editor
