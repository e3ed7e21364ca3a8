// UTF-8 decoding and the tables of case folding and letters (the common
// alphabetic scripts; characters outside them count as neither letter nor digit).
#include "unicode.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tarn::select::unicode {
namespace {

constexpr char32_t kStrayByteBase = 0xDC00;

Decoded stray(std::string_view text, std::size_t at) {
  return {kStrayByteBase + static_cast<unsigned char>(text[at]), 1};
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Leading byte ranges: how many continuation bytes follow, and the smallest
// character that may be written with that many (shorter forms are refused).
struct Lead {
  unsigned char mask;
  unsigned char value;
  std::size_t length;
  char32_t minimum;
};
constexpr std::array<Lead, 3> kLeads{{{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}}};

// Folding ranges: every character of [first, last] (step 1) or every second
// one starting at `first` (step 2, upper/lower pairs) moves by `delta`.
struct FoldRange {
  char32_t first;
  char32_t last;
  std::int32_t delta;
  std::uint8_t step;
};
constexpr std::array<FoldRange, 32> kFoldRanges{{
    {0x00C0, 0x00D6, 32, 1},  {0x00D8, 0x00DE, 32, 1},  {0x0100, 0x012F, 1, 2},   {0x0132, 0x0137, 1, 2},
    {0x0139, 0x0148, 1, 2},   {0x014A, 0x0177, 1, 2},   {0x0178, 0x0178, -121, 1}, {0x0179, 0x017E, 1, 2},
    {0x01CD, 0x01DC, 1, 2},   {0x01DE, 0x01EF, 1, 2},   {0x01F8, 0x021F, 1, 2},   {0x0222, 0x0233, 1, 2},
    {0x0386, 0x0386, 38, 1},  {0x0388, 0x038A, 37, 1},  {0x038C, 0x038C, 64, 1},  {0x038E, 0x038F, 63, 1},
    {0x0391, 0x03A1, 32, 1},  {0x03A3, 0x03AB, 32, 1},  {0x03C2, 0x03C2, 1, 1},   {0x03D8, 0x03EF, 1, 2},
    {0x0400, 0x040F, 80, 1},  {0x0410, 0x042F, 32, 1},  {0x0460, 0x0481, 1, 2},   {0x048A, 0x04BF, 1, 2},
    {0x04C1, 0x04CE, 1, 2},   {0x04D0, 0x052F, 1, 2},   {0x0531, 0x0556, 48, 1},  {0x1E00, 0x1E95, 1, 2},
    {0x1EA0, 0x1EFF, 1, 2},   {0x2160, 0x216F, 16, 1},  {0x24B6, 0x24CF, 26, 1},  {0xFF21, 0xFF3A, 32, 1},
}};

constexpr bool foldStaysAboveAscii() {
  for (const auto& r : kFoldRanges)
    if (static_cast<std::int64_t>(r.first) + r.delta < 0x80) return false;
  return true;
}
static_assert(foldStaysAboveAscii(), "a non-ASCII character must not fold into ASCII");

struct Span {
  char32_t first;
  char32_t last;
};
constexpr std::array<Span, 37> kLetterSpans{{
    {0x00AA, 0x00AA},   {0x00B5, 0x00B5},   {0x00BA, 0x00BA},   {0x00C0, 0x00D6},   {0x00D8, 0x00F6},
    {0x00F8, 0x02AF},   {0x0370, 0x0373},   {0x0376, 0x0377},   {0x037B, 0x037D},   {0x0386, 0x0386},
    {0x0388, 0x03F5},   {0x03F7, 0x0481},   {0x048A, 0x052F},   {0x0531, 0x0556},   {0x0561, 0x0587},
    {0x05D0, 0x05EA},   {0x0620, 0x064A},   {0x0671, 0x06D3},   {0x0904, 0x0939},   {0x0E01, 0x0E30},
    {0x10A0, 0x10FF},   {0x1100, 0x11FF},   {0x1E00, 0x1FBC},   {0x2C00, 0x2C5F},   {0x3041, 0x3096},
    {0x30A1, 0x30FA},   {0x3105, 0x312F},   {0x3131, 0x318E},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFF21, 0xFF3A},   {0xFF41, 0xFF5A},   {0xFF66, 0xFFDC},
    {0x20000, 0x2A6DF}, {0x2A700, 0x2FA1F},
}};

template <typename Table>
auto findRange(const Table& table, char32_t ch) {
  auto it = std::upper_bound(table.begin(), table.end(), ch,
                             [](char32_t c, const auto& entry) { return c < entry.first; });
  if (it == table.begin()) return table.end();
  --it;
  return ch <= it->last ? it : table.end();
}

}  // namespace

Decoded decodeSlow(std::string_view text, std::size_t at) {
  const auto first = static_cast<unsigned char>(text[at]);
  for (const Lead& lead : kLeads) {
    if ((first & lead.mask) != lead.value) continue;
    if (at + lead.length > text.size()) return stray(text, at);
    char32_t ch = first & static_cast<unsigned char>(~lead.mask);
    for (std::size_t i = 1; i < lead.length; ++i) {
      const auto byte = static_cast<unsigned char>(text[at + i]);
      if (!isContinuation(byte)) return stray(text, at);
      ch = (ch << 6) | (byte & 0x3F);
    }
    const bool surrogate = ch >= 0xD800 && ch <= 0xDFFF;
    if (ch < lead.minimum || surrogate || ch > 0x10FFFF) return stray(text, at);
    return {ch, lead.length};
  }
  return stray(text, at);
}

void append(std::string& out, char32_t ch) {
  if (ch >= kStrayByteBase + 0x80 && ch <= kStrayByteBase + 0xFF) {
    out += static_cast<char>(ch - kStrayByteBase);
  } else if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

char32_t foldSlow(char32_t ch) {
  const auto it = findRange(kFoldRanges, ch);
  if (it == kFoldRanges.end()) return ch;
  if (it->step == 2 && (ch - it->first) % 2 != 0) return ch;
  return static_cast<char32_t>(static_cast<std::int64_t>(ch) + it->delta);
}

bool isLetterSlow(char32_t ch) { return findRange(kLetterSpans, ch) != kLetterSpans.end(); }

}  // namespace tarn::select::unicode
