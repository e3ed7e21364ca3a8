// CurvePiece evaluation and projection onto a plane.
#include "geom/curve_piece.h"

#include <cmath>

#include "geom/curve.h"
#include "geom/tolerance.h"

namespace tarn::geom {

namespace {
Vec3 projectPoint(const Vec3& p, const Vec3& o, const Vec3& n) { return p - n * (p - o).dot(n); }
}  // namespace

Vec3 CurvePiece::pointAt(double t) const {
  Vec3 p;
  switch (kind) {
    case PieceKind::Linear: p = origin + dir * t; break;
    case PieceKind::Circular: p = origin + (u * std::cos(t) + v * std::sin(t)) * radius; break;
    case PieceKind::General: p = owner->pointAt(ownerParam(t)); break;
  }
  return projected ? projectPoint(p, planeOrigin, planeNormal) : p;
}

Vec3 CurvePiece::derivAt(double t) const {
  Vec3 d;
  switch (kind) {
    case PieceKind::Linear: d = dir; break;
    case PieceKind::Circular: d = (v * std::cos(t) - u * std::sin(t)) * radius; break;
    case PieceKind::General: d = owner->derivAt(ownerParam(t)) * ownerScale; break;
  }
  return projected ? d - planeNormal * d.dot(planeNormal) : d;
}

CurvePiece projectPiece(const CurvePiece& p, const Vec3& base, const Vec3& normal) {
  CurvePiece r = p;
  const Vec3 n = normal.normalized();
  if (p.kind == PieceKind::Linear) {
    // A straight piece stays straight; its parameter keeps its meaning.
    r.origin = projectPoint(p.origin, base, n);
    r.dir = p.dir - n * p.dir.dot(n);
    // Seen end-on an unbounded line is a single point: leave it with a zero
    // direction, which the intersector passes over.
    if (r.dir.length() > 1e-9 * p.dir.length() || !std::isfinite(p.t0) || !std::isfinite(p.t1))
      return r;
  } else if (p.kind == PieceKind::Circular && isParallel(p.normal, n)) {
    r.origin = projectPoint(p.origin, base, n);
    return r;
  }
  // Everything else becomes a general piece evaluated through its owner and
  // projected point by point (a tilted circle seen along n is an ellipse).
  if (p.kind != PieceKind::General) {
    r.kind = PieceKind::General;
  }
  r.projected = true;
  r.planeOrigin = base;
  r.planeNormal = n;
  return r;
}

}  // namespace tarn::geom
