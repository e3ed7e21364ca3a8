// Shape: what an entity that is not a block reference looks like, as curves,
// outlines (closed polygons, filled or not) and lone points, all in world
// coordinates. Extents and hit testing both work on it.
#pragma once

#include <vector>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/curve.h"
#include "geom/matrix4.h"

namespace tarn::entgeom {

struct Outline {
  std::vector<geom::Vec3> points;  // closed: the last joins the first
  bool filled = false;             // a pick inside counts as a hit
};

struct Shape {
  std::vector<geom::CurvePtr> curves;
  std::vector<Outline> outlines;
  std::vector<geom::Vec3> points;
  bool empty() const { return curves.empty() && outlines.empty() && points.empty(); }
};

// NotGeometric for INSERT and DIMENSION (they are block references: see
// extents and hit testing) and for types without geometry.
EntStatus shapeOf(const db::Database& db, uint32_t id, Shape& out);

// The box of the shape after the affine map m (exact for curves that the
// map keeps analytic, circles and ellipses under any affine map included).
void addShapeBox(const Shape& s, const geom::Matrix4& m, geom::BoundingBox& box);
void addCurveBox(const geom::Curve& c, const geom::Matrix4& m, geom::BoundingBox& box);

}  // namespace tarn::entgeom
