// CurvePiece: one analytic piece of a curve (a straight piece, a circular
// piece or a general piece evaluated through its owner). Curves decompose into
// pieces so that intersections are solved per pair of pieces: in closed form
// for lines and circles, numerically for everything else.
#pragma once

#include "geom/vec3.h"

namespace tarn::geom {

class Curve;

enum class PieceKind { Linear, Circular, General };

struct CurvePiece {
  PieceKind kind = PieceKind::General;
  // Linear: origin + t * dir. Circular: center + radius (u cos t + v sin t), t in radians.
  // General: owner->pointAt(t).
  Vec3 origin{};
  Vec3 dir{};
  Vec3 u{}, v{}, normal{};
  double radius = 0.0;
  const Curve* owner = nullptr;
  double t0 = 0.0, t1 = 0.0;  // range of t (may be infinite for linear pieces)
  bool fullCircle = false;    // circular piece without ends (t wraps)
  // The owner's parameter is ownerBase + ownerScale * t.
  double ownerBase = 0.0;
  double ownerScale = 1.0;
  // Projection onto a plane applied to every evaluated point (intersection in
  // projection); for General pieces only, set by projectPiece.
  bool projected = false;
  Vec3 planeOrigin{}, planeNormal{};

  Vec3 pointAt(double t) const;
  Vec3 derivAt(double t) const;
  double ownerParam(double t) const { return ownerBase + ownerScale * t; }
};

// The piece as seen in projection onto the plane (base, unit normal).
CurvePiece projectPiece(const CurvePiece& p, const Vec3& base, const Vec3& normal);

}  // namespace tarn::geom
