// The editor: reading replies for prompts, echoing them, evaluating LISP
// replies, and the state the input calls share.
#include "editor/editor.h"

#include <tarnsdk/tctypes.h>

#include "api/sysvars.h"
#include "break_signal.h"
#include "lisp_replies.h"

namespace tarn::editor {
namespace {

Editor* current = nullptr;

}  // namespace

Editor::Editor() : picks_(makeDefaultPickProvider()), lispHost_(makeEditorLispHost(*this)) {
  lisp_ = std::make_unique<lisp::Interpreter>(*lispHost_);
  registerHostCommands(*this);
  if (!current) current = this;
}

Editor::~Editor() {
  if (current == this) current = nullptr;
}

Editor& currentEditor() {
  static Editor fallback;
  return current ? *current : fallback;
}

void setCurrentEditor(Editor* editor) { current = editor; }

void registerHostCommand(std::string_view name, CommandHandler handler) {
  currentEditor().commands().registerHostCommand(name, std::move(handler));
}

void Editor::pushSource(std::unique_ptr<ReplySource> source) { sources_.push_back(std::move(source)); }

void Editor::print(std::string_view text) { transcript_.write(text); }

void Editor::complain(std::string_view message) {
  std::string place = lastWhere_.name.empty() ? "" : lastWhere_.name + ":" + std::to_string(lastWhere_.line) + ": ";
  print(place + std::string(message) + "\n");
}

void Editor::initGet(int bits, std::string_view keywords) {
  control_.bits = bits;
  control_.keywords = KeywordList::parse(keywords);
}

InputControl Editor::takeControl() { return std::exchange(control_, InputControl{}); }

bool Editor::takeBreak() {
  bool interrupted = takeInterrupt();
  return std::exchange(breakRequested_, false) || interrupted;
}

double Editor::aperture() const {
  host::SysVarValue box, view, screen;
  double pixels = host::getSysVar("PICKBOX", box) ? box.number : 3;
  double height = host::getSysVar("VIEWSIZE", view) ? view.number : 297;
  double rows = host::getSysVar("SCREENSIZE", screen) && screen.point.y > 0 ? screen.point.y : 768;
  return std::max(pixels, 1.0) * height / rows;
}

Reply Editor::readFromSources(bool takesSpaces) {
  while (!sources_.empty()) {
    Reply r = readReply(*sources_.back(), takesSpaces);
    if (r.kind != ReplyKind::End) return r;
    sources_.pop_back();  // a finished script hands back to the one below
  }
  return {};
}

void Editor::echoReply(const Reply& r, bool shown) {
  std::string text;
  if (r.kind == ReplyKind::Text || r.kind == ReplyKind::Lisp) text = r.text;
  else if (r.kind == ReplyKind::Cancel) text = "*Cancel*";
  else if (r.kind == ReplyKind::Entity) text = "<Entity name>";
  else if (r.kind == ReplyKind::Picks) text = "<Selection set>";
  transcript_.write(text + "\n", !shown);
}

Reply Editor::evaluateLisp(const Reply& r) {
  lisp::Outcome out = lisp_->evaluate(r.text);
  if (!out.ok()) {  // the interpreter has printed the error; a failed answer cancels
    if (!lastWhere_.name.empty()) complain("the expression above failed");
    return Reply{ReplyKind::Cancel, {}, {0, 0}, r.where};
  }
  Reply value = valueToReply(out.value());
  value.where = r.where;
  return value;
}

bool Editor::stopScripts() {
  bool stopped = false;
  while (!sources_.empty() && !sources_.back()->interactive()) {
    sources_.pop_back();
    stopped = true;
  }
  return stopped;
}

Reply Editor::readOne(std::string_view prompt, bool takesSpaces) {
  Reply r;
  bool shown = false;
  if (!fed_.empty() && !fed_.back().empty() && !fed_.back().front().pause) {
    bool echo = echoFed();  // CMDECHO 0 keeps a program's commands off the command line
    if (echo) transcript_.write(prompt);
    r = fed_.back().front().reply;
    fed_.back().pop_front();
    lastWhere_ = {};
    if (echo) echoReply(r, false);
    return r;
  }
  if (!fed_.empty() && !fed_.back().empty()) fed_.back().pop_front();  // a pause: the user answers
  shown = !sources_.empty() && sources_.back()->interactive();
  if (shown) sources_.back()->setPrompt(prompt);
  transcript_.write(prompt, !shown);
  r = readFromSources(takesSpaces);
  lastWhere_ = shown ? SourceLocation{} : r.where;
  if (r.kind == ReplyKind::End) transcript_.write("\n", !shown);
  else echoReply(r, shown);
  lastReplyCancelled_ = r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel;
  if (depth_ > 0 && lastReplyCancelled_) ++cancels_;
  return r;
}

Reply Editor::ask(std::string_view prompt, bool takesSpaces, bool rawLisp) {
  for (;;) {
    // ^C pressed while a command or a script worked: the command's next
    // prompt is cancelled and the script stops.
    if (takeInterrupt() && (depth_ > 0 || stopScripts())) {
      transcript_.write(std::string(prompt) + "*Cancel*\n");
      lastReplyCancelled_ = true;
      if (depth_ > 0) ++cancels_;
      return Reply{ReplyKind::Cancel, {}, {0, 0}, {}};
    }
    Reply r = readOne(prompt, takesSpaces);
    // 'NAME runs a transparent command; a prompt for text with spaces
    // takes the apostrophe as part of the text.
    if (!takesSpaces && r.kind == ReplyKind::Text && r.text.size() > 1 && r.text.front() == '\'') {
      runTransparent(std::string_view(r.text).substr(1));
      continue;  // the prompt is asked again
    }
    return r.kind == ReplyKind::Lisp && !rawLisp ? evaluateLisp(r) : r;
  }
}

}  // namespace tarn::editor
