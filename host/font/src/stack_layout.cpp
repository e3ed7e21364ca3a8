// Stacks: a/b puts a over a bar over b, both centred; a^b puts a over b
// without a bar, aligned left (tolerances); a#b sets a raised, a slash, and
// b on the baseline. Parts are 0.7 of the run height; the stacked pair spans
// from 0.3 below the baseline to 1.3 above it.
#include "stack_layout.h"

#include <algorithm>

namespace tarn::font {
namespace {

constexpr double kTopBaseline = 0.6;      // of the run height
constexpr double kBottomBaseline = -0.3;
constexpr double kDiagonalRaise = 0.3;

double partWidth(const std::u32string& part, const CharFormat& f) {
  double w = 0.0;
  for (char32_t c : part) w += charAdvance(c, f);
  return w;
}

void placePart(GlyphLayout& out, const std::u32string& part, CharFormat f, double x, double baseline) {
  f.baselineShift = baseline;
  LineBuilder line(x);
  for (char32_t c : part) line.addChar(c, f);
  out.append(line.layout(), {0.0, 0.0});
}

}  // namespace

StackPiece layoutStack(const std::u32string& top, const std::u32string& bottom, char32_t type,
                       const CharFormat& format) {
  CharFormat part = format;
  part.height = format.height * kStackScale;
  part.decorations = 0;
  const double h = format.height;
  const double wTop = partWidth(top, part), wBottom = partWidth(bottom, part);
  StackPiece out;
  if (type == U'#') {
    placePart(out.layout, top, part, 0.0, kDiagonalRaise * h);
    CharFormat slash = format;
    slash.decorations = 0;
    placePart(out.layout, U"/", slash, wTop, 0.0);
    const double wSlash = charAdvance(U'/', slash);
    placePart(out.layout, bottom, part, wTop + wSlash, 0.0);
    out.advance = wTop + wSlash + wBottom;
    return out;
  }
  out.advance = std::max(wTop, wBottom);
  const bool centred = type == U'/';
  placePart(out.layout, top, part, centred ? (out.advance - wTop) / 2 : 0.0, kTopBaseline * h);
  placePart(out.layout, bottom, part, centred ? (out.advance - wBottom) / 2 : 0.0, kBottomBaseline * h);
  if (centred) {
    LineBuilder bar;
    bar.addBar(0.0, out.advance, 0.5 * h, kBarThickness * h);
    out.layout.append(bar.layout(), {0.0, 0.0});
  }
  return out;
}

}  // namespace tarn::font
