// Random curves from bytes through the intersector and the offsetter: no
// crash, no NaN, and every answer passes its own check (intersection points
// lie on both curves; exact offsets lie at the offset distance).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "geom/geom.h"

using namespace tarn::geom;

namespace {
class Bytes {
 public:
  Bytes(const uint8_t* d, size_t n) : d_(d), n_(n) {}
  uint8_t byte() { return i_ < n_ ? d_[i_++] : 0; }
  // A coordinate in [-50, 50] with a fine grid, so tangencies and shared end points occur.
  double coord() { return (static_cast<int>(byte()) * 256 + byte()) / 655.36 - 50.0; }
  double positive() { return 0.05 + (byte() * 256 + byte()) / 1310.72; }
  double angle() { return byte() / 256.0 * kTwoPi; }
  Vec3 point() { return {coord(), coord(), (byte() % 4 == 0) ? coord() : 0.0}; }

 private:
  const uint8_t* d_;
  size_t n_, i_ = 0;
};

CurvePtr polyline(Bytes& b) {
  std::vector<PolyVertex> vs;
  const int n = 2 + b.byte() % 6;
  for (int i = 0; i < n; ++i) vs.push_back({b.coord(), b.coord(), (b.byte() % 3 == 0) ? (b.byte() - 128) / 64.0 : 0.0});
  return std::make_unique<Polyline2d>(std::move(vs), b.byte() % 2 == 0);
}

CurvePtr spline(Bytes& b) {
  std::vector<Vec3> pts;
  const int n = 2 + b.byte() % 5;
  for (int i = 0; i < n; ++i) pts.push_back({b.coord(), b.coord(), 0.0});
  std::unique_ptr<Spline> s;
  if (fitSpline(pts, std::nullopt, std::nullopt, s) != GeomStatus::Ok) return nullptr;
  return s;
}

CurvePtr makeCurve(Bytes& b) {
  switch (b.byte() % 8) {
    case 0: return std::make_unique<Line>(b.point(), b.point());
    case 1: return std::make_unique<Circle>(b.point(), b.positive(), (b.byte() % 4 == 0) ? b.point() : kZAxis);
    case 2: return std::make_unique<Arc>(b.point(), b.positive(), b.angle(), b.angle());
    case 3: return std::make_unique<Ellipse>(b.point(), Vec3{b.positive(), b.coord() / 10, 0}, kZAxis,
                                             0.1 + b.byte() / 300.0, b.angle(), b.angle() + 0.1 + b.angle());
    case 4: return std::make_unique<XLine>(b.point(), Vec3{b.coord(), b.coord() + 0.01, 0});
    case 5: return polyline(b);
    case 6: return spline(b);
    default: return std::make_unique<Ray>(b.point(), Vec3{b.coord() + 0.01, b.coord(), 0});
  }
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

void checkIntersections(const Curve& a, const Curve& b) {
  const IntersectionResult r = intersect(a, b);
  const double tol = 1e-6 * std::max(1.0, std::max(a.magnitude(), b.magnitude()));
  for (const auto& p : r.points) {
    check(p.point.isFinite() && std::isfinite(p.paramA) && std::isfinite(p.paramB), "finite point");
    check(distance(a.pointAt(p.paramA), p.point) <= tol, "point on first curve");
    check(distance(b.pointAt(p.paramB), p.point) <= tol, "point on second curve");
  }
}

bool exactOffsetKind(CurveKind k) {
  return k == CurveKind::Line || k == CurveKind::Circle || k == CurveKind::Arc || k == CurveKind::XLine ||
         k == CurveKind::Ray;
}

void checkOffset(const Curve& c, double d, const Vec3& side) {
  const OffsetResult r = offsetCurve(c, d, side);
  if (r.status != GeomStatus::Ok) return;  // refused input is fine
  for (const auto& o : r.curves) {
    if (!o->isBounded()) continue;
    for (int i = 0; i <= 8; ++i) {
      const double t = o->startParam() + (o->endParam() - o->startParam()) * i / 8.0;
      const Vec3 p = o->pointAt(t);
      check(p.isFinite(), "finite offset");
      if (exactOffsetKind(c.kind()))
        check(std::fabs(c.distanceTo(p) - d) <= 1e-6 * std::max(1.0, c.magnitude()), "offset at distance");
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes b(data, size);
  const CurvePtr a = makeCurve(b), c = makeCurve(b);
  if (!a || !c) return 0;
  checkIntersections(*a, *c);
  checkOffset(*a, b.positive(), b.point());
  return 0;
}
