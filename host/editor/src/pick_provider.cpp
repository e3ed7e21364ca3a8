// The pick provider of the editor: the geometry library's hit tester judges
// each entity by its real shape (arcs, texts by their box, hatches by their
// boundary, block references by their contents).
#include "editor/pick_provider.h"

#include <algorithm>

#include "entgeom/entity_hit_test.h"

namespace tarn::editor {
namespace {

using entgeom::EntityHitTester;
using entgeom::EntStatus;
using entgeom::SelectMode;

std::vector<geom::Vec3> toVec(const std::vector<db::Point3>& pts) {
  std::vector<geom::Vec3> out;
  out.reserve(pts.size());
  for (const db::Point3& p : pts) out.push_back({p.x, p.y, p.z});
  return out;
}

class GeometryPickProvider : public PickProvider {
 public:
  std::vector<uint32_t> near(const db::Database& db, db::Point3 p, double aperture) override {
    EntityHitTester tester(db);
    std::vector<std::pair<double, uint32_t>> hits;
    forEachLayoutEntity(db, [&](uint32_t id) {
      double d = 0;
      if (tester.distanceTo(id, {p.x, p.y, p.z}, d) == EntStatus::Ok && d <= aperture) hits.emplace_back(d, id);
    });
    std::stable_sort(hits.begin(), hits.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<uint32_t> out;
    for (auto& h : hits) out.push_back(h.second);
    return out;
  }

  RegionFit fitPolygon(const db::Database& db, uint32_t id, const std::vector<db::Point3>& polygon) override {
    if (polygon.size() < 3) return RegionFit::Outside;
    EntityHitTester tester(db);
    auto pts = toVec(polygon);
    if (tester.selects(id, SelectMode::WindowPolygon, pts)) return RegionFit::Inside;
    return tester.selects(id, SelectMode::CrossingPolygon, pts) ? RegionFit::Crossing : RegionFit::Outside;
  }

  bool crossesFence(const db::Database& db, uint32_t id, const std::vector<db::Point3>& fence) override {
    return fence.size() >= 2 && EntityHitTester(db).selects(id, SelectMode::Fence, toVec(fence));
  }
};

}  // namespace

std::unique_ptr<PickProvider> makeDefaultPickProvider() { return std::make_unique<GeometryPickProvider>(); }

std::vector<uint32_t> layoutEntities(const db::Database& db) {
  std::vector<uint32_t> out;
  forEachLayoutEntity(db, [&](uint32_t id) { out.push_back(id); });
  return out;
}

}  // namespace tarn::editor
