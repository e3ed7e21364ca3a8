// Sources of replies: text, script files, and the terminal with readline.
#include "editor/reply_source.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <readline/history.h>
#include <readline/readline.h>

namespace tarn::editor {

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
  std::ostringstream text;
  text << in.rdbuf();
  return std::unique_ptr<ScriptFileSource>(new ScriptFileSource(path, text.str()));
}

bool TerminalSource::refill() {
  char* line = readline(prompt_.c_str());
  if (!line) return false;
  if (*line) add_history(line);
  buffer_ += line;
  buffer_ += '\n';
  std::free(line);
  prompt_.clear();  // the rest of the line answers the following prompts silently
  return true;
}

}  // namespace tarn::editor
