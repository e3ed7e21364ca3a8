// Running commands: by typed name at the "Command: " prompt, and from
// replies a program feeds (tcedCommand, the LISP's command function); the
// command flags that refuse a command or keep the pickfirst set; transparent
// commands typed as 'NAME at any prompt.
#include <tarnsdk/tctypes.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "break_signal.h"
#include "editor/editor.h"
#include "lisp/printer.h"
#include "objects/object_pool.h"
#include "setvar_command.h"

namespace tarn::editor {
namespace {

int variableInt(const char* name) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? int(v.number) : 0;
}

std::string_view stripPrefixes(std::string_view typed) {
  while (!typed.empty() && (typed.front() == '_' || typed.front() == '.')) typed.remove_prefix(1);
  return typed;
}

}  // namespace

// Why the command's flags refuse it in the present state of the drawing; "" when they do not.
std::string refusalOf(int flags) {
  if ((flags & kCmdNoPerspective) && ((variableInt("VIEWMODE") & 1) || variableInt("PERSPECTIVE") == 1))
    return "** That command cannot be used in a perspective view **";
  if ((flags & kCmdNoTileMode) && variableInt("TILEMODE") == 1)
    return "** That command cannot be used on the Model tab **";
  if ((flags & kCmdNoBlockEditor) && variableInt("BLOCKEDITOR") == 1)
    return "** That command cannot be used in the block editor **";
  return "";
}

// Keeps the nesting depth and the running commands right on every way out.
struct Editor::RunningGuard {
  RunningGuard(Editor& e, std::string name, int flags) : ed(e) {
    ++ed.depth_;
    ed.running_.push_back({std::move(name), flags});
  }
  ~RunningGuard() {
    ed.running_.pop_back();
    --ed.depth_;
  }
  Editor& ed;
};

int Editor::commandFlags() const { return running_.empty() ? 0 : running_.back().flags; }

void Editor::pickfirstRead() {
  int flags = commandFlags();
  if (!running_.empty() && !((flags & kCmdUsePickSet) && (flags & kCmdKeepPickSet))) selections_.pickfirst = {};
}

int Editor::runCommand(std::string_view typed, bool transparent) {
  bool outermost = depth_ == 0;
  // Each command given at the prompt is one undo group of the drawing it
  // starts in, whatever it runs inside (host commands, module code).
  db::Database* journal = outermost ? host::currentDatabase() : nullptr;
  uint32_t journalSerial = journal ? journal->serial() : 0;
  if (journal) journal->beginCommand(db::upperAscii(stripPrefixes(typed)));
  if (outermost && onCommandStart) onCommandStart(false);
  int rc = runEntry(typed, transparent);
  // The drawing may have been closed by the command.
  if (journal && host::databaseBySerial(journalSerial) == journal) journal->endCommand();
  if (outermost) {
    objects::releaseClosedObjects();  // the command's objects are done with
    if (onCommandEnd) onCommandEnd(db::upperAscii(stripPrefixes(typed)), rc, false);
  }
  return rc;
}

int Editor::runEntry(std::string_view typed, bool transparent) {
  const CommandEntry* entry = commands_.find(typed);
  std::string name = db::upperAscii(stripPrefixes(typed));
  if (!entry && host::findSysVar(name)) {
    RunningGuard guard(*this, name, kCmdTransparent | kCmdUsePickSet | kCmdKeepPickSet);
    return setVariableByName(*this, name);
  }
  if (!entry) {
    complain("Unknown command \"" + name + "\".");
    return RTERROR;
  }
  if (std::string why = refusalOf(entry->flags); !why.empty()) {
    print(why + "\n");
    return RTERROR;
  }
  if (!transparent && !(entry->flags & kCmdUsePickSet)) selections_.pickfirst = {};
  RunningGuard guard(*this, entry->globalName, entry->flags);
  CommandHandler handler = entry->handler;  // the handler may change the stack
  int rc = handler();
  if (rc == RTCAN) print("*Cancel*\n");
  return rc;
}

bool Editor::runTransparent(std::string_view typed) {
  std::string_view name = stripPrefixes(typed);
  const CommandEntry* entry = commands_.find(typed);
  if (entry && !(entry->flags & kCmdTransparent)) {
    complain("** That command cannot be used transparently **");
    return false;
  }
  if (!entry && !host::findSysVar(name)) {
    complain("Unknown command \"" + db::upperAscii(name) + "\".");
    return false;
  }
  std::string outer = running_.empty() ? "" : running_.back().name;
  if (onCommandStart && !outer.empty()) onCommandStart(true);
  int rc = runCommand(typed, true);
  if (onCommandEnd && !outer.empty()) onCommandEnd(db::upperAscii(name), rc, true);
  if (!outer.empty()) print("Resuming " + outer + " command.\n");
  return true;
}

bool Editor::echoFed() const { return variableInt("CMDECHO") != 0; }

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
    if (echoFed()) transcript_.write("Command: " + next.reply.text + "\n");
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
    if (r.kind == ReplyKind::Cancel) continue;  // ^C at the prompt drops the line
    if (r.kind == ReplyKind::Enter && lastCommand_.empty()) continue;
    std::string name = r.kind == ReplyKind::Enter ? lastCommand_ : r.text;  // Enter repeats
    lastCommand_ = name;
    runCommand(name);
  }
}

}  // namespace tarn::editor
