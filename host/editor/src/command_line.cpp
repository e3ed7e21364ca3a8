// Running commands: by typed name at the "Command: " prompt, and from
// replies a program feeds (tcedCommand, the LISP's command function).
#include <tarnsdk/tctypes.h>

#include "api/sysvars.h"
#include "editor/editor.h"
#include "lisp/printer.h"
#include "setvar_command.h"

namespace tarn::editor {
namespace {

// Keeps the nesting depth right on every way out.
struct DepthGuard {
  explicit DepthGuard(int& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
  int& depth;
};

std::string_view stripPrefixes(std::string_view typed) {
  while (!typed.empty() && (typed.front() == '_' || typed.front() == '.')) typed.remove_prefix(1);
  return typed;
}

}  // namespace

int Editor::runCommand(std::string_view typed) {
  const CommandEntry* entry = commands_.find(typed);
  DepthGuard guard(depth_);
  if (entry) {
    CommandHandler handler = entry->handler;  // the handler may change the stack
    int rc = handler();
    if (rc == RTCAN) print("*Cancel*\n");
    return rc;
  }
  std::string name(stripPrefixes(typed));
  if (host::findSysVar(name)) return setVariableByName(*this, name);
  complain("Unknown command \"" + db::upperAscii(name) + "\".");
  return RTERROR;
}

int Editor::feedCommands(std::vector<FedReply> replies) {
  fed_.emplace_back(replies.begin(), replies.end());
  int rc = RTNORM;
  while (!fed_.back().empty() && rc != RTCAN) {
    FedReply next = fed_.back().front();
    fed_.back().pop_front();
    if (next.reply.kind == ReplyKind::Enter) continue;  // Enter between commands does nothing
    if (next.reply.kind != ReplyKind::Text) {
      rc = RTERROR;
      break;
    }
    transcript_.write("Command: " + next.reply.text + "\n");
    int status = runCommand(next.reply.text);
    if (status != RTNORM) rc = status;
  }
  fed_.pop_back();
  return rc;
}

void Editor::commandLoop() {
  for (;;) {
    Reply r = ask("Command: ", false, true);
    if (r.kind == ReplyKind::End) return;
    if (r.kind == ReplyKind::Lisp) {
      lisp::Outcome out = lisp_->evaluate(r.text);
      if (out.ok()) print(lisp::toString(out.value()) + "\n");
      continue;
    }
    if (r.kind == ReplyKind::Cancel) continue;
    if (r.kind == ReplyKind::Enter && lastCommand_.empty()) continue;
    std::string name = r.kind == ReplyKind::Enter ? lastCommand_ : r.text;  // Enter repeats
    lastCommand_ = name;
    runCommand(name);
  }
}

}  // namespace tarn::editor
