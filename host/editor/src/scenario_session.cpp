// The test session: drawing, editor, ownership and variable checks.
#include "editor/scenario_session.h"

#include <algorithm>

#include "api/sysvars.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include <tarnsdk/tctypes.h>
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
  editor_.onCommandStart = [this](bool transparent) { commandStarts(transparent); };
  editor_.onCommandEnd = [this](const std::string& name, int status, bool transparent) {
    commandEnded(name, status, transparent);
  };
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

namespace {

// Variables the host itself keeps up to date while a command asks: they
// tell what happened, they are not settings a command must restore.
bool hostMaintained(const std::string& name) { return name == "LASTPOINT" || name == "ERRNO"; }

std::vector<std::string> changedSince(const std::vector<std::pair<std::string, std::string>>& before) {
  std::vector<std::string> changed;
  for (const auto& now : variableSnapshot()) {
    auto it = std::find_if(before.begin(), before.end(), [&](auto& v) { return v.first == now.first; });
    if (it == before.end() || it->second != now.second) changed.push_back(now.first);
  }
  return changed;
}

}  // namespace

void ScenarioSession::commandStarts(bool transparent) {
  if (transparent) {
    transparentVariables_ = variableSnapshot();
    return;
  }
  commandStart_ = host::counters();
  commandVariables_ = variableSnapshot();
}

void ScenarioSession::commandEnded(const std::string& name, int status, bool transparent) {
  if (transparent) {  // what the user set inside the command is no change of the command's own
    for (const std::string& var : changedSince(transparentVariables_)) {
      auto now = variableSnapshot();
      auto value = std::find_if(now.begin(), now.end(), [&](auto& v) { return v.first == var; });
      auto base = std::find_if(commandVariables_.begin(), commandVariables_.end(), [&](auto& v) { return v.first == var; });
      if (value != now.end() && base != commandVariables_.end()) base->second = value->second;
    }
    return;
  }
  const host::OwnershipCounters& now = host::counters();
  Leaks left{now.resbufs - commandStart_.resbufs, now.selectionSets - commandStart_.selectionSets,
             now.openObjects - commandStart_.openObjects};
  if (left.resbufs > 0 || left.selectionSets > 0 || left.openObjects > 0)
    problems_.push_back(name + " left " + left.describe() + " behind");
  if (status != RTCAN) return;
  for (const std::string& var : changedSince(commandVariables_))
    if (!hostMaintained(var)) problems_.push_back(name + " was cancelled and left " + var + " changed");
}

Leaks ScenarioSession::leaks() const {
  const host::OwnershipCounters& now = host::counters();
  return {now.resbufs - start_.resbufs, now.selectionSets - start_.selectionSets, now.openObjects - start_.openObjects};
}

std::vector<std::string> ScenarioSession::changedVariables() const { return changedSince(variables_); }

}  // namespace tarn::editor
