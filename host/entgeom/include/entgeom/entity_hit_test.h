// Hit testing of entities for object picks and selection modes, in the XY
// plane of a view: texts by their box as a filled rectangle, hatches by their
// boundary, block references and dimensions by their contents.
#pragma once

#include <cstdint>
#include <vector>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/matrix4.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

enum class SelectMode { Window, Crossing, WindowPolygon, CrossingPolygon, Fence };

class EntityHitTester {
 public:
  // `worldToView` maps world coordinates into the view's coordinates; the
  // tests work in the XY plane of those (identity: the world XY plane).
  explicit EntityHitTester(const db::Database& db, const geom::Matrix4& worldToView = geom::Matrix4::identity());

  // Distance in the view's XY plane from p (view coordinates) to the entity.
  // Empty for an entity with nothing to hit, NotGeometric for types without geometry.
  EntStatus distanceTo(uint32_t id, const geom::Vec3& p, double& distance) const;
  bool hitsPoint(uint32_t id, const geom::Vec3& p, double aperture) const;
  // Window and Crossing take two opposite corners; the polygon modes a
  // closed polygon; Fence an open chain. Points in view coordinates.
  bool selects(uint32_t id, SelectMode mode, const std::vector<geom::Vec3>& points) const;

 private:
  const db::Database& db_;
  geom::Matrix4 toView_;
};

}  // namespace tarn::entgeom
