// Code-page and \U+XXXX decoding of DXF texts.
#include "text_codec.h"

#include "platform/code_page.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tarn::db::detail {

void TextCodec::setCodepage(std::string_view name) {
  codePage_ = 0;
  if (name.empty()) return;
  // An unknown name falls back to the usual code page of such files.
  int cp = platform::CodePageFromName(name).codePage;
  if (cp != platform::kCodePageUtf8) codePage_ = cp;
}

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

static int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Replaces each "\U+XXXX" by its character; anything else stays.
static void decodeEscapes(std::string_view in, std::string& out) {
  out.clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\\' && i + 2 < in.size() && (in[i + 1] == 'U' || in[i + 1] == 'u') && in[i + 2] == '+') {
      uint32_t cp = 0;
      bool ok = i + 7 <= in.size();
      for (size_t k = 0; ok && k < 4; ++k) {
        int d = hexDigit(in[i + 3 + k]);
        if (d < 0) ok = false;
        else cp = cp * 16 + uint32_t(d);
      }
      if (ok) {
        appendUtf8(out, cp);
        i += 6;
        continue;
      }
    }
    out += in[i];
  }
}

static bool hasHighBytes(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return true;
  return false;
}

std::string_view TextCodec::decode(std::string_view raw) {
  std::string_view text = raw;
  if (codePage_ && hasHighBytes(raw)) {
    converted_ = platform::DecodeToUtf8(raw, codePage_).text;
    text = converted_;
  }
  if (std::memchr(text.data(), '\\', text.size()) == nullptr) return text;
  if (text.find("\\U+") == std::string_view::npos && text.find("\\u+") == std::string_view::npos) return text;
  decodeEscapes(text, scratch_);
  return scratch_;
}

}  // namespace tarn::db::detail
