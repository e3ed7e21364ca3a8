// Case folding of key paths and value names by simple letter ranges.
#include "case_fold.h"

#include <array>

#include "utf8.h"

namespace tarn::platform::detail {
namespace {

// A range of lower-case letters and the distance to their capitals; odd
// pairs: lower-case letters are the odd code points of an even/odd pair.
struct FoldRange {
  char32_t first;
  char32_t last;
  char32_t offset;   // subtracted from a lower-case letter
  bool oddPairs;
};

constexpr std::array<FoldRange, 8> kFoldRanges{{
    {U'a', U'z', 0x20, false},
    {0x00E0, 0x00FE, 0x20, false},   // Latin-1 (U+00F7 excluded below)
    {0x0101, 0x0137, 1, true},       // Latin Extended-A, first run of pairs
    {0x014B, 0x0177, 1, true},       // Latin Extended-A, second run
    {0x03B1, 0x03C9, 0x20, false},   // Greek (final sigma handled below)
    {0x0430, 0x044F, 0x20, false},   // Cyrillic
    {0x0450, 0x045F, 0x50, false},   // Cyrillic with marks
    {0x0461, 0x0481, 1, true},       // Cyrillic historic pairs
}};

char32_t FoldCodePoint(char32_t cp) {
  if (cp == 0x00F7) return cp;          // division sign
  if (cp == 0x03C2) return 0x03A3;      // final sigma
  for (const FoldRange& range : kFoldRanges) {
    if (cp < range.first || cp > range.last) continue;
    if (range.oddPairs && (cp % 2) == 0) return cp;
    return cp - range.offset;
  }
  return cp;
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(FoldCodePoint(byte)));
      ++pos;
      continue;
    }
    const size_t start = pos;
    const char32_t cp = DecodeUtf8At(utf8, pos);
    if (cp == kInvalidCodePoint) {
      out.push_back(utf8[start]);
    } else {
      AppendUtf8(out, FoldCodePoint(cp));
    }
  }
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return FoldCase(a) == FoldCase(b);
}

}  // namespace tarn::platform::detail
