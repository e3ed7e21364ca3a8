// Offset of a 2D polyline: every segment is offset on its own (lines
// parallel, arcs concentric; arcs whose radius would vanish are dropped),
// then neighbours are joined: overlapping ends are cut at their
// intersection, gaps at convex corners are closed by extension, a fillet arc
// or a chamfer line. Segments that a join turns backwards are removed and the
// joins are made again, so the result stays self-consistent. Finally the
// loops where the offset crosses itself are removed (offset_loops.cpp).
#include "polyline_offset.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "offset_loops.h"

namespace tarn::geom::detail {

namespace {
struct Seg {
  bool arc = false;
  Vec3 a, b;        // ends (OCS, z = 0)
  Vec3 c;           // arc center
  double r = 0.0;   // arc radius
  bool ccw = true;  // arc direction
  double sweep = 0.0;  // original included angle (arcs)
  Vec3 dir;         // original direction (lines)
};

double cross2(const Vec3& u, const Vec3& v) { return u.x * v.y - u.y * v.x; }
Vec3 leftOf(const Vec3& d) { return Vec3{-d.y, d.x, 0.0}; }

Vec3 tangentAt(const Seg& s, const Vec3& p) {
  if (!s.arc) return (s.b - s.a).normalized();
  const Vec3 radial = (p - s.c).normalized();
  return s.ccw ? leftOf(radial) : -leftOf(radial);
}

// Signed turn (in the arc's direction) about c from p to q, in (-π, π].
double turnAbout(const Seg& s, const Vec3& p, const Vec3& q) {
  const Vec3 u = p - s.c, v = q - s.c;
  const double a = std::atan2(cross2(u, v), u.dot(v));
  return s.ccw ? a : -a;
}

// Included angle of a joined arc: the fresh offset's angle changed by how
// far each end moved, so that extension and trimming are told apart from a
// reversal.
double sweepAfterJoin(const Seg& s, const Seg& fresh) {
  return fresh.sweep - turnAbout(s, fresh.a, s.a) + turnAbout(s, fresh.b, s.b);
}

double bulgeOf(const Seg& s, const Seg& fresh) {
  if (!s.arc) return 0.0;
  const double t = std::tan(sweepAfterJoin(s, fresh) / 4.0);
  return s.ccw ? t : -t;
}

std::vector<Seg> sourceSegments(const Polyline2d& pl) {
  const auto& v = pl.vertices();
  const size_t n = v.size(), count = n < 2 ? 0 : (pl.closedFlag() ? n : n - 1);
  std::vector<Seg> out;
  for (size_t i = 0; i < count; ++i) {
    const PolyVertex& p = v[i];
    const PolyVertex& q = v[(i + 1) % n];
    Seg s;
    s.a = {p.x, p.y, 0.0};
    s.b = {q.x, q.y, 0.0};
    if (pointsEqual(s.a, s.b)) continue;  // zero-length segments do not offset
    s.dir = (s.b - s.a).normalized();
    if (std::fabs(p.bulge) > kRelativeZero) {
      const double chord = distance(s.a, s.b);
      const double off = chord * (1.0 - p.bulge * p.bulge) / (4.0 * p.bulge);
      s.arc = true;
      s.ccw = p.bulge > 0.0;
      s.c = midpoint(s.a, s.b) + leftOf(s.dir) * off;
      s.r = chord * (1.0 + p.bulge * p.bulge) / (4.0 * std::fabs(p.bulge));
      s.sweep = 4.0 * std::atan(std::fabs(p.bulge));
    }
    out.push_back(s);
  }
  return out;
}

// The segment at signed distance d to its left; nullopt when an arc collapses.
std::optional<Seg> offsetSeg(const Seg& s, double d) {
  Seg o = s;
  if (!s.arc) {
    const Vec3 n = leftOf(s.dir) * d;
    o.a = s.a + n;
    o.b = s.b + n;
    return o;
  }
  o.r = s.ccw ? s.r - d : s.r + d;
  if (o.r <= 1e-12 * (1.0 + s.r)) return std::nullopt;
  o.a = s.c + (s.a - s.c) * (o.r / s.r);
  o.b = s.c + (s.b - s.c) * (o.r / s.r);
  return o;
}

// Intersections of the carriers (infinite line or full circle) of two segments.
int carrierHits(const Seg& s, const Seg& t, Vec3* out) {
  if (!s.arc && !t.arc) {
    const Vec3 d1 = s.b - s.a, d2 = t.b - t.a;
    const double den = cross2(d1, d2);
    if (std::fabs(den) <= 1e-12 * d1.length() * d2.length()) return 0;
    out[0] = s.a + d1 * (cross2(t.a - s.a, d2) / den);
    return 1;
  }
  if (s.arc && t.arc) {
    const Vec3 e = t.c - s.c;
    const double d = e.length();
    if (d <= 1e-12 || d > s.r + t.r || d < std::fabs(s.r - t.r)) return 0;
    const double x = (d * d + s.r * s.r - t.r * t.r) / (2.0 * d);
    const double h = std::sqrt(std::max(0.0, s.r * s.r - x * x));
    const Vec3 u = e / d;
    out[0] = s.c + u * x + leftOf(u) * h;
    out[1] = s.c + u * x - leftOf(u) * h;
    return 2;
  }
  const Seg& l = s.arc ? t : s;
  const Seg& c = s.arc ? s : t;
  const Vec3 d = (l.b - l.a).normalized();
  const double tf = (c.c - l.a).dot(d);
  const Vec3 f = l.a + d * tf;
  const double h = distance(f, c.c);
  if (h > c.r) return 0;
  const double half = std::sqrt(std::max(0.0, c.r * c.r - h * h));
  out[0] = f - d * half;
  out[1] = f + d * half;
  return 2;
}

std::optional<Vec3> nearestCarrierHit(const Seg& s, const Seg& t, const Vec3& ref) {
  Vec3 pts[2];
  const int n = carrierHits(s, t, pts);
  if (n == 0) return std::nullopt;
  Vec3 best = pts[0];
  for (int i = 1; i < n; ++i)
    if (distance(pts[i], ref) < distance(best, ref)) best = pts[i];
  return best;
}

struct Piece {  // one segment of the result: start point and bulge
  Vec3 start;
  double bulge;
};

// Fillet arc about v from p to q (the short way round).
double filletBulge(const Vec3& v, const Vec3& p, const Vec3& q) {
  const Vec3 a = p - v, b = q - v;
  return std::tan(std::atan2(cross2(a, b), a.dot(b)) / 4.0);
}

// Closes the gap between s (ending at s.b) and t (starting at t.a) at a convex
// corner whose original vertex is v. Appends join pieces; moves the ends.
void closeGap(Seg& s, Seg& t, const Vec3& v, double d, GapType gap, std::vector<Piece>& joins) {
  if (gap == GapType::Extend) {
    if (auto x = nearestCarrierHit(s, t, v)) {
      s.b = t.a = *x;
      return;
    }
  }
  if (gap == GapType::Chamfer) {
    const Vec3 m = ((s.b - v).normalized() + (t.a - v).normalized()).normalized();
    Seg cut;
    cut.a = v + m * std::fabs(d);
    cut.b = cut.a + leftOf(m);
    const auto x1 = nearestCarrierHit(s, cut, s.b), x2 = nearestCarrierHit(t, cut, t.a);
    if (x1 && x2) {
      s.b = *x1;
      t.a = *x2;
      joins.push_back({*x1, 0.0});
      return;
    }
  }
  joins.push_back({s.b, filletBulge(v, s.b, t.a)});
}

bool reversedBy(const Seg& s, const Seg& fresh) {
  if (!s.arc) return (s.b - s.a).dot(fresh.dir) <= 0.0;
  return sweepAfterJoin(s, fresh) <= 1e-12;
}

struct JoinPlan {
  std::vector<Seg> segs;
  std::vector<Seg> fresh;                 // the segments as offset, before joining
  std::vector<std::vector<Piece>> after;  // join pieces after each segment
};

JoinPlan joinAll(const std::vector<Seg>& src, const std::vector<size_t>& alive, double d, GapType gap,
                 bool closed) {
  JoinPlan plan;
  for (size_t i : alive) plan.segs.push_back(*offsetSeg(src[i], d));
  plan.fresh = plan.segs;
  plan.after.resize(plan.segs.size());
  const size_t n = plan.segs.size();
  for (size_t k = 0; k < n; ++k) {
    if (k + 1 == n && !closed) break;
    Seg& s = plan.segs[k];
    Seg& t = plan.segs[(k + 1) % n];
    if (n == 1 && closed && !s.arc) break;
    if (pointsEqual(s.b, t.a, kJoinPoint)) continue;
    // Adjacent in the source: the shared vertex is the fillet center.
    const bool adjacent = (alive[(k + 1) % n] == (alive[k] + 1) % src.size());
    const Vec3 v = adjacent ? src[alive[k]].b : midpoint(s.b, t.a);
    const double turn = cross2(tangentAt(s, s.b), tangentAt(t, t.a));
    if (turn * d < 0.0 && adjacent) {
      closeGap(s, t, v, d, gap, plan.after[k]);
    } else if (auto x = nearestCarrierHit(s, t, v)) {
      s.b = t.a = *x;
    } else {
      plan.after[k].push_back({s.b, 0.0});  // no meeting point: bridge with a line
    }
  }
  return plan;
}
}  // namespace

OffsetResult offsetPolyline(const Polyline2d& pl, double d, GapType gap) {
  OffsetResult res;
  const std::vector<Seg> src = sourceSegments(pl);
  const bool closed = pl.isClosed();
  std::vector<size_t> alive;
  for (size_t i = 0; i < src.size(); ++i)
    if (offsetSeg(src[i], d)) alive.push_back(i);
  JoinPlan plan;
  for (size_t round = 0; round <= src.size(); ++round) {
    if (alive.empty()) break;
    plan = joinAll(src, alive, d, gap, closed);
    std::vector<size_t> kept;
    for (size_t k = 0; k < alive.size(); ++k)
      if (!reversedBy(plan.segs[k], plan.fresh[k])) kept.push_back(alive[k]);
    if (kept.size() == alive.size()) break;
    alive = kept;
  }
  if (alive.empty() || plan.segs.empty()) {
    res.status = GeomStatus::NegativeRadius;
    return res;
  }
  std::vector<PolyVertex> out;
  for (size_t k = 0; k < plan.segs.size(); ++k) {
    const Seg& s = plan.segs[k];
    out.push_back({s.a.x, s.a.y, bulgeOf(s, plan.fresh[k]), 0.0, 0.0});
    for (const Piece& p : plan.after[k]) out.push_back({p.start.x, p.start.y, p.bulge, 0.0, 0.0});
  }
  if (!closed) out.push_back({plan.segs.back().b.x, plan.segs.back().b.y, 0.0, 0.0, 0.0});
  // Where the offset folds over itself it is cut, its loops dropped and the
  // rest joined: it may come out as several polylines, or vanish.
  std::vector<OffsetChain> chains = removeOffsetLoops(out, closed, pl, std::fabs(d));
  if (chains.empty()) {
    res.status = GeomStatus::NegativeRadius;
    return res;
  }
  for (OffsetChain& c : chains)
    res.curves.push_back(std::make_unique<Polyline2d>(std::move(c.vertices), c.closed, pl.normal(), pl.elevation()));
  return res;
}

}  // namespace tarn::geom::detail
