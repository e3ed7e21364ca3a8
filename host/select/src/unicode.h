// UTF-8 reading and the character classes of wildcard matching: case folding,
// letters and digits. Bytes that are not UTF-8 read as characters of their own
// (0xDC00 plus the byte), which valid UTF-8 never produces.
#ifndef TARN_SELECT_UNICODE_H
#define TARN_SELECT_UNICODE_H

#include <cstddef>
#include <string>
#include <string_view>

namespace tarn::select::unicode {

struct Decoded {
  char32_t ch;
  std::size_t length;  // bytes read, at least 1
};

// The character at byte offset `at` (which must be inside `text`).
Decoded decodeSlow(std::string_view text, std::size_t at);

inline Decoded decode(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return {byte, 1};
  return decodeSlow(text, at);
}

// Appends the character as UTF-8; the stand-ins for stray bytes are written
// back as the byte they stand for.
void append(std::string& out, char32_t ch);

char32_t foldSlow(char32_t ch);

// The lower-case form used to compare characters without regard to case.
// Characters at or above 0x80 fold only to characters at or above 0x80, so an
// ASCII name can only equal an ASCII text of the same length.
inline char32_t fold(char32_t ch) {
  if (ch < 0x80) return (ch >= 'A' && ch <= 'Z') ? ch + 32 : ch;
  return foldSlow(ch);
}

bool isLetterSlow(char32_t ch);

inline bool isDigit(char32_t ch) { return ch >= '0' && ch <= '9'; }

inline bool isLetter(char32_t ch) {
  if (ch < 0x80) return (ch | 0x20) >= 'a' && (ch | 0x20) <= 'z';
  return isLetterSlow(ch);
}

}  // namespace tarn::select::unicode

#endif
