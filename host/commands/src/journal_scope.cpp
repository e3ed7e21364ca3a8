// The undo group around a command, and the names of the commands running
// inside one another.
#include "journal_scope.h"

#include <vector>

#include "api/host_state.h"
#include "commands/host_commands.h"
#include "editor/editor.h"

namespace tarn::commands {
namespace {

std::vector<std::string>& running() {
  static std::vector<std::string> names;
  return names;
}

std::string bareName(std::string_view typed) {
  while (!typed.empty() && (typed.front() == '_' || typed.front() == '.')) typed.remove_prefix(1);
  return db::upperAscii(typed);
}

}  // namespace

CommandJournalScope::CommandJournalScope(std::string_view commandName) : db_(host::currentDatabase()) {
  running().push_back(bareName(commandName));
  if (db_) db_->beginCommand(commandName);
}

CommandJournalScope::~CommandJournalScope() {
  if (db_) db_->endCommand();
  running().pop_back();
}

bool issuedByAnotherCommand(std::string_view self) {
  // A module's command is no host command and so not in running(); the
  // editor counts every command.
  if (editor::currentEditor().commandDepth() > 1) return true;
  std::string name = bareName(self);
  for (const std::string& r : running())
    if (r != name) return true;
  return false;
}

}  // namespace tarn::commands
