// UTF-8 decoding (strict: overlong forms, surrogates and values past U+10FFFF
// are invalid) and encoding.
#include "utf8.h"

namespace tarn::font {
namespace {

struct Lead {
  int length;
  char32_t bits;
  char32_t minimum;  // smallest value this length may encode
};

Lead leadOf(unsigned char b) {
  if (b < 0x80) return {1, b, 0};
  if ((b & 0xE0) == 0xC0) return {2, char32_t(b & 0x1F), 0x80};
  if ((b & 0xF0) == 0xE0) return {3, char32_t(b & 0x0F), 0x800};
  if ((b & 0xF8) == 0xF0) return {4, char32_t(b & 0x07), 0x10000};
  return {0, 0, 0};
}

// Decodes one sequence at bytes[i]; answers its length, 0 when invalid.
int decodeOne(std::string_view bytes, size_t i, char32_t& out) {
  Lead lead = leadOf(static_cast<unsigned char>(bytes[i]));
  if (lead.length == 0 || i + lead.length > bytes.size()) return 0;
  char32_t value = lead.bits;
  for (int k = 1; k < lead.length; ++k) {
    auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < lead.minimum || value > 0x10FFFF || surrogate) return 0;
  out = value;
  return lead.length;
}

}  // namespace

std::u32string decodeUtf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    int n = decodeOne(bytes, i, c);
    out.push_back(n ? c : kReplacementChar);
    i += n ? n : 1;
  }
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementChar;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string encodeUtf8(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t c : chars) appendUtf8(out, c);
  return out;
}

}  // namespace tarn::font
