// Numeric intersection of pieces when a general piece (ellipse, spline, a
// circle seen at a slant) takes part: both pieces are sampled into chords,
// chords that come closer than their sag are refined by Gauss-Newton on the
// true curves, and only points that meet within tolerance are kept.
#include <algorithm>
#include <cmath>

#include "geom/curve.h"
#include "geom/tolerance.h"
#include "piece_intersect.h"

namespace tarn::geom::detail {

void intersectAnalytic(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out);

namespace {
struct Sample {
  std::vector<double> t;
  std::vector<Vec3> p;
  std::vector<double> sag;  // chord i's distance from the curve (estimate)
};

Sample samplePiece(const CurvePiece& c) {
  Sample s;
  std::vector<double> base;
  if (c.kind == PieceKind::General && c.owner != nullptr && !c.fullCircle) {
    // The owner's own sampling, restricted to the piece range.
    for (double u : c.owner->sampleParams()) {
      const double t = (u - c.ownerBase) / c.ownerScale;
      if (t > c.t0 && t < c.t1) base.push_back(t);
    }
  }
  const int n = c.kind == PieceKind::Linear ? 1 : 64;
  for (int i = 0; i <= n; ++i) base.push_back(c.t0 + (c.t1 - c.t0) * i / n);
  std::sort(base.begin(), base.end());
  for (double t : base)
    if (s.t.empty() || t > s.t.back()) s.t.push_back(t);
  for (double t : s.t) s.p.push_back(c.pointAt(t));
  for (size_t i = 0; i + 1 < s.t.size(); ++i) {
    const Vec3 mid = c.pointAt(0.5 * (s.t[i] + s.t[i + 1]));
    s.sag.push_back(distance(mid, midpoint(s.p[i], s.p[i + 1])));
  }
  return s;
}

// Closest points of segments p0p1 and q0q1: fractions u, v in [0, 1].
double segmentDistance(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1, double& u, double& v) {
  const Vec3 d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
  const double a = d1.dot(d1), e = d2.dot(d2), f = d2.dot(r);
  if (a <= 0.0 && e <= 0.0) { u = v = 0.0; return r.length(); }
  if (a <= 0.0) { u = 0.0; v = std::clamp(f / e, 0.0, 1.0); }
  else {
    const double c = d1.dot(r);
    if (e <= 0.0) { v = 0.0; u = std::clamp(-c / a, 0.0, 1.0); }
    else {
      const double b = d1.dot(d2), den = a * e - b * b;
      u = den > 0.0 ? std::clamp((b * f - c * e) / den, 0.0, 1.0) : 0.0;
      v = (b * u + f) / e;
      if (v < 0.0) { v = 0.0; u = std::clamp(-c / a, 0.0, 1.0); }
      else if (v > 1.0) { v = 1.0; u = std::clamp((b - c) / a, 0.0, 1.0); }
    }
  }
  return distance(p0 + d1 * u, q0 + d2 * v);
}

double clampTo(const CurvePiece& c, double t) {
  if (c.fullCircle) return t;
  return std::clamp(t, c.t0, c.t1);
}

// Gauss-Newton with a little damping on |A(s) - B(t)|^2.
double refine(const CurvePiece& a, const CurvePiece& b, double& s, double& t) {
  double best = distance(a.pointAt(s), b.pointAt(t));
  for (int it = 0; it < 60; ++it) {
    const Vec3 r = a.pointAt(s) - b.pointAt(t);
    const Vec3 da = a.derivAt(s), db = b.derivAt(t);
    const double a11 = da.dot(da), a12 = -da.dot(db), a22 = db.dot(db);
    const double g1 = da.dot(r), g2 = -db.dot(r);
    const double lambda = 1e-12 * (a11 + a22);
    const double det = (a11 + lambda) * (a22 + lambda) - a12 * a12;
    if (!(det > 0.0)) break;
    const double ds = -((a22 + lambda) * g1 - a12 * g2) / det;
    const double dt = -((a11 + lambda) * g2 - a12 * g1) / det;
    const double ns = clampTo(a, s + ds), nt = clampTo(b, t + dt);
    const double d = distance(a.pointAt(ns), b.pointAt(nt));
    if (d > best && it > 3) break;
    s = ns;
    t = nt;
    best = std::min(best, d);
    if (std::fabs(ds) + std::fabs(dt) <= 1e-15 * (1.0 + std::fabs(s) + std::fabs(t))) break;
  }
  return distance(a.pointAt(s), b.pointAt(t));
}

bool isDuplicate(const std::vector<PieceHit>& hits, const CurvePiece& a, double s, double tol) {
  const Vec3 p = a.pointAt(s);
  for (const PieceHit& h : hits)
    if (distance(a.pointAt(h.ta), p) <= 10.0 * tol) return true;
  return false;
}

void intersectNumeric(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const Sample sa = samplePiece(a), sb = samplePiece(b);
  for (size_t i = 0; i + 1 < sa.t.size(); ++i) {
    for (size_t j = 0; j + 1 < sb.t.size(); ++j) {
      double u, v;
      const double d = segmentDistance(sa.p[i], sa.p[i + 1], sb.p[j], sb.p[j + 1], u, v);
      if (d > 1.5 * (sa.sag[i] + sb.sag[j]) + tol) continue;
      double s = sa.t[i] + (sa.t[i + 1] - sa.t[i]) * u;
      double t = sb.t[j] + (sb.t[j + 1] - sb.t[j]) * v;
      if (refine(a, b, s, t) > tol || isDuplicate(out.hits, a, s, tol)) continue;
      PieceHit h;
      const Vec3 da = a.derivAt(s), db = b.derivAt(t);
      h.tangent = da.cross(db).length() <= 1e-6 * da.length() * db.length();
      if (!fitParam(a, s, tol / std::max(pieceSpeed(a, s), 1e-300), h.endA)) continue;
      if (!fitParam(b, t, tol / std::max(pieceSpeed(b, t), 1e-300), h.endB)) continue;
      h.ta = s;
      h.tb = t;
      out.hits.push_back(h);
    }
  }
}

bool unbounded(const CurvePiece& c) { return !std::isfinite(c.t0) || !std::isfinite(c.t1); }

// A straight piece without ends is cut to a range that covers the other piece.
CurvePiece boundedTo(const CurvePiece& l, const CurvePiece& other) {
  CurvePiece r = l;
  const Sample s = samplePiece(other);
  double lo = BoundingBox::kInf, hi = -BoundingBox::kInf;
  const double d2 = l.dir.lengthSquared();
  double spread = 0.0;
  for (const Vec3& p : s.p) {
    const double t = (p - l.origin).dot(l.dir) / d2;
    lo = std::min(lo, t);
    hi = std::max(hi, t);
    spread = std::max(spread, distance(p, s.p.front()));
  }
  const double margin = spread / std::sqrt(d2) + 1.0;
  r.t0 = std::max(l.t0, lo - margin);
  r.t1 = std::min(l.t1, hi + margin);
  return r;
}
}  // namespace

void intersectPieces(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const bool generalA = a.kind == PieceKind::General, generalB = b.kind == PieceKind::General;
  if ((a.kind == PieceKind::Linear && a.dir.lengthSquared() == 0.0) ||
      (b.kind == PieceKind::Linear && b.dir.lengthSquared() == 0.0))
    return;  // a line seen end-on
  if (!generalA && !generalB) return intersectAnalytic(a, b, tol, out);
  if (generalA && generalB) return intersectNumeric(a, b, tol, out);
  // One general piece and one straight or circular piece: numeric, with an
  // unbounded line first cut to the general piece's extent.
  const CurvePiece ca = !generalA && unbounded(a) ? boundedTo(a, b) : a;
  const CurvePiece cb = !generalB && unbounded(b) ? boundedTo(b, a) : b;
  PiecePairResult r;
  intersectNumeric(ca, cb, tol, r);
  for (PieceHit h : r.hits) {
    // Re-fit against the true (possibly unbounded) ranges: the cut-off ends are not ends.
    if (!fitParam(a, h.ta, tol / std::max(pieceSpeed(a, h.ta), 1e-300), h.endA)) continue;
    if (!fitParam(b, h.tb, tol / std::max(pieceSpeed(b, h.tb), 1e-300), h.endB)) continue;
    out.hits.push_back(h);
  }
}

}  // namespace tarn::geom::detail
