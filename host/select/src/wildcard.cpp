// Matching names against compiled patterns. Literal alternatives compare
// folded characters directly; the others run the two-cursor match that
// remembers only the last "*", so the cost stays at most name length times
// pattern length however many "*" a pattern has.
#include "select/wildcard.h"

#include <array>

#include "pattern_parser.h"
#include "unicode.h"

namespace tarn::select {
namespace {

using Kind = Wildcard::Element::Kind;

bool inSet(const Wildcard::CharSet& set, char32_t ch) {
  const char32_t folded = unicode::fold(ch);
  bool found = false;
  for (const auto& range : set.ranges) {
    if ((ch >= range.first && ch <= range.last) || (folded >= range.first && folded <= range.last)) {
      found = true;
      break;
    }
  }
  return found != set.negated;
}

bool elementMatches(const Wildcard::Element& e, char32_t ch, const std::vector<Wildcard::CharSet>& sets) {
  switch (e.kind) {
    case Kind::Literal: return unicode::fold(ch) == e.value;
    case Kind::Digit: return unicode::isDigit(ch);
    case Kind::Letter: return unicode::isLetter(ch);
    case Kind::NonAlnum: return !unicode::isDigit(ch) && !unicode::isLetter(ch);
    case Kind::AnyOne: return true;
    case Kind::Set: return inSet(sets[e.value], ch);
    case Kind::AnyRun: break;
  }
  return false;
}

constexpr std::array<unsigned char, 256> kAsciiFold = [] {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
  return table;
}();

// Compares a piece of a name with folded ASCII text byte by byte. This is
// sound for any name: ASCII bytes in UTF-8 are always whole characters, and
// no other character folds into ASCII.
bool asciiEqual(std::string_view piece, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (kAsciiFold[static_cast<unsigned char>(piece[i])] != static_cast<unsigned char>(text[i])) return false;
  return true;
}

bool containsAscii(std::string_view name, std::string_view text) {
  if (name.size() < text.size()) return false;
  const unsigned char first = static_cast<unsigned char>(text[0]);
  for (std::size_t i = 0; i + text.size() <= name.size(); ++i)
    if (kAsciiFold[static_cast<unsigned char>(name[i])] == first && asciiEqual(name.substr(i), text)) return true;
  return false;
}

bool equalFolded(std::string_view name, std::string_view text) {
  std::size_t n = 0;
  std::size_t t = 0;
  while (n < name.size() && t < text.size()) {
    const auto fromName = unicode::decode(name, n);
    const auto fromText = unicode::decode(text, t);
    if (unicode::fold(fromName.ch) != fromText.ch) return false;
    n += fromName.length;
    t += fromText.length;
  }
  return n == name.size() && t == text.size();
}

bool matchesExact(const Wildcard::Alternative& alt, std::string_view name) {
  if (!alt.ascii) return equalFolded(name, alt.text);
  return name.size() == alt.text.size() && asciiEqual(name, alt.text);
}

// Where a "*" followed by an ASCII literal can stop: the next place from
// `from` on that holds the literal (ASCII bytes are whole characters).
std::size_t nextRunEnd(const Wildcard::Element& after, std::string_view name, std::size_t from) {
  if (after.kind != Kind::Literal || after.value >= 0x80) return from;
  for (; from < name.size(); ++from)
    if (kAsciiFold[static_cast<unsigned char>(name[from])] == after.value) return from;
  return from;
}

bool matchesElements(const Wildcard::Alternative& alt, const std::vector<Wildcard::CharSet>& sets,
                     std::string_view name) {
  const auto& elements = alt.elements;
  constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t runElement = kNoRun;  // the last "*" met, and where its run ends
  std::size_t runEnd = 0;
  while (n < name.size()) {
    if (p < elements.size() && elements[p].kind == Kind::AnyRun) {
      if (p + 1 == elements.size()) return true;  // a final "*" takes the rest
      runElement = p++;
      runEnd = n = nextRunEnd(elements[p], name, n);
      continue;
    }
    const auto decoded = unicode::decode(name, n);
    if (p < elements.size() && elementMatches(elements[p], decoded.ch, sets)) {
      ++p;
      n += decoded.length;
      continue;
    }
    if (runElement == kNoRun) return false;
    // Let the last "*" take one more character and try again after it.
    runEnd += unicode::decode(name, runEnd).length;
    p = runElement + 1;
    runEnd = n = nextRunEnd(elements[p], name, runEnd);
  }
  while (p < elements.size() && elements[p].kind == Kind::AnyRun) ++p;
  return p == elements.size();
}

bool matchesAlternative(const Wildcard::Alternative& alt, const std::vector<Wildcard::CharSet>& sets,
                        std::string_view name) {
  using Shape = Wildcard::Alternative::Shape;
  const std::string_view text = alt.text;
  switch (alt.shape) {
    case Shape::Exact: return matchesExact(alt, name);
    case Shape::Prefix: return name.size() >= text.size() && asciiEqual(name, text);
    case Shape::Suffix: return name.size() >= text.size() && asciiEqual(name.substr(name.size() - text.size()), text);
    case Shape::Contains: return containsAscii(name, text);
    case Shape::General: break;
  }
  return matchesElements(alt, sets, name);
}

}  // namespace

Wildcard Wildcard::compile(std::string_view pattern) {
  Wildcard w;
  w.alternatives_ = PatternParser(pattern, w.sets_).parse();
  return w;
}

bool Wildcard::matches(std::string_view name) const {
  if (alternatives_.empty()) return name.empty();
  for (const Alternative& alt : alternatives_)
    if (matchesAlternative(alt, sets_, name) != alt.negated) return true;
  return false;
}

bool Wildcard::isLiteral() const {
  for (const Alternative& alt : alternatives_)
    if (alt.shape != Alternative::Shape::Exact || alt.negated) return false;
  return true;
}

bool wildcardMatch(std::string_view name, std::string_view pattern) {
  return Wildcard::compile(pattern).matches(name);
}

}  // namespace tarn::select
