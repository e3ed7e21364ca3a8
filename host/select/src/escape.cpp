// Escaping names so that they can stand in a pattern as themselves.
#include <string>
#include <string_view>

#include "select/wildcard.h"

namespace tarn::select {
namespace {

constexpr std::string_view kWildcardCharacters = "#@.*?~[]`,";

bool isWildcardCharacter(char ch) { return kWildcardCharacters.find(ch) != std::string_view::npos; }

}  // namespace

std::string escapeWildcard(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 4);
  for (const char ch : name) {
    if (isWildcardCharacter(ch)) out += '`';
    out += ch;
  }
  return out;
}

bool hasWildcardCharacters(std::string_view text) {
  for (const char ch : text)
    if (isWildcardCharacter(ch)) return true;
  return false;
}

}  // namespace tarn::select
