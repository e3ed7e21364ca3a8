// Polylines: the 2D polyline (vertices in the plane of an object coordinate
// system at an elevation, straight or bulged segments, optionally closed;
// widths are kept but do not change the geometry) and the 3D polyline
// (straight segments through 3D points).
//
// A bulge is the tangent of a quarter of the segment's included angle,
// positive when the arc turns counter-clockwise about the normal.
#pragma once

#include "geom/coord_system.h"
#include "geom/segmented_curve.h"

namespace tarn::geom {

struct PolyVertex {
  double x = 0.0, y = 0.0;  // in the object coordinate system of the normal
  double bulge = 0.0;       // of the segment that starts at this vertex
  double startWidth = 0.0, endWidth = 0.0;
};

class Polyline2d : public SegmentedCurve {
 public:
  // Consecutive equal vertices make zero-length segments, so that the
  // parameter of every vertex stays its index.
  Polyline2d(std::vector<PolyVertex> vertices, bool closed, const Vec3& normal = kZAxis,
             double elevation = 0.0);
  CurveKind kind() const override { return CurveKind::Polyline2d; }
  CurvePtr clone() const override { return std::make_unique<Polyline2d>(*this); }
  Polyline2d(const Polyline2d& o);
  Polyline2d& operator=(const Polyline2d&) = delete;

  const std::vector<PolyVertex>& vertices() const { return vertices_; }
  bool closedFlag() const { return closed_; }
  const Vec3& normal() const { return normal_; }
  double elevation() const { return elevation_; }
  Vec3 vertexPoint(size_t i) const;  // world coordinates

  bool isClosed() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;
  GeomStatus planeNormal(Vec3& n) const override;

 private:
  void build();
  std::vector<PolyVertex> vertices_;
  bool closed_;
  Vec3 normal_;
  double elevation_;
};

class Polyline3d : public SegmentedCurve {
 public:
  Polyline3d(std::vector<Vec3> points, bool closed);
  Polyline3d(const Polyline3d& o);
  Polyline3d& operator=(const Polyline3d&) = delete;
  CurveKind kind() const override { return CurveKind::Polyline3d; }
  CurvePtr clone() const override { return std::make_unique<Polyline3d>(*this); }
  const std::vector<Vec3>& points() const { return points_; }
  bool closedFlag() const { return closed_; }

  bool isClosed() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;

 private:
  void build();
  std::vector<Vec3> points_;
  bool closed_;
};

}  // namespace tarn::geom
