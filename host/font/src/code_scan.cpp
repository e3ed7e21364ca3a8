// %% codes and \U+XXXX escapes.
#include "code_scan.h"

namespace tarn::font {
namespace {

struct LetterCode {
  char32_t letter;  // lower case
  PercentCode code;
};

constexpr LetterCode kLetterCodes[] = {
    {U'c', {PercentCode::Char, 0x2205}},  // diameter
    {U'd', {PercentCode::Char, 0x00B0}},  // degree
    {U'p', {PercentCode::Char, 0x00B1}},  // plus/minus
    {U'%', {PercentCode::Char, U'%'}},
    {U'u', {PercentCode::ToggleUnderline, 0}},
    {U'o', {PercentCode::ToggleOverline, 0}},
};

char32_t lower(char32_t c) { return (c >= U'A' && c <= U'Z') ? c + 32 : c; }
bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

int hexValue(char32_t c) {
  if (isDigit(c)) return int(c - U'0');
  c = lower(c);
  if (c >= U'a' && c <= U'f') return int(c - U'a') + 10;
  return -1;
}

}  // namespace

bool scanPercentCode(const std::u32string& s, size_t& i, PercentCode& out) {
  if (i + 2 >= s.size() || s[i] != U'%' || s[i + 1] != U'%') return false;
  char32_t third = s[i + 2];
  for (const LetterCode& code : kLetterCodes) {
    if (lower(third) == code.letter) {
      out = code.code;
      i += 3;
      return true;
    }
  }
  if (i + 4 < s.size() && isDigit(third) && isDigit(s[i + 3]) && isDigit(s[i + 4])) {
    out = {PercentCode::Char, (third - U'0') * 100 + (s[i + 3] - U'0') * 10 + (s[i + 4] - U'0')};
    i += 5;
    return true;
  }
  return false;
}

bool scanUnicodeEscape(const std::u32string& s, size_t& i, char32_t& out) {
  if (i + 7 > s.size()) return false;
  if (s[i] != U'\\' || lower(s[i + 1]) != U'u' || s[i + 2] != U'+') return false;
  char32_t value = 0;
  for (size_t k = 3; k < 7; ++k) {
    int h = hexValue(s[i + k]);
    if (h < 0) return false;
    value = value * 16 + char32_t(h);
  }
  if (value >= 0xD800 && value <= 0xDFFF) value = 0xFFFD;
  out = value;
  i += 7;
  return true;
}

}  // namespace tarn::font
