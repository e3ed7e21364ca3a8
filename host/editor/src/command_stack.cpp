// Command look-up by typed name, with the "_" and "." prefixes.
#include "editor/command_stack.h"

#include <algorithm>

#include "db/database.h"

namespace tarn::editor {

bool CommandStack::addCommand(std::string_view group, std::string_view globalName, std::string_view localName,
                              CommandHandler handler, int flags) {
  std::string g = db::upperAscii(globalName), l = db::upperAscii(localName.empty() ? globalName : localName);
  for (const auto& e : entries_)
    if (!e.host && db::equalsNoCase(e.group, group) && (e.globalName == g || e.localName == l)) return false;
  entries_.push_back({std::string(group), g, l, std::move(handler), false, flags});
  return true;
}

int CommandStack::removeGroup(std::string_view group) {
  auto n = std::erase_if(entries_, [&](const CommandEntry& e) { return !e.host && db::equalsNoCase(e.group, group); });
  return int(n);
}

bool CommandStack::removeCommand(std::string_view group, std::string_view globalName) {
  return std::erase_if(entries_, [&](const CommandEntry& e) {
           return !e.host && db::equalsNoCase(e.group, group) && db::equalsNoCase(e.globalName, globalName);
         }) > 0;
}

void CommandStack::registerHostCommand(std::string_view name, CommandHandler handler, int flags) {
  std::string n = db::upperAscii(name);
  std::erase_if(entries_, [&](const CommandEntry& e) { return e.host && e.globalName == n; });
  entries_.push_back({"", n, n, std::move(handler), true, flags});
}

const CommandEntry* CommandStack::find(std::string_view typed) const {
  bool global = false, hostOnly = false;
  while (!typed.empty() && (typed.front() == '_' || typed.front() == '.')) {
    (typed.front() == '_' ? global : hostOnly) = true;
    typed.remove_prefix(1);
  }
  std::string name = db::upperAscii(typed);
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (hostOnly && !it->host) continue;
    if (it->globalName == name || (!global && it->localName == name)) return &*it;
  }
  return nullptr;
}

}  // namespace tarn::editor
