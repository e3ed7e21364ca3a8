// Lengths, enclosed areas and orientation of curves.
#include "geom/measure.h"

#include <cmath>

namespace tarn::geom {

double signedArea(const Curve& c, const Vec3& normal) { return c.areaVector().dot(normal.normalized()); }

GeomStatus area(const Curve& c, double& out) {
  if (!c.isBounded()) return GeomStatus::InvalidInput;
  Vec3 n;
  const GeomStatus st = c.planeNormal(n);
  if (st == GeomStatus::Degenerate) {
    out = 0.0;  // a straight curve encloses nothing
    return GeomStatus::Ok;
  }
  if (st != GeomStatus::Ok) return st;
  out = std::fabs(signedArea(c, n));
  return GeomStatus::Ok;
}

GeomStatus curveLength(const Curve& c, double& out) {
  if (!c.isBounded()) return GeomStatus::InvalidInput;
  out = c.length();
  return std::isfinite(out) ? GeomStatus::Ok : GeomStatus::InvalidInput;
}

int orientation(const Curve& c, const Vec3& normal) {
  const double a = signedArea(c, normal);
  const double size = c.boundingBox().size().length();
  if (std::fabs(a) <= 1e-12 * size * size) return 0;
  return a > 0.0 ? 1 : -1;
}

}  // namespace tarn::geom
