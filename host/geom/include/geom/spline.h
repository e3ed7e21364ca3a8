// Spline: a NURBS curve given by degree, knots, control points and optional
// weights (empty weights: all 1), and the construction of a cubic spline that
// passes through fit points, optionally with given end tangents.
#pragma once

#include <optional>

#include "geom/curve.h"

namespace tarn::geom {

class Spline : public Curve {
 public:
  // Valid data: degree >= 1, knots.size() == points.size() + degree + 1,
  // knots non-decreasing with a non-empty range, weights empty or one positive
  // weight per control point. Anything else answers InvalidInput.
  static GeomStatus make(int degree, std::vector<double> knots, std::vector<Vec3> points,
                         std::vector<double> weights, std::unique_ptr<Spline>& out);
  CurveKind kind() const override { return CurveKind::Spline; }
  CurvePtr clone() const override { return std::make_unique<Spline>(*this); }

  int degree() const { return degree_; }
  const std::vector<double>& knots() const { return knots_; }
  const std::vector<Vec3>& controlPoints() const { return points_; }
  const std::vector<double>& weights() const { return weights_; }  // one per control point
  bool isRational() const;

  double startParam() const override { return knots_[degree_]; }
  double endParam() const override { return knots_[knots_.size() - degree_ - 1]; }
  bool isClosed() const override;
  Vec3 pointAt(double t) const override;
  Vec3 derivAt(double t) const override;
  BoundingBox boundingBox() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;
  void appendPieces(std::vector<CurvePiece>& out) const override;
  GeomStatus planeNormal(Vec3& n) const override;
  std::vector<double> sampleParams() const override;

  // The same curve with knot u inserted once more (Boehm's algorithm).
  Spline withKnotInserted(double u) const;
  // Value of the B-spline basis function of control point i at t.
  double basisValue(size_t i, double t) const;

 private:
  Spline() = default;
  int span(double t) const;
  // Homogeneous point (w*P, w) and its derivative at t.
  void evalHomogeneous(double t, Vec3& p, double& w, Vec3& dp, double& dw) const;
  int degree_ = 0;
  std::vector<double> knots_;
  std::vector<Vec3> points_;
  std::vector<double> weights_;
};

// A cubic spline through the fit points (chord-length parameters), with the
// end tangents given or, when absent, estimated from the first and last three
// points. Fewer than two distinct points answer Degenerate. A closed curve
// results when the first and last fit points are the same point.
GeomStatus fitSpline(const std::vector<Vec3>& fitPoints, std::optional<Vec3> startTangent,
                     std::optional<Vec3> endTangent, std::unique_ptr<Spline>& out);

}  // namespace tarn::geom
