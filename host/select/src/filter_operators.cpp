// Tables of the -4 operator words and the operand counts of the brackets.
#include "filter_operators.h"

#include <array>
#include <cctype>
#include <climits>

namespace tarn::select {
namespace {

struct BracketWord {
  std::string_view text;
  Bracket bracket;
};
constexpr std::array<BracketWord, 8> kBracketWords{{
    {"<AND", {BracketKind::And, true}},  {"AND>", {BracketKind::And, false}},
    {"<OR", {BracketKind::Or, true}},    {"OR>", {BracketKind::Or, false}},
    {"<XOR", {BracketKind::Xor, true}},  {"XOR>", {BracketKind::Xor, false}},
    {"<NOT", {BracketKind::Not, true}},  {"NOT>", {BracketKind::Not, false}},
}};

struct RelationWord {
  std::string_view text;
  Relation relation;
};
constexpr std::array<RelationWord, 11> kRelationWords{{
    {"*", Relation::Any},         {"=", Relation::Equal},        {"!=", Relation::NotEqual},
    {"/=", Relation::NotEqual},   {"<>", Relation::NotEqual},    {"<", Relation::Less},
    {"<=", Relation::LessEqual},  {">", Relation::Greater},      {">=", Relation::GreaterEqual},
    {"&", Relation::BitsAny},     {"&=", Relation::BitsAll},
}};

struct BracketRule {
  const char* name;
  int minimum;
  int maximum;
};
// Indexed by BracketKind.
constexpr std::array<BracketRule, 4> kBracketRules{{
    {"AND", 1, INT_MAX}, {"OR", 1, INT_MAX}, {"XOR", 2, 2}, {"NOT", 1, 1}}};

std::string_view trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::optional<Bracket> findBracket(std::string_view text) {
  text = trim(text);
  for (const auto& word : kBracketWords)
    if (sameWord(word.text, text)) return word.bracket;
  return std::nullopt;
}

std::optional<Relation> findRelation(std::string_view text) {
  text = trim(text);
  for (const auto& word : kRelationWords)
    if (word.text == text) return word.relation;
  return std::nullopt;
}

const char* bracketName(BracketKind kind) { return kBracketRules[static_cast<int>(kind)].name; }
int minimumOperands(BracketKind kind) { return kBracketRules[static_cast<int>(kind)].minimum; }
int maximumOperands(BracketKind kind) { return kBracketRules[static_cast<int>(kind)].maximum; }

}  // namespace tarn::select
