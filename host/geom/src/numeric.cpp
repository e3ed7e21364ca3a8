// Quadrature and closest-point refinement shared by the numeric curves.
#include "numeric.h"

#include <cmath>

namespace tarn::geom::detail {

namespace {
constexpr std::array<double, 5> kNodes = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                                          0.8650633666889845, 0.9739065285171717};
constexpr std::array<double, 5> kWeights = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                            0.1494513491505806, 0.0666713443086881};
}  // namespace

double gaussIntegrate(const std::function<double(double)>& f, double a, double b) {
  const double mid = 0.5 * (a + b), half = 0.5 * (b - a);
  double s = 0.0;
  for (size_t i = 0; i < kNodes.size(); ++i)
    s += kWeights[i] * (f(mid - half * kNodes[i]) + f(mid + half * kNodes[i]));
  return s * half;
}

Vec3 gaussIntegrateVec(const std::function<Vec3(double)>& f, double a, double b) {
  const double mid = 0.5 * (a + b), half = 0.5 * (b - a);
  Vec3 s{};
  for (size_t i = 0; i < kNodes.size(); ++i)
    s += (f(mid - half * kNodes[i]) + f(mid + half * kNodes[i])) * kWeights[i];
  return s * half;
}

namespace {
double slope(const Curve& c, const Vec3& p, double t) { return (c.pointAt(t) - p).dot(c.derivAt(t)); }
double dist2(const Curve& c, const Vec3& p, double t) { return (c.pointAt(t) - p).lengthSquared(); }
}  // namespace

double refineClosest(const Curve& c, const Vec3& p, double lo, double hi, double t) {
  // Safeguarded Newton on g(t) = (C(t) - p) . C'(t): a step that leaves the
  // bracket or does not shrink the distance falls back to bisection on g.
  double glo = slope(c, p, lo), ghi = slope(c, p, hi);
  if (glo >= 0.0 && ghi >= 0.0) return dist2(c, p, lo) <= dist2(c, p, t) ? lo : t;
  if (glo <= 0.0 && ghi <= 0.0) return dist2(c, p, hi) <= dist2(c, p, t) ? hi : t;
  for (int it = 0; it < 100 && hi - lo > 1e-15 * (1.0 + std::fabs(t)); ++it) {
    const Vec3 d = c.derivAt(t);
    const Vec3 r = c.pointAt(t) - p;
    const double g = r.dot(d);
    if (g < 0.0) lo = t; else hi = t;
    const double h = 1e-7 * (hi - lo + 1e-9);
    const Vec3 dd = (c.derivAt(t + h) - c.derivAt(t - h)) / (2.0 * h);
    const double gp = d.dot(d) + r.dot(dd);
    double next = gp > 0.0 ? t - g / gp : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (std::fabs(next - t) <= 1e-15 * (1.0 + std::fabs(t))) return next;
    t = next;
  }
  return t;
}

double wrapParam(const Curve& c, double t) {
  const double s = c.startParam(), per = period(c);
  double r = std::fmod(t - s, per);
  if (r < 0.0) r += per;
  return s + r;
}

}  // namespace tarn::geom::detail
