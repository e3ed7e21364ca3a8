// Boxes of the most common simple entities straight from their groups,
// without building curves on the heap (a drawing holds millions of them).
#pragma once

#include "entgeom/status.h"
#include "geom/bounding_box.h"
#include "geom/matrix4.h"
#include "groups.h"

namespace tarn::entgeom {

// The types measured without building shapes, and the two that are block
// references, told apart by the database's type number (no name lookups).
enum class FastKind : uint8_t { None, Line, Point, Circle, Arc, LwPolyline, Text, Insert, Dimension };
FastKind fastKindOf(uint16_t typeId);

// Extends the box by a LINE, POINT, CIRCLE, ARC or LWPOLYLINE.
EntStatus fastBox(FastKind kind, const Groups& g, const geom::Matrix4& m, bool identity, geom::BoundingBox& box);

}  // namespace tarn::entgeom

namespace tarn::entgeom {
// Extends the box by the frame of a TEXT, ATTRIB, ATTDEF or MTEXT read from
// its groups (no shape is built).
EntStatus textBox(const db::Database& db, std::string_view type, const Groups& g, const geom::Matrix4& m,
                  geom::BoundingBox& box);
}  // namespace tarn::entgeom
