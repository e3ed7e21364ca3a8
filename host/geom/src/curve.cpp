// Curve: the numeric defaults every curve can fall back on (length by
// quadrature, closest point by sampling and refinement, area by Green's
// theorem, planarity by Newell's method) and splitting.
#include "geom/curve.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "numeric.h"

namespace tarn::geom {

const char* curveKindName(CurveKind k) {
  static constexpr std::array<const char*, 10> kNames = {
      "Line", "Ray", "XLine", "Circle", "Arc", "Ellipse", "Polyline2d", "Polyline3d", "Spline",
      "Composite"};
  return kNames[static_cast<size_t>(k)];
}

bool Curve::isBounded() const { return std::isfinite(startParam()) && std::isfinite(endParam()); }

double Curve::distanceAtParam(double t) const {
  const auto speed = [this](double u) { return derivAt(u).length(); };
  const std::vector<double> ps = sampleParams();
  double s = 0.0;
  for (size_t i = 0; i + 1 < ps.size() && ps[i] < t; ++i)
    s += detail::gaussIntegrate(speed, ps[i], std::min(t, ps[i + 1]));
  return s;
}

double Curve::paramAtDistance(double s) const {
  const auto speed = [this](double u) { return derivAt(u).length(); };
  const std::vector<double> ps = sampleParams();
  double acc = 0.0;
  for (size_t i = 0; i + 1 < ps.size(); ++i) {
    const double seg = detail::gaussIntegrate(speed, ps[i], ps[i + 1]);
    if (acc + seg >= s || i + 2 == ps.size()) {
      // Newton inside the interval, kept in it by bisection.
      double lo = ps[i], hi = ps[i + 1], t = lo + (hi - lo) * (seg > 0 ? (s - acc) / seg : 0.0);
      for (int it = 0; it < 60; ++it) {
        t = std::clamp(t, lo, hi);
        const double f = acc + detail::gaussIntegrate(speed, ps[i], t) - s;
        if (std::fabs(f) <= 1e-14 * (1.0 + std::fabs(s))) break;
        if (f > 0) hi = t; else lo = t;
        const double v = speed(t);
        double next = v > 0 ? t - f / v : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        t = next;
      }
      return t;
    }
    acc += seg;
  }
  return startParam();
}

double Curve::length() const {
  if (!isBounded()) return BoundingBox::kInf;
  return distanceAtParam(endParam());
}

double Curve::closestParam(const Vec3& p) const {
  const std::vector<double> ps = sampleParams();
  size_t best = 0;
  double nearest = BoundingBox::kInf;
  for (size_t i = 0; i < ps.size(); ++i) {
    const double d = (pointAt(ps[i]) - p).lengthSquared();
    if (d < nearest) { nearest = d; best = i; }
  }
  // Refine in both neighbouring intervals (the curve may bend back between
  // samples); on a closed curve the first and last samples are neighbours.
  const size_t last = ps.size() - 1;
  std::vector<std::pair<size_t, size_t>> intervals;
  if (best > 0) intervals.push_back({best - 1, best});
  if (best < last) intervals.push_back({best, best + 1});
  if (isClosed() && best == 0 && last > 0) intervals.push_back({last - 1, last});
  if (isClosed() && best == last && last > 0) intervals.push_back({0, 1});
  double t = ps[best];
  double bestD = (pointAt(t) - p).lengthSquared();
  for (const auto& [i, j] : intervals) {
    const double start = (pointAt(ps[i]) - p).lengthSquared() < (pointAt(ps[j]) - p).lengthSquared() ? ps[i] : ps[j];
    const double u = detail::refineClosest(*this, p, ps[i], ps[j], start);
    const double d = (pointAt(u) - p).lengthSquared();
    if (d < bestD) {
      bestD = d;
      t = u;
    }
  }
  return t;
}

GeomStatus Curve::paramAtPoint(const Vec3& p, double& t, double tol) const {
  const double u = closestParam(p);
  const Vec3 q = pointAt(u);
  if (!pointsEqual(p, q, tol * 10.0)) return GeomStatus::InvalidInput;
  t = u;
  return GeomStatus::Ok;
}

std::vector<CurvePtr> Curve::splitAt(std::vector<double> params) const {
  std::sort(params.begin(), params.end());
  const double s = startParam(), e = endParam();
  std::vector<double> cuts;
  for (double p : params) {
    const bool inside = isClosed() ? (p >= s && p < e) : (p > s && p < e);
    if (inside && (cuts.empty() || p - cuts.back() > 1e-12 * (1.0 + std::fabs(p)))) cuts.push_back(p);
  }
  std::vector<CurvePtr> out;
  if (isClosed() && !cuts.empty()) {
    for (size_t i = 0; i + 1 < cuts.size(); ++i) out.push_back(subCurve(cuts[i], cuts[i + 1]));
    out.push_back(subCurve(cuts.back(), cuts.front() + (e - s)));
    return out;
  }
  double prev = s;
  for (double c : cuts) {
    out.push_back(subCurve(prev, c));
    prev = c;
  }
  out.push_back(subCurve(prev, e));
  return out;
}

Vec3 Curve::areaVector() const {
  if (!isBounded()) return {};
  const std::vector<double> ps = sampleParams();
  const Vec3 o = pointAt(startParam());  // relative to a curve point: fewer cancellations
  const auto f = [&](double u) { return (pointAt(u) - o).cross(derivAt(u)); };
  Vec3 s{};
  for (size_t i = 0; i + 1 < ps.size(); ++i) s += detail::gaussIntegrateVec(f, ps[i], ps[i + 1]);
  // Relative to the start point the closing chord adds nothing, and the area
  // of a closed loop does not depend on the point it is measured from.
  return s * 0.5;
}

GeomStatus Curve::planeNormal(Vec3& n) const {
  if (!isBounded()) return GeomStatus::Degenerate;
  const std::vector<double> ps = sampleParams();
  std::vector<Vec3> pts;
  for (double t : ps) pts.push_back(pointAt(t));
  Vec3 newell{};
  for (size_t i = 0; i < pts.size(); ++i) {
    const Vec3& a = pts[i];
    const Vec3& b = pts[(i + 1) % pts.size()];
    newell += (a - pts[0]).cross(b - pts[0]);
  }
  const BoundingBox box = boundingBox();
  const double size = box.size().length();
  if (newell.length() <= 1e-12 * size * size || size == 0.0) return GeomStatus::Degenerate;
  n = newell.normalized();
  const double tol = scaledTolerance(1e-9, size);
  for (const Vec3& p : pts)
    if (std::fabs((p - pts[0]).dot(n)) > tol) return GeomStatus::NotPlanar;
  return GeomStatus::Ok;
}

std::vector<double> Curve::sampleParams() const {
  const double s = startParam(), e = endParam();
  const int n = 64;
  std::vector<double> ps(n + 1);
  for (int i = 0; i <= n; ++i) ps[i] = s + (e - s) * i / n;
  return ps;
}

double Curve::magnitude() const {
  const BoundingBox b = boundingBox();
  if (b.isBounded()) return b.magnitude();
  const double t = std::isfinite(startParam()) ? startParam() : (std::isfinite(endParam()) ? endParam() : 0.0);
  return pointAt(t).maxAbs();
}

}  // namespace tarn::geom
