// The editor of a session: where replies come from (a stack of sources, with
// the replies a program feeds to commands on top), the transcript, the
// control bits of the next input call, picks, selection sets, the command
// stack and the LISP that answers "(" replies.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/command_stack.h"
#include "editor/display_record.h"
#include "editor/keyword_list.h"
#include "editor/pick_provider.h"
#include "editor/reply.h"
#include "editor/selection_sets.h"
#include "editor/transcript.h"
#include "lisp/interpreter.h"

namespace tarn::editor {

// Control bits of tcedInitGet.
enum InitGetBits : int {
  kNoEmpty = 1, kNoZero = 2, kNoNegative = 4, kNoLimits = 8, kPoint3D = 16, kDashed = 32,
  kDistance2D = 64, kArbitrary = 128,
};

struct InputControl {
  int bits = 0;
  KeywordList keywords;
};

// What a program gives a command to answer its prompts: a reply, or a pause
// where the user answers.
struct FedReply {
  Reply reply;
  bool pause = false;
};

class Editor {
 public:
  Editor();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // ---- sources: the newest source is read first; an exhausted one is dropped.
  void pushSource(std::unique_ptr<ReplySource> source);
  bool hasSource() const { return !sources_.empty(); }
  void clearSources() { sources_.clear(); }

  // ---- the command line
  Transcript& transcript() { return transcript_; }
  const std::string& transcriptText() const { return transcript_.text(); }
  void print(std::string_view text);
  // Prints a message about the last reply; a reply from a script file gets
  // its place in front: "plan.scr:12: Invalid point."
  void complain(std::string_view message);
  // Shows the prompt and reads a reply: fed replies first, then the sources.
  // LISP replies are evaluated unless `rawLisp`; their value is the reply.
  Reply ask(std::string_view prompt, bool takesSpaces, bool rawLisp = false);

  // ---- the next input call's control
  void initGet(int bits, std::string_view keywords);
  InputControl takeControl();
  std::string lastInput;  // the keyword or text tcedGetInput returns

  // ---- break requests (tcedUsrBrk): asked for by a program or by ^C at
  // the terminal (SIGINT); a break not taken by the command cancels its
  // next prompt.
  void requestBreak() { breakRequested_ = true; }
  bool takeBreak();

  // ---- commands
  CommandStack& commands() { return commands_; }
  // Runs one command by typed name (system variable names run SETVAR on
  // them). RTNORM, RTCAN, or RTERROR for an unknown name or a command its
  // flags refuse here. `transparent`: run inside another command ('NAME),
  // which leaves the pickfirst set alone.
  int runCommand(std::string_view typed, bool transparent = false);
  // Called around every command run from the command prompt (not around
  // the commands it runs in turn), and around transparent commands the user
  // runs inside it (`transparent` true): the scenario harness checks there.
  std::function<void(bool transparent)> onCommandStart;
  std::function<void(const std::string& name, int status, bool transparent)> onCommandEnd;
  // Runs the commands that the fed replies name, each answered by the
  // replies after it; a command that asks for more reads the sources.
  int feedCommands(std::vector<FedReply> replies);
  // Reads and runs commands until the sources end.
  void commandLoop();
  bool commandActive() const { return depth_ > 0; }
  // Commands running inside one another: 1 for a command typed at the
  // prompt, 2 for a host command a module's command issues, and so on.
  int commandDepth() const { return depth_; }
  // Whether a command's header lines reach the command line: always, except
  // for a command a program issues while CMDECHO is 0.
  bool echoing() const { return fed_.empty() || echoFed(); }
  // How many times the user cancelled a prompt (Esc, ^C or the end of a
  // script inside a command) so far: a command whose run raised it was
  // cancelled, whatever its handler answered.
  long cancels() const { return cancels_; }
  // Whether the user's latest reply was such a cancel (a command that went
  // on asking after a cancelled question and got its answers was not
  // cancelled).
  bool lastReplyCancelled() const { return lastReplyCancelled_; }
  // The flags of the innermost running command (0 at the command prompt).
  int commandFlags() const;
  // The running command has read the pickfirst set: cleared unless its
  // flags keep it (2 with 4).
  void pickfirstRead();

  // ---- what drags, temporary vectors and redraws would have shown
  DisplayRecord& display() { return display_; }

  // ---- picks and selection
  PickProvider& picks() { return *picks_; }
  void setPickProvider(std::unique_ptr<PickProvider> p) { picks_ = std::move(p); }
  SelectionSets& selections() { return selections_; }
  // The pick box half-size in drawing units.
  double aperture() const;

  // ---- LISP
  lisp::Interpreter& lisp() { return *lisp_; }
  // Calls to functions that modules defined; unset, they fail.
  std::function<lisp::Outcome(const lisp::ExternalFunction&, std::span<const lisp::Value>)> externalCalls;

 private:
  struct RunningGuard;
  struct Running {
    std::string name;
    int flags;
  };
  Reply readOne(std::string_view prompt, bool takesSpaces);
  Reply readFromSources(bool takesSpaces);
  int runEntry(std::string_view typed, bool transparent);
  bool runTransparent(std::string_view typed);
  bool stopScripts();
  bool echoFed() const;
  Reply evaluateLisp(const Reply& r);
  void echoReply(const Reply& r, bool shown);

  std::vector<std::unique_ptr<ReplySource>> sources_;
  std::vector<std::deque<FedReply>> fed_;
  Transcript transcript_;
  InputControl control_;
  CommandStack commands_;
  SelectionSets selections_;
  std::unique_ptr<PickProvider> picks_;
  std::unique_ptr<lisp::LispHost> lispHost_;
  std::unique_ptr<lisp::Interpreter> lisp_;
  std::string lastCommand_;
  SourceLocation lastWhere_;  // of the last reply read from a script; empty otherwise
  std::vector<Running> running_;
  DisplayRecord display_;
  int depth_ = 0;
  long cancels_ = 0;
  bool lastReplyCancelled_ = false;
  bool breakRequested_ = false;
};

// The editor the SDK's input calls work with (one per process is current).
Editor& currentEditor();
void setCurrentEditor(Editor* editor);

// Registers a host command with the current editor.
void registerHostCommand(std::string_view name, CommandHandler handler);

// Registers the host's own commands (SETVAR) with an editor.
void registerHostCommands(Editor& editor);

}  // namespace tarn::editor
