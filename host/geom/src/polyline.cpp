// Polyline2d (bulged segments in an object coordinate system) and
// Polyline3d (straight segments in space).
#include "geom/polyline.h"

#include <algorithm>
#include <cmath>

#include "geom/circular_curves.h"
#include "geom/linear_curves.h"

namespace tarn::geom {

namespace {
constexpr double kStraightBulge = kRelativeZero;

// The arc or line from a to b (OCS 2D points at the elevation) with the bulge.
CurvePtr bulgeSegment(const Matrix4& toWorld, const Vec3& normal, double elev, const PolyVertex& a,
                      const PolyVertex& b) {
  const Vec3 pa = toWorld.transformPoint({a.x, a.y, elev});
  const Vec3 pb = toWorld.transformPoint({b.x, b.y, elev});
  const double bulge = a.bulge;
  const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
  if (std::fabs(bulge) <= kStraightBulge || isZeroLength(chord)) return std::make_unique<Line>(pa, pb);
  const double sweep = 4.0 * std::atan(std::fabs(bulge));
  const double r = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
  const double s = chord * (1.0 - bulge * bulge) / (4.0 * bulge);  // signed, to the left
  const Vec3 c2{(a.x + b.x) * 0.5 - dy / chord * s, (a.y + b.y) * 0.5 + dx / chord * s, elev};
  const Vec3 c = toWorld.transformPoint(c2);
  // A clockwise bulge is a counter-clockwise arc about the reversed normal.
  const Vec3 n = bulge > 0.0 ? normal : -normal;
  const Arc probe(c, r, 0.0, kTwoPi, n);
  const double a0 = probe.angleOf(pa);
  return std::make_unique<Arc>(c, r, a0, a0 + sweep, n);
}

bool isIntegral(double t) { return std::fabs(t - std::round(t)) <= 1e-12; }
}  // namespace

Polyline2d::Polyline2d(std::vector<PolyVertex> vertices, bool closed, const Vec3& normal, double elevation)
    : vertices_(std::move(vertices)), closed_(closed), normal_(normal.normalized()), elevation_(elevation) {
  if (normal_.lengthSquared() == 0.0) normal_ = kZAxis;
  build();
}

Polyline2d::Polyline2d(const Polyline2d& o)
    : SegmentedCurve(), vertices_(o.vertices_), closed_(o.closed_), normal_(o.normal_), elevation_(o.elevation_) {
  build();
}

void Polyline2d::build() {
  const Matrix4 toWorld = ocsToWorld(normal_);
  std::vector<CurvePtr> segs;
  const size_t n = vertices_.size();
  const size_t count = n < 2 ? 0 : (closed_ ? n : n - 1);
  for (size_t i = 0; i < count; ++i)
    segs.push_back(bulgeSegment(toWorld, normal_, elevation_, vertices_[i], vertices_[(i + 1) % n]));
  if (segs.empty()) {
    const Vec3 p = n == 0 ? Vec3{} : toWorld.transformPoint({vertices_[0].x, vertices_[0].y, elevation_});
    segs.push_back(std::make_unique<Line>(p, p));
  }
  setSegments(std::move(segs));
}

Vec3 Polyline2d::vertexPoint(size_t i) const {
  return ocsToWorld(normal_).transformPoint({vertices_[i].x, vertices_[i].y, elevation_});
}

bool Polyline2d::isClosed() const { return closed_ && vertices_.size() >= 2; }

GeomStatus Polyline2d::planeNormal(Vec3& n) const {
  n = normal_;
  return GeomStatus::Ok;
}

CurvePtr Polyline2d::transformed(const Matrix4& m) const {
  const OcsAxes ax = ocsAxes(normal_);
  const Vec3 mx = m.transformVector(ax.x), my = m.transformVector(ax.y);
  const double sx = mx.length(), sy = my.length();
  if (isZeroLength(sx) || isZeroLength(sy) || isParallel(mx, my)) return nullptr;
  bool bulged = false;
  for (const auto& v : vertices_) bulged = bulged || std::fabs(v.bulge) > kStraightBulge;
  const bool similar = keepsSimilar(mx, my);
  if (bulged && !similar) return nullptr;  // arcs would become elliptical
  // Keeping the orientation of the image axes keeps the bulges' signs valid.
  const Vec3 n = mx.cross(my).normalized();
  const Matrix4 toOcs = worldToOcs(n);
  std::vector<PolyVertex> vs = vertices_;
  double elev = 0.0;
  for (size_t i = 0; i < vs.size(); ++i) {
    const Vec3 q = toOcs.transformPoint(m.transformPoint(vertexPoint(i)));
    vs[i].x = q.x;
    vs[i].y = q.y;
    vs[i].startWidth *= sx;
    vs[i].endWidth *= sx;
    elev = q.z;
  }
  return std::make_unique<Polyline2d>(std::move(vs), closed_, n, elev);
}

CurvePtr Polyline2d::reversed() const {
  const size_t n = vertices_.size();
  std::vector<PolyVertex> vs(n);
  for (size_t k = 0; k < n; ++k) {
    // Open: vertex n-1-k; closed: keep the start and walk backwards.
    const size_t src = closed_ ? (n - k) % n : n - 1 - k;
    const size_t segOwner = closed_ ? (src + n - 1) % n : (src == 0 ? 0 : src - 1);
    vs[k] = vertices_[src];
    vs[k].bulge = (!closed_ && k + 1 == n) ? 0.0 : -vertices_[segOwner].bulge;
    vs[k].startWidth = vertices_[segOwner].endWidth;
    vs[k].endWidth = vertices_[segOwner].startWidth;
  }
  return std::make_unique<Polyline2d>(std::move(vs), closed_, normal_, elevation_);
}

CurvePtr Polyline2d::subCurve(double t0, double t1) const {
  const Matrix4 toOcs = worldToOcs(normal_);
  const size_t n = vertices_.size();
  std::vector<PolyVertex> vs;
  for (const Span& s : spans(t0, t1)) {
    const PolyVertex& src = vertices_[s.segment % n];
    PolyVertex v = src;
    if (!isIntegral(s.from) || std::llround(s.from) != static_cast<long long>(s.segment)) {
      const Vec3 q = toOcs.transformPoint(pointAt(s.from));
      v.x = q.x;
      v.y = q.y;
    }
    // A part f of an arc of included angle 4 atan(b) has bulge tan(f atan(b)).
    v.bulge = std::tan((s.to - s.from) * std::atan(src.bulge));
    vs.push_back(v);
  }
  if (vs.empty()) return nullptr;
  PolyVertex last = vertices_[static_cast<size_t>(std::llround(std::fmod(t1, static_cast<double>(n)))) % n];
  if (!isIntegral(t1) || (!closed_ && std::llround(t1) >= static_cast<long long>(n))) {
    const Vec3 q = toOcs.transformPoint(pointAt(t1));
    last = PolyVertex{q.x, q.y, 0.0, 0.0, 0.0};
  }
  last.bulge = 0.0;
  vs.push_back(last);
  return std::make_unique<Polyline2d>(std::move(vs), false, normal_, elevation_);
}

Polyline3d::Polyline3d(std::vector<Vec3> points, bool closed) : points_(std::move(points)), closed_(closed) {
  build();
}

Polyline3d::Polyline3d(const Polyline3d& o) : SegmentedCurve(), points_(o.points_), closed_(o.closed_) { build(); }

void Polyline3d::build() {
  std::vector<CurvePtr> segs;
  const size_t n = points_.size();
  const size_t count = n < 2 ? 0 : (closed_ ? n : n - 1);
  for (size_t i = 0; i < count; ++i) segs.push_back(std::make_unique<Line>(points_[i], points_[(i + 1) % n]));
  if (segs.empty()) {
    const Vec3 p = n == 0 ? Vec3{} : points_[0];
    segs.push_back(std::make_unique<Line>(p, p));
  }
  setSegments(std::move(segs));
}

bool Polyline3d::isClosed() const { return closed_ && points_.size() >= 2; }

CurvePtr Polyline3d::transformed(const Matrix4& m) const {
  std::vector<Vec3> ps;
  for (const Vec3& p : points_) ps.push_back(m.transformPoint(p));
  return std::make_unique<Polyline3d>(std::move(ps), closed_);
}

CurvePtr Polyline3d::reversed() const {
  std::vector<Vec3> ps(points_.rbegin(), points_.rend());
  if (closed_ && !ps.empty()) std::rotate(ps.rbegin(), ps.rbegin() + 1, ps.rend());
  return std::make_unique<Polyline3d>(std::move(ps), closed_);
}

CurvePtr Polyline3d::subCurve(double t0, double t1) const {
  std::vector<Vec3> ps;
  for (const Span& s : spans(t0, t1)) ps.push_back(pointAt(s.from));
  if (ps.empty()) return nullptr;
  ps.push_back(pointAt(t1));
  return std::make_unique<Polyline3d>(std::move(ps), false);
}

}  // namespace tarn::geom
