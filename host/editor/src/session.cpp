// The tarncad session: open the drawings, start the host's modules, feed the
// command lines, the script and the terminal to the command loop, save the
// current drawing, and let the modules go.
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

// Without a host: the session's own drawings, released at its end.
class PlainSessionHost : public SessionHost {
 public:
  bool openDrawings(const std::vector<std::string>& files) override;
  bool start(Editor&, const SessionOptions&) override { return true; }
  void finish() override {
    for (auto& db : dbs_) host::unregisterDatabase(db.get());
  }

 private:
  std::vector<std::unique_ptr<db::Database>> dbs_;
};

bool PlainSessionHost::openDrawings(const std::vector<std::string>& files) {
  for (const auto& path : files) {
    auto db = std::make_unique<db::Database>();
    db::DxfResult r = db::readDxfFile(path, *db);
    if (!r.ok()) {
      std::fprintf(stderr, "%s\n", r.message.empty() ? ("cannot open " + path).c_str() : r.message.c_str());
      return false;
    }
    dbs_.push_back(std::move(db));
  }
  if (dbs_.empty()) {
    dbs_.push_back(std::make_unique<db::Database>());
    db::initNewDrawing(*dbs_.back());
  }
  for (auto& db : dbs_) host::registerDatabase(db.get());
  host::setCurrentDatabase(dbs_.front().get());
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

int saveCurrent(const std::string& output) {
  db::Database* current = host::currentDatabase();
  if (output.empty() || !current) return kSessionOk;
  db::DxfResult r = db::writeDxfFile(*current, output);
  if (r.ok()) return kSessionOk;
  std::fprintf(stderr, "cannot save %s: %s\n", output.c_str(), r.message.c_str());
  return kSessionSaveError;
}

}  // namespace

int runSession(const SessionOptions& options, SessionHost* host) {
  PlainSessionHost plain;
  SessionHost& h = host ? *host : plain;
  if (!h.openDrawings(options.drawings)) return kSessionOpenError;
  int rc = kSessionOk;
  {
    Editor editor;
    setCurrentEditor(&editor);
    editor.transcript().setStream(stdout);
    if (!h.start(editor, options)) rc = kSessionModuleError;
    else if (!pushSources(options, editor)) rc = kSessionScriptError;
    else editor.commandLoop();
    if (rc == kSessionOk) rc = saveCurrent(options.output);
    h.finish();
    setCurrentEditor(nullptr);
  }
  return rc;
}

}  // namespace tarn::editor
