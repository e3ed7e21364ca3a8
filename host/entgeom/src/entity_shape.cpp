// Shapes of the entity types, one builder per type, and their boxes under an
// affine map.
#include "entgeom/entity_shape.h"

#include <string_view>
#include <unordered_map>

#include "entgeom/entity_curve.h"
#include "entgeom/text_frame.h"
#include "geom/circular_curves.h"
#include "geom/coord_system.h"
#include "geom/ellipse.h"
#include "geom/polyline.h"
#include "groups.h"
#include "hatch_boundary.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

struct Source {
  const db::Database& db;
  uint32_t id;
  const Groups& g;
};

EntStatus fromCurve(const Source& s, Shape& out) {
  CurvePtr c;
  EntStatus st = curveOf(s.db, s.id, c);
  if (st == EntStatus::NotGeometric && s.db.typeOf(s.id) == "POLYLINE") {  // meshes: their vertices
    for (uint32_t v : subEntitiesOf(s.db, s.id))
      if (s.db.typeOf(v) == "VERTEX") out.points.push_back(Groups(s.db, v).point(10));
    return out.points.empty() ? EntStatus::Empty : EntStatus::Ok;
  }
  if (st == EntStatus::Ok) out.curves.push_back(std::move(c));
  return st;
}

EntStatus fromPoint(const Source& s, Shape& out) {
  out.points.push_back(s.g.point(10));
  return EntStatus::Ok;
}

EntStatus fromText(const Source& s, Shape& out) {
  TextFrame f;
  EntStatus st = textFrameOf(s.db, s.db.typeOf(s.id), s.g, f);
  if (st != EntStatus::Ok) return st;
  out.outlines.push_back({{f.corners.begin(), f.corners.end()}, true});
  return EntStatus::Ok;
}

EntStatus fromHatch(const Source& s, Shape& out) {
  HatchBoundary b;
  EntStatus st = readHatchBoundary(s.g, b);
  if (st != EntStatus::Ok) return st;
  out.curves = std::move(b.edges);
  return out.curves.empty() ? EntStatus::Empty : EntStatus::Ok;
}

// SOLID and TRACE store their corners in OCS and in zigzag order (1 2 4 3).
EntStatus fromSolid(const Source& s, Shape& out) {
  geom::Matrix4 m = geom::ocsToWorld(s.g.normal());
  Vec3 p[4] = {s.g.point(10), s.g.point(11), s.g.point(12), s.g.point(13, s.g.point(12))};
  out.outlines.push_back({{m.transformPoint(p[0]), m.transformPoint(p[1]), m.transformPoint(p[3]),
                           m.transformPoint(p[2])},
                          true});
  return EntStatus::Ok;
}

EntStatus fromFace(const Source& s, Shape& out) {
  out.outlines.push_back({{s.g.point(10), s.g.point(11), s.g.point(12), s.g.point(13, s.g.point(12))}, false});
  return EntStatus::Ok;
}

EntStatus fromLeader(const Source& s, Shape& out) {
  std::vector<Vec3> v = s.g.points(10);
  if (v.empty()) return EntStatus::InvalidData;
  if (v.size() == 1) {
    out.points = v;
    return EntStatus::Ok;
  }
  out.curves.push_back(std::make_unique<geom::Polyline3d>(std::move(v), false));
  return EntStatus::Ok;
}

// A multileader: its content base point, text location, block position and
// every leader line vertex.
EntStatus fromMLeader(const Source& s, Shape& out) {
  for (int code : {10, 12, 15, 110})
    for (const Vec3& p : s.g.points(code)) out.points.push_back(p);
  return out.points.empty() ? EntStatus::Empty : EntStatus::Ok;
}

// WIPEOUT and IMAGE: the insertion point plus the pixel vectors times the size in pixels.
EntStatus fromImage(const Source& s, Shape& out) {
  Vec3 p = s.g.point(10), u = s.g.point(11), v = s.g.point(12), size = s.g.point(13);
  Vec3 du = u * size.x, dv = v * size.y;
  out.outlines.push_back({{p, p + du, p + du + dv, p + dv}, s.db.typeOf(s.id) == "WIPEOUT"});
  return EntStatus::Ok;
}

EntStatus fromShapeEntity(const Source& s, Shape& out) {
  geom::Matrix4 m = geom::ocsToWorld(s.g.normal());
  Vec3 p = s.g.point(10);
  double h = s.g.real(40, 1.0);
  out.outlines.push_back({{m.transformPoint(p + Vec3{-h, -h}), m.transformPoint(p + Vec3{h, -h}),
                           m.transformPoint(p + Vec3{h, h}), m.transformPoint(p + Vec3{-h, h})},
                          false});
  return EntStatus::Ok;
}

EntStatus fromViewport(const Source& s, Shape& out) {
  Vec3 c = s.g.point(10);
  double w = s.g.real(40) / 2, h = s.g.real(41) / 2;
  out.outlines.push_back({{c + Vec3{-w, -h}, c + Vec3{w, -h}, c + Vec3{w, h}, c + Vec3{-w, h}}, false});
  return EntStatus::Ok;
}

using Builder = EntStatus (*)(const Source&, Shape&);

const std::unordered_map<std::string_view, Builder>& builders() {
  static const std::unordered_map<std::string_view, Builder> table = {
      {"LINE", fromCurve},       {"ARC", fromCurve},         {"CIRCLE", fromCurve},
      {"ELLIPSE", fromCurve},    {"LWPOLYLINE", fromCurve},  {"POLYLINE", fromCurve},
      {"SPLINE", fromCurve},     {"XLINE", fromCurve},       {"RAY", fromCurve},
      {"POINT", fromPoint},      {"TEXT", fromText},         {"ATTRIB", fromText},
      {"ATTDEF", fromText},      {"MTEXT", fromText},        {"HATCH", fromHatch},
      {"SOLID", fromSolid},      {"TRACE", fromSolid},       {"3DFACE", fromFace},
      {"LEADER", fromLeader},    {"MULTILEADER", fromMLeader}, {"MLEADER", fromMLeader},
      {"WIPEOUT", fromImage},    {"IMAGE", fromImage},       {"SHAPE", fromShapeEntity},
      {"VIEWPORT", fromViewport},
  };
  return table;
}

bool allFinite(const Shape& s) {
  for (const Outline& o : s.outlines)
    for (const Vec3& p : o.points)
      if (!p.isFinite()) return false;
  for (const Vec3& p : s.points)
    if (!p.isFinite()) return false;
  return true;
}

// A circle, arc or elliptical arc under any affine map is an elliptical arc
// with the mapped conjugate semi-diameters.
geom::CurvePtr conicUnder(const geom::Curve& c, const geom::Matrix4& m) {
  if (c.kind() == geom::CurveKind::Circle || c.kind() == geom::CurveKind::Arc) {
    const auto& a = static_cast<const geom::CircularCurve&>(c);
    return geom::ellipseFromConjugate(m.transformPoint(a.center()), m.transformVector(a.axes().x * a.radius()),
                                      m.transformVector(a.axes().y * a.radius()), a.startParam(), a.endParam());
  }
  if (c.kind() == geom::CurveKind::Ellipse) {
    const auto& e = static_cast<const geom::Ellipse&>(c);
    return geom::ellipseFromConjugate(m.transformPoint(e.center()), m.transformVector(e.majorAxis()),
                                      m.transformVector(e.minorAxis()), e.startParam(), e.endParam());
  }
  return nullptr;
}

}  // namespace

EntStatus shapeOf(const db::Database& db, uint32_t id, Shape& out) {
  out = {};
  if (!db.valid(id) || db.isErased(id)) return EntStatus::NotFound;
  auto it = builders().find(db.typeOf(id));
  if (it == builders().end()) return EntStatus::NotGeometric;
  Groups g(db, id);
  EntStatus st = it->second(Source{db, id, g}, out);
  if (st == EntStatus::Ok && !allFinite(out)) return EntStatus::InvalidData;
  return st;
}

void addCurveBox(const geom::Curve& c, const geom::Matrix4& m, geom::BoundingBox& box) {
  if (geom::CurvePtr t = c.transformed(m)) return box.add(t->boundingBox());
  if (geom::CurvePtr e = conicUnder(c, m)) return box.add(e->boundingBox());
  if (c.kind() == geom::CurveKind::Polyline2d || c.kind() == geom::CurveKind::Polyline3d ||
      c.kind() == geom::CurveKind::Composite) {
    const auto& s = static_cast<const geom::SegmentedCurve&>(c);
    for (size_t i = 0; i < s.segmentCount(); ++i) addCurveBox(s.segment(i), m, box);
    return;
  }
  for (double t : c.sampleParams()) box.add(m.transformPoint(c.pointAt(t)));
}

void addShapeBox(const Shape& s, const geom::Matrix4& m, geom::BoundingBox& box) {
  for (const geom::CurvePtr& c : s.curves) addCurveBox(*c, m, box);
  for (const Outline& o : s.outlines)
    for (const Vec3& p : o.points) box.add(m.transformPoint(p));
  for (const Vec3& p : s.points) box.add(m.transformPoint(p));
}

}  // namespace tarn::entgeom
