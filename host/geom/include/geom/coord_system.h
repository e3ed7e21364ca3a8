// Coordinate systems of a drawing and the conversions between them: world
// (WCS), user (UCS: origin, X and Y directions), display (DCS: view target,
// view direction and twist) and object coordinate systems (OCS) derived from a
// normal by the arbitrary-axis rule.
#pragma once

#include "geom/matrix4.h"
#include "geom/status.h"
#include "geom/vec3.h"

namespace tarn::geom {

// X and Y axes of the object coordinate system of `normal` (arbitrary-axis
// rule): Ax = Wy x N when |Nx| and |Ny| are both below 1/64, else Wz x N,
// normalised; Ay = N x Ax. A zero normal is treated as the world Z axis.
struct OcsAxes {
  Vec3 x, y, z;
};
OcsAxes ocsAxes(const Vec3& normal);
Matrix4 ocsToWorld(const Vec3& normal);
Matrix4 worldToOcs(const Vec3& normal);

struct Ucs {
  Vec3 origin{};
  Vec3 xAxis = kXAxis;
  Vec3 yAxis = kYAxis;  // made orthogonal to xAxis when the matrix is built
  Vec3 zAxis() const;
  Matrix4 toWorld() const;
  Matrix4 fromWorld() const;
};

// The display coordinate system: origin at the view target, Z along the view
// direction (from the target towards the viewer), X and Y the OCS axes of the
// view direction turned by minus the view twist, so that with a twist of 30°
// the world X axis appears at 30° on screen.
struct ViewSpec {
  Vec3 target{};
  Vec3 direction = kZAxis;
  double twist = 0.0;  // radians
  Matrix4 toWorld() const;
  Matrix4 fromWorld() const;
};

// A coordinate system named the way a point-transformation request names it.
enum class CoordKind { World = 0, User = 1, Display = 2, PaperDisplay = 3, Object = 4 };
struct CoordSpec {
  CoordKind kind = CoordKind::World;
  Vec3 normal = kZAxis;  // only for Object
  static CoordSpec world() { return {}; }
  static CoordSpec user() { return {CoordKind::User, kZAxis}; }
  static CoordSpec display() { return {CoordKind::Display, kZAxis}; }
  static CoordSpec object(const Vec3& n) { return {CoordKind::Object, n}; }
};

// The drawing state a transformation needs: the current UCS and view.
struct CoordContext {
  Ucs ucs;
  ViewSpec view;
};

// Matrix from `from` to `to`. PaperDisplay has no meaning without a layout
// viewport and answers Unsupported; a zero normal or zero UCS axis, Degenerate.
GeomStatus coordTransform(const CoordContext& ctx, const CoordSpec& from, const CoordSpec& to,
                          Matrix4& out);

// Point (or, with displacement = true, a displacement vector, which ignores
// the origins) from one coordinate system into another.
GeomStatus transformCoords(const CoordContext& ctx, const Vec3& p, const CoordSpec& from,
                           const CoordSpec& to, bool displacement, Vec3& out);

}  // namespace tarn::geom
