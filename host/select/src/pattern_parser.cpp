// Pattern reading: splits at unescaped commas, turns each character with a
// wildcard meaning into its element, folds literal characters for comparison.
#include "pattern_parser.h"

#include <array>

#include "unicode.h"

namespace tarn::select {
namespace {

using Kind = Wildcard::Element::Kind;

struct ClassCharacter {
  char ch;
  Kind kind;
};
constexpr std::array<ClassCharacter, 5> kClassCharacters{
    {{'#', Kind::Digit}, {'@', Kind::Letter}, {'.', Kind::NonAlnum}, {'?', Kind::AnyOne}, {'*', Kind::AnyRun}}};

void addRange(Wildcard::CharSet& set, char32_t first, char32_t last) {
  set.ranges.push_back({first, last});
  const char32_t foldedFirst = unicode::fold(first);
  const char32_t foldedLast = unicode::fold(last);
  if ((foldedFirst != first || foldedLast != last) && foldedFirst <= foldedLast)
    set.ranges.push_back({foldedFirst, foldedLast});
}

void addLiteral(Wildcard::Alternative& alt, char32_t ch) {
  const char32_t folded = unicode::fold(ch);
  alt.elements.push_back({Kind::Literal, folded});
  unicode::append(alt.text, folded);
  if (folded >= 0x80) alt.ascii = false;
}

// The shape of an alternative: its elements apart from literals, and where.
Wildcard::Alternative::Shape shapeOf(const Wildcard::Alternative& alt) {
  using Shape = Wildcard::Alternative::Shape;
  std::size_t runs = 0;
  for (const auto& e : alt.elements) {
    if (e.kind == Kind::AnyRun) {
      ++runs;
    } else if (e.kind != Kind::Literal) {
      return Shape::General;
    }
  }
  if (runs == 0) return Shape::Exact;
  if (!alt.ascii || runs > 2 || alt.text.empty()) return Shape::General;
  const bool runFirst = alt.elements.front().kind == Kind::AnyRun;
  const bool runLast = alt.elements.back().kind == Kind::AnyRun;
  if (runs == 2) return runFirst && runLast ? Shape::Contains : Shape::General;
  if (runLast) return Shape::Prefix;
  return runFirst ? Shape::Suffix : Shape::General;
}

}  // namespace

char32_t PatternParser::peek() const { return unicode::decode(pattern_, at_).ch; }

char32_t PatternParser::next() {
  const auto decoded = unicode::decode(pattern_, at_);
  at_ += decoded.length;
  return decoded.ch;
}

std::vector<Wildcard::Alternative> PatternParser::parse() {
  std::vector<Wildcard::Alternative> alternatives;
  bool more = true;
  while (more) {
    Wildcard::Alternative alt;
    more = parseAlternative(alt);
    alt.shape = shapeOf(alt);
    alternatives.push_back(std::move(alt));
  }
  return alternatives;
}

bool PatternParser::parseAlternative(Wildcard::Alternative& alt) {
  if (!atEnd() && peek() == '~') {
    alt.negated = true;
    next();
  }
  while (!atEnd()) {
    const char32_t ch = next();
    if (ch == ',') return true;
    parseElement(ch, alt);
  }
  return false;
}

void PatternParser::parseElement(char32_t ch, Wildcard::Alternative& alt) {
  if (ch == '`') {
    addLiteral(alt, atEnd() ? ch : next());
    return;
  }
  for (const ClassCharacter& cls : kClassCharacters) {
    if (ch != static_cast<char32_t>(cls.ch)) continue;
    // Consecutive "*" mean the same as one; keeping one keeps matching linear.
    const bool repeatedRun = cls.kind == Kind::AnyRun && !alt.elements.empty() &&
                             alt.elements.back().kind == Kind::AnyRun;
    if (!repeatedRun) alt.elements.push_back({cls.kind, 0});
    return;
  }
  if (ch == '[') {
    if (auto set = parseSet()) {
      alt.elements.push_back({Kind::Set, static_cast<char32_t>(sets_.size())});
      sets_.push_back(std::move(*set));
      return;
    }
  }
  addLiteral(alt, ch);
}

char32_t PatternParser::setMember() {
  const char32_t ch = next();
  if (ch == '`' && !atEnd()) return next();
  return ch;
}

std::optional<Wildcard::CharSet> PatternParser::parseSet() {
  const std::size_t start = at_;
  Wildcard::CharSet set;
  if (!atEnd() && peek() == '~') {
    set.negated = true;
    next();
  }
  bool first = true;
  while (!atEnd()) {
    if (peek() == ']' && !first) {
      next();
      return set;
    }
    first = false;
    const char32_t low = setMember();
    const std::size_t afterLow = at_;
    if (!atEnd() && peek() == '-') {
      next();
      if (!atEnd() && peek() != ']') {
        addRange(set, low, setMember());
        continue;
      }
      at_ = afterLow;  // "-" before "]" is a member of its own
    }
    addRange(set, low, low);
  }
  at_ = start;
  return std::nullopt;
}

}  // namespace tarn::select
