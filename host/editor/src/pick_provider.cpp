// The pick provider of the editor: the geometry library's hit tester judges
// each entity by its real shape (arcs, texts by their box, hatches by their
// boundary, block references by their contents). A box kept per entity lets
// picks and windows pass over the entities far away without measuring them.
#include "editor/pick_provider.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "entgeom/entity_hit_test.h"
#include "entgeom/extents.h"

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

// The world boxes (X and Y) of the entities of one drawing whose shape
// depends on their own groups alone. An entity's groups are an immutable
// blob: a box stays right while the entity's blob is the one it was
// measured from, so a change (or an undo) is seen without being told.
// Block references, dimensions, texts and polylines with vertices depend on
// other objects (blocks, styles, sub-entities) and are never boxed.
class BoxCache {
 public:
  // False when the entity lies wholly outside the XY rectangle lo..hi;
  // true when it may touch it (or has no box).
  bool mayTouch(const db::Database& db, uint32_t id, double loX, double loY, double hiX, double hiY) {
    const Box* b = boxOf(db, id);
    return !b || !(b->maxX < loX || b->minX > hiX || b->maxY < loY || b->minY > hiY);
  }

 private:
  struct Box {
    const uint8_t* data = nullptr;  // the blob measured; null: not measured
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool none = false;  // measured, but without a bounded box
  };

  // Whether entities of a type (by its interned number) are boxed; decided
  // once per type.
  bool boxable(uint16_t type) {
    static constexpr std::array<std::string_view, 11> kTypes = {
        "LINE", "ARC", "CIRCLE", "ELLIPSE", "LWPOLYLINE", "SPLINE", "POINT", "SOLID", "TRACE", "3DFACE", "HATCH"};
    if (type >= boxableTypes_.size()) boxableTypes_.resize(size_t(type) + 1, -1);
    if (boxableTypes_[type] < 0)
      boxableTypes_[type] = std::find(kTypes.begin(), kTypes.end(), db::typeName(type)) != kTypes.end();
    return boxableTypes_[type] != 0;
  }

  const Box* boxOf(const db::Database& db, uint32_t id) {
    if (db.serial() != serial_) {
      boxes_.clear();
      serial_ = db.serial();
    }
    const db::ObjectRecord& r = db.object(id);
    if (id >= boxes_.size()) boxes_.resize(std::max<size_t>(size_t(id) + 1, db.objectCount()) + boxes_.size() / 4);
    Box& b = boxes_[id];
    if (b.data != r.data) {
      b = Box{};
      if (!boxable(r.type)) return nullptr;
      b.data = r.data;
      if (r.type == lineType_ && lineBox(db, id, b)) return &b;
      entgeom::Extents e = entgeom::extentsOf(db, id);
      b.none = !e.ok() || !e.box.isBounded();
      if (!b.none) {
        b.minX = e.box.min.x;
        b.minY = e.box.min.y;
        b.maxX = e.box.max.x;
        b.maxY = e.box.max.y;
      }
    }
    return b.none ? nullptr : &b;
  }

  // A line without thickness lies between its two points (world
  // coordinates): read straight from its groups, the common case of large
  // drawings. False when the line has a thickness (the extents decide).
  static bool lineBox(const db::Database& db, uint32_t id, Box& b) {
    db::Point3 from, to;
    for (db::TagCursor c = db.tags(id); !c.done(); c.next()) {
      if (c.code() == 10) from = c.point();
      else if (c.code() == 11) to = c.point();
      else if (c.code() == 39 && c.number() != 0) return false;
    }
    b.minX = std::min(from.x, to.x);
    b.maxX = std::max(from.x, to.x);
    b.minY = std::min(from.y, to.y);
    b.maxY = std::max(from.y, to.y);
    return true;
  }

  uint32_t serial_ = 0;
  std::vector<Box> boxes_;
  std::vector<int8_t> boxableTypes_;
  const uint16_t lineType_ = db::typeId("LINE");
};

class GeometryPickProvider : public PickProvider {
 public:
  std::vector<uint32_t> near(const db::Database& db, db::Point3 p, double aperture) override {
    EntityHitTester tester(db);
    std::vector<std::pair<double, uint32_t>> hits;
    forEachLayoutEntity(db, [&](uint32_t id) {
      if (!boxes_.mayTouch(db, id, p.x - aperture, p.y - aperture, p.x + aperture, p.y + aperture)) return;
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
    double loX = polygon[0].x, loY = polygon[0].y, hiX = loX, hiY = loY;
    for (const db::Point3& q : polygon) {
      loX = std::min(loX, q.x);
      loY = std::min(loY, q.y);
      hiX = std::max(hiX, q.x);
      hiY = std::max(hiY, q.y);
    }
    if (!boxes_.mayTouch(db, id, loX, loY, hiX, hiY)) return RegionFit::Outside;
    EntityHitTester tester(db);
    auto pts = toVec(polygon);
    if (tester.selects(id, SelectMode::WindowPolygon, pts)) return RegionFit::Inside;
    return tester.selects(id, SelectMode::CrossingPolygon, pts) ? RegionFit::Crossing : RegionFit::Outside;
  }

  bool crossesFence(const db::Database& db, uint32_t id, const std::vector<db::Point3>& fence) override {
    return fence.size() >= 2 && EntityHitTester(db).selects(id, SelectMode::Fence, toVec(fence));
  }

 private:
  BoxCache boxes_;
};

}  // namespace

std::unique_ptr<PickProvider> makeDefaultPickProvider() { return std::make_unique<GeometryPickProvider>(); }

std::vector<uint32_t> layoutEntities(const db::Database& db) {
  std::vector<uint32_t> out;
  forEachLayoutEntity(db, [&](uint32_t id) { out.push_back(id); });
  return out;
}

}  // namespace tarn::editor
