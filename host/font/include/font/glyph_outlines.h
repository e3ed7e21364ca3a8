// Glyph outlines of texts as closed polylines in the text's plane, for
// turning texts into plain geometry.
#ifndef TARN_FONT_GLYPH_OUTLINES_H
#define TARN_FONT_GLYPH_OUTLINES_H

#include <string_view>
#include <vector>

#include "font/geometry.h"
#include "font/mtext_layout.h"
#include "font/placed_glyph.h"
#include "font/status.h"
#include "font/text_style.h"

namespace tarn::font {

// Curves are flattened so that no chord strays from its curve by more than
// this fraction of the text height.
inline constexpr double kDefaultChordTolerance = 0.005;

struct OutlineResult {
  FontStatus status = FontStatus::Ok;
  std::vector<Polyline> contours;
};

// Where a laid-out text goes: the local origin lands on `origin`, the frame
// is mirrored (backwards: x, upside down: y) and then turned by `rotation`.
struct TextPlacement {
  Point2 origin;
  double rotation = 0.0;
  bool mirrorX = false;
  bool mirrorY = false;
  Point2 apply(Point2 local) const;
};

// Contours of laid-out glyphs and bars; chordTolerance is in drawing units.
std::vector<Polyline> layoutOutlines(const GlyphLayout& layout, const TextPlacement& placement,
                                     double chordTolerance);

// A single-line text placed at group 10 (`insertion`) with its rotation; the
// generation flags of the style mirror it.
OutlineResult textOutlines(std::string_view text, const TextStyle& style, Point2 insertion,
                           double rotation, double relativeTolerance = kDefaultChordTolerance);

// A paragraph text placed by its parameters.
OutlineResult mtextOutlines(std::string_view contents, const MTextParams& params,
                            double relativeTolerance = kDefaultChordTolerance);

}  // namespace tarn::font

#endif
