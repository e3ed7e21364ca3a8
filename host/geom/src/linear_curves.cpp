// Line, Ray and XLine: the straight curves.
#include "geom/linear_curves.h"

#include <cmath>

namespace tarn::geom {

namespace {
constexpr double kInf = BoundingBox::kInf;

Vec3 unitOrX(const Vec3& d) {
  const Vec3 u = d.normalized();
  return u.lengthSquared() > 0.0 ? u : kXAxis;
}
}  // namespace

LinearCurve::LinearCurve(const Vec3& base, const Vec3& unitDir, double t0, double t1)
    : base_(base), dir_(unitDir), t0_(t0), t1_(t1) {}

double LinearCurve::distanceAtParam(double t) const { return std::isfinite(t0_) ? t - t0_ : t; }
double LinearCurve::paramAtDistance(double s) const { return std::isfinite(t0_) ? t0_ + s : s; }

double LinearCurve::closestParam(const Vec3& p) const {
  const double t = (p - base_).dot(dir_);
  return t < t0_ ? t0_ : (t > t1_ ? t1_ : t);
}

BoundingBox LinearCurve::boundingBox() const {
  BoundingBox b;
  if (std::isfinite(t0_) && std::isfinite(t1_)) {
    b.add(pointAt(t0_));
    b.add(pointAt(t1_));
    return b;
  }
  // Unbounded: infinite along every axis the direction moves in.
  const Vec3 p = pointAt(std::isfinite(t0_) ? t0_ : (std::isfinite(t1_) ? t1_ : 0.0));
  b.add(p);
  const auto open = [&](double d, double& lo, double& hi) {
    const bool forward = std::isinf(t1_), backward = std::isinf(t0_);
    if (d > 0.0) { if (forward) hi = kInf; if (backward) lo = -kInf; }
    if (d < 0.0) { if (forward) lo = -kInf; if (backward) hi = kInf; }
  };
  open(dir_.x, b.min.x, b.max.x);
  open(dir_.y, b.min.y, b.max.y);
  open(dir_.z, b.min.z, b.max.z);
  return b;
}

CurvePtr LinearCurve::reversed() const { return makeLinear(base_, -dir_, -t1_, -t0_); }

CurvePtr LinearCurve::subCurve(double t0, double t1) const { return makeLinear(base_, dir_, t0, t1); }

void LinearCurve::appendPieces(std::vector<CurvePiece>& out) const {
  CurvePiece p;
  p.kind = PieceKind::Linear;
  p.origin = base_;
  p.dir = dir_;
  p.owner = this;
  p.t0 = t0_;
  p.t1 = t1_;
  out.push_back(p);
}

CurvePtr LinearCurve::extended() const { return std::make_unique<XLine>(base_, dir_); }

Vec3 LinearCurve::areaVector() const { return {}; }

GeomStatus LinearCurve::planeNormal(Vec3&) const { return GeomStatus::Degenerate; }

std::vector<double> LinearCurve::sampleParams() const {
  if (std::isfinite(t0_) && std::isfinite(t1_)) return {t0_, t1_};
  return {std::isfinite(t0_) ? t0_ : 0.0};
}

Line::Line(const Vec3& start, const Vec3& end)
    : LinearCurve(start, unitOrX(end - start), 0.0, distance(start, end)) {}

CurvePtr Line::transformed(const Matrix4& m) const {
  return std::make_unique<Line>(m.transformPoint(pointAt(t0_)), m.transformPoint(pointAt(t1_)));
}

Ray::Ray(const Vec3& base, const Vec3& direction) : LinearCurve(base, unitOrX(direction), 0.0, kInf) {}

CurvePtr Ray::transformed(const Matrix4& m) const {
  const Vec3 d = m.transformVector(dir_);
  if (isZeroLength(d.length())) return nullptr;
  return std::make_unique<Ray>(m.transformPoint(base_), d);
}

XLine::XLine(const Vec3& base, const Vec3& direction)
    : LinearCurve(base, unitOrX(direction), -kInf, kInf) {}

CurvePtr XLine::transformed(const Matrix4& m) const {
  const Vec3 d = m.transformVector(dir_);
  if (isZeroLength(d.length())) return nullptr;
  return std::make_unique<XLine>(m.transformPoint(base_), d);
}

CurvePtr makeLinear(const Vec3& base, const Vec3& unitDir, double t0, double t1) {
  const bool f0 = std::isfinite(t0), f1 = std::isfinite(t1);
  if (f0 && f1) return std::make_unique<Line>(base + unitDir * t0, base + unitDir * t1);
  if (f0) return std::make_unique<Ray>(base + unitDir * t0, unitDir);
  if (f1) return std::make_unique<Ray>(base + unitDir * t1, -unitDir);
  return std::make_unique<XLine>(base, unitDir);
}

}  // namespace tarn::geom
