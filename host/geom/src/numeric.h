// Internal numeric helpers: Gauss-Legendre quadrature and the safeguarded
// closest-point refinement that curves without a closed form share.
#pragma once

#include <array>
#include <functional>

#include "geom/curve.h"

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
void addConicExtremes(BoundingBox& box, const Vec3& u, const Vec3& v, double t0, double t1,
                      const std::function<Vec3(double)>& pointAt);

}  // namespace tarn::geom::detail
