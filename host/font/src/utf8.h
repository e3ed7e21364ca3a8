// UTF-8 to code points and back, replacing invalid bytes with U+FFFD.
#ifndef TARN_FONT_SRC_UTF8_H
#define TARN_FONT_SRC_UTF8_H

#include <string>
#include <string_view>

namespace tarn::font {

inline constexpr char32_t kReplacementChar = 0xFFFD;

std::u32string decodeUtf8(std::string_view bytes);
void appendUtf8(std::string& out, char32_t c);
std::string encodeUtf8(std::u32string_view chars);

}  // namespace tarn::font

#endif
