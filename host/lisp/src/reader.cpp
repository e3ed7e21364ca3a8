// The reader: numbers, strings with escapes, case-folded symbols, quote,
// dotted pairs and both comment forms, with positions on every error.
#include "lisp/reader.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace tarn::lisp {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool isDelimiter(char c) {
  return isSpace(c) || c == '(' || c == ')' || c == '\'' || c == '"' || c == ';';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::size_t skipDigits(std::string_view s, std::size_t i) {
  while (i < s.size() && isDigit(s[i])) ++i;
  return i;
}

// Shape of a number token: [+-] digits [. digits] [e [+-] digits], with at
// least one digit before the exponent. Returns false for anything else.
bool numberShape(std::string_view s, bool& isReal, bool& negativeExponent) {
  std::size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  std::size_t intEnd = skipDigits(s, i);
  std::size_t digits = intEnd - i;
  i = intEnd;
  isReal = false;
  negativeExponent = false;
  if (i < s.size() && s[i] == '.') {
    isReal = true;
    std::size_t fracEnd = skipDigits(s, i + 1);
    digits += fracEnd - (i + 1);
    i = fracEnd;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    isReal = true;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    std::size_t expEnd = skipDigits(s, i);
    if (expEnd == i) return false;
    i = expEnd;
  }
  return i == s.size();
}

}  // namespace

bool parseNumber(std::string_view token, Value& out, bool& outOfRange) {
  outOfRange = false;
  bool isReal = false;
  bool negativeExponent = false;
  if (!numberShape(token, isReal, negativeExponent)) return false;
  std::string_view body = token[0] == '+' ? token.substr(1) : token;
  if (!isReal) {
    std::int64_t v = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec == std::errc() && v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()) {
      out = Value::integer(static_cast<std::int32_t>(v));
      return true;
    }
    // Too large for 32 bits: read as a real, as desktop CAD LISPs do.
  }
  double d = 0.0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), d);
  if (ec == std::errc::result_out_of_range) {
    if (!negativeExponent) {
      outOfRange = true;
      return true;
    }
    d = body[0] == '-' ? -0.0 : 0.0;  // underflow: as close to zero as it gets
  }
  out = Value::real(d);
  return true;
}

std::string ReadError::describe() const {
  return message + " at line " + std::to_string(line) + ", column " + std::to_string(column);
}

Reader::Reader(std::string_view text, ReaderLimits limits) : text_(text), limits_(limits) {}

ReadStatus Reader::next(Value& out, ReadError& error) {
  if (!failed_ && !skipSpaceAndComments()) failed_ = true;
  if (failed_) {
    error = error_;
    return ReadStatus::Error;
  }
  if (atEnd()) return ReadStatus::End;
  if (!readForm(out, 0)) {
    failed_ = true;
    error = error_;
    return ReadStatus::Error;
  }
  return ReadStatus::Value;
}

void Reader::advance() {
  unsigned char c = static_cast<unsigned char>(text_[pos_++]);
  if (c == '\n') {
    ++here_.line;
    here_.column = 1;
  } else if ((c & 0xC0) != 0x80) {
    ++here_.column;  // columns count characters, not UTF-8 continuation bytes
  }
}

bool Reader::fail(Position where, std::string message) {
  error_.line = where.line;
  error_.column = where.column;
  error_.message = std::move(message);
  return false;
}

bool Reader::skipSpaceAndComments() {
  while (!atEnd()) {
    char c = peek();
    if (isSpace(c)) {
      advance();
    } else if (c == ';') {
      if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '|') {
        if (!skipBlockComment()) return false;
      } else {
        while (!atEnd() && peek() != '\n') advance();
      }
    } else {
      return true;
    }
  }
  return true;
}

bool Reader::skipBlockComment() {
  Position open = here_;
  advance();
  advance();
  while (!atEnd()) {
    if (peek() == '|' && pos_ + 1 < text_.size() && text_[pos_ + 1] == ';') {
      advance();
      advance();
      return true;
    }
    advance();
  }
  return fail(open, "comment not closed: ;| without |;");
}

bool Reader::readForm(Value& out, int depth) {
  char c = peek();
  if ((c == '(' || c == '\'') && depth >= limits_.maxDepth) {
    return fail(here_, "lists nested too deeply (more than " + std::to_string(limits_.maxDepth) + " levels)");
  }
  if (c == '(') return readList(out, depth + 1);
  if (c == ')') return fail(here_, "extra right paren on input");
  if (c == '\'') return readQuoted(out, depth + 1);
  if (c == '"') return readString(out);
  return readAtom(out);
}

bool Reader::readQuoted(Value& out, int depth) {
  Position quote = here_;
  advance();
  if (!skipSpaceAndComments()) return false;
  if (atEnd() || peek() == ')') return fail(quote, "quote with nothing after it");
  Value quoted;
  if (!readForm(quoted, depth)) return false;
  out = Value::list({Value::symbol("QUOTE"), std::move(quoted)});
  return true;
}

bool Reader::readList(Value& out, int depth) {
  Position open = here_;
  advance();
  ListBuilder items;
  Value tail;
  if (!readListTail(items, tail, open, depth)) return false;
  out = items.finish(std::move(tail));
  return true;
}

// Reads the elements up to the closing paren; a lone "." makes the next form
// the tail of a dotted list, and it must be the last form before ")".
bool Reader::readListTail(ListBuilder& items, Value& tail, Position open, int depth) {
  const char* missing = "malformed list on input: missing right paren for the list opened here";
  for (;;) {
    if (!skipSpaceAndComments()) return false;
    if (atEnd()) return fail(open, missing);
    if (peek() == ')') {
      advance();
      return true;
    }
    bool dot = peek() == '.' && (pos_ + 1 == text_.size() || isDelimiter(text_[pos_ + 1]));
    if (!dot) {
      Value item;
      if (!readForm(item, depth)) return false;
      items.add(std::move(item));
      continue;
    }
    Position dotAt = here_;
    advance();
    if (items.empty()) return fail(dotAt, "misplaced dot on input");
    if (!skipSpaceAndComments()) return false;
    if (atEnd()) return fail(open, missing);
    if (peek() == ')') return fail(dotAt, "misplaced dot on input");
    if (!readForm(tail, depth) || !skipSpaceAndComments()) return false;
    if (atEnd()) return fail(open, missing);
    if (peek() != ')') return fail(dotAt, "misplaced dot on input: more than one form after the dot");
    advance();
    return true;
  }
}

bool Reader::readString(Value& out) {
  Position open = here_;
  advance();
  std::string text;
  while (!atEnd() && peek() != '"') {
    char c = peek();
    advance();
    if (c != '\\') {
      text.push_back(c);
    } else if (!atEnd() && !readEscape(text, open)) {
      return false;
    }
  }
  if (atEnd()) return fail(open, "malformed string on input: no closing quote");
  advance();
  out = Value::string(text);
  return true;
}

// The character after a backslash: \nnn in octal (up to three digits), one
// of the named escapes, or any other character standing for itself.
bool Reader::readEscape(std::string& text, Position open) {
  char e = peek();
  advance();
  if (e >= '0' && e <= '7') {
    int code = e - '0';
    for (int n = 1; n < 3 && !atEnd() && peek() >= '0' && peek() <= '7'; ++n) {
      code = code * 8 + (peek() - '0');
      advance();
    }
    if (code > 255) return fail(open, "octal escape above \\377 in string");
    text.push_back(static_cast<char>(code));
    return true;
  }
  static constexpr std::pair<char, char> kEscapes[] = {
      {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'e', '\x1b'}, {'"', '"'}, {'\\', '\\'}};
  char decoded = e;
  for (auto [name, value] : kEscapes) {
    if (e == name) decoded = value;
  }
  text.push_back(decoded);
  return true;
}

bool Reader::readAtom(Value& out) {
  Position start = here_;
  std::size_t begin = pos_;
  while (!atEnd() && !isDelimiter(peek())) advance();
  std::string_view token = text_.substr(begin, pos_ - begin);
  bool outOfRange = false;
  if (parseNumber(token, out, outOfRange)) {
    return outOfRange ? fail(start, "number out of range: " + std::string(token)) : true;
  }
  if (token == ".") return fail(start, "misplaced dot on input");
  std::string name(token);
  for (char& c : name) c = upperAscii(c);
  out = Value::symbol(name);
  return true;
}

ReadStatus readOne(std::string_view text, Value& out, ReadError& error, ReaderLimits limits) {
  Reader reader(text, limits);
  ReadStatus status = reader.next(out, error);
  if (status == ReadStatus::End) out = Value();
  return status;
}

}  // namespace tarn::lisp
