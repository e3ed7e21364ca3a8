// The curve of a drawing entity (LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE,
// POLYLINE with its vertices, SPLINE, XLINE, RAY) in world coordinates, and
// the reverse: the groups that describe a curve, for writing it back.
#pragma once

#include <cstdint>
#include <string>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/curve.h"

namespace tarn::entgeom {

using geom::CurvePtr;

// Null when the object is no curve entity or its data make no valid curve.
CurvePtr curveOf(const db::Database& db, uint32_t id);
// The same with the reason when there is no curve.
EntStatus curveOf(const db::Database& db, uint32_t id, CurvePtr& out);

// The entity type and geometry groups that describe a curve: lines as LINE,
// rays and construction lines as RAY and XLINE, circles and arcs as CIRCLE and
// ARC (in the object coordinate system of their normal, angles in degrees),
// ellipses as ELLIPSE, 2D polylines as LWPOLYLINE (vertices, bulges, closed
// flag 70, elevation 38), 3D polylines as POLYLINE flag 8 (its vertices are
// separate objects: `vertexGroups`), splines as SPLINE. No subclass markers:
// the caller merges the groups into an entity list.
struct CurveGroups {
  std::string type;
  db::TagList groups;
};
EntStatus curveGroups(const geom::Curve& curve, CurveGroups& out);
// One VERTEX group list per point of a 3D polyline (flag 32).
std::vector<db::TagList> vertexGroups(const geom::Curve& polyline3d);

// VERTEX (and other sub-entities) that follow an entity up to its SEQEND.
std::vector<uint32_t> subEntitiesOf(const db::Database& db, uint32_t id);

}  // namespace tarn::entgeom
