// Closed-form intersections of straight and circular pieces: line with line,
// line with circle, circle with circle, including overlaps (collinear lines,
// arcs of one circle) and tangency.
#include <algorithm>
#include <cmath>

#include "geom/tolerance.h"
#include "piece_intersect.h"

namespace tarn::geom::detail {

double pieceSpeed(const CurvePiece& p, double t) {
  switch (p.kind) {
    case PieceKind::Linear: return p.dir.length();
    case PieceKind::Circular: return p.radius;
    case PieceKind::General: return p.derivAt(t).length();
  }
  return 1.0;
}

namespace {
double angleOn(const CurvePiece& c, const Vec3& p) {
  const Vec3 d = p - c.origin;
  return std::atan2(d.dot(c.v), d.dot(c.u));
}
}  // namespace

bool fitParam(const CurvePiece& p, double& t, double tolT, bool& snapped) {
  snapped = false;
  if (p.kind == PieceKind::Circular || (p.kind == PieceKind::General && p.fullCircle)) {
    // Angles: bring t into [t0 - tol, t0 - tol + 2π).
    const double lo = p.t0 - tolT;
    t = lo + normalizeAngle(t - lo);
    if (p.fullCircle) return true;
  }
  if (t < p.t0 - tolT || t > p.t1 + tolT) return false;
  if (std::fabs(t - p.t0) <= tolT) { t = p.t0; snapped = true; }
  else if (std::fabs(t - p.t1) <= tolT) { t = p.t1; snapped = true; }
  return true;
}

namespace {
void addHit(const CurvePiece& a, const CurvePiece& b, double ta, double tb, bool tangent, double tol,
            PiecePairResult& out) {
  PieceHit h;
  h.tangent = tangent;
  if (!fitParam(a, ta, tol / pieceSpeed(a, ta), h.endA)) return;
  if (!fitParam(b, tb, tol / pieceSpeed(b, tb), h.endB)) return;
  h.ta = ta;
  h.tb = tb;
  out.hits.push_back(h);
}

// Overlap of [x0, x1] with [y0, y1] (plain intervals).
bool overlapInterval(double x0, double x1, double y0, double y1, double& lo, double& hi) {
  lo = std::max(x0, y0);
  hi = std::min(x1, y1);
  return hi >= lo;
}

void linearOverlap(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const double da2 = a.dir.lengthSquared();
  const double k = b.dir.dot(a.dir) / da2;           // A-parameter per B-parameter
  const double c = (b.origin - a.origin).dot(a.dir) / da2;  // A-parameter of B's t = 0
  const double s0 = c + k * b.t0, s1 = c + k * b.t1;
  double lo, hi;
  const double tolA = tol / std::sqrt(da2);
  if (!overlapInterval(a.t0, a.t1, std::min(s0, s1) - tolA, std::max(s0, s1) + tolA, lo, hi)) return;
  const auto toB = [&](double s) { return (s - c) / k; };
  if (hi - lo <= 2.0 * tolA) {
    // Touching at one end only: a single point.
    const double s = std::isfinite(lo) && std::isfinite(hi) ? 0.5 * (lo + hi) : (std::isfinite(lo) ? lo : hi);
    addHit(a, b, s, toB(s), false, tol, out);
    return;
  }
  const double l = std::max(lo, std::min(s0, s1)), h = std::min(hi, std::max(s0, s1));
  const double ra0 = std::max(a.t0, l), ra1 = std::min(a.t1, h);
  out.overlaps.push_back({ra0, ra1, toB(ra0), toB(ra1)});
}

void lineLine(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const Vec3 w = b.origin - a.origin;
  const Vec3 n = a.dir.cross(b.dir);
  const double nn = n.lengthSquared();
  if (n.length() <= kEqualVector * a.dir.length() * b.dir.length()) {
    if (w.cross(a.dir).length() / a.dir.length() > tol) return;
    linearOverlap(a, b, tol, out);
    return;
  }
  if (std::fabs(w.dot(n)) / std::sqrt(nn) > tol) return;  // skew lines
  const double s = w.cross(b.dir).dot(n) / nn;
  const double t = w.cross(a.dir).dot(n) / nn;
  addHit(a, b, s, t, false, tol, out);
}

// Points where the straight piece meets the circle of the circular piece;
// `tangent` is set when it touches. Parameters on the line.
int lineCircleParams(const CurvePiece& l, const CurvePiece& c, double tol, double* s, bool& tangent) {
  tangent = false;
  const double dn = l.dir.dot(c.normal);
  if (std::fabs(dn) > kEqualVector * l.dir.length()) {
    const double t = (c.origin - l.origin).dot(c.normal) / dn;
    const Vec3 p = l.origin + l.dir * t;
    if (std::fabs(distance(p, c.origin) - c.radius) > tol) return 0;
    s[0] = t;
    return 1;
  }
  if (std::fabs((l.origin - c.origin).dot(c.normal)) > tol) return 0;
  const double d2 = l.dir.lengthSquared();
  const double sf = (c.origin - l.origin).dot(l.dir) / d2;
  const Vec3 f = l.origin + l.dir * sf;
  const Vec3 off = f - c.origin;
  const double h = (off - c.normal * off.dot(c.normal)).length();
  if (h > c.radius + tol) return 0;
  if (std::fabs(h - c.radius) <= tol) {
    tangent = true;
    s[0] = sf;
    return 1;
  }
  const double half = std::sqrt(std::max(0.0, c.radius * c.radius - h * h)) / std::sqrt(d2);
  s[0] = sf - half;
  s[1] = sf + half;
  return 2;
}

void lineCircle(const CurvePiece& l, const CurvePiece& c, double tol, bool swapped, PiecePairResult& out) {
  double s[2];
  bool tangent;
  const int n = lineCircleParams(l, c, tol, s, tangent);
  for (int i = 0; i < n; ++i) {
    const double ang = angleOn(c, l.origin + l.dir * s[i]);
    if (swapped) addHit(c, l, ang, s[i], tangent, tol, out);
    else addHit(l, c, s[i], ang, tangent, tol, out);
  }
}

// Arcs on one circle: the overlap of their angular ranges.
void sameCircle(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const bool sameSense = a.normal.dot(b.normal) > 0.0;
  const double lenB = b.fullCircle ? kTwoPi : b.t1 - b.t0;
  const double lenA = a.fullCircle ? kTwoPi : a.t1 - a.t0;
  // B's range in A's angles, counter-clockwise about A's normal.
  const double bStart = angleOn(a, b.pointAt(sameSense ? b.t0 : b.t1));
  const auto toB = [&](double angA) { return angleOn(b, a.pointAt(angA)); };
  const double tolAng = tol / a.radius;
  const double y0 = a.t0 + normalizeAngle(bStart - a.t0);
  for (double start : {y0, y0 - kTwoPi}) {
    double lo, hi;
    if (!overlapInterval(a.t0, a.t0 + lenA, start - tolAng, start + lenB + tolAng, lo, hi)) continue;
    if (hi - lo <= 2.0 * tolAng) {
      const double mid = 0.5 * (lo + hi);
      addHit(a, b, mid, toB(mid), false, tol, out);
      continue;
    }
    lo = std::max(lo, std::max(a.t0, start));
    hi = std::min(hi, std::min(a.t0 + lenA, start + lenB));
    double b0 = toB(lo), b1 = toB(hi);
    bool snap;
    fitParam(b, b0, tolAng, snap);
    fitParam(b, b1, tolAng, snap);
    if (b.fullCircle && std::fabs(hi - lo - kTwoPi) <= tolAng) b1 = b0 + (sameSense ? kTwoPi : -kTwoPi);
    out.overlaps.push_back({lo, hi, b0, b1});
  }
}

void circleCircleCoplanar(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  Vec3 cc = b.origin - a.origin;
  cc = cc - a.normal * cc.dot(a.normal);
  const double d = cc.length();
  const double r1 = a.radius, r2 = b.radius;
  if (d <= tol && std::fabs(r1 - r2) <= tol) return sameCircle(a, b, tol, out);
  if (d > r1 + r2 + tol || d < std::fabs(r1 - r2) - tol || d <= tol) return;
  const Vec3 e = cc / d;
  const auto hit = [&](const Vec3& p, bool tangent) {
    addHit(a, b, angleOn(a, p), angleOn(b, p), tangent, tol, out);
  };
  if (std::fabs(d - (r1 + r2)) <= tol) return hit(a.origin + e * r1, true);
  if (std::fabs(d - std::fabs(r1 - r2)) <= tol) return hit(a.origin + e * (r1 >= r2 ? r1 : -r1), true);
  const double x = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
  const double h = std::sqrt(std::max(0.0, r1 * r1 - x * x));
  const Vec3 perp = a.normal.cross(e);
  hit(a.origin + e * x + perp * h, false);
  hit(a.origin + e * x - perp * h, false);
}

void circleCircle(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  if (isParallel(a.normal, b.normal)) {
    if (std::fabs((b.origin - a.origin).dot(a.normal)) > tol) return;
    return circleCircleCoplanar(a, b, tol, out);
  }
  // Planes cross in a line; the common points of the circles lie on it.
  CurvePiece line;
  line.kind = PieceKind::Linear;
  line.dir = a.normal.cross(b.normal).normalized();
  const Vec3 n1 = a.normal, n2 = b.normal;
  const double h1 = n1.dot(a.origin), h2 = n2.dot(b.origin), k = n1.dot(n2);
  const double den = 1.0 - k * k;
  line.origin = n1 * ((h1 - h2 * k) / den) + n2 * ((h2 - h1 * k) / den);
  double s[2];
  bool tangent;
  const int n = lineCircleParams(line, a, tol, s, tangent);
  for (int i = 0; i < n; ++i) {
    const Vec3 p = line.origin + line.dir * s[i];
    if (std::fabs(distance(p, b.origin) - b.radius) > tol) continue;
    addHit(a, b, angleOn(a, p), angleOn(b, p), tangent, tol, out);
  }
}
}  // namespace

void intersectAnalytic(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const bool la = a.kind == PieceKind::Linear, lb = b.kind == PieceKind::Linear;
  if (la && lb) return lineLine(a, b, tol, out);
  if (la) return lineCircle(a, b, tol, false, out);
  if (lb) return lineCircle(b, a, tol, true, out);
  circleCircle(a, b, tol, out);
}

}  // namespace tarn::geom::detail
