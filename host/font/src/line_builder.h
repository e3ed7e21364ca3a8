// Placing characters one after another on a baseline: pen advance, glyphs,
// and the decoration bars under, over and through them.
#ifndef TARN_FONT_SRC_LINE_BUILDER_H
#define TARN_FONT_SRC_LINE_BUILDER_H

#include <cstdint>

#include "font/face.h"
#include "font/placed_glyph.h"

namespace tarn::font {

struct CharFormat {
  const Face* face = nullptr;
  double height = 1.0;
  double widthFactor = 1.0;
  double oblique = 0.0;
  double tracking = 1.0;
  uint8_t decorations = 0;  // Decoration mask
  double baselineShift = 0.0;
};

// Decoration bars, relative to the baseline, in text heights.
inline constexpr double kUnderlineY = -0.2;
inline constexpr double kOverlineY = 1.2;
inline constexpr double kStrikeY = 0.5;
inline constexpr double kBarThickness = 0.06;

// Pen advance of c in a format (0 for invisible characters).
double charAdvance(char32_t c, const CharFormat& f);
// Characters that take room but leave no ink.
bool isBlank(char32_t c);
// Characters that neither take room nor leave ink (control characters).
bool isInvisible(char32_t c);

class LineBuilder {
 public:
  explicit LineBuilder(double startX = 0.0) : pen_(startX) {}
  // Places c at the pen and advances it.
  void addChar(char32_t c, const CharFormat& f);
  // Places a laid-out piece (a stack) at the pen, decorates it and advances.
  void addPiece(const GlyphLayout& piece, double advance, const CharFormat& f);
  // A bar from x0 to x1 centred on y (merged with the previous bar when they touch).
  void addBar(double x0, double x1, double y, double thickness);
  double pen() const { return pen_; }
  GlyphLayout& layout() { return layout_; }

 private:
  void decorate(double x0, double x1, const CharFormat& f);
  double pen_;
  GlyphLayout layout_;
};

}  // namespace tarn::font

#endif
