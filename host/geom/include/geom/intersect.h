// Intersection of two curves with a classified answer. Options extend either
// curve (as a trim or extend with extended edges needs) and project both onto
// a plane before intersecting (intersection "as seen" in the user's XY plane
// or the view plane). Points where a curve ends are kept when they miss the
// end by no more than the tolerance, and are then reported exactly at the end.
#pragma once

#include <optional>
#include <vector>

#include "geom/curve.h"

namespace tarn::geom {

enum class IntersectKind { None, Points, Tangent, Overlap };

struct IntersectionPoint {
  Vec3 point;          // on the first curve (and on the second unless projected)
  double paramA = 0.0;  // parameter on the first curve
  double paramB = 0.0;  // parameter on the second curve
  bool tangent = false;  // the curves touch here without crossing
};

// A stretch shared by both curves: [a0, a1] on the first curve, matching the
// parameters b0 and b1 on the second (b0 may exceed b1 when the curves run
// opposite ways).
struct OverlapRange {
  double a0 = 0.0, a1 = 0.0, b0 = 0.0, b1 = 0.0;
};

struct IntersectionResult {
  IntersectKind kind = IntersectKind::None;
  std::vector<IntersectionPoint> points;  // sorted by paramA
  std::vector<OverlapRange> overlaps;
};

enum class ExtendMode { None, First, Second, Both };

struct Plane {
  Vec3 origin{};
  Vec3 normal = kZAxis;
};

struct IntersectOptions {
  ExtendMode extend = ExtendMode::None;
  std::optional<Plane> projectOnto;  // intersect as seen along the plane's normal
  double tolerance = kEqualPoint;
};

IntersectionResult intersect(const Curve& a, const Curve& b, const IntersectOptions& opt = {});

// The points only, in the order of the first curve (overlap ends included):
// the list a trim or a fence needs.
std::vector<Vec3> intersectionPoints(const Curve& a, const Curve& b, const IntersectOptions& opt = {});

}  // namespace tarn::geom
