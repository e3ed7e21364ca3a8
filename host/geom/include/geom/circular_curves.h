// Circles and arcs. Both lie in the plane through the center with the given
// normal; angles are measured counter-clockwise about the normal from the X
// axis of the normal's object coordinate system (arbitrary-axis rule), as in
// a drawing's entity data. An arc runs counter-clockwise from its start angle
// to its end angle; its parameter range is [start, end] with end > start.
#pragma once

#include "geom/coord_system.h"
#include "geom/curve.h"

namespace tarn::geom {

class CircularCurve : public Curve {
 public:
  CircularCurve(const Vec3& center, double radius, const Vec3& normal, double t0, double t1);
  const Vec3& center() const { return center_; }
  double radius() const { return radius_; }
  const Vec3& normal() const { return axes_.z; }
  const OcsAxes& axes() const { return axes_; }

  double startParam() const override { return t0_; }
  double endParam() const override { return t1_; }
  Vec3 pointAt(double t) const override;
  Vec3 derivAt(double t) const override;
  double distanceAtParam(double t) const override { return radius_ * (t - t0_); }
  double paramAtDistance(double s) const override { return t0_ + s / radius_; }
  double length() const override { return radius_ * (t1_ - t0_); }
  double closestParam(const Vec3& p) const override;
  BoundingBox boundingBox() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;
  void appendPieces(std::vector<CurvePiece>& out) const override;
  CurvePtr extended() const override;
  Vec3 areaVector() const override;
  GeomStatus planeNormal(Vec3& n) const override;
  std::vector<double> sampleParams() const override;
  // Angle of a point about the center, in [0, 2π).
  double angleOf(const Vec3& p) const;

 protected:
  Vec3 center_;
  double radius_;
  OcsAxes axes_;
  double t0_, t1_;
};

class Circle : public CircularCurve {
 public:
  Circle(const Vec3& center, double radius, const Vec3& normal = kZAxis);
  CurveKind kind() const override { return CurveKind::Circle; }
  bool isClosed() const override { return true; }
  CurvePtr clone() const override { return std::make_unique<Circle>(*this); }
};

class Arc : public CircularCurve {
 public:
  // Angles in radians; the end angle is moved up by whole turns until it
  // lies above the start (equal angles make a full turn).
  Arc(const Vec3& center, double radius, double startAngle, double endAngle,
      const Vec3& normal = kZAxis);
  CurveKind kind() const override { return CurveKind::Arc; }
  bool isClosed() const override { return false; }
  CurvePtr clone() const override { return std::make_unique<Arc>(*this); }
  double startAngle() const { return t0_; }
  double endAngle() const { return t1_; }
  double sweep() const { return t1_ - t0_; }
};

// The arc through three points; Degenerate when they are collinear.
GeomStatus arcThroughPoints(const Vec3& a, const Vec3& b, const Vec3& c, CurvePtr& out);

}  // namespace tarn::geom
