// Fillet: two lines or arcs brought to their corner (radius 0), or two lines
// joined by a tangent arc (positive radius). The parts on which the picks
// lie are kept.
#include <algorithm>
#include <cmath>

#include "geom/circular_curves.h"
#include "geom/linear_curves.h"
#include "geom/trim.h"

namespace tarn::geom {

namespace {
FilletResult failFillet(GeomStatus s) {
  FilletResult r;
  r.status = s;
  return r;
}

bool isLine(const Curve& c) { return c.kind() == CurveKind::Line; }
bool isArc(const Curve& c) { return c.kind() == CurveKind::Arc; }

// The line brought to x on the side of the pick: the end on the pick's side stays.
CurvePtr lineTo(const LinearCurve& l, const Vec3& x, const Vec3& pick) {
  const double tx = (x - l.basePoint()).dot(l.direction());
  const double tp = (pick - l.basePoint()).dot(l.direction());
  if (tp < tx) return std::make_unique<Line>(l.startPoint(), x);
  return std::make_unique<Line>(x, l.endPoint());
}

// The arc brought to x: trimmed when x lies on it (keeping the pick's side),
// otherwise extended from its nearer end.
CurvePtr arcTo(const Arc& a, const Vec3& x, const Vec3& pick) {
  const double s = a.startAngle(), e = a.endAngle();
  const double ax = s + normalizeAngle(a.angleOf(x) - s);
  if (ax <= e) {
    const double ap = s + normalizeAngle(a.angleOf(pick) - s);
    return ap < ax ? std::make_unique<Arc>(a.center(), a.radius(), s, ax, a.normal())
                   : std::make_unique<Arc>(a.center(), a.radius(), ax, e, a.normal());
  }
  const double forward = ax - e, backward = s + kTwoPi - ax;
  return forward <= backward ? std::make_unique<Arc>(a.center(), a.radius(), s, ax, a.normal())
                             : std::make_unique<Arc>(a.center(), a.radius(), ax, e, a.normal());
}

CurvePtr bringTo(const Curve& c, const Vec3& x, const Vec3& pick) {
  if (isLine(c)) return lineTo(static_cast<const LinearCurve&>(c), x, pick);
  return arcTo(static_cast<const Arc&>(c), x, pick);
}

FilletResult corner(const Curve& a, const Vec3& pickA, const Curve& b, const Vec3& pickB) {
  IntersectOptions opt;
  opt.extend = ExtendMode::Both;
  const IntersectionResult r = intersect(a, b, opt);
  if (r.points.empty()) {
    const bool parallel = isLine(a) && isLine(b) &&
                          isParallel(static_cast<const LinearCurve&>(a).direction(),
                                     static_cast<const LinearCurve&>(b).direction());
    return failFillet(parallel ? GeomStatus::Parallel : GeomStatus::NoIntersection);
  }
  Vec3 x = r.points.front().point;
  for (const auto& p : r.points)
    if (distance(p.point, pickA) + distance(p.point, pickB) < distance(x, pickA) + distance(x, pickB)) x = p.point;
  FilletResult out;
  out.first = bringTo(a, x, pickA);
  out.second = bringTo(b, x, pickB);
  return out;
}

// Unit direction from x along the line towards the pick's side.
Vec3 sideDirection(const LinearCurve& l, const Vec3& x, const Vec3& pick) {
  double s = (pick - x).dot(l.direction());
  if (std::fabs(s) <= scaledTolerance(kEqualPoint, x.maxAbs()))
    s = (midpoint(l.startPoint(), l.endPoint()) - x).dot(l.direction());
  return s >= 0.0 ? l.direction() : -l.direction();
}

// The line from its far end on the side u down to the tangent point t.
CurvePtr lineToTangent(const LinearCurve& l, const Vec3& x, const Vec3& u, const Vec3& t) {
  const bool startFar = (l.startPoint() - x).dot(u) >= (l.endPoint() - x).dot(u);
  const Vec3 far = startFar ? l.startPoint() : l.endPoint();
  if ((far - x).dot(u) < (t - x).dot(u)) return nullptr;  // the arc would not fit on the line
  return startFar ? std::make_unique<Line>(far, t) : std::make_unique<Line>(t, far);
}

FilletResult rounded(const LinearCurve& a, const Vec3& pickA, const LinearCurve& b, const Vec3& pickB, double r) {
  IntersectOptions opt;
  opt.extend = ExtendMode::Both;
  const IntersectionResult hit = intersect(a, b, opt);
  if (hit.points.empty())
    return failFillet(isParallel(a.direction(), b.direction()) ? GeomStatus::Parallel : GeomStatus::NotCoplanar);
  const Vec3 x = hit.points.front().point;
  const Vec3 u1 = sideDirection(a, x, pickA), u2 = sideDirection(b, x, pickB);
  const double theta = std::acos(std::clamp(u1.dot(u2), -1.0, 1.0));
  if (theta <= kEqualVector || kPi - theta <= kEqualVector) return failFillet(GeomStatus::Degenerate);
  const double td = r / std::tan(theta / 2.0);
  const Vec3 t1 = x + u1 * td, t2 = x + u2 * td;
  const Vec3 bis = (u1 + u2).normalized();
  const Vec3 center = x + bis * (r / std::sin(theta / 2.0));
  FilletResult out;
  out.first = lineToTangent(a, x, u1, t1);
  out.second = lineToTangent(b, x, u2, t2);
  if (!out.first || !out.second) return failFillet(GeomStatus::Degenerate);
  if (arcThroughPoints(t1, center - bis * r, t2, out.arc) != GeomStatus::Ok) return failFillet(GeomStatus::Degenerate);
  return out;
}
}  // namespace

FilletResult fillet(const Curve& a, const Vec3& pickA, const Curve& b, const Vec3& pickB, double radius) {
  if (!(radius >= 0.0) || !std::isfinite(radius)) return failFillet(GeomStatus::InvalidInput);
  const bool supported = (isLine(a) || isArc(a)) && (isLine(b) || isArc(b));
  if (!supported) return failFillet(GeomStatus::Unsupported);
  if (isZeroLength(radius)) return corner(a, pickA, b, pickB);
  if (!isLine(a) || !isLine(b)) return failFillet(GeomStatus::Unsupported);
  return rounded(static_cast<const LinearCurve&>(a), pickA, static_cast<const LinearCurve&>(b), pickB, radius);
}

}  // namespace tarn::geom
