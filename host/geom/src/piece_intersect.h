// Internal: intersection of two curve pieces. Analytic for straight and
// circular pieces, numeric (sampling, then Gauss-Newton refinement) when a
// general piece takes part.
#pragma once

#include <vector>

#include "geom/curve_piece.h"

namespace tarn::geom::detail {

struct PieceHit {
  double ta = 0.0, tb = 0.0;  // piece parameters
  bool tangent = false;
  bool endA = false, endB = false;  // snapped to a piece end
};

struct PieceOverlap {
  double ta0 = 0.0, ta1 = 0.0, tb0 = 0.0, tb1 = 0.0;
};

struct PiecePairResult {
  std::vector<PieceHit> hits;
  std::vector<PieceOverlap> overlaps;
};

// `tol` is a length tolerance already scaled to the geometry's size.
void intersectPieces(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out);

// Fits a piece parameter into the piece's range with tolerance `tolT`,
// snapping to an end within it; false when outside.
bool fitParam(const CurvePiece& p, double& t, double tolT, bool& snapped);

// Parameter speed of a piece (length per unit parameter) at t.
double pieceSpeed(const CurvePiece& p, double t);

}  // namespace tarn::geom::detail
