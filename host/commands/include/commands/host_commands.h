// The host's own drawing, editing and inquiry commands (LAYER, ERASE, LINE,
// MOVE, U ...), registered with an editor's command stack, and the bracket
// that makes one undo group of each command.
#pragma once

#include <string_view>

#include "editor/editor.h"

namespace tarn::commands {

// Registers the commands with the editor (SETVAR stays the editor's own).
void registerHostCommands(editor::Editor& editor);

// One undo group of the current drawing for as long as it lives. The editor
// opens one around each top-level command; nested commands (a module
// command issuing host commands) fall inside the outer group.
class CommandJournalScope {
 public:
  explicit CommandJournalScope(std::string_view commandName);
  ~CommandJournalScope();
  CommandJournalScope(const CommandJournalScope&) = delete;
  CommandJournalScope& operator=(const CommandJournalScope&) = delete;

 private:
  db::Database* db_;
};


}  // namespace tarn::commands
