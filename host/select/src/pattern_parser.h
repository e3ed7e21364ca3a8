// Reads a wildcard pattern into its alternatives (internal to the matcher).
#ifndef TARN_SELECT_PATTERN_PARSER_H
#define TARN_SELECT_PATTERN_PARSER_H

#include <optional>
#include <string_view>
#include <vector>

#include "select/wildcard.h"

namespace tarn::select {

class PatternParser {
 public:
  PatternParser(std::string_view pattern, std::vector<Wildcard::CharSet>& sets) : pattern_(pattern), sets_(sets) {}

  // All alternatives of the pattern, at least one.
  std::vector<Wildcard::Alternative> parse();

 private:
  using Element = Wildcard::Element;

  bool atEnd() const { return at_ >= pattern_.size(); }
  char32_t peek() const;
  char32_t next();
  // Reads one alternative; true when a comma ended it (another follows).
  bool parseAlternative(Wildcard::Alternative& alt);
  void parseElement(char32_t ch, Wildcard::Alternative& alt);
  // After "[": the set's elements up to "]". Empty (and the position
  // restored) when the bracket is never closed.
  std::optional<Wildcard::CharSet> parseSet();
  char32_t setMember();

  std::string_view pattern_;
  std::vector<Wildcard::CharSet>& sets_;
  std::size_t at_ = 0;
};

}  // namespace tarn::select

#endif
