// Where the replies to prompts come from: a script file, a text (tests), or
// the terminal. A source hands out text; the reply reader cuts it into
// replies by the rules of the input language.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tarn::editor {

// A position in a source, for messages: "file:line".
struct SourceLocation {
  std::string name;
  int line = 0;
};

class ReplySource {
 public:
  virtual ~ReplySource() = default;
  // The next byte, or -1 at the end of the source.
  int peek();
  int get();
  SourceLocation location() const { return {name_, line_}; }
  // True when the source is a person at a terminal (prompts are shown there).
  virtual bool interactive() const { return false; }
  // A prompt is about to be answered; a terminal shows it when it reads.
  void setPrompt(std::string_view prompt) { prompt_ = prompt; }

 protected:
  explicit ReplySource(std::string name) : name_(std::move(name)) {}
  // Appends more text to buffer_; false when there is no more.
  virtual bool refill() { return false; }
  std::string buffer_;
  std::string prompt_;

 private:
  std::string name_;
  size_t pos_ = 0;
  int line_ = 1;
};

// Replies held in a text (tests, command-line arguments).
class StringSource : public ReplySource {
 public:
  explicit StringSource(std::string_view text, std::string name = "<input>");
};

// A script file, read whole when opened.
class ScriptFileSource : public ReplySource {
 public:
  // Null when the file cannot be read.
  static std::unique_ptr<ScriptFileSource> open(const std::string& path);

 private:
  ScriptFileSource(std::string path, std::string text);
};

// The terminal: lines read with line editing and history.
class TerminalSource : public ReplySource {
 public:
  // Installs the ^C handling: ^C while typing drops the line and answers
  // the prompt with a cancel.
  TerminalSource();
  bool interactive() const override { return true; }

 protected:
  bool refill() override;
};

}  // namespace tarn::editor
