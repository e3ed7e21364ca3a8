// Offset of every curve type: exact for straight and circular curves,
// segment-wise for 2D polylines, and a checked spline approximation for
// ellipses and splines.
#include "geom/offset.h"

#include <cmath>

#include "geom/circular_curves.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"
#include "geom/spline.h"
#include "polyline_offset.h"

namespace tarn::geom {

namespace {
OffsetResult fail(GeomStatus s) {
  OffsetResult r;
  r.status = s;
  return r;
}

OffsetResult single(CurvePtr c) {
  OffsetResult r;
  if (!c) return fail(GeomStatus::Degenerate);
  r.curves.push_back(std::move(c));
  return r;
}

OffsetResult offsetLinear(const LinearCurve& l, const Vec3& shift) {
  return single(l.transformed(Matrix4::translation(shift)));
}

OffsetResult offsetCircular(const CircularCurve& c, double sd) {
  const double r = c.radius() - sd;  // left of a counter-clockwise curve is inside
  if (r <= scaledTolerance(kEqualPoint, c.radius())) return fail(GeomStatus::NegativeRadius);
  return single(c.kind() == CurveKind::Circle
                    ? CurvePtr(std::make_unique<Circle>(c.center(), r, c.normal()))
                    : CurvePtr(std::make_unique<Arc>(c.center(), r, c.startParam(), c.endParam(), c.normal())));
}

Vec3 offsetPoint(const Curve& c, const Vec3& n, double sd, double t) {
  return c.pointAt(t) + n.cross(c.tangentAt(t)) * sd;
}

// Largest miss of the approximation against the exact offset, measured from
// the approximation back to the source curve at the midpoints of the fit.
double fitError(const Curve& src, const Spline& fit, double sd) {
  double worst = 0.0;
  for (double t : fit.sampleParams()) {
    const Vec3 p = fit.pointAt(t);
    worst = std::max(worst, std::fabs(src.distanceTo(p) - std::fabs(sd)));
  }
  return worst;
}

OffsetResult offsetApproximated(const Curve& c, double sd, const OffsetOptions& opt) {
  Vec3 n;
  if (c.planeNormal(n) != GeomStatus::Ok) return fail(GeomStatus::NotPlanar);
  const double accuracy = scaledTolerance(opt.accuracy, c.boundingBox().size().length());
  std::vector<double> base = c.sampleParams();
  for (int round = 0; round < 5; ++round) {
    std::vector<Vec3> pts;
    for (double t : base) pts.push_back(offsetPoint(c, n, sd, t));
    std::unique_ptr<Spline> fit;
    const std::optional<Vec3> t0 = c.isClosed() ? std::nullopt : std::optional<Vec3>(c.tangentAt(c.startParam()));
    const std::optional<Vec3> t1 = c.isClosed() ? std::nullopt : std::optional<Vec3>(c.tangentAt(c.endParam()));
    if (fitSpline(pts, t0, t1, fit) != GeomStatus::Ok) return fail(GeomStatus::Degenerate);
    if (fitError(c, *fit, sd) <= accuracy) return single(std::move(fit));
    // Twice as many samples, halfway between the old ones.
    std::vector<double> finer;
    for (size_t i = 0; i + 1 < base.size(); ++i) {
      finer.push_back(base[i]);
      finer.push_back(0.5 * (base[i] + base[i + 1]));
    }
    finer.push_back(base.back());
    base = std::move(finer);
  }
  // Still not within accuracy: the offset folds over itself (the distance
  // exceeds the radius of curvature somewhere).
  return fail(GeomStatus::Degenerate);
}

OffsetResult offsetPolyline3d(const Polyline3d& p, double sd) {
  Vec3 n;
  if (p.planeNormal(n) != GeomStatus::Ok) return fail(GeomStatus::NotPlanar);
  const Matrix4 toOcs = worldToOcs(n);
  std::vector<PolyVertex> vs;
  double elev = 0.0;
  for (const Vec3& q : p.points()) {
    const Vec3 o = toOcs.transformPoint(q);
    vs.push_back({o.x, o.y, 0.0, 0.0, 0.0});
    elev = o.z;
  }
  const Polyline2d flat(std::move(vs), p.closedFlag(), n, elev);
  OffsetResult r = detail::offsetPolyline(flat, sd, GapType::Extend);
  for (auto& c : r.curves) {
    const auto& pl = static_cast<const Polyline2d&>(*c);
    std::vector<Vec3> pts;
    for (size_t i = 0; i < pl.vertices().size(); ++i) pts.push_back(pl.vertexPoint(i));
    c = std::make_unique<Polyline3d>(std::move(pts), pl.closedFlag());
  }
  return r;
}
}  // namespace

OffsetResult offsetSigned(const Curve& c, double sd, const OffsetOptions& opt) {
  if (!std::isfinite(sd)) return fail(GeomStatus::InvalidInput);
  if (isZeroLength(sd)) return single(c.clone());
  switch (c.kind()) {
    case CurveKind::Line:
    case CurveKind::Ray:
    case CurveKind::XLine: {
      const auto& l = static_cast<const LinearCurve&>(c);
      const Vec3 left = kZAxis.cross(l.direction());
      if (isZeroLength(left.length())) return fail(GeomStatus::Degenerate);
      return offsetLinear(l, left.normalized() * sd);
    }
    case CurveKind::Circle:
    case CurveKind::Arc: return offsetCircular(static_cast<const CircularCurve&>(c), sd);
    case CurveKind::Polyline2d: return detail::offsetPolyline(static_cast<const Polyline2d&>(c), sd, opt.gap);
    case CurveKind::Polyline3d: return offsetPolyline3d(static_cast<const Polyline3d&>(c), sd);
    case CurveKind::Ellipse:
    case CurveKind::Spline: return offsetApproximated(c, sd, opt);
    case CurveKind::Composite: break;
  }
  return fail(GeomStatus::Unsupported);
}

OffsetResult offsetCurve(const Curve& c, double d, const Vec3& side, const OffsetOptions& opt) {
  if (!(d > 0.0) || !std::isfinite(d) || !side.isFinite()) return fail(GeomStatus::InvalidInput);
  const double t = c.closestParam(side);
  const Vec3 foot = c.pointAt(t);
  const Vec3 away = side - foot;
  if (pointsEqual(side, foot)) return fail(GeomStatus::OnCurve);
  if (c.kind() == CurveKind::Line || c.kind() == CurveKind::Ray || c.kind() == CurveKind::XLine) {
    // Straight curves: the plane is the one through the curve and the side point.
    const auto& l = static_cast<const LinearCurve&>(c);
    const Vec3 perp = away - l.direction() * away.dot(l.direction());
    if (isZeroLength(perp.length(), pointTolerance(side, foot))) return fail(GeomStatus::OnCurve);
    return offsetLinear(l, perp.normalized() * d);
  }
  Vec3 n;
  const GeomStatus st = c.planeNormal(n);
  if (st != GeomStatus::Ok) return fail(st == GeomStatus::Degenerate ? GeomStatus::Degenerate : st);
  Vec3 tangent = c.tangentAt(t);
  if (c.kind() == CurveKind::Circle || c.kind() == CurveKind::Arc) {
    // Circular curves: inside or outside, also for side points beyond an arc's ends.
    const auto& cc = static_cast<const CircularCurve&>(c);
    const Vec3 r = side - cc.center();
    const double inPlane = (r - cc.normal() * r.dot(cc.normal())).length();
    return offsetSigned(c, inPlane < cc.radius() ? d : -d, opt);
  }
  const double sideSign = n.cross(tangent).dot(away);
  if (std::fabs(sideSign) <= pointTolerance(side, foot)) return fail(GeomStatus::OnCurve);
  return offsetSigned(c, sideSign > 0.0 ? d : -d, opt);
}

}  // namespace tarn::geom
