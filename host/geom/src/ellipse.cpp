// Ellipse and elliptical arc.
#include "geom/ellipse.h"

#include <algorithm>
#include <cmath>

#include "numeric.h"

namespace tarn::geom {

namespace {
Vec3 perpendicularNormal(const Vec3& normal, const Vec3& major) {
  const Vec3 m = major.normalized();
  const Vec3 n = normal - m * normal.dot(m);
  return n.lengthSquared() > 0.0 ? n.normalized() : kZAxis;
}
}  // namespace

Ellipse::Ellipse(const Vec3& center, const Vec3& majorAxis, const Vec3& normal, double ratio,
                 double startParam, double endParam)
    : center_(center), major_(majorAxis), normal_(perpendicularNormal(normal, majorAxis)), ratio_(ratio),
      t0_(startParam), t1_(endParam) {
  minor_ = normal_.cross(major_) * ratio_;
  if (!(t1_ > t0_)) t1_ = t0_ + (normalizeAngle(t1_ - t0_) > 0.0 ? normalizeAngle(t1_ - t0_) : kTwoPi);
  if (t1_ - t0_ > kTwoPi) t1_ = t0_ + kTwoPi;
}

bool Ellipse::isClosed() const { return t1_ - t0_ >= kTwoPi - 1e-12; }

Vec3 Ellipse::pointAt(double t) const { return center_ + major_ * std::cos(t) + minor_ * std::sin(t); }
Vec3 Ellipse::derivAt(double t) const { return minor_ * std::cos(t) - major_ * std::sin(t); }

BoundingBox Ellipse::boundingBox() const {
  BoundingBox b;
  b.add(pointAt(t0_));
  b.add(pointAt(t1_));
  detail::addConicExtremes(b, major_, minor_, t0_, t1_, [this](double t) { return pointAt(t); });
  return b;
}

CurvePtr ellipseFromConjugate(const Vec3& c, const Vec3& a, const Vec3& b, double t0, double t1) {
  const Vec3 n = a.cross(b);
  if (n.length() <= 1e-14 * std::max(a.lengthSquared(), b.lengthSquared())) return nullptr;
  // |a cos t + b sin t| is extreme where tan 2t = 2 a.b / (|a|^2 - |b|^2).
  const double ts = 0.5 * std::atan2(2.0 * a.dot(b), a.lengthSquared() - b.lengthSquared());
  const Vec3 major = a * std::cos(ts) + b * std::sin(ts);
  const Vec3 minor = b * std::cos(ts) - a * std::sin(ts);
  const double ratio = minor.length() / major.length();
  return std::make_unique<Ellipse>(c, major, n, ratio, t0 - ts, t1 - ts);
}

CurvePtr Ellipse::transformed(const Matrix4& m) const {
  return ellipseFromConjugate(m.transformPoint(center_), m.transformVector(major_),
                              m.transformVector(minor_), t0_, t1_);
}

CurvePtr Ellipse::reversed() const {
  // P(t) = C + M cos(-t) + (-m) sin(-t): the flipped normal gives minor -m.
  return std::make_unique<Ellipse>(center_, major_, -normal_, ratio_, -t1_, -t0_);
}

CurvePtr Ellipse::subCurve(double t0, double t1) const {
  return std::make_unique<Ellipse>(center_, major_, normal_, ratio_, t0, std::min(t1, t0 + kTwoPi));
}

void Ellipse::appendPieces(std::vector<CurvePiece>& out) const {
  CurvePiece p;
  p.kind = PieceKind::General;
  p.owner = this;
  p.t0 = t0_;
  p.t1 = t1_;
  p.fullCircle = isClosed();
  out.push_back(p);
}

CurvePtr Ellipse::extended() const {
  return std::make_unique<Ellipse>(center_, major_, normal_, ratio_, 0.0, kTwoPi);
}

Vec3 Ellipse::areaVector() const {
  const Vec3& a = major_;
  const Vec3& b = minor_;
  const Vec3 loop = center_.cross(b * (std::sin(t1_) - std::sin(t0_)) + a * (std::cos(t1_) - std::cos(t0_))) +
                    a.cross(b) * (t1_ - t0_);
  return (loop + pointAt(t1_).cross(pointAt(t0_))) * 0.5;
}

GeomStatus Ellipse::planeNormal(Vec3& n) const {
  n = normal_;
  return GeomStatus::Ok;
}

std::vector<double> Ellipse::sampleParams() const {
  const int n = std::max(8, static_cast<int>(std::ceil((t1_ - t0_) / (kPi / 32.0))));
  std::vector<double> ps(n + 1);
  for (int i = 0; i <= n; ++i) ps[i] = t0_ + (t1_ - t0_) * i / n;
  ps[n] = t1_;
  return ps;
}

}  // namespace tarn::geom
