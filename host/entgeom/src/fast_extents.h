// Boxes of the most common simple entities straight from their groups,
// without building curves on the heap (a drawing holds millions of them).
#pragma once

#include "entgeom/status.h"
#include "geom/bounding_box.h"
#include "geom/matrix4.h"
#include "groups.h"

namespace tarn::entgeom {

// True when the type has a fast path (LINE, POINT, CIRCLE, ARC,
// LWPOLYLINE); `status` then holds the outcome and the box is extended.
bool fastBox(std::string_view type, const Groups& g, const geom::Matrix4& m, bool identity,
             geom::BoundingBox& box, EntStatus& status);

}  // namespace tarn::entgeom
