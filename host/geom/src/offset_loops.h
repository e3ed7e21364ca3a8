// Internal: removal of the loops a raw polyline offset forms where it folds
// over itself (concave parts narrower than twice the distance).
#pragma once

#include <vector>

#include "geom/polyline.h"

namespace tarn::geom::detail {

struct OffsetChain {
  std::vector<PolyVertex> vertices;  // OCS, with bulges
  bool closed = false;
};

// Splits the raw offset (vertices in the source's OCS) where it crosses
// itself, drops the pieces that come nearer to the source than `distance`
// (> 0) less a tolerance, and joins the rest end to end. Empty when nothing
// is left. A raw offset that neither crosses itself nor comes too near comes
// back unchanged.
std::vector<OffsetChain> removeOffsetLoops(const std::vector<PolyVertex>& raw, bool closed,
                                           const Polyline2d& source, double distance);

}  // namespace tarn::geom::detail
