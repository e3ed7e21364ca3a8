// Wildcard patterns for names: compile a pattern once into a Wildcard, then
// match many names against it. Matching ignores letter case and reads names
// and patterns as UTF-8 (one non-ASCII character is one character).
//
//   #      any digit                  @      any letter
//   .      any character that is neither a letter nor a digit
//   *      any sequence, also empty   ?      any single character
//   ~      first in a pattern: anything that does not match the rest
//   [...]  any one of the characters listed, ranges such as a-z allowed
//   [~...] any one character that is not listed
//   `      reads the next character literally
//   ,      separates alternatives; a name matches when one alternative does
#ifndef TARN_SELECT_WILDCARD_H
#define TARN_SELECT_WILDCARD_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::select {

class Wildcard {
 public:
  // The empty pattern, which matches only the empty name.
  Wildcard() = default;
  // Any text is a valid pattern: an unclosed "[" and a final "`" are read as
  // literal characters, bytes that are not UTF-8 match themselves.
  static Wildcard compile(std::string_view pattern);

  bool matches(std::string_view name) const;

  // True when no alternative holds a wildcard character: the pattern then
  // names its matches exactly (up to letter case).
  bool isLiteral() const;

  struct Element;
  struct CharSet;
  struct Alternative;

 private:
  std::vector<Alternative> alternatives_;
  std::vector<CharSet> sets_;
};

// Compiles the pattern and matches the name against it; for one-off tests.
bool wildcardMatch(std::string_view name, std::string_view pattern);

// A pattern that matches exactly this name (ignoring case) and nothing else:
// every character with a wildcard meaning gets a back quote in front.
std::string escapeWildcard(std::string_view name);

// True when the text holds a character with a wildcard meaning.
bool hasWildcardCharacters(std::string_view text);

// One element of a compiled alternative; public only so that the matcher's
// parts can share it.
struct Wildcard::Element {
  enum class Kind : std::uint8_t { Literal, Digit, Letter, NonAlnum, AnyOne, AnyRun, Set };
  Kind kind;
  char32_t value;  // the folded character of a Literal, the set index of a Set
};

struct Wildcard::CharSet {
  struct Range {
    char32_t first;
    char32_t last;
  };
  std::vector<Range> ranges;
  bool negated = false;
};

// Common shapes of an alternative are matched without the general matcher:
// literal text alone, or ASCII text with "*" after, before or around it.
struct Wildcard::Alternative {
  enum class Shape : std::uint8_t { Exact, Prefix, Suffix, Contains, General };
  Shape shape = Shape::General;
  bool negated = false;  // "~" at its start
  bool ascii = true;     // `text` holds only ASCII characters
  std::string text;      // its literal characters, folded, as UTF-8
  std::vector<Element> elements;
};

}  // namespace tarn::select

#endif
