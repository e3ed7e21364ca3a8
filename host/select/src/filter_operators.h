// The operator words of group -4: brackets and relational tests.
#ifndef TARN_SELECT_FILTER_OPERATORS_H
#define TARN_SELECT_FILTER_OPERATORS_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarn::select {

enum class Relation : std::uint8_t { Any, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, BitsAny, BitsAll };

enum class BracketKind : std::uint8_t { And, Or, Xor, Not };

struct Bracket {
  BracketKind kind;
  bool opening;
};

// Operator words are compared without regard to case and surrounding spaces.
std::optional<Bracket> findBracket(std::string_view text);
std::optional<Relation> findRelation(std::string_view text);

const char* bracketName(BracketKind kind);

// The operand counts a bracket accepts.
int minimumOperands(BracketKind kind);
int maximumOperands(BracketKind kind);

}  // namespace tarn::select

#endif
