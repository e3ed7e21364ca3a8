// Entity hit testing: the entity is flattened into view-space primitives
// (block references recursively), then the kernel's curve tests decide.
#include "entgeom/entity_hit_test.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "entgeom/entity_curve.h"
#include "entgeom/extents.h"
#include "entgeom/entity_shape.h"
#include "geom/ellipse.h"
#include "geom/hit_test.h"
#include "geom/polyline.h"
#include "groups.h"

namespace tarn::entgeom {

using geom::Matrix4;
using geom::Vec3;

namespace {

constexpr int kMaxNesting = 32;
constexpr size_t kMaxCells = 4096;  // cells of one MINSERT looked at
// Entities visited for one hit test at most: nested references can multiply
// beyond any use (ten references per level, ten levels deep).
constexpr long kMaxVisits = 200000;

struct ViewShape {
  std::vector<geom::CurvePtr> curves;  // outlines included, as closed polylines
  std::vector<std::vector<Vec3>> filled;
  std::vector<Vec3> points;
  bool empty() const { return curves.empty() && points.empty(); }
};

geom::CurvePtr curveUnder(const geom::Curve& c, const Matrix4& m) {
  if (geom::CurvePtr t = c.transformed(m)) return t;
  std::vector<Vec3> pts;
  for (double t : c.sampleParams()) pts.push_back(m.transformPoint(c.pointAt(t)));
  return std::make_unique<geom::Polyline3d>(std::move(pts), false);
}

void addShape(const Shape& s, const Matrix4& m, ViewShape& out) {
  for (const geom::CurvePtr& c : s.curves) out.curves.push_back(curveUnder(*c, m));
  for (const Outline& o : s.outlines) {
    std::vector<Vec3> pts;
    for (const Vec3& p : o.points) pts.push_back(m.transformPoint(p));
    if (o.filled) out.filled.push_back(pts);
    out.curves.push_back(std::make_unique<geom::Polyline3d>(std::move(pts), true));
  }
  for (const Vec3& p : s.points) out.points.push_back(m.transformPoint(p));
}

bool hiddenInReference(const db::Database& db, uint32_t id) {
  if (db.isErased(id) || (db.object(id).flags & db::kSubEntity)) return true;
  std::string_view t = db.typeOf(id);
  if (t == "ATTDEF") return !(Groups(db, id).integer(70) & 2);
  return t == "ATTRIB" && (Groups(db, id).integer(70) & 1);
}

class Flattener {
 public:
  explicit Flattener(const db::Database& db) : db_(db) {}

  EntStatus entity(uint32_t id, const Matrix4& m, ViewShape& out, int depth) {
    if (depth > kMaxNesting) return EntStatus::Cyclic;
    if (++visits_ > kMaxVisits) return EntStatus::Unsupported;
    std::string_view t = db_.typeOf(id);
    if (t == "INSERT") return insert(id, m, out, depth);
    if (t == "DIMENSION") return block(db_.findBlock(findString(db_, id, 2)), m, out, depth);
    Shape s;
    EntStatus st = shapeOf(db_, id, s);
    if (st == EntStatus::Ok) addShape(s, m, out);
    return st;
  }

 private:
  EntStatus insert(uint32_t id, const Matrix4& m, ViewShape& out, int depth) {
    uint32_t blk;
    std::vector<Matrix4> cells;
    EntStatus st = insertPlacements(db_, id, blk, cells, kMaxCells);
    if (st != EntStatus::Ok) return st;
    for (const Matrix4& cell : cells) {
      st = block(blk, m * cell, out, depth);
      if (st == EntStatus::Cyclic || visits_ > kMaxVisits) return visits_ > kMaxVisits ? EntStatus::Unsupported : st;
    }
    for (uint32_t sub : subEntitiesOf(db_, id))
      if (db_.typeOf(sub) == "ATTRIB" && !(Groups(db_, sub).integer(70) & 1)) entity(sub, m, out, depth + 1);
    return EntStatus::Ok;
  }

  EntStatus block(uint32_t blk, const Matrix4& m, ViewShape& out, int depth) {
    if (blk == db::kNoObject) return EntStatus::Empty;
    for (uint32_t e : db_.blocks()[blk].entities) {
      if (hiddenInReference(db_, e)) continue;
      EntStatus st = entity(e, m, out, depth + 1);
      if (st == EntStatus::Cyclic || (st == EntStatus::Unsupported && visits_ > kMaxVisits)) return st;
    }
    return EntStatus::Ok;
  }

  const db::Database& db_;
  long visits_ = 0;
};

double distanceXY(const Vec3& a, const Vec3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool insideFilled(const ViewShape& s, const Vec3& p) {
  for (const auto& poly : s.filled)
    if (geom::pointInPolygon(p, poly) != geom::Containment::Outside) return true;
  return false;
}

std::vector<Vec3> rectangle(const Vec3& a, const Vec3& b) {
  return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::min(a.y, b.y)},
          {std::max(a.x, b.x), std::max(a.y, b.y)}, {std::min(a.x, b.x), std::max(a.y, b.y)}};
}

bool allInside(const ViewShape& s, const std::vector<Vec3>& poly) {
  for (const auto& c : s.curves)
    if (!geom::insidePolygon(*c, poly)) return false;
  for (const Vec3& p : s.points)
    if (geom::pointInPolygon(p, poly) == geom::Containment::Outside) return false;
  return true;
}

bool anyCrossing(const ViewShape& s, const std::vector<Vec3>& poly) {
  for (const auto& c : s.curves)
    if (geom::crossesPolygon(*c, poly)) return true;
  for (const Vec3& p : s.points)
    if (geom::pointInPolygon(p, poly) != geom::Containment::Outside) return true;
  for (const Vec3& corner : poly)  // a selection area inside a filled text box
    if (insideFilled(s, corner)) return true;
  return false;
}

bool crossesFence(const ViewShape& s, const std::vector<Vec3>& fence) {
  for (const auto& c : s.curves)
    if (geom::crossesFence(*c, fence)) return true;
  for (const Vec3& p : fence)
    if (insideFilled(s, p)) return true;
  return false;
}

}  // namespace

EntityHitTester::EntityHitTester(const db::Database& db, const Matrix4& worldToView) : db_(db), toView_(worldToView) {}

namespace {
EntStatus flatten(const db::Database& db, uint32_t id, const Matrix4& m, ViewShape& out) {
  if (!db.valid(id) || db.isErased(id)) return EntStatus::NotFound;
  EntStatus st = Flattener(db).entity(id, m, out, 0);
  if (st == EntStatus::Ok && out.empty()) return EntStatus::Empty;
  return st;
}
}  // namespace

EntStatus EntityHitTester::distanceTo(uint32_t id, const Vec3& p, double& distance) const {
  ViewShape s;
  EntStatus st = flatten(db_, id, toView_, s);
  if (st != EntStatus::Ok) return st;
  distance = insideFilled(s, p) ? 0.0 : std::numeric_limits<double>::infinity();
  for (const auto& c : s.curves) distance = std::min(distance, geom::distanceXY(*c, p));
  for (const Vec3& q : s.points) distance = std::min(distance, distanceXY(p, q));
  return EntStatus::Ok;
}

bool EntityHitTester::hitsPoint(uint32_t id, const Vec3& p, double aperture) const {
  double d;
  return distanceTo(id, p, d) == EntStatus::Ok && d <= aperture;
}

bool EntityHitTester::selects(uint32_t id, SelectMode mode, const std::vector<Vec3>& pts) const {
  ViewShape s;
  if (flatten(db_, id, toView_, s) != EntStatus::Ok) return false;
  bool rect = mode == SelectMode::Window || mode == SelectMode::Crossing;
  if ((rect && pts.size() != 2) || (!rect && pts.size() < 2)) return false;
  std::vector<Vec3> area = rect ? rectangle(pts[0], pts[1]) : pts;
  switch (mode) {
    case SelectMode::Window:
    case SelectMode::WindowPolygon: return allInside(s, area);
    case SelectMode::Crossing:
    case SelectMode::CrossingPolygon: return anyCrossing(s, area);
    case SelectMode::Fence: return crossesFence(s, pts);
  }
  return false;
}

}  // namespace tarn::entgeom
