// UTF-8 decoding and encoding of single code points.
#include "utf8.h"

#include <cstdint>
#include <cstring>

namespace tarn::platform::detail {
namespace {

struct LeadInfo {
  int length;
  char32_t minimum;   // smallest code point the length may carry
  uint8_t payloadMask;
};

LeadInfo InfoOfLead(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0x7F};
  if ((lead & 0xE0) == 0xC0) return {2, 0x80, 0x1F};
  if ((lead & 0xF0) == 0xE0) return {3, 0x800, 0x0F};
  if ((lead & 0xF8) == 0xF0) return {4, 0x10000, 0x07};
  return {0, 0, 0};
}

}  // namespace

char32_t DecodeUtf8At(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const LeadInfo info = InfoOfLead(lead);
  if (info.length == 0 || pos + static_cast<size_t>(info.length) > text.size()) {
    ++pos;
    return kInvalidCodePoint;
  }
  char32_t cp = lead & info.payloadMask;
  for (int i = 1; i < info.length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kInvalidCodePoint;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < info.minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kInvalidCodePoint;
  }
  pos += static_cast<size_t>(info.length);
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (DecodeUtf8At(text, pos) == kInvalidCodePoint) return false;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text, size_t* replaced) {
  std::string out;
  out.reserve(text.size());
  size_t count = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const char32_t cp = DecodeUtf8At(text, pos);
    if (cp == kInvalidCodePoint) {
      AppendUtf8(out, kReplacementChar);
      ++count;
    } else {
      out.append(text.substr(start, pos - start));
    }
  }
  if (replaced != nullptr) *replaced = count;
  return out;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  size_t n = bytes.size();
  constexpr uint64_t kHighBits = 0x8080808080808080ULL;
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if ((word & kHighBits) != 0) return false;
    p += 8;
    n -= 8;
  }
  for (size_t i = 0; i < n; ++i) {
    if ((static_cast<unsigned char>(p[i]) & 0x80) != 0) return false;
  }
  return true;
}

}  // namespace tarn::platform::detail
