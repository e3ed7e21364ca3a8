// Ellipse and elliptical arc: a center, the major axis as a vector (its length
// is the major radius), a normal and the ratio of minor to major radius. The
// parameter is the eccentric angle from the major axis, counter-clockwise
// about the normal: P(t) = C + M cos t + m sin t with m = ratio (N x M).
#pragma once

#include "geom/curve.h"

namespace tarn::geom {

class Ellipse : public Curve {
 public:
  Ellipse(const Vec3& center, const Vec3& majorAxis, const Vec3& normal, double ratio,
          double startParam = 0.0, double endParam = kTwoPi);
  CurveKind kind() const override { return CurveKind::Ellipse; }
  CurvePtr clone() const override { return std::make_unique<Ellipse>(*this); }
  const Vec3& center() const { return center_; }
  const Vec3& majorAxis() const { return major_; }
  Vec3 minorAxis() const { return minor_; }
  const Vec3& normal() const { return normal_; }
  double ratio() const { return ratio_; }
  double majorRadius() const { return major_.length(); }
  double minorRadius() const { return minor_.length(); }

  double startParam() const override { return t0_; }
  double endParam() const override { return t1_; }
  bool isClosed() const override;
  Vec3 pointAt(double t) const override;
  Vec3 derivAt(double t) const override;
  BoundingBox boundingBox() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;
  void appendPieces(std::vector<CurvePiece>& out) const override;
  CurvePtr extended() const override;
  Vec3 areaVector() const override;
  GeomStatus planeNormal(Vec3& n) const override;
  std::vector<double> sampleParams() const override;

 private:
  Vec3 center_, major_, minor_, normal_;
  double ratio_;
  double t0_, t1_;
};

// The ellipse C + a cos t + b sin t for any two conjugate semi-diameters a
// and b (not necessarily perpendicular), brought to principal axes. The
// parameter range [t0, t1] of the conjugate form is carried over.
CurvePtr ellipseFromConjugate(const Vec3& c, const Vec3& a, const Vec3& b, double t0, double t1);

}  // namespace tarn::geom
