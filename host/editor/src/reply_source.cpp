// Sources of replies: text, script files, and the terminal with readline.
#include "editor/reply_source.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <readline/history.h>
#include <readline/readline.h>

#include "break_signal.h"

namespace tarn::editor {
namespace {

bool lineCancelled = false;

// Reads the terminal for readline. ^C interrupts the read (the handler does
// not restart it): the line typed so far is dropped and ended at once, and
// the reply becomes a cancel; no key typed after it is lost.
int readKey(FILE* stream) {
  for (;;) {
    unsigned char c = 0;
    ssize_t n = read(fileno(stream), &c, 1);
    if (n == 1) return c;
    if (n == 0 || errno != EINTR) return EOF;
    if (takeInterrupt()) {
      lineCancelled = true;
      rl_replace_line("", 0);
      return '\n';
    }
  }
}

}  // namespace

int ReplySource::peek() {
  while (pos_ >= buffer_.size()) {
    if (pos_ > 0) {  // what was read is no longer needed
      buffer_.erase(0, pos_);
      pos_ = 0;
    }
    if (!refill()) return -1;
  }
  return static_cast<unsigned char>(buffer_[pos_]);
}

int ReplySource::get() {
  int c = peek();
  if (c < 0) return c;
  ++pos_;
  if (c == '\n') ++line_;
  return c;
}

StringSource::StringSource(std::string_view text, std::string name) : ReplySource(std::move(name)) {
  buffer_.assign(text);
}

ScriptFileSource::ScriptFileSource(std::string path, std::string text) : ReplySource(std::move(path)) {
  buffer_ = std::move(text);
}

std::unique_ptr<ScriptFileSource> ScriptFileSource::open(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  installBreakHandler();  // ^C stops a script run from the terminal
  std::ostringstream text;
  text << in.rdbuf();
  return std::unique_ptr<ScriptFileSource>(new ScriptFileSource(path, text.str()));
}

TerminalSource::TerminalSource() : ReplySource("<terminal>") {
  installBreakHandler();
  rl_catch_signals = 0;  // ^C is ours: it cancels, it does not end the program
  rl_getc_function = readKey;
}

bool TerminalSource::refill() {
  lineCancelled = false;
  char* line = readline(prompt_.c_str());
  if (!line) return false;
  if (lineCancelled) {
    std::fputs("^C\n", stdout);
    buffer_ += "^C\n";
  } else {
    if (*line) add_history(line);
    buffer_ += line;
    buffer_ += '\n';
  }
  std::free(line);
  prompt_.clear();  // the rest of the line answers the following prompts silently
  return true;
}

}  // namespace tarn::editor
