// Cubic interpolation through fit points with end tangents: chord-length
// parameters, clamped knots at the fit parameters, and a banded linear
// system for the inner control points.
#include <array>
#include <cmath>

#include "geom/spline.h"

namespace tarn::geom {

namespace {
// Solves a banded system (half-bandwidth 3) without pivoting: the cubic
// interpolation matrix is totally positive, so elimination is stable.
struct BandSystem {
  static constexpr int kHalf = 3;
  std::vector<std::array<double, 2 * kHalf + 1>> a;
  std::vector<Vec3> b;
  explicit BandSystem(size_t n) : a(n), b(n) {}
  double& at(size_t i, size_t j) { return a[i][j + kHalf - i]; }
  bool solve(std::vector<Vec3>& x) {
    const size_t n = b.size();
    for (size_t k = 0; k < n; ++k) {
      if (std::fabs(at(k, k)) < 1e-300) return false;
      for (size_t i = k + 1; i < std::min(n, k + kHalf + 1); ++i) {
        const double f = at(i, k) / at(k, k);
        if (f == 0.0) continue;  // intended exact: nothing to eliminate
        for (size_t j = k; j < std::min(n, k + kHalf + 1); ++j) at(i, j) -= f * at(k, j);
        b[i] -= b[k] * f;
      }
    }
    x.assign(n, Vec3{});
    for (size_t k = n; k-- > 0;) {
      Vec3 s = b[k];
      for (size_t j = k + 1; j < std::min(n, k + kHalf + 1); ++j) s -= x[j] * at(k, j);
      x[k] = s / at(k, k);
    }
    return true;
  }
};

std::vector<Vec3> distinctPoints(const std::vector<Vec3>& in) {
  std::vector<Vec3> out;
  for (const Vec3& p : in)
    if (out.empty() || !pointsEqual(out.back(), p)) out.push_back(p);
  return out;
}

// Derivative at the first point of the parabola through three points.
Vec3 besselStart(const Vec3& q0, const Vec3& q1, const Vec3& q2, double d1, double d2) {
  const Vec3 s01 = (q1 - q0) / d1, s12 = (q2 - q1) / d2;
  return s01 - (s12 - s01) * (d1 / (d1 + d2));
}

void endTangents(const std::vector<Vec3>& q, const std::vector<double>& u, bool closed, Vec3& d0, Vec3& dn) {
  const size_t n = q.size() - 1;
  if (n == 1) {
    d0 = dn = (q[1] - q[0]) / (u[1] - u[0]);
  } else if (closed) {
    // Smooth through the seam: the central difference across it.
    d0 = dn = (q[1] - q[n - 1]) / ((u[1] - u[0]) + (u[n] - u[n - 1]));
  } else {
    d0 = besselStart(q[0], q[1], q[2], u[1] - u[0], u[2] - u[1]);
    dn = -besselStart(q[n], q[n - 1], q[n - 2], u[n] - u[n - 1], u[n - 1] - u[n - 2]);
  }
}
}  // namespace

GeomStatus fitSpline(const std::vector<Vec3>& fitPoints, std::optional<Vec3> startTangent,
                     std::optional<Vec3> endTangent, std::unique_ptr<Spline>& out) {
  for (const Vec3& p : fitPoints)
    if (!p.isFinite()) return GeomStatus::InvalidInput;
  const std::vector<Vec3> q = distinctPoints(fitPoints);
  const bool closed = q.size() > 2 && pointsEqual(q.front(), fitPoints.back()) &&
                      pointsEqual(fitPoints.front(), fitPoints.back());
  std::vector<Vec3> pts = q;
  if (closed && !pointsEqual(pts.back(), pts.front())) pts.push_back(pts.front());
  if (pts.size() < 2) return GeomStatus::Degenerate;
  const size_t n = pts.size() - 1;
  std::vector<double> u(n + 1, 0.0);
  for (size_t i = 1; i <= n; ++i) u[i] = u[i - 1] + distance(pts[i - 1], pts[i]);
  Vec3 d0, dn;
  endTangents(pts, u, closed, d0, dn);
  // Given tangents fix the direction; chord-length parameters give unit speed.
  if (startTangent && startTangent->length() > 0.0) d0 = startTangent->normalized();
  if (endTangent && endTangent->length() > 0.0) dn = endTangent->normalized();

  std::vector<double> knots(4, u[0]);
  for (size_t i = 1; i < n; ++i) knots.push_back(u[i]);
  knots.insert(knots.end(), 4, u[n]);
  std::vector<Vec3> ctrl(n + 3);
  ctrl[0] = pts[0];
  ctrl[1] = pts[0] + d0 * ((u[1] - u[0]) / 3.0);
  ctrl[n + 1] = pts[n] - dn * ((u[n] - u[n - 1]) / 3.0);
  ctrl[n + 2] = pts[n];
  if (n >= 2) {
    // Unknowns ctrl[2..n]; one equation C(u_k) = Q_k for each inner point.
    std::unique_ptr<Spline> probe;
    std::vector<double> ones(n + 3, 1.0);
    if (Spline::make(3, knots, ctrl, ones, probe) != GeomStatus::Ok) return GeomStatus::Degenerate;
    BandSystem sys(n - 1);
    for (size_t k = 1; k < n; ++k) {
      Vec3 rhs = pts[k];
      for (size_t j = 0; j < n + 3; ++j) {
        // Basis function j at u_k: the curve with a unit weight on one point.
        const double nj = probe->basisValue(j, u[k]);
        if (nj == 0.0) continue;  // intended exact: outside the support
        if (j >= 2 && j <= n) sys.at(k - 1, j - 2) = nj;
        else rhs -= ctrl[j] * nj;
      }
      sys.b[k - 1] = rhs;
    }
    std::vector<Vec3> x;
    if (!sys.solve(x)) return GeomStatus::Degenerate;
    for (size_t j = 2; j <= n; ++j) ctrl[j] = x[j - 2];
  }
  return Spline::make(3, std::move(knots), std::move(ctrl), {}, out);
}

}  // namespace tarn::geom
