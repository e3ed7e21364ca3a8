// Curve-curve intersection: decompose both curves into pieces (extended and
// projected as asked), intersect every pair of pieces whose boxes meet, then
// merge the hits into one classified, ordered answer.
#include "geom/intersect.h"

#include <algorithm>
#include <cmath>

#include "piece_intersect.h"

namespace tarn::geom {

namespace {
using detail::PieceHit;
using detail::PiecePairResult;

// Extends a piece at its start and/or end (straight pieces to infinity,
// circular pieces and elliptical arcs to their full turn).
void extendPiece(CurvePiece& p, bool atStart, bool atEnd) {
  if (p.kind == PieceKind::Linear) {
    if (atStart) p.t0 = -BoundingBox::kInf;
    if (atEnd) p.t1 = BoundingBox::kInf;
  } else if (p.kind == PieceKind::Circular ||
             (p.owner != nullptr && p.owner->kind() == CurveKind::Ellipse)) {
    p.fullCircle = true;
    p.t1 = p.t0 + kTwoPi;
  }
}

std::vector<CurvePiece> piecesOf(const Curve& c, bool extend, const IntersectOptions& opt) {
  std::vector<CurvePiece> ps;
  c.appendPieces(ps);
  if (extend && !ps.empty() && !c.isClosed()) {
    if (ps.size() == 1) {
      extendPiece(ps.front(), true, true);
    } else {
      extendPiece(ps.front(), true, false);
      extendPiece(ps.back(), false, true);
    }
  }
  if (opt.projectOnto) {
    for (CurvePiece& p : ps) p = projectPiece(p, opt.projectOnto->origin, opt.projectOnto->normal);
  }
  return ps;
}

BoundingBox pieceBox(const CurvePiece& p) {
  BoundingBox b;
  if (p.kind == PieceKind::Linear) {
    if (!std::isfinite(p.t0) || !std::isfinite(p.t1)) return BoundingBox{Vec3{-BoundingBox::kInf, -BoundingBox::kInf, -BoundingBox::kInf}, Vec3{BoundingBox::kInf, BoundingBox::kInf, BoundingBox::kInf}};
    b.add(p.pointAt(p.t0));
    b.add(p.pointAt(p.t1));
    return b;
  }
  if (p.kind == PieceKind::Circular) {
    const Vec3 r{p.radius, p.radius, p.radius};
    b.add(p.origin - r);
    b.add(p.origin + r);
    return b;
  }
  // General: the samples plus a margin for what lies between them.
  const int n = 32;
  for (int i = 0; i <= n; ++i) b.add(p.pointAt(p.t0 + (p.t1 - p.t0) * i / n));
  return b.expanded(0.1 * b.size().length());
}

struct RawHit {
  double pa, pb;
  Vec3 point;
  bool tangent, endA, endB;
};

// Size of the coordinates involved, for the scaled tolerance; cheap bounds
// from the pieces instead of exact boxes.
double magnitudeOf(const std::vector<CurvePiece>& ps) {
  double m = 0.0;
  for (const CurvePiece& p : ps) {
    switch (p.kind) {
      case PieceKind::Linear:
        m = std::max(m, p.origin.maxAbs());
        if (std::isfinite(p.t0) && std::isfinite(p.t1))
          m = std::max(m, std::max(p.pointAt(p.t0).maxAbs(), p.pointAt(p.t1).maxAbs()));
        break;
      case PieceKind::Circular: m = std::max(m, p.origin.maxAbs() + p.radius); break;
      case PieceKind::General: m = std::max(m, p.owner->magnitude()); break;
    }
  }
  return m;
}

void collect(const CurvePiece& pa, const CurvePiece& pb, const PiecePairResult& r, std::vector<RawHit>& hits,
             std::vector<OverlapRange>& overlaps) {
  for (const PieceHit& h : r.hits) {
    // The point on the first curve, unless only the second was snapped to an end.
    Vec3 p = (h.endB && !h.endA && !pa.projected && !pb.projected) ? pb.pointAt(h.tb) : pa.pointAt(h.ta);
    hits.push_back({pa.ownerParam(h.ta), pb.ownerParam(h.tb), p, h.tangent, h.endA, h.endB});
  }
  for (const auto& o : r.overlaps)
    overlaps.push_back({pa.ownerParam(o.ta0), pa.ownerParam(o.ta1), pb.ownerParam(o.tb0), pb.ownerParam(o.tb1)});
}

// Merges hits that are one point (a polyline vertex met by two segments),
// preferring hits snapped to ends.
std::vector<RawHit> mergeHits(std::vector<RawHit> hits, double tol) {
  std::sort(hits.begin(), hits.end(), [](const RawHit& x, const RawHit& y) { return x.pa < y.pa; });
  std::vector<RawHit> out;
  for (const RawHit& h : hits) {
    bool merged = false;
    for (RawHit& o : out) {
      if (distance(o.point, h.point) > 10.0 * tol) continue;
      if ((h.endA || h.endB) && !(o.endA || o.endB)) o = h;
      o.tangent = o.tangent && h.tangent;
      merged = true;
      break;
    }
    if (!merged) out.push_back(h);
  }
  return out;
}

bool insideOverlap(const RawHit& h, const std::vector<OverlapRange>& overlaps) {
  for (const auto& o : overlaps)
    if (h.pa >= std::min(o.a0, o.a1) && h.pa <= std::max(o.a0, o.a1)) return true;
  return false;
}
}  // namespace

IntersectionResult intersect(const Curve& a, const Curve& b, const IntersectOptions& opt) {
  const bool extA = opt.extend == ExtendMode::First || opt.extend == ExtendMode::Both;
  const bool extB = opt.extend == ExtendMode::Second || opt.extend == ExtendMode::Both;
  const std::vector<CurvePiece> pa = piecesOf(a, extA, opt), pb = piecesOf(b, extB, opt);
  const double tol = scaledTolerance(opt.tolerance, std::max(magnitudeOf(pa), magnitudeOf(pb)));
  std::vector<BoundingBox> boxesB;
  for (const CurvePiece& p : pb) boxesB.push_back(pieceBox(p).expanded(tol));
  std::vector<RawHit> hits;
  std::vector<OverlapRange> overlaps;
  for (const CurvePiece& x : pa) {
    const BoundingBox bx = pieceBox(x).expanded(tol);
    for (size_t j = 0; j < pb.size(); ++j) {
      if (!bx.intersects(boxesB[j])) continue;
      PiecePairResult r;
      detail::intersectPieces(x, pb[j], tol, r);
      collect(x, pb[j], r, hits, overlaps);
    }
  }
  IntersectionResult res;
  res.overlaps = overlaps;
  for (const RawHit& h : mergeHits(std::move(hits), tol)) {
    if (insideOverlap(h, overlaps)) continue;
    res.points.push_back({h.point, h.pa, h.pb, h.tangent});
  }
  if (!res.overlaps.empty()) res.kind = IntersectKind::Overlap;
  else if (res.points.empty()) res.kind = IntersectKind::None;
  else if (std::all_of(res.points.begin(), res.points.end(), [](const auto& p) { return p.tangent; }))
    res.kind = IntersectKind::Tangent;
  else res.kind = IntersectKind::Points;
  return res;
}

std::vector<Vec3> intersectionPoints(const Curve& a, const Curve& b, const IntersectOptions& opt) {
  const IntersectionResult r = intersect(a, b, opt);
  std::vector<std::pair<double, Vec3>> pts;
  for (const auto& p : r.points) pts.push_back({p.paramA, p.point});
  for (const auto& o : r.overlaps) {
    if (std::isfinite(o.a0)) pts.push_back({o.a0, a.pointAt(o.a0)});
    if (std::isfinite(o.a1)) pts.push_back({o.a1, a.pointAt(o.a1)});
  }
  std::sort(pts.begin(), pts.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<Vec3> out;
  for (const auto& [t, p] : pts)
    if (out.empty() || !pointsEqual(out.back(), p)) out.push_back(p);
  return out;
}

}  // namespace tarn::geom
