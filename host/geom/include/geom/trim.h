// Trim, break and fillet: the edits that cut a curve at points and keep parts
// of it.
#pragma once

#include <vector>

#include "geom/curve.h"
#include "geom/intersect.h"

namespace tarn::geom {

struct EditResult {
  GeomStatus status = GeomStatus::Ok;
  std::vector<CurvePtr> curves;  // what remains of the edited curve
};

// Trims `c` where the cutting curves cross it: the part on which `pick` lies
// (the pick is taken to its nearest curve point), between the neighbouring
// cuts, is removed. A construction line trimmed on one side becomes a ray, a
// ray trimmed becomes a line or a ray, a closed curve needs two cuts and
// becomes open. No cut on either side of the pick: NothingToTrim.
EditResult trimCurve(const Curve& c, const std::vector<const Curve*>& cutters, const Vec3& pick,
                     const IntersectOptions& opt = {});

// The same, with the cut parameters given.
EditResult trimAtParams(const Curve& c, std::vector<double> cuts, double pickParam);

// Removes the part between the curve points nearest p1 and p2. On a closed
// curve the part removed runs in the curve's direction from p1 to p2
// (counter-clockwise about a circle's normal); equal points there answer
// Degenerate. Removing a whole open curve leaves no curves and answers Ok.
EditResult breakCurve(const Curve& c, const Vec3& p1, const Vec3& p2);

struct FilletResult {
  GeomStatus status = GeomStatus::Ok;
  CurvePtr first, second;  // the two curves, trimmed or extended
  CurvePtr arc;            // the fillet arc (null for radius 0)
};

// Fillet of two curves (each a Line or an Arc for radius 0; two Lines for a
// positive radius): the parts on which the picks lie are kept and extended or
// trimmed to the corner, or to the tangent points of the fillet arc.
FilletResult fillet(const Curve& a, const Vec3& pickA, const Curve& b, const Vec3& pickB,
                    double radius);

}  // namespace tarn::geom
