// What tarncad runs: drawings opened, modules loaded, replies from command
// lines, a script and the terminal, the drawing saved at the end, and the
// modules told that the host ends.
#pragma once

#include <string>
#include <vector>

namespace tarn::editor {

class Editor;

struct SessionOptions {
  std::vector<std::string> drawings;  // opened in order; the first is current; none: a new drawing
  std::string script;                 // a script file run after the command lines ("" none)
  std::vector<std::string> commands;  // command lines run first, each as a line of a script
  std::string output;                 // where the current drawing is saved at the end ("" not saved)
  bool interactive = false;           // read the terminal after the script
  std::vector<std::string> modules;   // modules loaded at start, in order (--load)
  bool defaultModules = true;         // also load the default module when it is found
};

enum SessionExit {
  kSessionOk = 0,
  kSessionOpenError = 3,
  kSessionSaveError = 4,
  kSessionScriptError = 5,
  kSessionModuleError = 6,
};

// What the host adds to a session: documents and modules. Without one, the
// session opens its drawings by itself and loads no modules.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  // Opens the drawings as documents (none: a new drawing), the first
  // current; false with a message on stderr when one cannot be read.
  virtual bool openDrawings(const std::vector<std::string>& files) = 0;
  // The editor is ready: host commands, the language module, the modules
  // asked for and the default one. False when a module asked for cannot be
  // loaded (the message is on the command line).
  virtual bool start(Editor& editor, const SessionOptions& options) = 0;
  // The session ends (the editor still exists): modules get quit and are
  // unloaded, the documents close.
  virtual void finish() = 0;
};

// Runs the session; prompts and messages go to stdout, errors to stderr.
int runSession(const SessionOptions& options, SessionHost* host = nullptr);

}  // namespace tarn::editor
