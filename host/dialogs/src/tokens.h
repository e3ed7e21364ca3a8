// Cutting a line of a template or of a dialog action into words and quoted
// texts. A quoted text takes the escapes \" \\ \n \t.
#ifndef TARN_DIALOGS_TOKENS_H
#define TARN_DIALOGS_TOKENS_H

#include <string>
#include <string_view>
#include <vector>

namespace tarn::dialogs::detail {

struct Token {
  std::string text;
  bool quoted = false;
  size_t offset = 0;   // where the token starts in the line
};

struct Tokens {
  std::vector<Token> tokens;
  std::string problem;   // empty when the line was read whole
};

// Words are separated by white space; a ';' outside quotes starts a comment.
Tokens SplitTokens(std::string_view line);

// A quoted form of a text that SplitTokens reads back.
std::string Quote(std::string_view text);

// A whole decimal number in [min, max], or false.
bool ParseInt(std::string_view text, long min, long max, long* out);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tarn::dialogs::detail

#endif
