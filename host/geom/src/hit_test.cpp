// Hit tests in the XY plane: curves are flattened (projected along Z) and
// tested against a pick point, a window, a polygon or a fence.
#include "geom/hit_test.h"

#include <cmath>

#include "geom/intersect.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"

namespace tarn::geom {

namespace {
// The curve as seen from above, exact when its type can hold the projection,
// otherwise a fine chord approximation.
CurvePtr flatten(const Curve& c) {
  const Matrix4 down = Matrix4::projection({}, kZAxis);
  if (CurvePtr f = c.transformed(down)) return f;
  std::vector<Vec3> pts;
  for (double t : c.sampleParams()) pts.push_back(down.transformPoint(c.pointAt(t)));
  return std::make_unique<Polyline3d>(std::move(pts), c.isClosed());
}

std::vector<Line> edgesOf(const std::vector<Vec3>& pts, bool closed) {
  std::vector<Line> edges;
  const size_t n = pts.size();
  for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
    const Vec3 a{pts[i].x, pts[i].y, 0.0}, b{pts[(i + 1) % n].x, pts[(i + 1) % n].y, 0.0};
    edges.emplace_back(a, b);
  }
  return edges;
}

bool meetsAny(const Curve& flat, const std::vector<Line>& edges) {
  for (const Line& e : edges)
    if (intersect(flat, e).kind != IntersectKind::None) return true;
  return false;
}

std::vector<Vec3> rectangle(const Vec3& a, const Vec3& b) {
  const double x0 = std::fmin(a.x, b.x), x1 = std::fmax(a.x, b.x);
  const double y0 = std::fmin(a.y, b.y), y1 = std::fmax(a.y, b.y);
  return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
}

// Inside a closed boundary: bounded, not touching it, and one point inside.
bool insideBoundary(const Curve& flat, const std::vector<Vec3>& polygon) {
  if (!flat.isBounded() || polygon.size() < 3) return false;
  if (meetsAny(flat, edgesOf(polygon, true))) return false;
  return pointInPolygon(flat.startPoint(), polygon) == Containment::Inside;
}
}  // namespace

Containment pointInPolygon(const Vec3& p, const std::vector<Vec3>& poly, double tol) {
  const size_t n = poly.size();
  if (n < 3) return Containment::Outside;
  int winding = 0;
  for (size_t i = 0; i < n; ++i) {
    const Vec3 a{poly[i].x, poly[i].y, 0.0}, b{poly[(i + 1) % n].x, poly[(i + 1) % n].y, 0.0};
    const Vec3 q{p.x, p.y, 0.0};
    if (Line(a, b).distanceTo(q) <= pointTolerance(a, q, tol)) return Containment::OnBoundary;
    const double side = (b.x - a.x) * (q.y - a.y) - (q.x - a.x) * (b.y - a.y);
    if (a.y <= q.y && b.y > q.y && side > 0) ++winding;
    if (a.y > q.y && b.y <= q.y && side < 0) --winding;
  }
  return winding != 0 ? Containment::Inside : Containment::Outside;
}

double distanceXY(const Curve& c, const Vec3& p) {
  const CurvePtr flat = flatten(c);
  return flat->distanceTo({p.x, p.y, 0.0});
}

bool hitsPoint(const Curve& c, const Vec3& p, double aperture) { return distanceXY(c, p) <= aperture; }

bool insideWindow(const Curve& c, const Vec3& a, const Vec3& b) {
  return insidePolygon(c, rectangle(a, b));
}

bool crossesWindow(const Curve& c, const Vec3& a, const Vec3& b) { return crossesPolygon(c, rectangle(a, b)); }

bool insidePolygon(const Curve& c, const std::vector<Vec3>& polygon) {
  const CurvePtr flat = flatten(c);
  return insideBoundary(*flat, polygon);
}

bool crossesPolygon(const Curve& c, const std::vector<Vec3>& polygon) {
  if (polygon.size() < 3) return false;
  const CurvePtr flat = flatten(c);
  return insideBoundary(*flat, polygon) || meetsAny(*flat, edgesOf(polygon, true));
}

bool crossesFence(const Curve& c, const std::vector<Vec3>& fence) {
  if (fence.size() < 2) return false;
  const CurvePtr flat = flatten(c);
  return meetsAny(*flat, edgesOf(fence, false));
}

}  // namespace tarn::geom
