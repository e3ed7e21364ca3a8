// Coordinate systems: the arbitrary-axis rule, UCS and view frames, and the
// conversion of points and displacements between any two of them.
#include "geom/coord_system.h"

#include <cmath>

#include "geom/tolerance.h"

namespace tarn::geom {

namespace {
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

Matrix4 frameInverse(const Vec3& o, const Vec3& x, const Vec3& y, const Vec3& z) {
  // The frames here are orthonormal, so the inverse is the transpose.
  return Matrix4::fromAxes({}, x, y, z).transposed() * Matrix4::translation(-o);
}
}  // namespace

OcsAxes ocsAxes(const Vec3& normal) {
  // Most entities lie in the world XY plane: the rule gives the world axes
  // exactly there, without the arithmetic (intended exact comparison).
  if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0) return {kXAxis, kYAxis, kZAxis};
  Vec3 n = normal.normalized();
  if (n.lengthSquared() == 0.0) n = kZAxis;  // intended exact: normalized() gives exact zero
  const bool nearZ = std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit;
  const Vec3 ax = (nearZ ? kYAxis.cross(n) : kZAxis.cross(n)).normalized();
  return {ax, n.cross(ax).normalized(), n};
}

Matrix4 ocsToWorld(const Vec3& normal) {
  const OcsAxes a = ocsAxes(normal);
  return Matrix4::fromAxes({}, a.x, a.y, a.z);
}

Matrix4 worldToOcs(const Vec3& normal) {
  const OcsAxes a = ocsAxes(normal);
  return frameInverse({}, a.x, a.y, a.z);
}

Vec3 Ucs::zAxis() const { return xAxis.cross(yAxis).normalized(); }

Matrix4 Ucs::toWorld() const {
  const Vec3 x = xAxis.normalized();
  const Vec3 z = zAxis();
  return Matrix4::fromAxes(origin, x, z.cross(x), z);
}

Matrix4 Ucs::fromWorld() const {
  const Vec3 x = xAxis.normalized();
  const Vec3 z = zAxis();
  return frameInverse(origin, x, z.cross(x), z);
}

namespace {
OcsAxes viewAxes(const ViewSpec& v) {
  const OcsAxes a = ocsAxes(v.direction);
  const double c = std::cos(-v.twist), s = std::sin(-v.twist);
  return {a.x * c + a.y * s, a.y * c - a.x * s, a.z};
}
}  // namespace

Matrix4 ViewSpec::toWorld() const {
  const OcsAxes a = viewAxes(*this);
  return Matrix4::fromAxes(target, a.x, a.y, a.z);
}

Matrix4 ViewSpec::fromWorld() const {
  const OcsAxes a = viewAxes(*this);
  return frameInverse(target, a.x, a.y, a.z);
}

namespace {
GeomStatus toWorldOf(const CoordContext& ctx, const CoordSpec& s, Matrix4& out) {
  switch (s.kind) {
    case CoordKind::World: out = Matrix4(); return GeomStatus::Ok;
    case CoordKind::User:
      if (isParallel(ctx.ucs.xAxis, ctx.ucs.yAxis) || isZeroLength(ctx.ucs.xAxis.length()))
        return GeomStatus::Degenerate;
      out = ctx.ucs.toWorld();
      return GeomStatus::Ok;
    case CoordKind::Display:
      if (isZeroLength(ctx.view.direction.length())) return GeomStatus::Degenerate;
      out = ctx.view.toWorld();
      return GeomStatus::Ok;
    case CoordKind::Object:
      if (isZeroLength(s.normal.length()) || !s.normal.isFinite()) return GeomStatus::Degenerate;
      out = ocsToWorld(s.normal);
      return GeomStatus::Ok;
    case CoordKind::PaperDisplay: break;
  }
  return GeomStatus::Unsupported;
}
}  // namespace

GeomStatus coordTransform(const CoordContext& ctx, const CoordSpec& from, const CoordSpec& to,
                          Matrix4& out) {
  Matrix4 fromToWorld, toToWorld, worldToTarget;
  GeomStatus st = toWorldOf(ctx, from, fromToWorld);
  if (st != GeomStatus::Ok) return st;
  if ((st = toWorldOf(ctx, to, toToWorld)) != GeomStatus::Ok) return st;
  if ((st = toToWorld.inverse(worldToTarget)) != GeomStatus::Ok) return st;
  out = worldToTarget * fromToWorld;
  return GeomStatus::Ok;
}

GeomStatus transformCoords(const CoordContext& ctx, const Vec3& p, const CoordSpec& from,
                           const CoordSpec& to, bool displacement, Vec3& out) {
  if (!p.isFinite()) return GeomStatus::InvalidInput;
  Matrix4 m;
  const GeomStatus st = coordTransform(ctx, from, to, m);
  if (st != GeomStatus::Ok) return st;
  out = displacement ? m.transformVector(p) : m.transformPoint(p);
  return GeomStatus::Ok;
}

}  // namespace tarn::geom
