// Fast boxes: lines and points by their mapped points, circles, arcs and
// bulged polyline segments as stack curves.
#include "fast_extents.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "entgeom/text_frame.h"
#include "entgeom/entity_shape.h"
#include "geom/circular_curves.h"
#include "geom/coord_system.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

void addCircular(const geom::CircularCurve& c, const geom::Matrix4& m, bool identity, geom::BoundingBox& box) {
  if (identity) box.add(c.boundingBox());
  else addCurveBox(c, m, box);
}

EntStatus circular(const Groups& g, bool arc, const geom::Matrix4& m, bool identity, geom::BoundingBox& box) {
  Vec3 n = g.normal();
  Vec3 c = geom::ocsToWorld(n).transformPoint(g.point(10));
  double r = g.real(40);
  if (!c.isFinite() || !std::isfinite(r) || r <= geom::kZeroLength) return EntStatus::InvalidData;
  if (!arc && identity) {  // a full circle reaches r * sin(angle to the axis) along each axis
    Vec3 half{r * std::sqrt(std::max(0.0, 1.0 - n.x * n.x)), r * std::sqrt(std::max(0.0, 1.0 - n.y * n.y)),
              r * std::sqrt(std::max(0.0, 1.0 - n.z * n.z))};
    box.add(c - half);
    box.add(c + half);
    return EntStatus::Ok;
  }
  if (!arc) {
    addCircular(geom::Circle(c, r, n), m, identity, box);
    return EntStatus::Ok;
  }
  double a0 = radians(g.real(50)), a1 = radians(g.real(51));
  if (!std::isfinite(a0) || !std::isfinite(a1)) return EntStatus::InvalidData;
  addCircular(geom::Arc(c, r, a0, a1, n), m, identity, box);
  return EntStatus::Ok;
}

// Vertices in order with the bulge of the segment each starts.
EntStatus lwpolyline(const Groups& g, const geom::Matrix4& m, bool identity, geom::BoundingBox& box) {
  Vec3 n = g.normal();
  geom::Matrix4 toWorld = m * geom::ocsToWorld(n);
  double elevation = g.real(38, 0.0);
  bool closed = g.integer(70) & 1;
  Vec3 first, prev;
  double bulge = 0.0;
  size_t count = 0;
  auto segment = [&](const Vec3& a, const Vec3& b, double bu) {
    if (bu == 0.0) return;
    Vec3 wa = geom::ocsToWorld(n).transformPoint(a), wb = geom::ocsToWorld(n).transformPoint(b);
    double chord = distance(wa, wb);
    if (chord <= geom::kZeroLength) return;
    double angle = 4.0 * std::atan(bu);  // signed included angle
    double radius = chord / (2.0 * std::sin(std::fabs(angle) / 2.0));
    Vec3 mid = (a + b) * 0.5, dir = (b - a) / distance(a, b);
    Vec3 left{-dir.y, dir.x, 0.0};
    double toCentre = radius * std::cos(std::fabs(angle) / 2.0) * (bu > 0 ? 1.0 : -1.0);
    Vec3 centre = mid + left * toCentre;
    double sa = std::atan2(a.y - centre.y, a.x - centre.x), sb = std::atan2(b.y - centre.y, b.x - centre.x);
    Vec3 wc = geom::ocsToWorld(n).transformPoint(centre);
    if (bu > 0) addCircular(geom::Arc(wc, radius, sa, sb, n), m, identity, box);
    else addCircular(geom::Arc(wc, radius, sb, sa, n), m, identity, box);
  };
  for (size_t i = 0; i < g.size(); ++i) {
    int code = g.code(i);
    if (code == 42 && count > 0) bulge = g.number(i);
    if (code != 10) continue;
    Vec3 p = g.pointAt(i);
    p.z = elevation;
    if (!p.isFinite() || !std::isfinite(bulge)) return EntStatus::InvalidData;
    box.add(toWorld.transformPoint(p));
    if (count++ == 0) first = p; else segment(prev, p, bulge);
    prev = p;
    bulge = 0.0;
  }
  if (count == 0) return EntStatus::InvalidData;
  if (closed && count > 1) segment(prev, first, bulge);
  return EntStatus::Ok;
}

}  // namespace

FastKind fastKindOf(uint16_t typeId) {
  struct Table {
    std::vector<FastKind> kinds;
    Table() {
      const std::pair<const char*, FastKind> names[] = {
          {"LINE", FastKind::Line},     {"POINT", FastKind::Point},
          {"CIRCLE", FastKind::Circle}, {"ARC", FastKind::Arc},
          {"LWPOLYLINE", FastKind::LwPolyline}, {"INSERT", FastKind::Insert},
          {"TEXT", FastKind::Text},     {"ATTRIB", FastKind::Text},
          {"ATTDEF", FastKind::Text},   {"MTEXT", FastKind::Text},
          {"DIMENSION", FastKind::Dimension}, {"ARC_DIMENSION", FastKind::Dimension},
          {"LARGE_RADIAL_DIMENSION", FastKind::Dimension}};
      for (const auto& [name, kind] : names) {
        const uint16_t id = db::typeId(name);
        if (id >= kinds.size()) kinds.resize(id + 1, FastKind::None);
        kinds[id] = kind;
      }
    }
  };
  static const Table table;
  return typeId < table.kinds.size() ? table.kinds[typeId] : FastKind::None;
}

EntStatus fastBox(FastKind kind, const Groups& g, const geom::Matrix4& m, bool identity, geom::BoundingBox& box) {
  switch (kind) {
    case FastKind::Line: {
      Vec3 a = g.point(10), b = g.point(11);
      if (!a.isFinite() || !b.isFinite()) return EntStatus::InvalidData;
      box.add(m.transformPoint(a)), box.add(m.transformPoint(b));
      return EntStatus::Ok;
    }
    case FastKind::Point: {
      Vec3 p = g.point(10);
      if (!p.isFinite()) return EntStatus::InvalidData;
      box.add(m.transformPoint(p));
      return EntStatus::Ok;
    }
    case FastKind::Circle: return circular(g, false, m, identity, box);
    case FastKind::Arc: return circular(g, true, m, identity, box);
    case FastKind::LwPolyline: return lwpolyline(g, m, identity, box);
    default: return EntStatus::NotGeometric;
  }
}

EntStatus textBox(const db::Database& db, std::string_view type, const Groups& g, const geom::Matrix4& m,
                  geom::BoundingBox& box) {
  TextFrame f;
  EntStatus st = textFrameOf(db, type, g, f);
  if (st != EntStatus::Ok) return st;
  for (const Vec3& p : f.corners)
    if (!p.isFinite()) return EntStatus::InvalidData;
  for (const Vec3& p : f.corners) box.add(m.transformPoint(p));
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
