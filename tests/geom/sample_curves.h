// A catalogue of named curves of every type, shared by the parameterised
// tests, plus a few checks used throughout.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "geom/geom.h"

namespace tarn::geom::testing {

struct NamedCurve {
  std::string name;
  std::function<CurvePtr()> make;
};

inline CurvePtr makeSpline() {
  std::unique_ptr<Spline> s;
  fitSpline({{0, 0, 0}, {3, 2, 0}, {6, -1, 0}, {9, 1, 0}, {12, 0, 0}}, std::nullopt, std::nullopt, s);
  return s;
}

inline CurvePtr makeRationalSpline() {
  // A quarter circle of radius 5 as a rational quadratic.
  std::unique_ptr<Spline> s;
  Spline::make(2, {0, 0, 0, 1, 1, 1}, {{5, 0, 0}, {5, 5, 0}, {0, 5, 0}}, {1, std::sqrt(0.5), 1}, s);
  return s;
}

inline CurvePtr makeBulgedPolyline(bool closed) {
  std::vector<PolyVertex> v = {{0, 0, 0.0}, {10, 0, 0.5}, {10, 10, 0.0}, {0, 10, -0.3}};
  return std::make_unique<Polyline2d>(v, closed);
}

// Bounded curves, one of every kind and some variants.
inline std::vector<NamedCurve> boundedCurves() {
  return {
      {"Line", [] { return CurvePtr(std::make_unique<Line>(Vec3{1, 2, 0}, Vec3{7, -3, 0})); }},
      {"Line3d", [] { return CurvePtr(std::make_unique<Line>(Vec3{1, 2, 3}, Vec3{-4, 5, 9})); }},
      {"Circle", [] { return CurvePtr(std::make_unique<Circle>(Vec3{2, 3, 0}, 4.0)); }},
      {"TiltedCircle", [] { return CurvePtr(std::make_unique<Circle>(Vec3{2, 3, 1}, 4.0, Vec3{1, 1, 1})); }},
      {"Arc", [] { return CurvePtr(std::make_unique<Arc>(Vec3{0, 0, 0}, 5.0, 0.3, 2.5)); }},
      {"ArcAcrossZero", [] { return CurvePtr(std::make_unique<Arc>(Vec3{1, 1, 0}, 2.0, 5.5, 1.0)); }},
      {"ArcNegNormal", [] { return CurvePtr(std::make_unique<Arc>(Vec3{1, 1, 2}, 3.0, 0.5, 2.0, Vec3{0, 0, -1})); }},
      {"Ellipse", [] { return CurvePtr(std::make_unique<Ellipse>(Vec3{1, 2, 0}, Vec3{6, 2, 0}, kZAxis, 0.4)); }},
      {"EllipticalArc",
       [] { return CurvePtr(std::make_unique<Ellipse>(Vec3{0, 0, 0}, Vec3{5, 0, 0}, kZAxis, 0.5, 0.5, 4.0)); }},
      {"OpenPolyline", [] { return makeBulgedPolyline(false); }},
      {"ClosedPolyline", [] { return makeBulgedPolyline(true); }},
      {"Polyline3d",
       [] { return CurvePtr(std::make_unique<Polyline3d>(std::vector<Vec3>{{0, 0, 0}, {3, 1, 2}, {5, 4, -1}, {8, 0, 0}}, false)); }},
      {"Spline", [] { return makeSpline(); }},
      {"RationalSpline", [] { return makeRationalSpline(); }},
  };
}

inline std::string curveName(const ::testing::TestParamInfo<NamedCurve>& info) { return info.param.name; }

// The parameters at which tests probe a curve: interior, evenly spread, and
// off the polylines' vertices (where the derivative jumps).
inline std::vector<double> probeParams(const Curve& c, int n = 7) {
  std::vector<double> ts;
  const double s = c.startParam(), e = c.endParam();
  for (int i = 0; i < n; ++i) ts.push_back(s + (e - s) * (i + 0.537) / n);
  return ts;
}

// A circle has no seam of its own: its start point is where its object
// coordinate system puts angle 0, which a transform may move.
inline bool hasSeam(const Curve& c) { return c.kind() != CurveKind::Circle; }

inline void expectNear(const Vec3& a, const Vec3& b, double tol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace tarn::geom::testing
