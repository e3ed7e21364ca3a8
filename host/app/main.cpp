// tarncad: the headless CAD host. Opens DXF drawings as documents, loads
// modules, runs command lines, scripts and the terminal, and saves.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <string>

#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "editor/session.h"
#include "runtime/session_host.h"

namespace {

const char* kUsage =
    "usage: tarncad DRAWING.dxf [-o OUT.dxf] [--version 2000|2004|2007|2010|2013|2018|read]\n"
    "       tarncad --new -o OUT.dxf\n"
    "       tarncad [DRAWING.dxf ...] [-c COMMAND-LINE ...] [-s SCRIPT.scr] [-o OUT.dxf]\n"
    "               [--load MODULE ...] [--no-modules]\n"
    "With -c or -s, or at a terminal, tarncad runs command lines, then the script,\n"
    "then reads the terminal; the current drawing is saved to OUT.dxf when given.\n"
    "Several drawings open as several documents, the first current. Such a session\n"
    "loads the language module TarnUinfo when it is found, then each --load MODULE\n"
    "(a file name; without a folder it is searched in TARNCAD_MODULE_PATH and the\n"
    "host's module folder), then TarnExtend.trx when it is found (not with\n"
    "--no-modules). APPLOAD and APPUNLOAD load and unload modules at the prompt.\n"
    "Opens a DXF drawing (or makes a new one) and saves it, in place unless -o\n"
    "names another file; as DXF 2018 unless --version names another (\"read\":\n"
    "the version of the file read; release 12 is saved as 2000).\n";

// Exit codes; a session also ends with 5 (script unreadable) or 6 (a module
// asked for with --load could not be loaded).
enum Exit { kOk = 0, kUsageError = 2, kOpenError = 3, kSaveError = 4 };

std::optional<tarn::db::DxfVersion> versionByName(std::string_view name) {
  using tarn::db::DxfVersion;
  for (DxfVersion v : {DxfVersion::R2000, DxfVersion::R2004, DxfVersion::R2007, DxfVersion::R2010,
                       DxfVersion::R2013, DxfVersion::R2018})
    if (name == tarn::db::versionName(v)) return v;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out;
  bool fresh = false, keepVersion = false, moduleOptions = false;
  tarn::editor::SessionOptions session;
  tarn::db::DxfWriteOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") { std::fputs(kUsage, stdout); return kOk; }
    if (a == "-o" && i + 1 < argc) { out = argv[++i]; continue; }
    if (a == "--new") { fresh = true; continue; }
    if (a == "-c" && i + 1 < argc) { session.commands.push_back(argv[++i]); continue; }
    if (a == "-s" && i + 1 < argc) { session.script = argv[++i]; continue; }
    if (a == "--load" && i + 1 < argc) { session.modules.push_back(argv[++i]); moduleOptions = true; continue; }
    if (a == "--no-modules") { session.defaultModules = false; moduleOptions = true; continue; }
    if (a == "--version" && i + 1 < argc) {
      keepVersion = std::string_view(argv[i + 1]) == "read";
      options.version = keepVersion ? tarn::db::DxfVersion::R2018 : versionByName(argv[i + 1]);
      ++i;
      if (!options.version) { std::fprintf(stderr, "tarncad: unknown DXF version %s\n", argv[i]); return kUsageError; }
      continue;
    }
    if (!a.empty() && a[0] == '-') { std::fprintf(stderr, "tarncad: unknown option %s\n%s", a.c_str(), kUsage); return kUsageError; }
    session.drawings.push_back(a);
    in = a;
  }
  bool interactive = !fresh && session.drawings.size() <= 1 && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  if (!session.commands.empty() || !session.script.empty() || interactive || session.drawings.size() > 1 ||
      moduleOptions) {
    session.output = out;
    session.interactive = interactive || (session.commands.empty() && session.script.empty());
    tarn::runtime::RuntimeSessionHost host;
    return tarn::editor::runSession(session, &host);
  }
  if (in.empty() == !fresh || (fresh && out.empty())) { std::fputs(kUsage, stderr); return kUsageError; }
  if (out.empty()) out = in;
  tarn::db::Database db;
  tarn::db::DxfResult r;
  if (fresh) {
    tarn::db::initNewDrawing(db);
  } else {
    r = tarn::db::readDxfFile(in, db);
    if (!r.ok()) { std::fprintf(stderr, "tarncad: %s\n", r.message.c_str()); return kOpenError; }
    if (keepVersion) options.version = std::max(db.sourceVersion, tarn::db::DxfVersion::R2000);
  }
  r = tarn::db::writeDxfFile(db, out, options);
  if (!r.ok()) { std::fprintf(stderr, "tarncad: %s\n", r.message.c_str()); return kSaveError; }
  return kOk;
}
