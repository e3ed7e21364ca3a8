// Laid-out text: glyphs with their pen position, size and slant, and the
// straight bars (underline, overline, strike-through, fraction bars) drawn
// with them, in the text's own unrotated frame.
#ifndef TARN_FONT_PLACED_GLYPH_H
#define TARN_FONT_PLACED_GLYPH_H

#include <vector>

#include "font/face.h"
#include "font/geometry.h"

namespace tarn::font {

struct PlacedGlyph {
  const Face* face = nullptr;
  char32_t ch = 0;
  Point2 origin;              // pen position on the baseline
  double height = 1.0;        // cap height
  double widthFactor = 1.0;
  double oblique = 0.0;       // radians, slant to the right for positive angles

  // A point of the glyph in cap units mapped into the text frame.
  Point2 map(Point2 glyphPoint) const;
  // The glyph's ink box in the text frame (empty for blanks).
  Box2 inkBox() const;
};

// A filled horizontal bar from x0 to x1 and y0 to y1.
struct Bar {
  double x0 = 0.0, x1 = 0.0, y0 = 0.0, y1 = 0.0;
};

struct GlyphLayout {
  std::vector<PlacedGlyph> glyphs;
  std::vector<Bar> bars;

  // Union of the glyphs' ink and the bars.
  Box2 inkBox() const;
  void append(const GlyphLayout& other, Point2 shift);
  void translate(Point2 shift);
};

}  // namespace tarn::font

#endif
