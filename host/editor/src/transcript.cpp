// The command-line transcript.
#include "editor/transcript.h"

namespace tarn::editor {

void Transcript::write(std::string_view text, bool echo) {
  if (text_.size() + text.size() > kKeep) text_.erase(0, text_.size() / 2);
  text_ += text;
  if (echo && stream_) {
    std::fwrite(text.data(), 1, text.size(), stream_);
    std::fflush(stream_);
  }
}

}  // namespace tarn::editor
