// Entity transformation: one transformer per entity type, over the decoded
// tags; texts, block references and hatches have files of their own.
#include "entgeom/entity_transform.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "entgeom/entity_curve.h"
#include "geom/coord_system.h"
#include "geom/tolerance.h"
#include "groups.h"
#include "transform_context.h"
#include "transformers.h"

namespace tarn::entgeom {

using geom::Vec3;

geom::Vec3 TransformContext::mapNormal(const Vec3& n) const {
  geom::Matrix4 inv;
  if (m.inverse(inv) != geom::GeomStatus::Ok) return n;
  Vec3 out = inv.transposed().transformVector(n);
  return out.length() > 0.0 ? out.normalized() : n;
}

EntStatus TransformContext::also(uint32_t other) const { return transformEntity(db, other, m, options, extra); }

PlaneMap::PlaneMap(const TransformContext& ctx, TagEditor& e) {
  Vec3 n = e.normal();
  normal = ctx.mapNormal(n);
  ocs = geom::worldToOcs(normal) * ctx.m * geom::ocsToWorld(n);
  mirrored = ocs(0, 0) * ocs(1, 1) - ocs(0, 1) * ocs(1, 0) < 0.0;
  if (e.has(210) || !geom::pointsEqual(normal, geom::kZAxis)) e.setPoint(210, normal);
}

double PlaneMap::angleDegrees(double a) const {
  double r = radians(a);
  Vec3 d = vector({std::cos(r), std::sin(r), 0.0});
  return degrees(geom::normalizeAngle(std::atan2(d.y, d.x)));
}

namespace {

void mapPoints(const TransformContext& c, TagEditor& e, int code) {
  for (size_t i = e.find(code); i < e.end(); i = e.find(code, i + 1))
    e.tags()[i].p = toPoint(c.m.transformPoint(toVec(e.tags()[i].p)));
}

void mapOcsPoints(const PlaneMap& pm, TagEditor& e, int code) {
  for (size_t i = e.find(code); i < e.end(); i = e.find(code, i + 1))
    e.tags()[i].p = toPoint(pm.point(toVec(e.tags()[i].p)));
}

void scaleReals(const TransformContext& c, TagEditor& e, int code) {
  for (size_t i = e.find(code); i < e.end(); i = e.find(code, i + 1))
    if (e.tags()[i].kind == db::TagKind::Real) e.tags()[i].p.x *= c.scale;
}

void scaleThickness(const TransformContext& c, TagEditor& e) {
  for (size_t i = e.find(39); i < e.end(); i = e.find(39, i + 1))
    if (e.tags()[i].kind == db::TagKind::Real) e.tags()[i].p.x *= c.thickness;
}

EntStatus lineLike(const TransformContext& c, TagEditor& e) {
  for (int code : {10, 11, 12, 13}) mapPoints(c, e, code);
  if (e.has(210)) e.setPoint(210, c.mapNormal(e.normal()));
  scaleThickness(c, e);
  return EntStatus::Ok;
}

EntStatus rayLike(const TransformContext& c, TagEditor& e) {
  mapPoints(c, e, 10);
  Vec3 d = c.m.transformVector(e.point(11, geom::kXAxis));
  if (d.length() <= geom::kZeroLength) return EntStatus::Unsupported;
  e.setPoint(11, d.normalized());
  return EntStatus::Ok;
}

EntStatus circleLike(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  PlaneMap pm(c, e);
  mapOcsPoints(pm, e, 10);
  scaleReals(c, e, 40);
  scaleThickness(c, e);
  if (e.has(50) && e.has(51)) {
    double a0 = pm.angleDegrees(e.real(50, 0.0)), a1 = pm.angleDegrees(e.real(51, 0.0));
    e.setReal(50, pm.mirrored ? a1 : a0);
    e.setReal(51, pm.mirrored ? a0 : a1);
  }
  return EntStatus::Ok;
}

EntStatus ellipse(const TransformContext& c, TagEditor& e) {
  CurvePtr curve = curveOf(c.db, c.id);
  if (!curve) return EntStatus::InvalidData;
  CurvePtr moved = curve->transformed(c.m);
  if (!moved) return EntStatus::NonUniform;
  CurveGroups groups;
  if (curveGroups(*moved, groups) != EntStatus::Ok || groups.type != "ELLIPSE") return EntStatus::Unsupported;
  for (const db::Tag& t : groups.groups) {
    if (t.kind == db::TagKind::Real) e.setReal(t.code, t.p.x);
    else e.setPoint(t.code, toVec(t.p));
  }
  return EntStatus::Ok;
}

bool hasWidthOrBulge(const TagEditor& e) {
  for (int code : {40, 41, 42, 43})
    for (size_t i = e.find(code); i < e.end(); i = e.find(code, i + 1))
      if (e.tags()[i].asReal() != 0.0) return true;
  return false;
}

void negateBulges(TagEditor& e) {
  for (size_t i = e.find(42); i < e.end(); i = e.find(42, i + 1)) e.tags()[i].p.x = -e.tags()[i].p.x;
}

EntStatus lwpolyline(const TransformContext& c, TagEditor& e) {
  if (!c.uniform() && hasWidthOrBulge(e)) return EntStatus::NonUniform;
  PlaneMap pm(c, e);
  double elevation = e.real(38, 0.0);
  for (size_t i = e.find(10); i < e.end(); i = e.find(10, i + 1)) {
    Vec3 p = pm.point({e.tags()[i].p.x, e.tags()[i].p.y, elevation});
    e.tags()[i].p = {p.x, p.y, 0.0};
  }
  double z = pm.point({0.0, 0.0, elevation}).z;
  if (e.has(38) || std::fabs(z) > 0.0) e.setReal(38, z);
  if (pm.mirrored) negateBulges(e);
  if (c.uniform())
    for (int code : {40, 41, 43}) scaleReals(c, e, code);
  scaleThickness(c, e);
  return EntStatus::Ok;
}

constexpr int kPolyline3d = 8, kPolyMesh = 16, kPolyface = 64;

// A 2D polyline's vertices are in its object system; the others' in world coordinates.
EntStatus vertexOf(const TransformContext& c, TagEditor& vertex, const PlaneMap* pm) {
  if (!pm) {
    mapPoints(c, vertex, 10);
    return EntStatus::Ok;
  }
  if (!c.uniform() && hasWidthOrBulge(vertex)) return EntStatus::NonUniform;
  mapOcsPoints(*pm, vertex, 10);
  if (pm->mirrored) negateBulges(vertex);
  if (c.uniform())
    for (int code : {40, 41}) scaleReals(c, vertex, code);
  return EntStatus::Ok;
}

EntStatus polyline(const TransformContext& c, TagEditor& e) {
  bool planar = !(e.integer(70, 0) & (kPolyline3d | kPolyMesh | kPolyface));
  if (planar && !c.uniform() && hasWidthOrBulge(e)) return EntStatus::NonUniform;
  std::optional<PlaneMap> pm;
  if (planar) {
    pm.emplace(c, e);
    mapOcsPoints(*pm, e, 10);
    if (c.uniform()) for (int code : {40, 41}) scaleReals(c, e, code);
    scaleThickness(c, e);
  }
  for (uint32_t v : subEntitiesOf(c.db, c.id)) {
    TransformedObject obj{v, c.db.tagList(v)};
    TagEditor ve(c.db.typeOf(v), obj.tags);
    if (c.db.typeOf(v) == "VERTEX") {
      EntStatus st = vertexOf(c, ve, pm ? &*pm : nullptr);
      if (st != EntStatus::Ok) return st;
    }
    c.extra.push_back(std::move(obj));
  }
  return EntStatus::Ok;
}

EntStatus spline(const TransformContext& c, TagEditor& e) {
  for (int code : {10, 11}) mapPoints(c, e, code);
  for (int code : {12, 13})
    if (e.has(code)) e.setPoint(code, c.m.transformVector(e.point(code)).normalized());
  if (e.has(210)) e.setPoint(210, c.mapNormal(e.normal()));
  return EntStatus::Ok;
}

EntStatus solid(const TransformContext& c, TagEditor& e) {
  PlaneMap pm(c, e);
  for (int code : {10, 11, 12, 13}) mapOcsPoints(pm, e, code);
  scaleThickness(c, e);
  return EntStatus::Ok;
}

EntStatus shapeEntity(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  PlaneMap pm(c, e);
  mapOcsPoints(pm, e, 10);
  scaleReals(c, e, 40);
  e.setReal(50, pm.angleDegrees(e.real(50, 0.0)));
  return EntStatus::Ok;
}

EntStatus leader(const TransformContext& c, TagEditor& e) {
  mapPoints(c, e, 10);
  for (int code : {211, 212, 213})
    if (e.has(code)) e.setPoint(code, c.m.transformVector(e.point(code)));
  if (e.has(210)) e.setPoint(210, c.mapNormal(e.normal()));
  return EntStatus::Ok;
}

// WIPEOUT and IMAGE: the corner and the pixel vectors.
EntStatus image(const TransformContext& c, TagEditor& e) {
  mapPoints(c, e, 10);
  for (int code : {11, 12}) e.setPoint(code, c.m.transformVector(e.point(code)));
  return EntStatus::Ok;
}

EntStatus mleader(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  for (int code : {10, 12, 15, 110}) mapPoints(c, e, code);
  for (int code : {11, 111, 112, 13}) {
    for (size_t i = e.find(code); i < e.end(); i = e.find(code, i + 1))
      e.tags()[i].p = toPoint(c.m.transformVector(toVec(e.tags()[i].p)).normalized());
  }
  for (int code : {40, 41, 140, 145}) scaleReals(c, e, code);
  return EntStatus::Ok;
}

EntStatus dimension(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  for (int code : {10, 13, 14, 15, 16}) mapPoints(c, e, code);
  PlaneMap pm(c, e);
  for (int code : {11, 12}) mapOcsPoints(pm, e, code);
  for (int code : {50, 53})
    if (e.has(code)) e.setReal(code, pm.angleDegrees(e.real(code, 0.0)));
  uint32_t block = c.db.findBlock(findString(c.db, c.id, 2));
  if (block == db::kNoObject) return EntStatus::Ok;
  for (uint32_t sub : c.db.blocks()[block].entities) {
    // A dimension inside a dimension's block could name that block again.
    if (c.db.isErased(sub) || (c.db.object(sub).flags & db::kSubEntity) || c.db.typeOf(sub) == "DIMENSION") continue;
    EntStatus st = c.also(sub);
    if (st != EntStatus::Ok && st != EntStatus::NotGeometric) return st;
  }
  return EntStatus::Ok;
}

EntStatus point(const TransformContext& c, TagEditor& e) {
  mapPoints(c, e, 10);
  if (e.has(210)) e.setPoint(210, c.mapNormal(e.normal()));
  return EntStatus::Ok;
}

EntStatus viewport(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  mapPoints(c, e, 10);
  for (int code : {40, 41}) {
    size_t i = e.find(code);
    if (i < e.end()) e.tags()[i].p.x *= c.scale;
  }
  return EntStatus::Ok;
}

using Transformer = EntStatus (*)(const TransformContext&, TagEditor&);

const std::unordered_map<std::string_view, Transformer>& transformers() {
  static const std::unordered_map<std::string_view, Transformer> table = {
      {"LINE", lineLike},       {"3DFACE", lineLike},      {"POINT", point},
      {"XLINE", rayLike},       {"RAY", rayLike},          {"CIRCLE", circleLike},
      {"ARC", circleLike},      {"ELLIPSE", ellipse},      {"LWPOLYLINE", lwpolyline},
      {"POLYLINE", polyline},   {"SPLINE", spline},        {"SOLID", solid},
      {"TRACE", solid},         {"SHAPE", shapeEntity},    {"LEADER", leader},
      {"WIPEOUT", image},       {"IMAGE", image},          {"MULTILEADER", mleader},
      {"MLEADER", mleader},     {"DIMENSION", dimension},  {"VIEWPORT", viewport},
      {"TEXT", transformText},  {"ATTRIB", transformText}, {"ATTDEF", transformText},
      {"MTEXT", transformMText}, {"INSERT", transformInsert}, {"HATCH", transformHatch},
  };
  return table;
}

bool isPlanar(std::string_view type) {
  static const std::unordered_map<std::string_view, bool> planar = {
      {"LINE", true},  {"CIRCLE", true}, {"ARC", true},   {"LWPOLYLINE", true}, {"POLYLINE", true},
      {"SOLID", true}, {"TRACE", true},  {"TEXT", true},  {"ATTRIB", true},     {"ATTDEF", true},
      {"MTEXT", true}, {"SHAPE", true},  {"HATCH", true}, {"DIMENSION", true},
  };
  return planar.count(type) != 0;
}

// The scale of m within the plane of `normal` when m keeps that plane's
// shapes similar (its axes stay perpendicular and equally long), and the
// factor of lengths along the normal.
void planeScale(const geom::Matrix4& m, const Vec3& normal, double& scale, double& thickness) {
  geom::OcsAxes a = geom::ocsAxes(normal);
  Vec3 u = m.transformVector(a.x), v = m.transformVector(a.y);
  Vec3 n = u.cross(v);
  if (n.length() <= 0.0) return;
  thickness = std::fabs(m.transformVector(a.z).dot(n.normalized()));
  if (!geom::keepsSimilar(u, v)) return;
  scale = u.length();
}

}  // namespace

EntStatus transformEntity(const db::Database& db, uint32_t id, const geom::Matrix4& m,
                          const TransformOptions& options, std::vector<TransformedObject>& out) {
  if (!db.valid(id) || db.isErased(id)) return EntStatus::NotFound;
  if (!m.isFinite() || std::fabs(m.determinant()) <= geom::kZeroLength) return EntStatus::Unsupported;
  auto it = transformers().find(db.typeOf(id));
  if (it == transformers().end()) return EntStatus::Unsupported;
  size_t first = out.size();
  out.push_back({id, db.tagList(id)});
  std::vector<TransformedObject> extra;
  double scale = m.similarityScale(), thickness = scale > 0.0 ? scale : 1.0;
  if (isPlanar(db.typeOf(id))) planeScale(m, Groups(db, id).normal(), scale, thickness);
  TransformContext ctx{db, id, m, options, scale, thickness, extra};
  TagEditor editor(db.typeOf(id), out[first].tags);
  EntStatus st = it->second(ctx, editor);
  if (st != EntStatus::Ok) {
    out.resize(first);
    return st;
  }
  for (TransformedObject& o : extra) out.push_back(std::move(o));
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
