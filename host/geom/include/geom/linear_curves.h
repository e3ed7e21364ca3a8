// Straight curves: the line segment (Line), the ray (Ray, infinite in one
// direction) and the construction line (XLine, infinite both ways). All three
// are a base point plus a unit direction; the parameter is the distance from
// the base point.
#pragma once

#include "geom/curve.h"

namespace tarn::geom {

class LinearCurve : public Curve {
 public:
  LinearCurve(const Vec3& base, const Vec3& unitDir, double t0, double t1);
  const Vec3& basePoint() const { return base_; }
  const Vec3& direction() const { return dir_; }

  double startParam() const override { return t0_; }
  double endParam() const override { return t1_; }
  bool isClosed() const override { return false; }
  Vec3 pointAt(double t) const override { return base_ + dir_ * t; }
  Vec3 derivAt(double) const override { return dir_; }
  double distanceAtParam(double t) const override;
  double paramAtDistance(double s) const override;
  double length() const override { return t1_ - t0_; }
  double closestParam(const Vec3& p) const override;
  BoundingBox boundingBox() const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;
  void appendPieces(std::vector<CurvePiece>& out) const override;
  CurvePtr extended() const override;
  Vec3 areaVector() const override;
  GeomStatus planeNormal(Vec3& n) const override;
  std::vector<double> sampleParams() const override;

 protected:
  Vec3 base_, dir_;
  double t0_, t1_;
};

class Line : public LinearCurve {
 public:
  // Degenerate (zero-length) lines keep direction X so they stay evaluable.
  Line(const Vec3& start, const Vec3& end);
  CurveKind kind() const override { return CurveKind::Line; }
  CurvePtr clone() const override { return std::make_unique<Line>(*this); }
  CurvePtr transformed(const Matrix4& m) const override;
};

class Ray : public LinearCurve {
 public:
  Ray(const Vec3& base, const Vec3& direction);
  CurveKind kind() const override { return CurveKind::Ray; }
  CurvePtr clone() const override { return std::make_unique<Ray>(*this); }
  CurvePtr transformed(const Matrix4& m) const override;
};

class XLine : public LinearCurve {
 public:
  XLine(const Vec3& base, const Vec3& direction);
  CurveKind kind() const override { return CurveKind::XLine; }
  CurvePtr clone() const override { return std::make_unique<XLine>(*this); }
  CurvePtr transformed(const Matrix4& m) const override;
};

// The straight curve for the parameter range [t0, t1] of the line through
// base along unitDir: a Line when both ends are finite, a Ray when one is
// (pointing away from the finite end), an XLine when neither is.
CurvePtr makeLinear(const Vec3& base, const Vec3& unitDir, double t0, double t1);

}  // namespace tarn::geom
