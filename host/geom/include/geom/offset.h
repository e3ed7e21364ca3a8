// Offset: the curve at a constant distance beside a curve, on the side of a
// chosen point. Lines, rays, construction lines, circles and arcs offset
// exactly; 2D polylines offset segment by segment with their corners joined
// and the loops where the offset folds over itself removed;
// ellipses and splines are approximated by a cubic spline within the
// requested accuracy.
#pragma once

#include "geom/curve.h"

namespace tarn::geom {

// How the gaps at convex corners of an offset polyline are closed.
enum class GapType { Extend = 0, Fillet = 1, Chamfer = 2 };

struct OffsetOptions {
  GapType gap = GapType::Extend;
  double accuracy = kApproximation;  // for approximated results (scaled by curve size)
};

struct OffsetResult {
  GeomStatus status = GeomStatus::Ok;
  std::vector<CurvePtr> curves;  // one, or several when a polyline's offset falls apart at its loops
};

// Offset by `distance` (> 0) towards `sidePoint`. The side point must lie off
// the curve and, for 3D curves, fix the plane together with the curve.
// A radius that would become zero or negative answers NegativeRadius.
OffsetResult offsetCurve(const Curve& c, double distance, const Vec3& sidePoint,
                         const OffsetOptions& opt = {});

// Offset by a signed distance: positive to the left of the direction of
// travel, seen from the tip of the curve's plane normal.
OffsetResult offsetSigned(const Curve& c, double signedDistance, const OffsetOptions& opt = {});

}  // namespace tarn::geom
