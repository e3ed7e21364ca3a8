// Spline: NURBS evaluation (basis functions with first derivatives), knot
// insertion, sub-curves, transforms and reversal.
#include "geom/spline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarn::geom {

namespace {
constexpr int kMaxDegree = 15;

// Basis functions N[0..p] and their derivatives dN[0..p] on span k at u.
void basisFuns(int k, double u, int p, const std::vector<double>& U, double* N, double* dN) {
  std::array<std::array<double, kMaxDegree + 1>, kMaxDegree + 1> ndu{};
  std::array<double, kMaxDegree + 1> left{}, right{};
  ndu[0][0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[k + 1 - j];
    right[j] = U[k + j] - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];  // knot differences, lower triangle
      const double temp = ndu[r][j - 1] / ndu[j][r];
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  for (int r = 0; r <= p; ++r) {
    N[r] = ndu[r][p];
    double d = 0.0;
    if (r >= 1) d += ndu[r - 1][p - 1] / ndu[p][r - 1];
    if (r <= p - 1) d -= ndu[r][p - 1] / ndu[p][r];
    dN[r] = p * d;
  }
}
}  // namespace

GeomStatus Spline::make(int degree, std::vector<double> knots, std::vector<Vec3> points,
                        std::vector<double> weights, std::unique_ptr<Spline>& out) {
  if (degree < 1 || degree > kMaxDegree || points.size() < static_cast<size_t>(degree) + 1)
    return GeomStatus::InvalidInput;
  if (knots.size() != points.size() + degree + 1) return GeomStatus::InvalidInput;
  if (!weights.empty() && weights.size() != points.size()) return GeomStatus::InvalidInput;
  for (size_t i = 0; i < knots.size(); ++i)
    if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return GeomStatus::InvalidInput;
  for (const Vec3& p : points)
    if (!p.isFinite()) return GeomStatus::InvalidInput;
  for (double w : weights)
    if (!(w > 0.0) || !std::isfinite(w)) return GeomStatus::InvalidInput;
  if (!(knots[points.size()] > knots[degree])) return GeomStatus::InvalidInput;
  if (weights.empty()) weights.assign(points.size(), 1.0);
  out.reset(new Spline());
  out->degree_ = degree;
  out->knots_ = std::move(knots);
  out->points_ = std::move(points);
  out->weights_ = std::move(weights);
  return GeomStatus::Ok;
}

bool Spline::isRational() const {
  for (double w : weights_)
    if (w != weights_.front()) return true;  // intended exact: equal weights are non-rational
  return false;
}

int Spline::span(double t) const {
  const int n = static_cast<int>(points_.size()) - 1;
  if (t >= knots_[n + 1]) {
    int k = n;
    while (k > degree_ && knots_[k] >= knots_[n + 1]) --k;  // last non-empty span
    return k;
  }
  if (t <= knots_[degree_]) {
    int k = degree_;
    while (k < n && knots_[k + 1] <= knots_[degree_]) ++k;
    return k;
  }
  const auto it = std::upper_bound(knots_.begin() + degree_, knots_.begin() + n + 1, t);
  return static_cast<int>(it - knots_.begin()) - 1;
}

void Spline::evalHomogeneous(double t, Vec3& p, double& w, Vec3& dp, double& dw) const {
  const int k = span(t);
  std::array<double, kMaxDegree + 1> N{}, dN{};
  basisFuns(k, t, degree_, knots_, N.data(), dN.data());
  p = dp = Vec3{};
  w = dw = 0.0;
  for (int r = 0; r <= degree_; ++r) {
    const size_t i = static_cast<size_t>(k - degree_ + r);
    const double wi = weights_[i];
    p += points_[i] * (N[r] * wi);
    dp += points_[i] * (dN[r] * wi);
    w += N[r] * wi;
    dw += dN[r] * wi;
  }
}

double Spline::basisValue(size_t i, double t) const {
  const int k = span(t);
  const int r = static_cast<int>(i) - (k - degree_);
  if (r < 0 || r > degree_) return 0.0;
  std::array<double, kMaxDegree + 1> N{}, dN{};
  basisFuns(k, t, degree_, knots_, N.data(), dN.data());
  return N[r];
}

Vec3 Spline::pointAt(double t) const {
  Vec3 p, dp;
  double w, dw;
  evalHomogeneous(t, p, w, dp, dw);
  return p / w;
}

Vec3 Spline::derivAt(double t) const {
  Vec3 p, dp;
  double w, dw;
  evalHomogeneous(t, p, w, dp, dw);
  return (dp - p / w * dw) / w;
}

bool Spline::isClosed() const {
  const Vec3 a = startPoint(), b = endPoint();
  return pointsEqual(a, b) && boundingBox().size().length() > 0.0;
}

BoundingBox Spline::boundingBox() const {
  // The control polygon's box contains the curve (positive weights).
  BoundingBox b;
  for (const Vec3& p : points_) b.add(p);
  return b;
}

CurvePtr Spline::transformed(const Matrix4& m) const {
  Spline s = *this;
  for (Vec3& p : s.points_) p = m.transformPoint(p);
  return std::make_unique<Spline>(std::move(s));
}

CurvePtr Spline::reversed() const {
  Spline s = *this;
  const double a = knots_.front(), b = knots_.back();
  for (size_t i = 0; i < knots_.size(); ++i) s.knots_[i] = a + b - knots_[knots_.size() - 1 - i];
  std::reverse(s.points_.begin(), s.points_.end());
  std::reverse(s.weights_.begin(), s.weights_.end());
  return std::make_unique<Spline>(std::move(s));
}

Spline Spline::withKnotInserted(double u) const {
  const int p = degree_;
  const int k = span(u);
  Spline s;
  s.degree_ = p;
  s.knots_ = knots_;
  s.knots_.insert(s.knots_.begin() + k + 1, u);
  const size_t n = points_.size();
  s.points_.resize(n + 1);
  s.weights_.resize(n + 1);
  for (size_t i = 0; i <= n; ++i) {
    const int ii = static_cast<int>(i);
    if (ii <= k - p) {
      s.points_[i] = points_[i];
      s.weights_[i] = weights_[i];
    } else if (ii >= k + 1) {
      s.points_[i] = points_[i - 1];
      s.weights_[i] = weights_[i - 1];
    } else {
      const double den = knots_[i + p] - knots_[i];
      const double a = den > 0.0 ? (u - knots_[i]) / den : 0.0;
      const double w = a * weights_[i] + (1 - a) * weights_[i - 1];
      const Vec3 hw = points_[i] * (a * weights_[i]) + points_[i - 1] * ((1 - a) * weights_[i - 1]);
      s.points_[i] = hw / w;
      s.weights_[i] = w;
    }
  }
  return s;
}

namespace {
int multiplicity(const std::vector<double>& U, double u) {
  return static_cast<int>(std::count(U.begin(), U.end(), u));
}

// Joins two clamped splines of one degree where a ends and b starts.
Spline* joinInto(Spline& a, const Spline& b, std::unique_ptr<Spline>& holder) {
  const int p = a.degree();
  std::vector<double> k(a.knots().begin(), a.knots().end() - 1);
  const double shift = a.endParam() - b.startParam();
  for (size_t i = static_cast<size_t>(p) + 1; i < b.knots().size(); ++i) k.push_back(b.knots()[i] + shift);
  std::vector<Vec3> pts = a.controlPoints();
  std::vector<double> ws = a.weights();
  const double scale = ws.back() / b.weights().front();
  for (size_t i = 1; i < b.controlPoints().size(); ++i) {
    pts.push_back(b.controlPoints()[i]);
    ws.push_back(b.weights()[i] * scale);
  }
  Spline::make(p, std::move(k), std::move(pts), std::move(ws), holder);
  return holder.get();
}
}  // namespace

CurvePtr Spline::subCurve(double t0, double t1) const {
  const double s = startParam(), e = endParam();
  if (isClosed() && t1 > e) {
    auto first = subCurve(t0, e);
    auto second = subCurve(s, t1 - (e - s));
    std::unique_ptr<Spline> joined;
    if (!joinInto(static_cast<Spline&>(*first), static_cast<const Spline&>(*second), joined)) return first;
    return joined;
  }
  t0 = std::clamp(t0, s, e);
  t1 = std::clamp(t1, s, e);
  const int p = degree_;
  Spline c = *this;
  while (multiplicity(c.knots_, t0) < p) c = c.withKnotInserted(t0);
  while (multiplicity(c.knots_, t1) < p) c = c.withKnotInserted(t1);
  const auto& U = c.knots_;
  const int k0 = static_cast<int>(std::upper_bound(U.begin(), U.end(), t0) - U.begin()) - 1;  // last == t0
  const int k1 = static_cast<int>(std::lower_bound(U.begin(), U.end(), t1) - U.begin());      // first == t1
  std::vector<double> knots(static_cast<size_t>(p) + 1, t0);
  for (int i = k0 + 1; i < k1; ++i) knots.push_back(U[i]);
  knots.insert(knots.end(), static_cast<size_t>(p) + 1, t1);
  std::vector<Vec3> pts(c.points_.begin() + (k0 - p), c.points_.begin() + k1);
  std::vector<double> ws(c.weights_.begin() + (k0 - p), c.weights_.begin() + k1);
  std::unique_ptr<Spline> out;
  if (make(p, std::move(knots), std::move(pts), std::move(ws), out) != GeomStatus::Ok) return nullptr;
  return out;
}

void Spline::appendPieces(std::vector<CurvePiece>& out) const {
  CurvePiece p;
  p.kind = PieceKind::General;
  p.owner = this;
  p.t0 = startParam();
  p.t1 = endParam();
  out.push_back(p);
}

GeomStatus Spline::planeNormal(Vec3& n) const { return Curve::planeNormal(n); }

std::vector<double> Spline::sampleParams() const {
  const int perSpan = std::max(8, 2 * degree_ + 2);
  std::vector<double> ps;
  const double s = startParam(), e = endParam();
  for (size_t i = static_cast<size_t>(degree_); i + 1 < knots_.size() - degree_; ++i) {
    const double a = std::max(knots_[i], s), b = std::min(knots_[i + 1], e);
    if (!(b > a)) continue;
    for (int j = 0; j < perSpan; ++j) ps.push_back(a + (b - a) * j / perSpan);
  }
  ps.push_back(e);
  return ps;
}

}  // namespace tarn::geom
