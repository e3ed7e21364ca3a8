// Hit testing of curves as selection does it, in the XY plane of the
// coordinates the curves are given in (callers transform into display
// coordinates first): window, crossing window, polygon window, crossing
// polygon and fence.
#pragma once

#include <vector>

#include "geom/curve.h"

namespace tarn::geom {

enum class Containment { Outside, Inside, OnBoundary };

// Point against a closed polygon (XY; the last point joins the first).
Containment pointInPolygon(const Vec3& p, const std::vector<Vec3>& polygon,
                           double tol = kEqualPoint);

// Distance in XY from p to the curve as seen from above.
double distanceXY(const Curve& c, const Vec3& p);
// True when the curve passes within `aperture` of p in XY (a pick box).
bool hitsPoint(const Curve& c, const Vec3& p, double aperture);

// Window: the whole curve inside the rectangle with corners a and b.
bool insideWindow(const Curve& c, const Vec3& a, const Vec3& b);
// Crossing: inside the rectangle or touching its boundary.
bool crossesWindow(const Curve& c, const Vec3& a, const Vec3& b);
bool insidePolygon(const Curve& c, const std::vector<Vec3>& polygon);
bool crossesPolygon(const Curve& c, const std::vector<Vec3>& polygon);
// Fence: the curve meets the open chain of segments.
bool crossesFence(const Curve& c, const std::vector<Vec3>& fence);

}  // namespace tarn::geom
