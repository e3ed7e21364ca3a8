// The measuring parameters of a single-line text (TEXT, ATTDEF, ATTRIB) and
// its justification codes as stored in the drawing.
#ifndef TARN_FONT_TEXT_STYLE_H
#define TARN_FONT_TEXT_STYLE_H

#include <string>

namespace tarn::font {

struct TextStyle {
  std::string font;          // the style's font file or family ("" = default)
  bool bold = false;
  bool italic = false;
  double height = 1.0;       // group 40: cap height
  double widthFactor = 1.0;  // group 41
  double oblique = 0.0;      // group 51, in radians
  int generation = 0;        // group 71: 2 backwards, 4 upside down
};

// Group 72.
enum class HorizontalJust { Left = 0, Center = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
// Group 73; used only with Left, Center and Right.
enum class VerticalJust { Baseline = 0, Bottom = 1, Middle = 2, Top = 3 };

struct Justification {
  HorizontalJust horizontal = HorizontalJust::Left;
  VerticalJust vertical = VerticalJust::Baseline;
};

// Codes outside the ranges read as Left and Baseline.
Justification justificationFromCodes(int group72, int group73);

inline constexpr int kTextBackwards = 2;
inline constexpr int kTextUpsideDown = 4;

}  // namespace tarn::font

#endif
