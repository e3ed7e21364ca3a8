// What every entity transformer shares: the matrix, its scale and sense, and
// the change of object coordinate system for planar entities.
#pragma once

#include <vector>

#include "db/database.h"
#include "entgeom/entity_transform.h"
#include "geom/matrix4.h"
#include "tag_edit.h"

namespace tarn::entgeom {

struct TransformContext {
  const db::Database& db;
  uint32_t id;
  geom::Matrix4 m;
  TransformOptions options;
  // Uniform scale factor; negative when the matrix is not a similarity. For
  // planar entities it is the scale within the entity's plane, so that a
  // reference scaled alike in X and Y but not in Z still carries circles.
  double scale;
  double thickness;  // factor of lengths along the normal (thickness, group 39)
  std::vector<TransformedObject>& extra;  // objects that move with the entity

  bool uniform() const { return scale > 0.0; }
  // The normal of a plane after the matrix (inverse transpose), unit length.
  geom::Vec3 mapNormal(const geom::Vec3& n) const;
  // Transforms another object of the drawing and appends it to `extra`.
  EntStatus also(uint32_t other) const;
};

// Maps the object coordinates of a planar entity with normal `from` to those
// of the mapped plane; sets the new normal into the tags.
struct PlaneMap {
  PlaneMap(const TransformContext& ctx, TagEditor& e);
  geom::Vec3 normal;           // new normal
  geom::Matrix4 ocs;           // old object coordinates -> new object coordinates
  bool mirrored = false;       // the map reverses the sense of rotation in the plane
  geom::Vec3 point(const geom::Vec3& p) const { return ocs.transformPoint(p); }
  geom::Vec3 vector(const geom::Vec3& v) const { return ocs.transformVector(v); }
  double angleDegrees(double a) const;  // a direction's angle after the map
};

}  // namespace tarn::entgeom
