// Internal numeric helpers: Gauss-Legendre quadrature and the safeguarded
// closest-point refinement that curves without a closed form share.
#pragma once

#include <array>
#include <cmath>
#include <functional>

#include "geom/bounding_box.h"
#include "geom/curve.h"
#include "geom/tolerance.h"

namespace tarn::geom::detail {

// Integral of f over [a, b] with a 10-point Gauss-Legendre rule.
double gaussIntegrate(const std::function<double(double)>& f, double a, double b);
Vec3 gaussIntegrateVec(const std::function<Vec3(double)>& f, double a, double b);

// Parameter in [lo, hi] minimising the distance from p to c, starting at t.
double refineClosest(const Curve& c, const Vec3& p, double lo, double hi, double t);

// Parameter range period of a closed curve.
inline double period(const Curve& c) { return c.endParam() - c.startParam(); }

// Parameter t brought into [start, start + period) of a closed curve.
double wrapParam(const Curve& c, double t);

// Adds to a box the points of centre + u cos t + v sin t, t in [t0, t1],
// where a coordinate is extreme (circles and ellipses share this).
// A template so that measuring millions of arcs makes no indirect calls.
template <class PointAt>
void addConicExtremes(BoundingBox& box, const Vec3& u, const Vec3& v, double t0, double t1, const PointAt& pointAt) {
  // Coordinate i is extreme where u_i sin t = v_i cos t.
  const double us[3] = {u.x, u.y, u.z};
  const double vs[3] = {v.x, v.y, v.z};
  for (int i = 0; i < 3; ++i) {
    const double base = std::atan2(vs[i], us[i]);
    for (double cand : {base, base + kPi}) {
      double a = cand;
      while (a < t0) a += 2 * kPi;
      while (a >= t0 + 2 * kPi) a -= 2 * kPi;
      if (a <= t1) box.add(pointAt(a));
    }
  }
}

}  // namespace tarn::geom::detail
