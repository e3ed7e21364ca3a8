// Layout of paragraph text: word wrap, line spacing, attachment and rotation,
// giving the paragraph's four bounding points and its actual size.
#ifndef TARN_FONT_MTEXT_LAYOUT_H
#define TARN_FONT_MTEXT_LAYOUT_H

#include <array>
#include <string_view>

#include "font/geometry.h"
#include "font/mtext_parser.h"
#include "font/placed_glyph.h"
#include "font/status.h"

namespace tarn::font {

enum class LineSpacingStyle { AtLeast = 1, Exactly = 2 };

struct MTextParams {
  RunFormat base;                 // style font, group 40 height, style width factor
  double referenceWidth = 0.0;    // group 41; 0 = no wrap
  double lineSpacingFactor = 1.0; // group 44, kept within [0.25, 4]
  LineSpacingStyle lineSpacingStyle = LineSpacingStyle::AtLeast;  // group 73
  int attachment = 1;             // group 71: 1 top-left ... 9 bottom-right
  double rotation = 0.0;          // group 50 (radians); see rotationFromDirection
  Point2 insertion;               // group 10 in the text's plane
};

// The rotation given by an x direction vector (group 11) in the text's plane.
double rotationFromDirection(Point2 xDirection);

struct MTextLayout {
  FontStatus status = FontStatus::Ok;
  // Bounding points in the text's plane, counter-clockwise from the
  // lower-left: lower-left, lower-right, upper-right, upper-left.
  std::array<Point2, 4> corners{};
  double width = 0.0;   // group 42
  double height = 0.0;  // group 43
  int lineCount = 0;
  // Glyphs and bars relative to the insertion point, before rotation.
  GlyphLayout layout;
};

MTextLayout layoutMText(std::string_view contents, const MTextParams& params);

}  // namespace tarn::font

#endif
