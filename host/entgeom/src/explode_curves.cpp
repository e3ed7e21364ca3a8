// Explosion of polylines into lines and arcs (2D: in their plane, widths
// dropped, elevation, normal and thickness kept; 3D: lines), of polygon and
// polyface meshes into 3D faces, and of leaders into lines (or a spline) and
// a filled arrowhead.
#include <cmath>
#include <optional>

#include "entgeom/entity_curve.h"
#include "explode_parts.h"
#include "geom/coord_system.h"
#include "geom/polyline.h"
#include "geom/spline.h"
#include "geom/tolerance.h"
#include "groups.h"

namespace tarn::entgeom {

using db::Tag;
using db::TagList;
using geom::Vec3;

namespace {

constexpr int kPolyline3d = 8, kPolyMesh = 16, kMeshClosedN = 32, kPolyface = 64;
constexpr int kVertexSplineFrame = 16, kVertexFaceRecord = 128, kVertexPolyfacePoint = 64;

void addCommon(TagList& g, const Vec3& normal, double thickness) {
  if (thickness != 0.0) g.push_back(Tag::real(39, thickness));
  if (!geom::pointsEqual(normal, geom::kZAxis)) g.push_back(pointTag(210, normal));
}

// The arc of a bulged segment in the polyline's object coordinates.
TagList arcGroups(const geom::PolyVertex& a, const geom::PolyVertex& b, double elevation) {
  const double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy);
  const double h = 0.5 * d * (1.0 - a.bulge * a.bulge) / (2.0 * a.bulge);
  const double cx = 0.5 * (a.x + b.x) - dy / d * h, cy = 0.5 * (a.y + b.y) + dx / d * h;
  double from = std::atan2(a.y - cy, a.x - cx), to = std::atan2(b.y - cy, b.x - cx);
  if (a.bulge < 0.0) std::swap(from, to);  // arcs run counter-clockwise
  return {pointTag(10, {cx, cy, elevation}), Tag::real(40, std::hypot(a.x - cx, a.y - cy)),
          Tag::real(50, degrees(geom::normalizeAngle(from))), Tag::real(51, degrees(geom::normalizeAngle(to)))};
}

ExplodeResult explode2d(const db::Database& db, uint32_t id, const geom::Polyline2d& p) {
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  const double thickness = Groups(db, id).real(39, 0.0);
  const auto& v = p.vertices();
  const size_t n = v.size(), segments = p.closedFlag() ? n : n - 1;
  for (size_t i = 0; i < segments && n > 1; ++i) {
    const geom::PolyVertex &a = v[i], &b = v[(i + 1) % n];
    Vec3 wa = p.vertexPoint(i), wb = p.vertexPoint((i + 1) % n);
    if (geom::pointsEqual(wa, wb)) continue;
    TagList g;
    std::string type = "ARC";
    if (a.bulge == 0.0) {
      type = "LINE";
      g = {pointTag(10, wa), pointTag(11, wb)};
    } else {
      g = arcGroups(a, b, p.elevation());
    }
    addCommon(g, p.normal(), thickness);
    out.entities.push_back(newEntity(type, props, std::move(g)));
  }
  return out;
}

ExplodeResult explode3d(const db::Database& db, uint32_t id, const geom::Polyline3d& p) {
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  const auto& pts = p.points();
  const size_t n = pts.size(), segments = p.closedFlag() ? n : n - 1;
  for (size_t i = 0; i < segments && n > 1; ++i) {
    const Vec3 &a = pts[i], &b = pts[(i + 1) % n];
    if (!geom::pointsEqual(a, b)) out.entities.push_back(newEntity("LINE", props, {pointTag(10, a), pointTag(11, b)}));
  }
  return out;
}

struct MeshVertex {
  Vec3 p;
  int flags;
  int index[4];  // face records: 71..74
};

std::vector<MeshVertex> meshVertices(const db::Database& db, uint32_t id) {
  std::vector<MeshVertex> out;
  for (uint32_t v : subEntitiesOf(db, id)) {
    if (db.typeOf(v) != "VERTEX") continue;
    Groups g(db, v);
    MeshVertex m{g.point(10), int(g.integer(70)), {}};
    for (int k = 0; k < 4; ++k) m.index[k] = int(g.integer(71 + k));
    out.push_back(m);
  }
  return out;
}

// A 3D face of three or four corners; `hidden` has bit k set when the edge
// from corner k is invisible.
ExplodedEntity face(const TagList& props, const std::vector<Vec3>& c, int hidden) {
  TagList g;
  for (size_t k = 0; k < 4; ++k) g.push_back(pointTag(10 + int(k), c[std::min(k, c.size() - 1)]));
  if (c.size() == 3 && (hidden & 4)) hidden = (hidden & 3) | 8;  // the closing edge of a triangle is the fourth
  if (hidden) g.push_back(Tag::integer(70, hidden));
  return newEntity("3DFACE", props, std::move(g));
}

ExplodeResult explodePolyface(const db::Database& db, uint32_t id) {
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  std::vector<Vec3> points;
  std::vector<const MeshVertex*> faces;
  std::vector<MeshVertex> all = meshVertices(db, id);
  for (const MeshVertex& v : all) {
    if (v.flags & kVertexPolyfacePoint) points.push_back(v.p);
    else if (v.flags & kVertexFaceRecord) faces.push_back(&v);
  }
  for (const MeshVertex* f : faces) {
    std::vector<Vec3> corners;
    int hidden = 0;
    for (int k = 0; k < 4; ++k) {
      int i = std::abs(f->index[k]);
      if (i == 0) continue;
      if (size_t(i) > points.size())
        return refusal(EntStatus::InvalidData, objectLabel(db, id) + " has a face naming vertex " +
                                                   std::to_string(i) + " of " + std::to_string(points.size()));
      if (f->index[k] < 0) hidden |= 1 << corners.size();
      corners.push_back(points[size_t(i) - 1]);
    }
    if (corners.size() >= 3) out.entities.push_back(face(props, corners, hidden));
    else if (corners.size() == 2) out.entities.push_back(newEntity("LINE", props, {pointTag(10, corners[0]), pointTag(11, corners[1])}));
  }
  return out;
}

ExplodeResult explodeMesh(const db::Database& db, uint32_t id) {
  Groups g(db, id);
  std::vector<Vec3> pts;
  for (const MeshVertex& v : meshVertices(db, id))
    if (!(v.flags & kVertexSplineFrame)) pts.push_back(v.p);
  long m = long(g.integer(71)), n = long(g.integer(72));
  // A smoothed surface keeps its fitted vertices in a grid of the densities.
  if (m * n != long(pts.size()) && g.integer(75) != 0) m = long(g.integer(73)), n = long(g.integer(74));
  if (m < 1 || n < 1 || m * n != long(pts.size()))
    return refusal(EntStatus::InvalidData, objectLabel(db, id) + " has " + std::to_string(pts.size()) +
                                               " vertices, which make no mesh of its size");
  const int flags = int(g.integer(70));
  const long rows = (flags & 1) ? m : m - 1, cols = (flags & kMeshClosedN) ? n : n - 1;
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  auto at = [&](long i, long j) { return pts[size_t((i % m) * n + (j % n))]; };
  for (long i = 0; i < rows; ++i)
    for (long j = 0; j < cols; ++j)
      out.entities.push_back(face(props, {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)}, 0));
  // A mesh of one row or one column is a chain of lines.
  if (rows == 0 || cols == 0)
    for (long k = 0; k + 1 < long(pts.size()); ++k)
      out.entities.push_back(newEntity("LINE", props, {pointTag(10, pts[size_t(k)]), pointTag(11, pts[size_t(k + 1)])}));
  return out;
}

}  // namespace

ExplodeResult explodePolyline(const db::Database& db, uint32_t id) {
  int flags = db.typeOf(id) == "POLYLINE" ? int(Groups(db, id).integer(70)) : 0;
  if (flags & kPolyface) return explodePolyface(db, id);
  if (flags & kPolyMesh) return explodeMesh(db, id);
  CurvePtr curve;
  EntStatus st = curveOf(db, id, curve);
  if (st != EntStatus::Ok)
    return refusal(st, objectLabel(db, id) + " has invalid vertices (" + entStatusName(st) + ")");
  if (flags & kPolyline3d) return explode3d(db, id, static_cast<const geom::Polyline3d&>(*curve));
  return explode2d(db, id, static_cast<const geom::Polyline2d&>(*curve));
}

namespace {

constexpr double kDefaultArrowSize = 0.18;

// DIMASZ times DIMSCALE of a leader: its style, then its overrides (extended
// data of "ACAD": "DSTYLE" { 1070 code, value ... }).
double arrowSize(const db::Database& db, uint32_t id) {
  double size = kDefaultArrowSize, scale = 1.0;
  uint32_t style = db.findRecord("DIMSTYLE", Groups(db, id).str(3, "Standard"));
  if (style != db::kNoObject) {
    Groups s(db, style);
    size = s.real(41, size);
    scale = s.real(40, scale);
  }
  bool overrideApp = false, dstyle = false;
  int pending = 0;
  for (db::TagCursor c = db.tags(id); !c.done(); c.next()) {
    if (c.code() == 1001) overrideApp = c.str() == "ACAD", dstyle = false;
    else if (overrideApp && c.code() == 1000) dstyle = c.str() == "DSTYLE";
    else if (dstyle && c.code() == 1070 && pending == 0) pending = int(c.integer());
    else if (dstyle && pending && (c.code() == 1040 || c.code() == 1070)) {
      if (pending == 41) size = c.number();
      if (pending == 40) scale = c.number();
      pending = 0;
    }
  }
  return size * (scale > 0.0 ? scale : 1.0);
}

// A filled closed arrowhead: a triangle from the tip back along the first
// segment, a third as wide as it is long, in the leader's plane.
ExplodedEntity arrowhead(const TagList& props, const Vec3& tip, const Vec3& next, const Vec3& normal, double size) {
  Vec3 u = (next - tip).normalized(), side = normal.cross(u) * (size / 6.0);
  Vec3 base = tip + u * size;
  geom::Matrix4 toOcs = geom::worldToOcs(normal);
  TagList g = {pointTag(10, toOcs.transformPoint(tip)), pointTag(11, toOcs.transformPoint(base + side)),
               pointTag(12, toOcs.transformPoint(base - side)), pointTag(13, toOcs.transformPoint(base - side))};
  if (!geom::pointsEqual(normal, geom::kZAxis)) g.push_back(pointTag(210, normal));
  return newEntity("SOLID", props, std::move(g));
}

}  // namespace

ExplodeResult explodeLeader(const db::Database& db, uint32_t id) {
  Groups g(db, id);
  std::vector<Vec3> pts = g.points(10);
  std::erase_if(pts, [](const Vec3& p) { return !p.isFinite(); });
  if (pts.size() < 2) return refusal(EntStatus::InvalidData, objectLabel(db, id) + " has fewer than two vertices");
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  const Vec3 normal = g.normal();
  const double size = arrowSize(db, id);
  // The arrowhead is left out when the first segment is too short to hold it.
  if (g.integer(71, 1) != 0 && size > 0.0 && geom::distance(pts[0], pts[1]) >= 2.0 * size)
    out.entities.push_back(arrowhead(props, pts[0], pts[1], normal, size));
  if (g.integer(72) == 1 && pts.size() > 2) {
    std::unique_ptr<geom::Spline> spline;
    CurveGroups groups;
    if (geom::fitSpline(pts, std::nullopt, std::nullopt, spline) == geom::GeomStatus::Ok &&
        curveGroups(*spline, groups) == EntStatus::Ok) {
      out.entities.push_back(newEntity(groups.type, props, std::move(groups.groups)));
      return out;
    }
  }
  for (size_t i = 0; i + 1 < pts.size(); ++i)
    if (!geom::pointsEqual(pts[i], pts[i + 1]))
      out.entities.push_back(newEntity("LINE", props, {pointTag(10, pts[i]), pointTag(11, pts[i + 1])}));
  return out;
}

}  // namespace tarn::entgeom
