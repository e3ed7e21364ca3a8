// Text box and alignment point of a single-line text, relative to its first
// alignment point (group 10) in the text's unrotated frame.
#ifndef TARN_FONT_TEXT_BOX_H
#define TARN_FONT_TEXT_BOX_H

#include <string_view>

#include "font/geometry.h"
#include "font/placed_glyph.h"
#include "font/status.h"
#include "font/text_style.h"

namespace tarn::font {

struct TextBox {
  FontStatus status = FontStatus::Ok;
  Point2 lowerLeft;   // relative to group 10, before rotation
  Point2 upperRight;
  Point2 alignment;   // group 11 minus group 10, before rotation
  double advance = 0.0;  // pen advance of the whole string (width factor applied)
};

// The box covers the union of the glyphs' ink (with width factor, oblique,
// underline and overline bars) and the baseline from the insertion point to
// the end of the pen advance; mirrored by the backwards and upside-down flags.
// The box of "" is a point at the insertion point.
TextBox textBox(std::string_view text, const TextStyle& style, Justification just = {});

// For Aligned and Fit texts: the height (Aligned) or width factor (Fit) that
// stretches the text from p10 to p11, and the rotation of that baseline.
struct FittedText {
  FontStatus status = FontStatus::Ok;
  double height = 0.0;
  double widthFactor = 0.0;
  double rotation = 0.0;
};
FittedText fitBetween(std::string_view text, const TextStyle& style, HorizontalJust just,
                      Point2 p10, Point2 p11);

// The glyphs of a single-line text laid out from group 10 (mirroring flags
// applied by the outline functions, not here).
struct TextLineLayout {
  FontStatus status = FontStatus::Ok;
  GlyphLayout layout;
  double advance = 0.0;
};
TextLineLayout layoutTextLine(std::string_view text, const TextStyle& style);

}  // namespace tarn::font

#endif
