// Flattening of glyph contours (lines, quadratic and cubic Bezier segments)
// into closed polylines within a chord tolerance.
#ifndef TARN_FONT_SRC_BEZIER_FLATTEN_H
#define TARN_FONT_SRC_BEZIER_FLATTEN_H

#include <vector>

#include "font/face.h"
#include "font/geometry.h"

namespace tarn::font {

// Contours of a path in the path's own units; `tolerance` in the same units.
std::vector<Polyline> flattenPath(const std::vector<PathSegment>& path, double tolerance);

}  // namespace tarn::font

#endif
