// The tarncad session: open the drawings, feed the command lines, the
// script and the terminal to the command loop, save the current drawing.
#include "editor/session.h"

#include <cstdio>
#include <memory>
#include <unistd.h>

#include "api/host_state.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "editor/editor.h"

namespace tarn::editor {
namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

// Opens every drawing; false (with a message) when one cannot be read.
bool openDrawings(const SessionOptions& o, std::vector<std::unique_ptr<db::Database>>& dbs) {
  for (const auto& path : o.drawings) {
    auto db = std::make_unique<db::Database>();
    db::DxfResult r = db::readDxfFile(path, *db);
    if (!r.ok()) {
      std::fprintf(stderr, "%s\n", r.message.empty() ? ("cannot open " + path).c_str() : r.message.c_str());
      return false;
    }
    dbs.push_back(std::move(db));
  }
  if (dbs.empty()) {
    dbs.push_back(std::make_unique<db::Database>());
    db::initNewDrawing(*dbs.back());
  }
  for (auto& db : dbs) host::registerDatabase(db.get());
  host::setCurrentDatabase(dbs.front().get());
  return true;
}

// Sources are read newest first: command lines, then the script, then the terminal.
bool pushSources(const SessionOptions& o, Editor& editor) {
  if (o.interactive) editor.pushSource(std::make_unique<TerminalSource>());
  if (!o.script.empty()) {
    auto script = ScriptFileSource::open(o.script);
    if (!script) {
      std::fprintf(stderr, "cannot read script %s\n", o.script.c_str());
      return false;
    }
    editor.pushSource(std::move(script));
  }
  if (!o.commands.empty()) editor.pushSource(std::make_unique<StringSource>(joinLines(o.commands), "<command line>"));
  return true;
}

}  // namespace

int runSession(const SessionOptions& options) {
  std::vector<std::unique_ptr<db::Database>> dbs;
  if (!openDrawings(options, dbs)) return kSessionOpenError;
  int rc = kSessionOk;
  {
    Editor editor;
    setCurrentEditor(&editor);
    editor.transcript().setStream(stdout);
    if (pushSources(options, editor)) editor.commandLoop();
    else rc = kSessionScriptError;
    setCurrentEditor(nullptr);
  }
  db::Database* current = host::currentDatabase();
  if (rc == kSessionOk && !options.output.empty() && current) {
    db::DxfResult r = db::writeDxfFile(*current, options.output);
    if (!r.ok()) {
      std::fprintf(stderr, "cannot save %s: %s\n", options.output.c_str(), r.message.c_str());
      rc = kSessionSaveError;
    }
  }
  for (auto& db : dbs) host::unregisterDatabase(db.get());
  return rc;
}

}  // namespace tarn::editor
