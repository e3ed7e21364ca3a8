// Writing curves back as entity groups: one writer per curve kind.
#include <cmath>

#include "entgeom/entity_curve.h"
#include "geom/circular_curves.h"
#include "geom/coord_system.h"
#include "geom/ellipse.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"
#include "geom/spline.h"
#include "groups.h"

namespace tarn::entgeom {

using db::Tag;
using geom::Vec3;

namespace {

Tag pointTag(int code, const Vec3& v) { return Tag::point(code, toPoint(v)); }

EntStatus linearGroups(const geom::LinearCurve& c, CurveGroups& out) {
  if (c.kind() == geom::CurveKind::Line) {
    out.type = "LINE";
    out.groups = {pointTag(10, c.startPoint()), pointTag(11, c.endPoint())};
    return EntStatus::Ok;
  }
  out.type = c.kind() == geom::CurveKind::Ray ? "RAY" : "XLINE";
  Vec3 base = c.kind() == geom::CurveKind::Ray ? c.startPoint() : c.basePoint();
  out.groups = {pointTag(10, base), pointTag(11, c.direction())};
  return EntStatus::Ok;
}

EntStatus circularGroups(const geom::CircularCurve& c, CurveGroups& out) {
  Vec3 center = geom::worldToOcs(c.normal()).transformPoint(c.center());
  out.groups = {pointTag(10, center), Tag::real(40, c.radius())};
  if (c.kind() == geom::CurveKind::Arc) {
    out.type = "ARC";
    out.groups.push_back(Tag::real(50, degrees(geom::normalizeAngle(c.startParam()))));
    out.groups.push_back(Tag::real(51, degrees(geom::normalizeAngle(c.endParam()))));
  } else {
    out.type = "CIRCLE";
  }
  out.groups.push_back(pointTag(210, c.normal()));
  return EntStatus::Ok;
}

EntStatus ellipseGroups(const geom::Ellipse& e, CurveGroups& out) {
  out.type = "ELLIPSE";
  out.groups = {pointTag(10, e.center()), pointTag(11, e.majorAxis()), pointTag(210, e.normal()),
                Tag::real(40, e.ratio()), Tag::real(41, e.startParam()), Tag::real(42, e.endParam())};
  return EntStatus::Ok;
}

EntStatus polyline2dGroups(const geom::Polyline2d& p, CurveGroups& out) {
  out.type = "LWPOLYLINE";
  out.groups = {Tag::integer(90, int64_t(p.vertices().size())), Tag::integer(70, p.closedFlag() ? 1 : 0)};
  if (p.elevation() != 0.0) out.groups.push_back(Tag::real(38, p.elevation()));
  for (const geom::PolyVertex& v : p.vertices()) {
    out.groups.push_back(Tag::point(10, {v.x, v.y, 0.0}, false));
    if (v.startWidth != 0.0 || v.endWidth != 0.0) {
      out.groups.push_back(Tag::real(40, v.startWidth));
      out.groups.push_back(Tag::real(41, v.endWidth));
    }
    if (v.bulge != 0.0) out.groups.push_back(Tag::real(42, v.bulge));
  }
  out.groups.push_back(pointTag(210, p.normal()));
  return EntStatus::Ok;
}

EntStatus polyline3dGroups(const geom::Polyline3d& p, CurveGroups& out) {
  out.type = "POLYLINE";
  out.groups = {Tag::integer(66, 1), pointTag(10, {}), Tag::integer(70, 8 | (p.closedFlag() ? 1 : 0))};
  return EntStatus::Ok;
}

EntStatus splineGroups(const geom::Spline& s, CurveGroups& out) {
  out.type = "SPLINE";
  Vec3 n;
  bool planar = s.planeNormal(n) == geom::GeomStatus::Ok;
  int flags = (s.isClosed() ? 1 : 0) | (s.isRational() ? 4 : 0) | (planar ? 8 : 0);
  out.groups = {};
  if (planar) out.groups.push_back(pointTag(210, n));
  out.groups.push_back(Tag::integer(70, flags));
  out.groups.push_back(Tag::integer(71, s.degree()));
  out.groups.push_back(Tag::integer(72, int64_t(s.knots().size())));
  out.groups.push_back(Tag::integer(73, int64_t(s.controlPoints().size())));
  out.groups.push_back(Tag::integer(74, 0));
  for (double k : s.knots()) out.groups.push_back(Tag::real(40, k));
  for (size_t i = 0; i < s.controlPoints().size(); ++i) {
    out.groups.push_back(pointTag(10, s.controlPoints()[i]));
    if (s.isRational()) out.groups.push_back(Tag::real(41, s.weights()[i]));
  }
  return EntStatus::Ok;
}

}  // namespace

EntStatus curveGroups(const geom::Curve& c, CurveGroups& out) {
  out = {};
  switch (c.kind()) {
    case geom::CurveKind::Line:
    case geom::CurveKind::Ray:
    case geom::CurveKind::XLine: return linearGroups(static_cast<const geom::LinearCurve&>(c), out);
    case geom::CurveKind::Circle:
    case geom::CurveKind::Arc: return circularGroups(static_cast<const geom::CircularCurve&>(c), out);
    case geom::CurveKind::Ellipse: return ellipseGroups(static_cast<const geom::Ellipse&>(c), out);
    case geom::CurveKind::Polyline2d: return polyline2dGroups(static_cast<const geom::Polyline2d&>(c), out);
    case geom::CurveKind::Polyline3d: return polyline3dGroups(static_cast<const geom::Polyline3d&>(c), out);
    case geom::CurveKind::Spline: return splineGroups(static_cast<const geom::Spline&>(c), out);
    case geom::CurveKind::Composite: return EntStatus::Unsupported;
  }
  return EntStatus::Unsupported;
}

std::vector<db::TagList> vertexGroups(const geom::Curve& c) {
  std::vector<db::TagList> out;
  if (c.kind() != geom::CurveKind::Polyline3d) return out;
  for (const Vec3& p : static_cast<const geom::Polyline3d&>(c).points())
    out.push_back({pointTag(10, p), Tag::integer(70, 32)});
  return out;
}

}  // namespace tarn::entgeom
