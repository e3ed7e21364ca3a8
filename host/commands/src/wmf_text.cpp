// Windows-1252 and UTF-8, and the drawing's "%%" codes, for metafile texts.
#include "wmf_text.h"

#include <array>
#include <cctype>
#include <cstdint>

namespace tarn::commands::wmf {
namespace {

// The characters of bytes 0x80-0x9F (0 where the code page has none).
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char toAnsi(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == c) return char(0x80 + i);
  return '?';
}

// The next code point of UTF-8 text; a malformed byte counts as itself.
char32_t nextCodePoint(std::string_view s, size_t& i) {
  auto b = [&](size_t k) { return uint8_t(s[k]); };
  uint8_t lead = b(i);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + size_t(extra) >= s.size()) return char32_t(b(i++));
  char32_t c = lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if ((b(i + size_t(k)) & 0xC0) != 0x80) return char32_t(b(i++));
    c = c << 6 | (b(i + size_t(k)) & 0x3F);
  }
  i += size_t(extra) + 1;
  return c;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string drawingTextToAnsi(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text.substr(i, 2) == "%%" && i + 2 < text.size()) {
      char code = char(std::tolower(uint8_t(text[i + 2])));
      const char* symbol = code == 'd' ? "\xB0" : code == 'p' ? "\xB1" : code == 'c' ? "\xD8" : code == '%' ? "%" : "";
      if (*symbol || code == 'o' || code == 'u') {
        out += symbol;
        i += 3;
        continue;
      }
    }
    out += toAnsi(nextCodePoint(text, i));
  }
  return out;
}

std::string ansiToDrawingText(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t b = uint8_t(bytes[i]);
    if (b == '%' && i + 1 < bytes.size() && bytes[i + 1] == '%') {
      out += "%%%%%%";  // two percent signs, each written as "%%%"
      ++i;
      continue;
    }
    char32_t c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t(b);
    if (c == 0 || c < 0x20) c = '?';
    appendUtf8(out, c);
  }
  return out;
}

}  // namespace tarn::commands::wmf
