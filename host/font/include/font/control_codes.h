// Decoding of single-line text strings: %% control codes and \U+XXXX escapes
// into characters with their underline and overline state.
#ifndef TARN_FONT_CONTROL_CODES_H
#define TARN_FONT_CONTROL_CODES_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::font {

enum Decoration : uint8_t {
  kUnderline = 1,
  kOverline = 2,
  kStrike = 4,
};

struct DecodedText {
  std::u32string chars;
  std::vector<uint8_t> decorations;  // one Decoration mask per character
};

// %%c diameter (U+2205), %%d degree, %%p plus/minus, %%% percent, %%nnn the
// character of decimal code nnn, %%u and %%o toggle underline and overline
// for the characters after them; an unknown %%x stays as written. Codes are
// case-insensitive. Invalid UTF-8 bytes become U+FFFD.
DecodedText decodeTextString(std::string_view utf8);

// The same decoding without decorations, back to UTF-8 (text conversions).
std::string plainTextString(std::string_view utf8);

}  // namespace tarn::font

#endif
