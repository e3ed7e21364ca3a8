// What tarncad runs: drawings opened, replies from command lines, a script
// and the terminal, and the drawing saved at the end.
#pragma once

#include <string>
#include <vector>

namespace tarn::editor {

struct SessionOptions {
  std::vector<std::string> drawings;  // opened in order; the first is current; none: a new drawing
  std::string script;                 // a script file run after the command lines ("" none)
  std::vector<std::string> commands;  // command lines run first, each as a line of a script
  std::string output;                 // where the current drawing is saved at the end ("" not saved)
  bool interactive = false;           // read the terminal after the script
};

enum SessionExit { kSessionOk = 0, kSessionOpenError = 3, kSessionSaveError = 4, kSessionScriptError = 5 };

// Runs the session; prompts and messages go to stdout, errors to stderr.
int runSession(const SessionOptions& options);

}  // namespace tarn::editor
