// Internal: offset of a 2D polyline in its own OCS plane.
#pragma once

#include "geom/offset.h"
#include "geom/polyline.h"

namespace tarn::geom::detail {

// Offset by a signed distance (positive to the left about the normal).
OffsetResult offsetPolyline(const Polyline2d& pl, double signedDistance, GapType gap);

}  // namespace tarn::geom::detail
