// Curve: the one interface of every curve in the kernel (lines, rays,
// construction lines, circles, arcs, ellipses, polylines, splines and
// composites). Parameters:
//   line, ray, xline: distance from the base point along the unit direction;
//   circle, arc: angle in radians from the OCS X axis of the normal;
//   ellipse: the eccentric angle from the major axis;
//   polylines, composites: segment i spans [i, i+1];
//   spline: the knot parameter.
// Curves are immutable values; operations that change them return new ones.
#pragma once

#include <memory>
#include <vector>

#include "geom/bounding_box.h"
#include "geom/curve_piece.h"
#include "geom/matrix4.h"
#include "geom/status.h"
#include "geom/tolerance.h"
#include "geom/vec3.h"

namespace tarn::geom {

enum class CurveKind { Line, Ray, XLine, Circle, Arc, Ellipse, Polyline2d, Polyline3d, Spline, Composite };
const char* curveKindName(CurveKind k);

class Curve;
using CurvePtr = std::unique_ptr<Curve>;

class Curve {
 public:
  virtual ~Curve() = default;
  virtual CurveKind kind() const = 0;
  virtual CurvePtr clone() const = 0;

  // Parameter range; startParam may be -inf (xline), endParam +inf (ray, xline).
  virtual double startParam() const = 0;
  virtual double endParam() const = 0;
  bool isBounded() const;
  Vec3 startPoint() const { return pointAt(startParam()); }
  Vec3 endPoint() const { return pointAt(endParam()); }
  // A closed curve ends where it starts and its parameter wraps around.
  virtual bool isClosed() const = 0;

  virtual Vec3 pointAt(double t) const = 0;
  virtual Vec3 derivAt(double t) const = 0;  // first derivative by the parameter
  Vec3 tangentAt(double t) const { return derivAt(t).normalized(); }

  // Distance along the curve from its start (infinite curves: from the base point, signed).
  virtual double distanceAtParam(double t) const;
  virtual double paramAtDistance(double s) const;
  virtual double length() const;  // infinite for unbounded curves

  // Parameter of the curve point nearest p (a projection for infinite curves).
  virtual double closestParam(const Vec3& p) const;
  Vec3 closestPoint(const Vec3& p) const { return pointAt(closestParam(p)); }
  double distanceTo(const Vec3& p) const { return distance(p, closestPoint(p)); }
  // Parameter of a point on the curve; NotOnCurve-like failures answer InvalidInput.
  GeomStatus paramAtPoint(const Vec3& p, double& t, double tol = kEqualPoint) const;

  virtual BoundingBox boundingBox() const = 0;
  // The curve moved by m; null when its type cannot express the result (a
  // circle under a non-uniform scale, for example).
  virtual CurvePtr transformed(const Matrix4& m) const = 0;
  virtual CurvePtr reversed() const = 0;
  // Part of the curve from t0 to t1 (t0 < t1). On a closed curve t1 may pass
  // endParam: the part then wraps through the start. Either end may be
  // infinite for rays and construction lines.
  virtual CurvePtr subCurve(double t0, double t1) const = 0;
  // Pieces between the given parameters (sorted, inside the range).
  std::vector<CurvePtr> splitAt(std::vector<double> params) const;

  // Decomposition into analytic pieces for intersection.
  virtual void appendPieces(std::vector<CurvePiece>& out) const = 0;
  // The curve extended for edge-mode intersections: lines and rays become
  // infinite lines, arcs full circles, elliptical arcs full ellipses. Other
  // curves return a copy (the intersector extends the end segments of open
  // polylines itself).
  virtual CurvePtr extended() const { return clone(); }

  // Half the integral of P x dP along the curve, closed by the chord from the
  // end back to the start: dotted with a plane normal it is the signed area
  // enclosed (positive when counter-clockwise about the normal).
  virtual Vec3 areaVector() const;
  // Normal of the curve's plane; NotPlanar for curves that span 3D space,
  // Degenerate for straight curves (any plane through them fits).
  virtual GeomStatus planeNormal(Vec3& n) const;
  // Parameters at which sampling the curve gives chords that follow it
  // closely (used by numeric algorithms; sorted, including both ends).
  virtual std::vector<double> sampleParams() const;
  // A point scale for tolerances: largest coordinate magnitude of the curve.
  double magnitude() const;
};

}  // namespace tarn::geom
