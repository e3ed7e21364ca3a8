// Transformation of hatches: every group of the boundary, pattern and seed
// data by the role the boundary reader found for it.
#include <cmath>

#include "groups.h"
#include "hatch_boundary.h"
#include "transformers.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

double wrapDegrees(double a) {
  double r = std::fmod(a, 360.0);
  return r < 0.0 ? r + 360.0 : r;
}

struct RoleMapper {
  const TransformContext& c;
  const PlaneMap& pm;
  db::TagList& tags;
  double elevation;
  double turn;  // the map's turn of the X axis, degrees (minus it for mirrors)

  void apply(const RoledGroup& r) {
    db::Tag& t = tags[r.index];
    switch (r.role) {
      case GroupRole::OcsPoint: set(t, pm.point({t.p.x, t.p.y, elevation})); break;
      case GroupRole::OcsVector: set(t, pm.vector({t.p.x, t.p.y, 0.0})); break;
      case GroupRole::PairPoint: pair(r.index, pm.point({t.p.x, tags[r.index + 1].p.x, elevation})); break;
      case GroupRole::PairVector: pair(r.index, pm.vector({t.p.x, tags[r.index + 1].p.x, 0.0})); break;
      case GroupRole::Length: t.p.x *= c.scale; break;
      case GroupRole::AngleDegrees: t.p.x = pm.angleDegrees(t.p.x); break;
      case GroupRole::ArcAngleCcw: t.p.x = wrapDegrees(t.p.x + turn); break;
      case GroupRole::ArcAngleCw: t.p.x = wrapDegrees(t.p.x - turn); break;
      case GroupRole::EllipseParam: break;
      case GroupRole::ArcSense: if (pm.mirrored) t.i = t.i ? 0 : 1; break;
      case GroupRole::Bulge: if (pm.mirrored) t.p.x = -t.p.x; break;
    }
  }
  static void set(db::Tag& t, const Vec3& v) { t.p.x = v.x, t.p.y = v.y; }
  void pair(size_t i, const Vec3& v) {
    if (i + 1 >= tags.size()) return;
    tags[i].p.x = v.x;
    tags[i + 1].p.x = v.y;
  }
};

}  // namespace

EntStatus transformHatch(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  HatchBoundary b;
  EntStatus st = readHatchBoundary(Groups(c.db, c.id), b);
  if (st != EntStatus::Ok) return st;
  PlaneMap pm(c, e);
  size_t elevationAt = e.find(10);
  double elevation = elevationAt < e.end() ? e.tags()[elevationAt].p.z : 0.0;
  Vec3 x = pm.vector(geom::kXAxis);
  double turn = degrees(std::atan2(x.y, x.x));
  RoleMapper mapper{c, pm, e.tags(), elevation, pm.mirrored ? -turn : turn};
  for (const RoledGroup& r : b.roles) mapper.apply(r);
  if (elevationAt < e.end()) e.tags()[elevationAt].p = {0.0, 0.0, pm.point({0.0, 0.0, elevation}).z};
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
