// Transformation of block references: the new placement is read back from
// the images of the block's axes, which must stay perpendicular.
#include <cmath>

#include "entgeom/entity_curve.h"
#include "geom/coord_system.h"
#include "geom/tolerance.h"
#include "groups.h"
#include "transformers.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {


bool perpendicular(const Vec3& a, const Vec3& b) {
  return std::fabs(a.dot(b)) <= geom::kSimilarity * a.length() * b.length();
}

struct Placement {
  Vec3 normal, xDir;
  double sx, sy, sz;
};

// The block's axes in world coordinates, scaled.
void blockAxes(const TagEditor& e, Vec3& x, Vec3& y, Vec3& z) {
  Vec3 n = e.normal();
  geom::OcsAxes a = geom::ocsAxes(n);
  double r = radians(e.real(50, 0.0));
  Vec3 ex = a.x * std::cos(r) + a.y * std::sin(r);
  x = ex * e.real(41, 1.0);
  y = n.cross(ex) * e.real(42, 1.0);
  z = n * e.real(43, 1.0);
}

EntStatus newPlacement(const TransformContext& c, const TagEditor& e, Placement& out) {
  Vec3 x, y, z;
  blockAxes(e, x, y, z);
  Vec3 x2 = c.m.transformVector(x), y2 = c.m.transformVector(y), z2 = c.m.transformVector(z);
  if (!perpendicular(x2, y2) || !perpendicular(x2, z2) || !perpendicular(y2, z2)) return EntStatus::NonUniform;
  out.normal = c.mapNormal(e.normal());
  out.sx = x2.length();
  if (out.sx <= geom::kZeroLength) return EntStatus::Unsupported;
  out.xDir = x2 / out.sx;
  out.sy = y2.dot(out.normal.cross(out.xDir));
  out.sz = z2.dot(out.normal);
  return EntStatus::Ok;
}

}  // namespace

EntStatus transformInsert(const TransformContext& c, TagEditor& e) {
  Placement p;
  EntStatus st = newPlacement(c, e, p);
  if (st != EntStatus::Ok) return st;
  double sx = e.real(41, 1.0), sy = e.real(42, 1.0);
  Vec3 insertion = c.m.transformPoint(geom::ocsToWorld(e.normal()).transformPoint(e.point(10)));
  geom::Matrix4 toOcs = geom::worldToOcs(p.normal);
  e.setPoint(10, toOcs.transformPoint(insertion));
  if (e.has(210) || !geom::pointsEqual(p.normal, geom::kZAxis)) e.setPoint(210, p.normal);
  Vec3 d = toOcs.transformVector(p.xDir);
  e.setReal(50, degrees(geom::normalizeAngle(std::atan2(d.y, d.x))));
  for (auto [code, v] : {std::pair{41, p.sx}, {42, p.sy}, {43, p.sz}})
    if (e.has(code) || std::fabs(v - 1.0) > 0.0) e.setReal(code, v);
  if (e.has(44) && sx != 0.0) e.setReal(44, e.real(44, 0.0) * p.sx / sx);
  if (e.has(45) && sy != 0.0) e.setReal(45, e.real(45, 0.0) * p.sy / sy);
  for (uint32_t sub : subEntitiesOf(c.db, c.id)) {
    if (c.db.typeOf(sub) != "ATTRIB") continue;
    st = c.also(sub);
    if (st != EntStatus::Ok) return st;
  }
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
