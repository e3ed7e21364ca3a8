// How picks find objects: the entities near a point within the pick box, and
// whether an entity lies inside or crosses a window, polygon or fence. The
// default judges entities by their real geometry (the geometry library's hit
// tester); tests may put in a provider of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "db/database.h"

namespace tarn::editor {

enum class RegionFit : std::uint8_t { Outside, Crossing, Inside };

class PickProvider {
 public:
  virtual ~PickProvider() = default;
  // Main entities of the layouts within `aperture` of the point, nearest first.
  virtual std::vector<uint32_t> near(const db::Database& db, db::Point3 p, double aperture) = 0;
  // How the entity lies against a closed polygon (a window has four corners).
  virtual RegionFit fitPolygon(const db::Database& db, uint32_t id, const std::vector<db::Point3>& polygon) = 0;
  // True when the entity touches the open chain of segments.
  virtual bool crossesFence(const db::Database& db, uint32_t id, const std::vector<db::Point3>& fence) = 0;
};

std::unique_ptr<PickProvider> makeDefaultPickProvider();

// Main entities of every layout (model and paper space), not erased, in
// drawing order.
std::vector<uint32_t> layoutEntities(const db::Database& db);

// Calls fn(id) for each of those entities, without gathering them first.
template <class Fn>
void forEachLayoutEntity(const db::Database& db, Fn&& fn) {
  for (uint32_t b = 0; b < db.blocks().size(); ++b) {
    if (!db.isLayoutBlock(b)) continue;
    for (uint32_t id : db.blocks()[b].entities)
      if (!(db.object(id).flags & (db::kSubEntity | db::kErased))) fn(id);
  }
}

}  // namespace tarn::editor
