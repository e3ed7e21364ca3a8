// Decoding of single-line text strings into characters and decorations.
#include "font/control_codes.h"

#include "code_scan.h"
#include "utf8.h"

namespace tarn::font {

DecodedText decodeTextString(std::string_view utf8) {
  const std::u32string s = decodeUtf8(utf8);
  DecodedText out;
  uint8_t state = 0;
  for (size_t i = 0; i < s.size();) {
    PercentCode code;
    char32_t ch = s[i];
    if (s[i] == U'%' && scanPercentCode(s, i, code)) {
      if (code.kind == PercentCode::ToggleUnderline) state ^= kUnderline;
      if (code.kind == PercentCode::ToggleOverline) state ^= kOverline;
      if (code.kind != PercentCode::Char) continue;
      ch = code.ch;
    } else if (!(s[i] == U'\\' && scanUnicodeEscape(s, i, ch))) {
      ++i;
    }
    out.chars.push_back(ch);
    out.decorations.push_back(state);
  }
  return out;
}

std::string plainTextString(std::string_view utf8) { return encodeUtf8(decodeTextString(utf8).chars); }

}  // namespace tarn::font
