// Loops of a raw polyline offset: where a concave part of the source is
// narrower than twice the distance, the offsets of its sides cross and form
// a loop that lies nearer to the source than the distance. The raw offset is
// cut at every point where it meets itself (found through a grid index), the
// runs between cuts that come too near to the source are dropped, and the
// remaining runs are joined end to end into one or more polylines.
#include "offset_loops.h"

#include <algorithm>
#include <cmath>

#include "geom/spatial_index.h"
#include "geom/tolerance.h"
#include "piece_intersect.h"

namespace tarn::geom::detail {

namespace {

// A straight or circular span in the OCS plane (z = 0). Arcs are circular
// pieces whose parameter grows in the arc's direction (the piece's normal is
// -Z for clockwise arcs).
struct Span {
  Vec3 a, b;
  bool arc = false;
  bool ccw = true;
  CurvePiece piece;
};

bool makeSpan(const PolyVertex& p, const PolyVertex& q, Span& s) {
  s.a = {p.x, p.y, 0.0};
  s.b = {q.x, q.y, 0.0};
  if (pointsEqual(s.a, s.b)) return false;
  CurvePiece& k = s.piece;
  if (std::fabs(p.bulge) <= kRelativeZero) {
    k.kind = PieceKind::Linear;
    k.origin = s.a;
    k.dir = s.b - s.a;
    k.t0 = 0.0;
    k.t1 = 1.0;
    return true;
  }
  const double chord = distance(s.a, s.b);
  const Vec3 dir = (s.b - s.a) / chord;
  const Vec3 left{-dir.y, dir.x, 0.0};
  s.arc = true;
  s.ccw = p.bulge > 0.0;
  k.kind = PieceKind::Circular;
  k.origin = midpoint(s.a, s.b) + left * (chord * (1.0 - p.bulge * p.bulge) / (4.0 * p.bulge));
  k.radius = chord * (1.0 + p.bulge * p.bulge) / (4.0 * std::fabs(p.bulge));
  k.normal = s.ccw ? kZAxis : -kZAxis;
  k.u = kXAxis;
  k.v = k.normal.cross(k.u);
  const Vec3 r = s.a - k.origin;
  k.t0 = std::atan2(r.dot(k.v), r.dot(k.u));
  k.t1 = k.t0 + 4.0 * std::atan(std::fabs(p.bulge));
  return true;
}

std::vector<Span> spansOf(const std::vector<PolyVertex>& v, bool closed) {
  const size_t n = v.size(), count = n < 2 ? 0 : (closed ? n : n - 1);
  std::vector<Span> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    Span s;
    if (makeSpan(v[i], v[(i + 1) % n], s)) out.push_back(s);
  }
  return out;
}

BoundingBox boxOf(const Span& s) {
  BoundingBox b;
  b.add(s.a);
  b.add(s.b);
  if (s.arc) {  // the quarter points the arc passes (its axes are the X and Y axes)
    const CurvePiece& k = s.piece;
    for (int q = 0; q < 4; ++q) {
      const double a = k.t0 + normalizeAngle(q * (kPi / 2) - k.t0);
      if (a <= k.t1) b.add(k.pointAt(a));
    }
  }
  return b;
}

double cross2(const Vec3& u, const Vec3& v) { return u.x * v.y - u.y * v.x; }

// Distance from p to a span (in the plane).
double spanDistance(const Span& s, const Vec3& p) {
  const CurvePiece& k = s.piece;
  if (!s.arc) {
    const double t = std::clamp((p - k.origin).dot(k.dir) / k.dir.lengthSquared(), 0.0, 1.0);
    return distance(p, k.origin + k.dir * t);
  }
  // Whether p lies in the arc's angular range, told by the turns from the
  // start to p and from p to the end (in the arc's direction).
  const Vec3 r = p - k.origin, ra = s.a - k.origin, rb = s.b - k.origin;
  const double sense = s.ccw ? 1.0 : -1.0;
  const bool afterStart = sense * cross2(ra, r) >= 0.0, beforeEnd = sense * cross2(r, rb) >= 0.0;
  const bool within = (k.t1 - k.t0 <= kPi) ? (afterStart && beforeEnd) : (afterStart || beforeEnd);
  if (within) return std::fabs(r.length() - k.radius);
  return std::min(distance(p, s.a), distance(p, s.b));
}

// Distance between two straight spans: zero when they cross, otherwise the
// least distance from an end of one to the other.
double segmentDistance(const Vec3& a0, const Vec3& a1, const Span& t) {
  const Vec3 da = a1 - a0, db = t.b - t.a;
  const double s1 = cross2(da, t.a - a0), s2 = cross2(da, t.b - a0);
  const double s3 = cross2(db, a0 - t.a), s4 = cross2(db, a1 - t.a);
  if (((s1 > 0 && s2 < 0) || (s1 < 0 && s2 > 0)) && ((s3 > 0 && s4 < 0) || (s3 < 0 && s4 > 0))) return 0.0;
  Span a;
  a.piece.kind = PieceKind::Linear;
  a.piece.origin = a0;
  a.piece.dir = da;
  a.a = a0;
  a.b = a1;
  return std::min({spanDistance(t, a0), spanDistance(t, a1), spanDistance(a, t.a), spanDistance(a, t.b)});
}

// The source, for asking whether a point comes nearer than the distance.
class Nearness {
 public:
  Nearness(const Polyline2d& source, double distance, double tol)
      : spans_(spansOf(source.vertices(), source.closedFlag())), d_(distance), tol_(tol) {
    boxes_.reserve(spans_.size());
    for (const Span& s : spans_) boxes_.push_back(boxOf(s));
    index_.build(boxes_);
  }
  // Whether some point of the part [t0, t1] of the piece comes too near:
  // its ends and three points between them are measured against the source
  // spans near the part.
  // Whether some point of the part [t0, t1] of the piece comes too near. A
  // straight part is measured exactly against straight source spans; other
  // pairs at the part's ends and three points between them.
  bool tooNear(const CurvePiece& piece, double t0, double t1, const BoundingBox& partBox, bool withStart) const {
    index_.query(partBox.expanded(d_), found_);
    const double limit = d_ - tol_;
    const bool straight = piece.kind == PieceKind::Linear;
    const Vec3 p0 = piece.pointAt(t0), p1 = piece.pointAt(t1);
    for (uint32_t i : found_)
      if (straight && !spans_[i].arc && segmentDistance(p0, p1, spans_[i]) < limit) return true;
    for (int k = withStart ? 0 : 1; k <= 4; ++k) {
      const Vec3 p = piece.pointAt(t0 + (t1 - t0) * (k / 4.0));
      for (uint32_t i : found_) {
        if (straight && !spans_[i].arc) continue;
        const BoundingBox& b = boxes_[i];  // a span whose box is far enough is too
        const double dx = std::max({b.min.x - p.x, 0.0, p.x - b.max.x});
        const double dy = std::max({b.min.y - p.y, 0.0, p.y - b.max.y});
        if (dx * dx + dy * dy >= limit * limit) continue;
        if (spanDistance(spans_[i], p) < limit) return true;
      }
    }
    return false;
  }

 private:
  std::vector<Span> spans_;
  std::vector<BoundingBox> boxes_;
  double d_, tol_;
  GridIndex index_;
  mutable std::vector<uint32_t> found_;
};

// A part of a raw span between cuts.
struct Sub {
  size_t span;
  double ts, te;
  Vec3 a, b;
  bool cutBefore;  // a cut (a crossing) lies at its start
  bool inOverlap;  // the raw offset runs over itself here
};

struct Run {
  std::vector<size_t> subs;
  Vec3 start, end;
};

double bulgeOf(const Span& s, double sweep) { return s.arc ? (s.ccw ? 1.0 : -1.0) * std::tan(sweep / 4.0) : 0.0; }

bool sameCarrier(const Span& s, const Span& t, double tol) {
  if (s.arc != t.arc) return false;
  if (s.arc)
    return s.ccw == t.ccw && distance(s.piece.origin, t.piece.origin) <= tol &&
           std::fabs(s.piece.radius - t.piece.radius) <= tol;
  return isParallel(s.piece.dir, t.piece.dir) && s.piece.dir.dot(t.piece.dir) > 0.0;
}

}  // namespace

std::vector<OffsetChain> removeOffsetLoops(const std::vector<PolyVertex>& raw, bool closed,
                                           const Polyline2d& source, double d) {
  const std::vector<Span> spans = spansOf(raw, closed);
  const size_t m = spans.size();
  if (m == 0) return {{raw, closed}};
  double scale = std::max(1.0, d);
  for (const PolyVertex& v : raw) scale = std::max({scale, std::fabs(v.x), std::fabs(v.y)});
  const double tol = kJoinPoint * scale;  // where two points are one
  const double nearTol = 10.0 * tol;      // how much nearer than the distance counts as too near

  // Cuts where the raw offset meets itself (neighbours meet at their joint).
  std::vector<BoundingBox> boxes;
  boxes.reserve(m);
  for (const Span& s : spans) boxes.push_back(boxOf(s).expanded(tol));
  GridIndex index;
  index.build(boxes);
  std::vector<std::vector<double>> cuts(m);
  std::vector<std::vector<std::pair<double, double>>> overlaps(m);
  std::vector<char> cutBefore(m + 1, 0);
  const auto addCut = [&](size_t i, double t) {
    const CurvePiece& k = spans[i].piece;
    const double tolT = tol / pieceSpeed(k, t);
    if (t <= k.t0 + tolT) cutBefore[i] = 1;
    else if (t >= k.t1 - tolT) cutBefore[i + 1] = 1;
    else cuts[i].push_back(t);
  };
  PiecePairResult pr;
  std::vector<uint32_t> found;
  for (size_t i = 0; i < m; ++i) {
    index.query(boxes[i], found);
    for (uint32_t j : found) {
      if (j <= i) continue;
      const bool next = j == i + 1, wrap = closed && i == 0 && j == m - 1;
      pr.hits.clear();
      pr.overlaps.clear();
      intersectPieces(spans[i].piece, spans[j].piece, tol, pr);
      for (const PieceHit& h : pr.hits) {
        const Vec3 p = spans[i].piece.pointAt(h.ta);
        if (next && distance(p, spans[i].b) <= 4.0 * tol) continue;
        if (wrap && distance(p, spans[i].a) <= 4.0 * tol) continue;
        addCut(i, h.ta);
        addCut(j, h.tb);
      }
      for (const PieceOverlap& o : pr.overlaps) {
        addCut(i, o.ta0), addCut(i, o.ta1), addCut(j, o.tb0), addCut(j, o.tb1);
        overlaps[i].push_back(std::minmax(o.ta0, o.ta1));
        overlaps[j].push_back(std::minmax(o.tb0, o.tb1));
      }
    }
  }
  // An open source's offset also ends where it meets the circles of the
  // distance about the source's ends: beyond them it comes too near the ends.
  if (!closed && !source.vertices().empty()) {
    for (const PolyVertex* v : {&source.vertices().front(), &source.vertices().back()}) {
      CurvePiece circle;
      circle.kind = PieceKind::Circular;
      circle.origin = {v->x, v->y, 0.0};
      circle.radius = d;
      circle.normal = kZAxis;
      circle.u = kXAxis;
      circle.v = kYAxis;
      circle.t0 = 0.0;
      circle.t1 = kTwoPi;
      circle.fullCircle = true;
      BoundingBox box;
      box.add(circle.origin - Vec3{d, d, 0.0});
      box.add(circle.origin + Vec3{d, d, 0.0});
      for (uint32_t i : index.query(box.expanded(tol))) {
        pr.hits.clear();
        pr.overlaps.clear();
        intersectPieces(spans[i].piece, circle, tol, pr);
        for (const PieceHit& h : pr.hits) addCut(i, h.ta);
        for (const PieceOverlap& o : pr.overlaps) addCut(i, o.ta0), addCut(i, o.ta1);
      }
    }
  }
  if (closed) cutBefore[0] = cutBefore[0] || cutBefore[m];

  // The raw offset as parts between cuts, in order.
  std::vector<Sub> subs;
  subs.reserve(m);
  bool pendingCut = false;
  for (size_t i = 0; i < m; ++i) {
    const Span& s = spans[i];
    const CurvePiece& k = s.piece;
    std::vector<double>& ts = cuts[i];
    std::sort(ts.begin(), ts.end());
    double from = k.t0;
    Vec3 fromP = s.a;
    bool cut = cutBefore[i] || pendingCut;
    pendingCut = false;
    const auto push = [&](double to, const Vec3& toP) {
      const double mid = 0.5 * (from + to);
      bool over = false;
      for (const auto& [lo, hi] : overlaps[i]) over = over || (mid >= lo && mid <= hi);
      subs.push_back({i, from, to, fromP, toP, cut, over});
    };
    for (double t : ts) {
      if (t - from <= tol / pieceSpeed(k, t)) continue;  // one cut, found twice
      const Vec3 p = k.pointAt(t);
      push(t, p);
      from = t;
      fromP = p;
      cut = true;
    }
    if (k.t1 - from > tol / pieceSpeed(k, k.t1)) push(k.t1, s.b);
    else pendingCut = true;  // the last cut lies at the span's end
  }
  if (subs.empty()) return {{raw, closed}};
  if (closed && pendingCut) subs.front().cutBefore = true;

  // Runs between cuts; a closed offset starts at its first cut.
  size_t first = 0;
  if (closed) {
    while (first < subs.size() && !subs[first].cutBefore) ++first;
    if (first == subs.size()) first = 0;
  }
  std::vector<Run> runs;
  for (size_t n = 0; n < subs.size(); ++n) {
    const size_t k = (first + n) % subs.size();
    if (runs.empty() || subs[k].cutBefore) runs.push_back({{}, subs[k].a, subs[k].b});
    runs.back().subs.push_back(k);
    runs.back().end = subs[k].b;
  }
  const bool anyCut = runs.size() > 1 || subs[first].cutBefore;

  // Runs that come nearer to the source than the distance are loops; of two
  // runs that lie over each other one is kept.
  const Nearness nearness(source, d, nearTol);
  std::vector<char> keep(runs.size(), 1);
  std::vector<size_t> overlapRuns;
  for (size_t r = 0; r < runs.size(); ++r) {
    double length = 0.0;
    for (size_t n = 0; n < runs[r].subs.size(); ++n) {
      const Sub& s = subs[runs[r].subs[n]];
      const CurvePiece& piece = spans[s.span].piece;
      length += (s.te - s.ts) * pieceSpeed(piece, s.ts);
      // The span's box holds the part; a part's start is the end of the one before.
      if (keep[r] && nearness.tooNear(piece, s.ts, s.te, boxes[s.span], n == 0)) keep[r] = 0;
    }
    if (length <= 4.0 * tol) keep[r] = 0;
    if (!keep[r] || runs[r].subs.size() != 1 || !subs[runs[r].subs[0]].inOverlap) continue;
    const Sub& s = subs[runs[r].subs[0]];
    const Vec3 mid = spans[s.span].piece.pointAt(0.5 * (s.ts + s.te));
    for (size_t o : overlapRuns) {
      const Sub& t = subs[runs[o].subs[0]];
      const Vec3 tmid = spans[t.span].piece.pointAt(0.5 * (t.ts + t.te));
      const bool ends = (distance(s.a, t.a) <= 4.0 * tol && distance(s.b, t.b) <= 4.0 * tol) ||
                        (distance(s.a, t.b) <= 4.0 * tol && distance(s.b, t.a) <= 4.0 * tol);
      if (ends && distance(mid, tmid) <= 4.0 * tol) keep[r] = 0;
    }
    if (keep[r]) overlapRuns.push_back(r);
  }
  if (!anyCut && keep[0]) return {{raw, closed}};

  // Join the kept runs end to end, preferring the run that follows.
  const double joinTol = 16.0 * tol;
  std::vector<char> used(runs.size(), 0);
  GridIndex starts(index.cellSize());  // where the runs start, to find the run that goes on
  {
    std::vector<BoundingBox> at(runs.size());
    for (size_t r = 0; r < runs.size(); ++r)
      if (keep[r]) at[r].add(runs[r].start), at[r] = at[r].expanded(joinTol);
    starts.build(at);
  }
  std::vector<OffsetChain> chains;
  for (size_t r0 = 0; r0 < runs.size(); ++r0) {
    if (!keep[r0] || used[r0]) continue;
    std::vector<size_t> chain = {r0};
    used[r0] = 1;
    for (size_t cur = r0;;) {
      const Vec3 end = runs[cur].end;
      size_t next = runs.size();
      const size_t follow = closed ? (cur + 1) % runs.size() : cur + 1;
      if (follow < runs.size() && keep[follow] && !used[follow] && distance(runs[follow].start, end) <= joinTol)
        next = follow;
      if (next == runs.size()) {
        BoundingBox near;
        near.add(end);
        starts.query(near.expanded(joinTol), found);
        for (uint32_t r : found)
          if (keep[r] && !used[r] && distance(runs[r].start, end) <= joinTol) {
            next = r;
            break;
          }
      }
      if (next == runs.size()) break;
      used[next] = 1;
      chain.push_back(next);
      cur = next;
    }
    OffsetChain out;
    out.closed = distance(runs[chain.back()].end, runs[chain.front()].start) <= joinTol;
    // Parts of one span, or of one line or circle, that meet are written as
    // one segment; a closed chain starts where two parts cannot be merged.
    std::vector<size_t> parts;
    for (size_t r : chain) parts.insert(parts.end(), runs[r].subs.begin(), runs[r].subs.end());
    const auto mergeable = [&](const Sub& s, const Sub& t) {
      if (!sameCarrier(spans[s.span], spans[t.span], tol) || distance(t.a, s.b) > joinTol) return false;
      return spans[s.span].arc || isParallel(s.b - s.a, t.b - s.a);
    };
    if (out.closed) {
      size_t p0 = 0;
      while (p0 < parts.size() && mergeable(subs[parts[(p0 + parts.size() - 1) % parts.size()]], subs[parts[p0]]))
        ++p0;
      if (p0 < parts.size()) std::rotate(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(p0), parts.end());
    }
    for (size_t p = 0; p < parts.size();) {
      const Sub& s = subs[parts[p]];
      const Span& span = spans[s.span];
      double sweep = s.te - s.ts;
      Vec3 end = s.b;
      size_t q = p + 1;
      for (; q < parts.size() && mergeable(subs[parts[q - 1]], subs[parts[q]]); ++q) {
        sweep += subs[parts[q]].te - subs[parts[q]].ts;
        end = subs[parts[q]].b;
      }
      if (span.arc && sweep >= kTwoPi - 1e-9) q = p + 1, sweep = s.te - s.ts, end = s.b;  // never a full turn
      out.vertices.push_back({s.a.x, s.a.y, bulgeOf(span, sweep), 0.0, 0.0});
      p = q;
      if (p == parts.size() && !out.closed) out.vertices.push_back({end.x, end.y, 0.0, 0.0, 0.0});
    }
    if (out.vertices.size() >= 2) chains.push_back(std::move(out));
  }
  return chains;
}

}  // namespace tarn::geom::detail
