// The command stack: commands of modules in groups (a global name and a
// local one each) and the host's own commands. A typed name is looked up as
// local or global; "_" asks for the global name, "." for the host's own
// command even where a module's command has the same name ("_." both).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::editor {

// A command's status: RTNORM, RTCAN or RTERROR.
using CommandHandler = std::function<int()>;

// Command flags, as modules register them.
enum CommandFlags : int {
  kCmdTransparent = 1,            // may run inside another command ('NAME)
  kCmdUsePickSet = 2,             // takes the objects selected before it started
  kCmdKeepPickSet = 4,            // with 2: reading the pickfirst set does not clear it
  kCmdNoPerspective = 8,          // refused in a perspective view
  kCmdNoTileMode = 0x20,          // refused while the model tab is active (TILEMODE 1)
  kCmdNoBlockEditor = 0x2000000,  // refused inside the block editor
};

struct CommandEntry {
  std::string group;       // empty for host commands
  std::string globalName;  // upper case
  std::string localName;   // upper case
  CommandHandler handler;
  bool host = false;
  int flags = 0;
};

class CommandStack {
 public:
  // False when the group already has a command of either name.
  bool addCommand(std::string_view group, std::string_view globalName, std::string_view localName,
                  CommandHandler handler, int flags = 0);
  // Removes a group's commands; returns how many went.
  int removeGroup(std::string_view group);
  bool removeCommand(std::string_view group, std::string_view globalName);
  // A host command replaces an earlier one of the same name.
  void registerHostCommand(std::string_view name, CommandHandler handler, int flags = 0);

  // The command a typed name stands for, or null. Module commands added
  // last are found first.
  const CommandEntry* find(std::string_view typed) const;

 private:
  std::vector<CommandEntry> entries_;
};

}  // namespace tarn::editor
