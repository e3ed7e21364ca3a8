// Scanning of the character codes shared by single-line and paragraph text:
// %% control codes and \U+XXXX escapes, on decoded code points.
#ifndef TARN_FONT_SRC_CODE_SCAN_H
#define TARN_FONT_SRC_CODE_SCAN_H

#include <string>

namespace tarn::font {

struct PercentCode {
  enum Kind { Char, ToggleUnderline, ToggleOverline } kind = Char;
  char32_t ch = 0;
};

// At s[i] == '%': reads a %% code, advances i past it and answers true; false
// (i unchanged) when s[i..] is not a known code.
bool scanPercentCode(const std::u32string& s, size_t& i, PercentCode& out);

// At s[i] == '\\': reads \U+XXXX (four hex digits, either case of U), advances
// i and answers true; false (i unchanged) otherwise.
bool scanUnicodeEscape(const std::u32string& s, size_t& i, char32_t& out);

}  // namespace tarn::font

#endif
