// Pen advance and decoration bars of a line of characters.
#include "line_builder.h"


#include "font/control_codes.h"

namespace tarn::font {

bool isBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0x00A0 || c == 0x3000; }

bool isInvisible(char32_t c) { return (c < 0x20 && c != U'\t') || c == 0x7F; }

double charAdvance(char32_t c, const CharFormat& f) {
  if (isInvisible(c) || !f.face) return 0.0;
  const char32_t shown = c == U'\t' ? U' ' : c;
  return f.face->metrics(shown).advance * f.height * f.widthFactor * f.tracking;
}

void LineBuilder::addChar(char32_t c, const CharFormat& f) {
  if (isInvisible(c) || !f.face) return;
  const char32_t shown = c == U'\t' ? U' ' : c;
  const double advance = charAdvance(c, f);
  if (!isBlank(c)) {
    layout_.glyphs.push_back({f.face, shown, {pen_, f.baselineShift}, f.height, f.widthFactor, f.oblique});
  }
  decorate(pen_, pen_ + advance, f);
  pen_ += advance;
}

void LineBuilder::addPiece(const GlyphLayout& piece, double advance, const CharFormat& f) {
  layout_.append(piece, {pen_, f.baselineShift});
  decorate(pen_, pen_ + advance, f);
  pen_ += advance;
}

void LineBuilder::decorate(double x0, double x1, const CharFormat& f) {
  struct Line {
    uint8_t bit;
    double y;
  };
  static constexpr Line kLines[] = {{kUnderline, kUnderlineY}, {kOverline, kOverlineY}, {kStrike, kStrikeY}};
  for (const Line& line : kLines) {
    if (f.decorations & line.bit) addBar(x0, x1, f.baselineShift + line.y * f.height, kBarThickness * f.height);
  }
}

void LineBuilder::addBar(double x0, double x1, double y, double thickness) {
  if (x1 <= x0) return;
  const Bar bar{x0, x1, y - thickness / 2, y + thickness / 2};
  for (auto it = layout_.bars.rbegin(); it != layout_.bars.rend() && it - layout_.bars.rbegin() < 3; ++it) {
    // Bars placed one glyph after another meet exactly: the pen is shared.
    if (it->x1 == bar.x0 && it->y0 == bar.y0 && it->y1 == bar.y1) {
      it->x1 = bar.x1;
      return;
    }
  }
  layout_.bars.push_back(bar);
}

}  // namespace tarn::font
