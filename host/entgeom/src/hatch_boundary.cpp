// HATCH boundary reading: a sequential walk over the path data, since the
// same group codes mean different things in different edge kinds.
#include "hatch_boundary.h"

#include <cmath>

#include "geom/circular_curves.h"
#include "geom/coord_system.h"
#include "geom/ellipse.h"
#include "geom/linear_curves.h"
#include "geom/polyline.h"
#include "geom/spline.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

constexpr int kPolylinePath = 2;
enum EdgeKind { kLineEdge = 1, kArcEdge = 2, kEllipseEdge = 3, kSplineEdge = 4 };

class HatchWalk {
 public:
  HatchWalk(const Groups& g, HatchBoundary& out)
      : g_(g), out_(out), normal_(g.normal()), toWorld_(geom::ocsToWorld(normal_)),
        elevation_(g.point(10).z) {}

  EntStatus run() {
    i_ = g_.find(91);
    if (i_ >= g_.size()) return EntStatus::InvalidData;
    int paths = int(take(91));
    for (int p = 0; p < paths && ok_; ++p) path();
    pattern();
    seeds();
    return ok_ ? EntStatus::Ok : EntStatus::InvalidData;
  }

 private:
  bool at(int code) const { return i_ < g_.size() && g_.code(i_) == code; }
  double take(int code, GroupRole role) {
    if (at(code)) out_.roles.push_back({i_, role});
    return take(code);
  }
  double take(int code) {
    if (!at(code)) { ok_ = false; return 0.0; }
    double v = g_.number(i_++);
    if (!std::isfinite(v)) ok_ = false;
    return v;
  }
  double optional(int code, GroupRole role, double dflt) { return at(code) ? take(code, role) : dflt; }
  Vec3 point(int code, GroupRole role = GroupRole::OcsPoint) {
    if (!at(code)) { ok_ = false; return {}; }
    out_.roles.push_back({i_, role});
    Vec3 p = g_.pointAt(i_++);
    if (!p.isFinite()) ok_ = false;
    return p;
  }
  Vec3 world(const Vec3& ocs) const { return toWorld_.transformPoint({ocs.x, ocs.y, elevation_}); }
  Vec3 worldVec(const Vec3& v) const { return toWorld_.transformVector({v.x, v.y, 0.0}); }
  int count(int code) {
    int n = int(take(code));
    if (n < 0 || size_t(n) > g_.size()) ok_ = false;
    return ok_ ? n : 0;
  }

  void path() {
    int flags = int(take(92));
    if (flags & kPolylinePath) polylinePath(); else edgePath();
    if (at(97)) {
      int n = count(97);
      for (int k = 0; k < n && at(330); ++k) ++i_;
    }
  }

  void polylinePath() {
    bool bulges = take(72) != 0.0;
    bool closed = take(73) != 0.0;
    int n = count(93);
    std::vector<geom::PolyVertex> vs;
    for (int k = 0; k < n && ok_; ++k) {
      Vec3 p = point(10);
      double b = bulges ? optional(42, GroupRole::Bulge, 0.0) : 0.0;
      vs.push_back({p.x, p.y, b});
    }
    if (ok_ && !vs.empty())
      out_.edges.push_back(std::make_unique<geom::Polyline2d>(std::move(vs), closed, normal_, elevation_));
  }

  void edgePath() {
    int n = count(93);
    for (int k = 0; k < n && ok_; ++k) edge(int(take(72)));
  }

  void edge(int kind) {
    switch (kind) {
      case kLineEdge: lineEdge(); break;
      case kArcEdge: arcEdge(); break;
      case kEllipseEdge: ellipseEdge(); break;
      case kSplineEdge: splineEdge(); break;
      default: ok_ = false;
    }
  }

  void lineEdge() {
    Vec3 a = point(10), b = point(11);
    if (ok_) out_.edges.push_back(std::make_unique<geom::Line>(world(a), world(b)));
  }

  // Clockwise edges keep their angles mirrored (360 minus the angle).
  void sweep(double& s, double& e, bool arc) {
    size_t angles = i_ - 2;
    bool ccw = take(73, GroupRole::ArcSense) != 0.0;
    GroupRole role = !arc ? GroupRole::EllipseParam : ccw ? GroupRole::ArcAngleCcw : GroupRole::ArcAngleCw;
    out_.roles.push_back({angles, role});
    out_.roles.push_back({angles + 1, role});
    s = radians(s), e = radians(e);
    if (!ccw) { double s0 = s; s = -e; e = -s0; }
  }

  void arcEdge() {
    Vec3 c = point(10);
    double r = take(40, GroupRole::Length), s = take(50), e = take(51);
    sweep(s, e, true);
    if (!ok_ || !(r > 0.0) || !std::isfinite(s) || !std::isfinite(e)) { ok_ = false; return; }
    out_.edges.push_back(std::make_unique<geom::Arc>(world(c), r, s, e, normal_));
  }

  void ellipseEdge() {
    Vec3 c = point(10), major = point(11, GroupRole::OcsVector);
    double ratio = take(40), s = take(50), e = take(51);
    sweep(s, e, false);
    Vec3 m = worldVec(major);
    if (!ok_ || !(ratio > 0.0) || m.length() <= geom::kZeroLength || !std::isfinite(s) || !std::isfinite(e)) {
      ok_ = false;
      return;
    }
    if (e <= s) e += geom::kTwoPi;
    out_.edges.push_back(std::make_unique<geom::Ellipse>(world(c), m, normal_, std::min(ratio, 1.0), s, e));
  }

  void splineEdge() {
    int degree = int(take(94));
    bool rational = take(73) != 0.0;
    take(74);
    int nk = count(95), nc = count(96);
    std::vector<double> knots;
    for (int k = 0; k < nk && ok_; ++k) knots.push_back(take(40));
    std::vector<Vec3> ctrl;
    std::vector<double> weights;
    for (int k = 0; k < nc && ok_; ++k) {
      ctrl.push_back(world(point(10)));
      if (rational) weights.push_back(at(42) ? take(42) : 1.0);
    }
    if (at(97)) {
      int nf = count(97);
      for (int k = 0; k < nf && ok_; ++k) point(11);
      if (at(12)) point(12, GroupRole::OcsVector);
      if (at(13)) point(13, GroupRole::OcsVector);
    }
    std::unique_ptr<geom::Spline> s;
    if (!ok_ || geom::Spline::make(degree, knots, ctrl, weights, s) != geom::GeomStatus::Ok) { ok_ = false; return; }
    out_.edges.push_back(std::move(s));
  }

  // Pattern angle and scale, and each pattern line's angle, base, offset and dashes.
  void pattern() {
    for (size_t k = i_; k < g_.size() && ok_; ++k) {
      int code = g_.code(k);
      if (code == 98) break;
      if (code == 52 || code == 53) out_.roles.push_back({k, GroupRole::AngleDegrees});
      if (code == 41 || code == 49) out_.roles.push_back({k, GroupRole::Length});
      if (code == 43) out_.roles.push_back({k, GroupRole::PairPoint});
      if (code == 45) out_.roles.push_back({k, GroupRole::PairVector});
    }
  }

  void seeds() {
    size_t k = g_.find(98, i_);
    for (k = k + 1; k < g_.size() && g_.code(k) == 10; ++k) out_.roles.push_back({k, GroupRole::OcsPoint});
  }

  const Groups& g_;
  HatchBoundary& out_;
  Vec3 normal_;
  geom::Matrix4 toWorld_;
  double elevation_;
  size_t i_ = 0;
  bool ok_ = true;
};

}  // namespace

EntStatus readHatchBoundary(const Groups& g, HatchBoundary& out) {
  out = {};
  return HatchWalk(g, out).run();
}

}  // namespace tarn::entgeom
