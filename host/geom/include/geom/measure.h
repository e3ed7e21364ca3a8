// Lengths and areas of curves as an inquiry reports them.
#pragma once

#include "geom/curve.h"

namespace tarn::geom {

// Signed area enclosed by the curve (closed by the chord from end to start
// when open), positive when the curve runs counter-clockwise seen from the
// tip of `normal`. For planar curves the normal defaults to the curve's own.
double signedArea(const Curve& c, const Vec3& normal);
// Unsigned enclosed area of a planar curve; NotPlanar for a curve in 3D space.
GeomStatus area(const Curve& c, double& out);
// Length of a bounded curve (a closed one includes its closing segment);
// InvalidInput for unbounded curves.
GeomStatus curveLength(const Curve& c, double& out);
// +1 counter-clockwise, -1 clockwise about `normal`, 0 when no area.
int orientation(const Curve& c, const Vec3& normal);

}  // namespace tarn::geom
