// Circle and Arc: evaluation, exact boxes, transforms and sub-arcs.
#include "geom/circular_curves.h"

#include <algorithm>
#include <cmath>

#include "geom/ellipse.h"
#include "numeric.h"

namespace tarn::geom {

CircularCurve::CircularCurve(const Vec3& center, double radius, const Vec3& normal, double t0, double t1)
    : center_(center), radius_(radius), axes_(ocsAxes(normal)), t0_(t0), t1_(t1) {}

Vec3 CircularCurve::pointAt(double t) const {
  return center_ + (axes_.x * std::cos(t) + axes_.y * std::sin(t)) * radius_;
}

Vec3 CircularCurve::derivAt(double t) const {
  return (axes_.y * std::cos(t) - axes_.x * std::sin(t)) * radius_;
}

double CircularCurve::angleOf(const Vec3& p) const {
  const Vec3 d = p - center_;
  return normalizeAngle(std::atan2(d.dot(axes_.y), d.dot(axes_.x)));
}

double CircularCurve::closestParam(const Vec3& p) const {
  double a = angleOf(p);
  if (isClosed()) return a;
  while (a < t0_) a += kTwoPi;
  while (a > t0_ + kTwoPi) a -= kTwoPi;
  if (a <= t1_) return a;
  // Outside the arc: the nearer end.
  return distance(p, pointAt(t0_)) <= distance(p, pointAt(t1_)) ? t0_ : t1_;
}

BoundingBox CircularCurve::boundingBox() const {
  BoundingBox b;
  b.add(pointAt(t0_));
  b.add(pointAt(t1_));
  detail::addConicExtremes(b, axes_.x, axes_.y, t0_, t1_, [this](double t) { return pointAt(t); });
  return b;
}

namespace {
// Normal of the image of a plane spanned by x and y: orientation follows the
// images of the axes, so arcs keep running from their start to their end.
Vec3 imageNormal(const Matrix4& m, const OcsAxes& a) {
  return m.transformVector(a.x).cross(m.transformVector(a.y));
}
}  // namespace

CurvePtr CircularCurve::transformed(const Matrix4& m) const {
  const Vec3 mx = m.transformVector(axes_.x), my = m.transformVector(axes_.y);
  const double sx = mx.length(), sy = my.length();
  const Vec3 c = m.transformPoint(center_);
  if (isZeroLength(sx) || isZeroLength(sy)) return nullptr;
  if (!keepsSimilar(mx, my))
    return ellipseFromConjugate(c, mx * radius_, my * radius_, t0_, t1_);
  const Vec3 n = imageNormal(m, axes_);
  if (isClosed()) return std::make_unique<Circle>(c, radius_ * sx, n);
  const Arc probe(c, radius_ * sx, 0.0, kTwoPi, n);
  const double a0 = probe.angleOf(m.transformPoint(pointAt(t0_)));
  return std::make_unique<Arc>(c, radius_ * sx, a0, a0 + (t1_ - t0_), n);
}

CurvePtr CircularCurve::reversed() const {
  const Vec3 n = -axes_.z;
  if (isClosed()) return std::make_unique<Circle>(center_, radius_, n);
  const Arc probe(center_, radius_, 0.0, kTwoPi, n);
  const double a0 = probe.angleOf(pointAt(t1_));
  return std::make_unique<Arc>(center_, radius_, a0, a0 + (t1_ - t0_), n);
}

CurvePtr CircularCurve::subCurve(double t0, double t1) const {
  if (t1 - t0 >= kTwoPi) return std::make_unique<Circle>(center_, radius_, axes_.z);
  return std::make_unique<Arc>(center_, radius_, t0, t1, axes_.z);
}

void CircularCurve::appendPieces(std::vector<CurvePiece>& out) const {
  CurvePiece p;
  p.kind = PieceKind::Circular;
  p.origin = center_;
  p.u = axes_.x;
  p.v = axes_.y;
  p.normal = axes_.z;
  p.radius = radius_;
  p.owner = this;
  p.t0 = t0_;
  p.t1 = t1_;
  p.fullCircle = isClosed();
  out.push_back(p);
}

CurvePtr CircularCurve::extended() const { return std::make_unique<Circle>(center_, radius_, axes_.z); }

Vec3 CircularCurve::areaVector() const {
  // Half the integral of P x P' for P = C + A cos t + B sin t, plus the chord.
  const Vec3 a = axes_.x * radius_, b = axes_.y * radius_;
  const Vec3 loop = center_.cross(b * (std::sin(t1_) - std::sin(t0_)) + a * (std::cos(t1_) - std::cos(t0_))) +
                    a.cross(b) * (t1_ - t0_);
  return (loop + pointAt(t1_).cross(pointAt(t0_))) * 0.5;
}

GeomStatus CircularCurve::planeNormal(Vec3& n) const {
  n = axes_.z;
  return GeomStatus::Ok;
}

std::vector<double> CircularCurve::sampleParams() const {
  const int n = std::max(4, static_cast<int>(std::ceil((t1_ - t0_) / (kPi / 16.0))));
  std::vector<double> ps(n + 1);
  for (int i = 0; i <= n; ++i) ps[i] = t0_ + (t1_ - t0_) * i / n;
  ps[n] = t1_;
  return ps;
}

Circle::Circle(const Vec3& center, double radius, const Vec3& normal)
    : CircularCurve(center, radius, normal, 0.0, kTwoPi) {}

namespace {
double arcEnd(double start, double end) {
  // Keep the end as given when it already lies within one turn above the start.
  if (end > start && end - start <= kTwoPi) return end;
  double sweep = normalizeAngle(end - start);
  if (sweep <= 0.0) sweep = kTwoPi;  // equal angles: a full turn
  return start + sweep;
}
}  // namespace

Arc::Arc(const Vec3& center, double radius, double startAngle, double endAngle, const Vec3& normal)
    : CircularCurve(center, radius, normal, startAngle, arcEnd(startAngle, endAngle)) {}

GeomStatus arcThroughPoints(const Vec3& a, const Vec3& b, const Vec3& c, CurvePtr& out) {
  const Vec3 ab = b - a, ac = c - a;
  const Vec3 n = ab.cross(ac);
  if (n.length() <= 1e-12 * ab.length() * ac.length() || isZeroLength(n.length()))
    return GeomStatus::Degenerate;
  // Circumcenter from the standard formula.
  const Vec3 center = a + (n.cross(ab) * ac.lengthSquared() + ac.cross(n) * ab.lengthSquared()) /
                              (2.0 * n.lengthSquared());
  const double r = distance(center, a);
  const Arc probe(center, r, 0.0, kTwoPi, n);
  out = std::make_unique<Arc>(center, r, probe.angleOf(a), probe.angleOf(c), n);
  return GeomStatus::Ok;
}

}  // namespace tarn::geom
