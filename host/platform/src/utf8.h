// UTF-8 decoding and encoding of single code points, for the code-page
// converters and the case folding of key names.
#ifndef TARN_PLATFORM_SRC_UTF8_H
#define TARN_PLATFORM_SRC_UTF8_H

#include <string>
#include <string_view>

namespace tarn::platform::detail {

inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;
inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at pos and advances pos past it. An invalid or
// truncated sequence (overlong forms and surrogates included) answers
// kInvalidCodePoint and advances pos by one byte.
char32_t DecodeUtf8At(std::string_view text, size_t& pos);

void AppendUtf8(std::string& out, char32_t cp);

bool IsValidUtf8(std::string_view text);

// The string with every invalid sequence replaced by U+FFFD; the count of
// replacements goes to *replaced.
std::string SanitizeUtf8(std::string_view text, size_t* replaced);

// Whether every byte is below 0x80 (checked eight bytes at a time).
bool IsAscii(std::string_view bytes);

}  // namespace tarn::platform::detail

#endif
