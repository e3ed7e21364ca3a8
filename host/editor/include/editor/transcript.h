// The command-line transcript: every prompt, echoed reply and message, kept
// for tests and copied to a stream (stdout in tarncad) when one is set.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tarn::editor {

class Transcript {
 public:
  // `echo` false: kept only (a terminal has already shown the text).
  void write(std::string_view text, bool echo = true);
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }
  void setStream(std::FILE* stream) { stream_ = stream; }
  // Texts longer than this are dropped from the front (a long batch run
  // must not grow without end); tests stay far below it.
  static constexpr size_t kKeep = 8u << 20;

 private:
  std::string text_;
  std::FILE* stream_ = nullptr;
};

}  // namespace tarn::editor
