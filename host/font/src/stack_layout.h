// Layout of stacked text (fractions a/b, diagonal fractions a#b, tolerances a^b).
#ifndef TARN_FONT_SRC_STACK_LAYOUT_H
#define TARN_FONT_SRC_STACK_LAYOUT_H

#include <string>

#include "font/placed_glyph.h"
#include "line_builder.h"

namespace tarn::font {

// Stacked parts are drawn at this fraction of the run height.
inline constexpr double kStackScale = 0.7;

struct StackPiece {
  GlyphLayout layout;  // from a pen at 0 on the baseline
  double advance = 0.0;
};

StackPiece layoutStack(const std::u32string& top, const std::u32string& bottom, char32_t type,
                       const CharFormat& format);

}  // namespace tarn::font

#endif
