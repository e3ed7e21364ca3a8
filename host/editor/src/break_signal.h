// Internal: ^C at the terminal. The SIGINT handler only sets a flag; the
// editor reads it: tcedUsrBrk reports it, the next prompt of a running
// command is cancelled, and a line being typed is dropped.
#pragma once

namespace tarn::editor {

// Installs the handler (once). A second ^C that nobody has taken yet ends
// the program, so a command that never looks at the flag can still be stopped.
void installBreakHandler();
// True once per ^C since the last call.
bool takeInterrupt();
// Marks a break as if ^C had been pressed (the handler's own work).
void noteInterrupt();

}  // namespace tarn::editor
