// The command stack of the SDK over the editor's command stack.
#include "command_stack_adapter.h"

#include <algorithm>

#include <tarnsdk/tctypes.h>

#include "db/database.h"
#include "editor/editor.h"
#include "module_code.h"

namespace tarn::runtime {
namespace {

editor::CommandStack& stack() { return editor::currentEditor().commands(); }

bool isHostCommand(std::string_view name) {
  const editor::CommandEntry* e = stack().find("_." + std::string(name));
  return e && e->host;
}

}  // namespace

bool CommandStackAdapter::addCommand(const char* group, const char* globalName, const char* localName,
                                     int32_t flags, TcRxFunctionPtr handler, void*, int, void*,
                                     TcEdCommand** commandOut) {
  if (commandOut) *commandOut = nullptr;  // the host hands out no command objects
  if (!group || !*group || !globalName || !*globalName || !handler) return false;
  std::string local = localName && *localName ? localName : globalName;
  // The host's own commands stay reachable under their names.
  if (isHostCommand(globalName) || isHostCommand(local)) return false;
  const void* base = objectBaseOfFunction(handler);
  editor::CommandHandler run = [handler, base] {
    ModuleCodeScope scope(base);
    // The handler answers nothing: a command that ended on a prompt its
    // user cancelled counts as cancelled (the scenario harness then checks
    // that it restored what it changed).
    const editor::Editor& editor = editor::currentEditor();
    const long cancelsBefore = editor.cancels();
    handler();
    return editor.cancels() != cancelsBefore && editor.lastReplyCancelled() ? RTCAN : RTNORM;
  };
  if (!stack().addCommand(group, globalName, local, std::move(run), int(flags))) return false;
  added_.push_back({group, globalName, handler});
  return true;
}

bool CommandStackAdapter::removeGroup(const char* group) {
  if (!group) return false;
  std::erase_if(added_, [&](const Added& a) { return db::equalsNoCase(a.group, group); });
  return stack().removeGroup(group) > 0;
}

bool CommandStackAdapter::removeCmd(const char* group, const char* globalName) {
  if (!group || !globalName) return false;
  std::erase_if(added_, [&](const Added& a) {
    return db::equalsNoCase(a.group, group) && db::equalsNoCase(a.globalName, globalName);
  });
  return stack().removeCommand(group, globalName);
}

bool CommandStackAdapter::hasCommand(const char* globalName) const {
  return globalName && *globalName && stack().find("_" + std::string(globalName)) != nullptr;
}

int CommandStackAdapter::removeCommandsOfModule(const void* base) {
  int n = 0;
  for (auto it = added_.begin(); it != added_.end();) {
    if (objectBaseOfFunction(it->handler) == base) {
      n += stack().removeCommand(it->group, it->globalName) ? 1 : 0;
      it = added_.erase(it);
    } else {
      ++it;
    }
  }
  return n;
}

}  // namespace tarn::runtime
