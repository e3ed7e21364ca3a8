// Words and quoted texts of template lines and dialog actions.
#include "tokens.h"

#include <cctype>
#include <charconv>

namespace tarn::dialogs::detail {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Unescaped(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    default: return c;
  }
}

// Reads a quoted text from `line` at `pos` (on the opening quote).
bool ReadQuoted(std::string_view line, size_t* pos, std::string* out) {
  size_t i = *pos + 1;
  while (i < line.size() && line[i] != '"') {
    if (line[i] == '\\' && i + 1 < line.size()) ++i, *out += Unescaped(line[i]);
    else *out += line[i];
    ++i;
  }
  if (i >= line.size()) return false;
  *pos = i + 1;
  return true;
}

}  // namespace

Tokens SplitTokens(std::string_view line) {
  Tokens result;
  size_t pos = 0;
  while (pos < line.size()) {
    if (IsSpace(line[pos])) { ++pos; continue; }
    if (line[pos] == ';') break;
    Token token;
    token.offset = pos;
    if (line[pos] == '"') {
      token.quoted = true;
      if (!ReadQuoted(line, &pos, &token.text)) {
        result.problem = "a quoted text has no closing quote";
        return result;
      }
    } else {
      while (pos < line.size() && !IsSpace(line[pos]) && line[pos] != '"' && line[pos] != ';') {
        token.text += line[pos++];
      }
    }
    result.tokens.push_back(std::move(token));
  }
  return result;
}

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\', quoted += c;
    else if (c == '\n') quoted += "\\n";
    else if (c == '\t') quoted += "\\t";
    else quoted += c;
  }
  return quoted + "\"";
}

bool ParseInt(std::string_view text, long min, long max, long* out) {
  long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
  *out = value;
  return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace tarn::dialogs::detail
