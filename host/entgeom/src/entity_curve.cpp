// Reading curves from entity groups, one reader per entity type.
#include "entgeom/entity_curve.h"

#include <cmath>
#include <string_view>
#include <unordered_map>

#include "geom/circular_curves.h"
#include "geom/coord_system.h"
#include "geom/ellipse.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"
#include "geom/spline.h"
#include "groups.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

bool finite(double v) { return std::isfinite(v); }

EntStatus readLine(const Groups& g, CurvePtr& out) {
  Vec3 a = g.point(10), b = g.point(11);
  if (!a.isFinite() || !b.isFinite()) return EntStatus::InvalidData;
  out = std::make_unique<geom::Line>(a, b);
  return EntStatus::Ok;
}

template <class T>
EntStatus readStraight(const Groups& g, CurvePtr& out) {
  Vec3 base = g.point(10), dir = g.point(11, geom::kXAxis);
  if (!base.isFinite() || !dir.isFinite() || dir.length() <= geom::kZeroLength) return EntStatus::InvalidData;
  out = std::make_unique<T>(base, dir.normalized());
  return EntStatus::Ok;
}

EntStatus readCircular(const Groups& g, bool arc, CurvePtr& out) {
  Vec3 n = g.normal();
  Vec3 c = geom::ocsToWorld(n).transformPoint(g.point(10));
  double r = g.real(40);
  if (!c.isFinite() || !finite(r) || r <= geom::kZeroLength) return EntStatus::InvalidData;
  if (!arc) {
    out = std::make_unique<geom::Circle>(c, r, n);
    return EntStatus::Ok;
  }
  double a0 = radians(g.real(50)), a1 = radians(g.real(51));
  if (!finite(a0) || !finite(a1)) return EntStatus::InvalidData;
  out = std::make_unique<geom::Arc>(c, r, a0, a1, n);
  return EntStatus::Ok;
}

EntStatus readEllipse(const Groups& g, CurvePtr& out) {
  Vec3 c = g.point(10), major = g.point(11), n = g.normal();
  double ratio = g.real(40, 1.0), t0 = g.real(41, 0.0), t1 = g.real(42, geom::kTwoPi);
  if (!c.isFinite() || !major.isFinite() || major.length() <= geom::kZeroLength) return EntStatus::InvalidData;
  if (!finite(ratio) || ratio <= 0.0 || ratio > 1.0 + 1e-9 || !finite(t0) || !finite(t1)) return EntStatus::InvalidData;
  if (t1 <= t0) t1 += geom::kTwoPi * std::ceil((t0 - t1) / geom::kTwoPi + 1e-15);
  if (t1 - t0 <= 0.0) t1 = t0 + geom::kTwoPi;
  out = std::make_unique<geom::Ellipse>(c, major, n, ratio, t0, t1);
  return EntStatus::Ok;
}

// Vertices of an LWPOLYLINE: each 10 starts a vertex; 40/41/42 after it belong to it.
EntStatus readLwPolyline(const Groups& g, CurvePtr& out) {
  std::vector<geom::PolyVertex> vs;
  double constantWidth = g.real(43, 0.0);
  for (size_t i = 0; i < g.size(); ++i) {
    int code = g.code(i);
    if (code == 10) {
      Vec3 p = g.pointAt(i);
      vs.push_back({p.x, p.y, 0.0, constantWidth, constantWidth});
    } else if (!vs.empty() && code == 42) {
      vs.back().bulge = g.number(i);
    } else if (!vs.empty() && code == 40) {
      vs.back().startWidth = g.number(i);
    } else if (!vs.empty() && code == 41) {
      vs.back().endWidth = g.number(i);
    }
  }
  if (vs.empty()) return EntStatus::InvalidData;
  for (const auto& v : vs)
    if (!finite(v.x) || !finite(v.y) || !finite(v.bulge)) return EntStatus::InvalidData;
  double elevation = g.real(38, 0.0);
  out = std::make_unique<geom::Polyline2d>(std::move(vs), (g.integer(70) & 1) != 0, g.normal(), elevation);
  return EntStatus::Ok;
}

constexpr int kPolyline3d = 8, kPolyMesh = 16, kPolyface = 64;
constexpr int kVertexSplineFrame = 16;

EntStatus readPolyline(const db::Database& db, uint32_t id, const Groups& g, CurvePtr& out) {
  int64_t flags = g.integer(70);
  if (flags & (kPolyMesh | kPolyface)) return EntStatus::NotGeometric;
  std::vector<Vec3> pts;
  std::vector<geom::PolyVertex> vs;
  for (uint32_t v : subEntitiesOf(db, id)) {
    if (db.typeOf(v) != "VERTEX") continue;
    Groups vg(db, v);
    if (vg.integer(70) & kVertexSplineFrame) continue;
    Vec3 p = vg.point(10);
    if (!p.isFinite()) return EntStatus::InvalidData;
    pts.push_back(p);
    vs.push_back({p.x, p.y, vg.real(42), vg.real(40), vg.real(41)});
  }
  if (pts.empty()) return EntStatus::InvalidData;
  bool closed = flags & 1;
  if (flags & kPolyline3d)
    out = std::make_unique<geom::Polyline3d>(std::move(pts), closed);
  else
    out = std::make_unique<geom::Polyline2d>(std::move(vs), closed, g.normal(), g.point(10).z);
  return EntStatus::Ok;
}

std::vector<double> reals(const Groups& g, int code) {
  std::vector<double> out;
  for (size_t i = g.find(code); i < g.size(); i = g.find(code, i + 1)) out.push_back(g.number(i));
  return out;
}

EntStatus readSpline(const Groups& g, CurvePtr& out) {
  std::unique_ptr<geom::Spline> s;
  std::vector<Vec3> ctrl = g.points(10);
  geom::GeomStatus st;
  if (!ctrl.empty()) {
    std::vector<double> w = reals(g, 41);
    if (w.size() != ctrl.size()) w.clear();
    st = geom::Spline::make(int(g.integer(71, 3)), reals(g, 40), std::move(ctrl), std::move(w), s);
  } else {
    std::optional<Vec3> t0, t1;
    if (g.has(12)) t0 = g.point(12);
    if (g.has(13)) t1 = g.point(13);
    st = geom::fitSpline(g.points(11), t0, t1, s);
  }
  if (st != geom::GeomStatus::Ok) return EntStatus::InvalidData;
  out = std::move(s);
  return EntStatus::Ok;
}

using Reader = EntStatus (*)(const db::Database&, uint32_t, const Groups&, CurvePtr&);

const std::unordered_map<std::string_view, Reader>& readers() {
  static const std::unordered_map<std::string_view, Reader> table = {
      {"LINE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readLine(g, o); }},
      {"RAY", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readStraight<geom::Ray>(g, o); }},
      {"XLINE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readStraight<geom::XLine>(g, o); }},
      {"CIRCLE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readCircular(g, false, o); }},
      {"ARC", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readCircular(g, true, o); }},
      {"ELLIPSE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readEllipse(g, o); }},
      {"LWPOLYLINE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readLwPolyline(g, o); }},
      {"POLYLINE", readPolyline},
      {"SPLINE", [](const db::Database&, uint32_t, const Groups& g, CurvePtr& o) { return readSpline(g, o); }},
  };
  return table;
}

}  // namespace

EntStatus curveOf(const db::Database& db, uint32_t id, CurvePtr& out) {
  out.reset();
  if (!db.valid(id) || db.isErased(id)) return EntStatus::NotFound;
  auto it = readers().find(db.typeOf(id));
  if (it == readers().end()) return EntStatus::NotGeometric;
  return it->second(db, id, Groups(db, id), out);
}

CurvePtr curveOf(const db::Database& db, uint32_t id) {
  CurvePtr out;
  curveOf(db, id, out);
  return out;
}

std::vector<uint32_t> subEntitiesOf(const db::Database& db, uint32_t id) {
  std::vector<uint32_t> out;
  const db::ObjectRecord& rec = db.object(id);
  if (rec.block >= db.blocks().size()) return out;
  const std::vector<uint32_t>& list = db.blocks()[rec.block].entities;
  if (rec.slot >= list.size() || list[rec.slot] != id) return out;
  for (size_t i = rec.slot + 1; i < list.size(); ++i) {
    uint32_t e = list[i];
    if (!(db.object(e).flags & db::kSubEntity)) break;
    if (db.typeOf(e) == "SEQEND") break;
    if (!db.isErased(e)) out.push_back(e);
  }
  return out;
}

}  // namespace tarn::entgeom
