// The paragraph-text code parser: walks the contents once, keeping the
// format in force and a stack of formats for {} groups, and emits runs.
#include "font/mtext_parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>

#include "code_scan.h"
#include "tolerance.h"
#include "utf8.h"

namespace tarn::font {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

class Parser {
 public:
  Parser(std::string_view contents, const RunFormat& base) : s_(decodeUtf8(contents)), fmt_(base) {
    doc_.paragraphs.emplace_back();
  }
  MTextDocument run();

 private:
  using Handler = void (Parser::*)(char32_t code);
  static Handler handlerFor(char32_t code);

  void step();
  void backslash();
  void percent();
  void flush();
  template <class F>
  void change(F f) {
    flush();
    f(fmt_);
  }
  void literal(char32_t c) { pending_.push_back(c); }
  std::optional<double> number(bool* relative);
  std::u32string argument();
  void endArgument();

  void paragraph(char32_t) {
    flush();
    doc_.paragraphs.emplace_back();
  }
  void nbsp(char32_t) { literal(0x00A0); }
  void escaped(char32_t c) { literal(c); }
  void font(char32_t);
  void height(char32_t);
  void width(char32_t);
  void oblique(char32_t);
  void tracking(char32_t);
  void alignment(char32_t);
  void colour(char32_t);
  void trueColour(char32_t);
  void toggle(char32_t);
  void stack(char32_t);
  void paragraphProperties(char32_t) { argument(); }

  const std::u32string s_;
  size_t i_ = 0;
  RunFormat fmt_;
  std::vector<RunFormat> groups_;
  std::u32string pending_;
  MTextDocument doc_;
};

Parser::Handler Parser::handlerFor(char32_t code) {
  struct Entry {
    char32_t code;
    Handler handler;
  };
  static constexpr Entry kTable[] = {
      {U'P', &Parser::paragraph}, {U'N', &Parser::paragraph}, {U'X', &Parser::paragraph},
      {U'~', &Parser::nbsp},      {U'\\', &Parser::escaped},  {U'{', &Parser::escaped},
      {U'}', &Parser::escaped},   {U'f', &Parser::font},      {U'F', &Parser::font},
      {U'H', &Parser::height},    {U'W', &Parser::width},     {U'Q', &Parser::oblique},
      {U'T', &Parser::tracking},  {U'A', &Parser::alignment}, {U'C', &Parser::colour},
      {U'c', &Parser::trueColour}, {U'L', &Parser::toggle},   {U'l', &Parser::toggle},
      {U'O', &Parser::toggle},    {U'o', &Parser::toggle},    {U'K', &Parser::toggle},
      {U'k', &Parser::toggle},    {U'S', &Parser::stack},     {U'p', &Parser::paragraphProperties},
  };
  for (const Entry& e : kTable)
    if (e.code == code) return e.handler;
  return nullptr;
}

MTextDocument Parser::run() {
  while (i_ < s_.size()) step();
  flush();
  return std::move(doc_);
}

void Parser::step() {
  const char32_t c = s_[i_];
  if (c == U'\\') return backslash();
  if (c == U'%') return percent();
  ++i_;
  if (c == U'{') {
    groups_.push_back(fmt_);
  } else if (c == U'}') {
    if (groups_.empty()) return;  // an unmatched closing brace is dropped
    RunFormat outer = groups_.back();
    groups_.pop_back();
    change([&](RunFormat& f) { f = outer; });
  } else if (c == U'\n') {
    paragraph(c);
  } else if (c != U'\r') {
    literal(c);
  }
}

void Parser::backslash() {
  char32_t unicode = 0;
  if (scanUnicodeEscape(s_, i_, unicode)) return literal(unicode);
  if (i_ + 1 >= s_.size()) {  // a lone backslash at the end stays as written
    literal(s_[i_++]);
    return;
  }
  const char32_t code = s_[i_ + 1];
  Handler h = handlerFor(code);
  if (!h) {  // unknown code: shown as written
    literal(s_[i_++]);
    return;
  }
  i_ += 2;
  (this->*h)(code);
}

void Parser::percent() {
  PercentCode code;
  if (!scanPercentCode(s_, i_, code)) return literal(s_[i_++]);
  if (code.kind == PercentCode::Char) return literal(code.ch);
  const bool under = code.kind == PercentCode::ToggleUnderline;
  change([&](RunFormat& f) { (under ? f.underline : f.overline) ^= true; });
}

void Parser::flush() {
  if (pending_.empty()) return;
  auto& runs = doc_.paragraphs.back().runs;
  if (!runs.empty() && runs.back().kind == MTextRun::Text && runs.back().format == fmt_) {
    runs.back().text += pending_;
  } else {
    MTextRun run;
    run.format = fmt_;
    run.text = pending_;
    runs.push_back(std::move(run));
  }
  pending_.clear();
}

// Reads a number at the position; with `relative`, a trailing x marks it as a
// factor. A ';' after it is consumed. Nothing is consumed when no number reads.
std::optional<double> Parser::number(bool* relative) {
  constexpr std::u32string_view kNumberChars = U"+-.0123456789eE";
  std::string ascii;
  for (size_t j = i_; j < s_.size() && ascii.size() < 64 && kNumberChars.find(s_[j]) != kNumberChars.npos; ++j)
    ascii.push_back(static_cast<char>(s_[j]));
  double value = 0.0;
  const char* first = ascii.c_str();
  if (!ascii.empty() && ascii[0] == '+') ++first;
  auto [end, ec] = std::from_chars(first, ascii.c_str() + ascii.size(), value);
  if (ec != std::errc() || end == first || !std::isfinite(value)) return std::nullopt;
  i_ += size_t(end - ascii.c_str());
  if (relative) *relative = i_ < s_.size() && (s_[i_] == U'x' || s_[i_] == U'X');
  if (relative && *relative) ++i_;
  endArgument();
  return value;
}

void Parser::endArgument() {
  if (i_ < s_.size() && s_[i_] == U';') ++i_;
}

// The text up to the next ';' (consumed) or the end.
std::u32string Parser::argument() {
  size_t end = s_.find(U';', i_);
  if (end == std::u32string::npos) end = s_.size();
  std::u32string arg = s_.substr(i_, end - i_);
  i_ = std::min(end + 1, s_.size());
  return arg;
}

double clampScale(double v) { return std::clamp(v, tol::kMinScale, tol::kMaxScale); }

// \fName|b1|i0|c0|p34; : family and options (bold, italic; the others are
// character set and pitch, which do not change the geometry).
void Parser::font(char32_t) {
  const std::u32string arg = argument();
  const size_t bar = arg.find(U'|');
  const std::string name = encodeUtf8(arg.substr(0, bar));
  change([&](RunFormat& f) {
    if (!name.empty()) f.font = name;
    for (size_t k = bar; k != std::u32string::npos; k = arg.find(U'|', k + 1)) {
      if (k + 2 >= arg.size()) continue;
      const bool on = arg[k + 2] == U'1';
      if (arg[k + 1] == U'b') f.bold = on;
      if (arg[k + 1] == U'i') f.italic = on;
    }
  });
}

void Parser::height(char32_t) {
  bool relative = false;
  std::optional<double> v = number(&relative);
  if (!v || *v <= 0.0) return;
  change([&](RunFormat& f) { f.height = clampScale(relative ? f.height * *v : *v); });
}

void Parser::width(char32_t) {
  bool relative = false;
  std::optional<double> v = number(&relative);
  if (!v || *v <= 0.0) return;
  change([&](RunFormat& f) { f.widthFactor = clampScale(relative ? f.widthFactor * *v : *v); });
}

void Parser::oblique(char32_t) {
  std::optional<double> v = number(nullptr);
  if (!v) return;
  change([&](RunFormat& f) { f.oblique = std::clamp(*v, -85.0, 85.0) * kDegree; });
}

void Parser::tracking(char32_t) {
  bool relative = false;
  std::optional<double> v = number(&relative);
  if (!v || *v <= 0.0) return;
  change([&](RunFormat& f) { f.tracking = std::clamp(relative ? f.tracking * *v : *v, 0.75, 4.0); });
}

void Parser::alignment(char32_t) {
  std::optional<double> v = number(nullptr);
  if (!v || *v < 0.0 || *v > 2.0) return;
  change([&](RunFormat& f) { f.alignment = int(*v); });
}

void Parser::colour(char32_t) {
  std::optional<double> v = number(nullptr);
  if (!v || *v < 0.0 || *v > 257.0) return;
  change([&](RunFormat& f) { f.colour = int(*v); });
}

void Parser::trueColour(char32_t) {
  std::optional<double> v = number(nullptr);
  if (!v || *v < 0.0 || *v > 4294967295.0) return;
  change([&](RunFormat& f) { f.trueColour = int64_t(*v); });
}

void Parser::toggle(char32_t code) {
  const bool on = code == U'L' || code == U'O' || code == U'K';
  const char32_t kind = code | 0x20;  // lower case
  change([&](RunFormat& f) {
    bool& flag = kind == U'l' ? f.underline : kind == U'o' ? f.overline : f.strike;
    flag = on;
  });
}

void Parser::stack(char32_t) {
  // Up to an unescaped ';'; a backslash makes the next character literal.
  std::u32string top, bottom;
  char32_t type = 0;
  while (i_ < s_.size() && s_[i_] != U';') {
    char32_t c = s_[i_++];
    bool isEscaped = c == U'\\' && i_ < s_.size();
    if (isEscaped) c = s_[i_++];
    if (!isEscaped && type == 0 && (c == U'^' || c == U'/' || c == U'#')) {
      type = c;
      continue;
    }
    (type ? bottom : top).push_back(c);
  }
  endArgument();
  if (type == 0) {  // nothing to stack: the characters are plain text
    pending_ += top;
    return;
  }
  flush();
  MTextRun run;
  run.kind = MTextRun::Stack;
  run.format = fmt_;
  run.stackTop = top;
  run.stackBottom = bottom;
  run.stackType = type;
  doc_.paragraphs.back().runs.push_back(std::move(run));
}

}  // namespace

MTextDocument parseMText(std::string_view contents, const RunFormat& base) { return Parser(contents, base).run(); }

std::string mtextPlainText(std::string_view contents) {
  const MTextDocument doc = parseMText(contents);
  std::string out;
  for (size_t p = 0; p < doc.paragraphs.size(); ++p) {
    if (p) out.push_back('\n');
    for (const MTextRun& run : doc.paragraphs[p].runs) {
      if (run.kind == MTextRun::Text) {
        out += encodeUtf8(run.text);
        continue;
      }
      out += encodeUtf8(run.stackTop);
      appendUtf8(out, run.stackType);
      out += encodeUtf8(run.stackBottom);
    }
  }
  return out;
}

}  // namespace tarn::font
