// SegmentedCurve: the common base of curves made of consecutive segments
// (polylines and composites). Segment i covers the parameter range [i, i+1],
// mapped linearly onto the segment's own range.
#pragma once

#include "geom/curve.h"

namespace tarn::geom {

class SegmentedCurve : public Curve {
 public:
  double startParam() const override { return 0.0; }
  double endParam() const override { return static_cast<double>(segments_.size()); }
  size_t segmentCount() const { return segments_.size(); }
  const Curve& segment(size_t i) const { return *segments_[i]; }

  Vec3 pointAt(double t) const override;
  Vec3 derivAt(double t) const override;
  double distanceAtParam(double t) const override;
  double paramAtDistance(double s) const override;
  double length() const override;
  double closestParam(const Vec3& p) const override;
  BoundingBox boundingBox() const override;
  void appendPieces(std::vector<CurvePiece>& out) const override;
  Vec3 areaVector() const override;
  GeomStatus planeNormal(Vec3& n) const override;
  std::vector<double> sampleParams() const override;

 protected:
  // Segment index and the segment's own parameter for parameter t.
  size_t locate(double t, double& local) const;
  double toLocal(size_t i, double u) const;
  double fromLocal(size_t i, double local) const;
  void setSegments(std::vector<CurvePtr> segs);
  // Pieces (segment index, from, to) in this curve's parameters covering
  // [t0, t1]; on a closed curve t1 may pass the end and wraps.
  struct Span {
    size_t segment;
    double from, to;
  };
  std::vector<Span> spans(double t0, double t1) const;
  std::vector<CurvePtr> segments_;
  std::vector<double> cumulative_;  // length up to the start of each segment
};

// CompositeCurve: any chain of bounded curves, each starting where the previous
// ends (a boundary made of lines, arcs and splines, for example).
class CompositeCurve : public SegmentedCurve {
 public:
  // Segments that do not join end to start (within tolerance) answer
  // InvalidInput; an empty list too.
  static GeomStatus make(std::vector<CurvePtr> segments, std::unique_ptr<CompositeCurve>& out);
  CurveKind kind() const override { return CurveKind::Composite; }
  CurvePtr clone() const override;
  bool isClosed() const override;
  CurvePtr transformed(const Matrix4& m) const override;
  CurvePtr reversed() const override;
  CurvePtr subCurve(double t0, double t1) const override;

 private:
  CompositeCurve() = default;
};

}  // namespace tarn::geom
