// SegmentedCurve and CompositeCurve: curves made of consecutive segments.
#include "geom/segmented_curve.h"

#include <algorithm>
#include <cmath>

namespace tarn::geom {

void SegmentedCurve::setSegments(std::vector<CurvePtr> segs) {
  segments_ = std::move(segs);
  cumulative_.assign(segments_.size(), 0.0);
  double acc = 0.0;
  for (size_t i = 0; i < segments_.size(); ++i) {
    cumulative_[i] = acc;
    acc += segments_[i]->length();
  }
}

double SegmentedCurve::toLocal(size_t i, double u) const {
  const Curve& s = *segments_[i];
  return s.startParam() + (u - static_cast<double>(i)) * (s.endParam() - s.startParam());
}

double SegmentedCurve::fromLocal(size_t i, double local) const {
  const Curve& s = *segments_[i];
  const double range = s.endParam() - s.startParam();
  return static_cast<double>(i) + (range > 0.0 ? (local - s.startParam()) / range : 0.0);
}

size_t SegmentedCurve::locate(double t, double& local) const {
  const double n = static_cast<double>(segments_.size());
  if (isClosed() && (t < 0.0 || t > n)) {
    t = std::fmod(t, n);
    if (t < 0.0) t += n;
  }
  const size_t i = static_cast<size_t>(std::clamp(std::floor(t), 0.0, n - 1.0));
  local = toLocal(i, t);
  return i;
}

Vec3 SegmentedCurve::pointAt(double t) const {
  double local;
  const size_t i = locate(t, local);
  return segments_[i]->pointAt(local);
}

Vec3 SegmentedCurve::derivAt(double t) const {
  double local;
  const size_t i = locate(t, local);
  const Curve& s = *segments_[i];
  return s.derivAt(local) * (s.endParam() - s.startParam());
}

double SegmentedCurve::distanceAtParam(double t) const {
  double local;
  const size_t i = locate(t, local);
  return cumulative_[i] + segments_[i]->distanceAtParam(local);
}

double SegmentedCurve::paramAtDistance(double s) const {
  size_t i = 0;
  while (i + 1 < segments_.size() && cumulative_[i + 1] <= s) ++i;
  return fromLocal(i, segments_[i]->paramAtDistance(s - cumulative_[i]));
}

double SegmentedCurve::length() const {
  return segments_.empty() ? 0.0 : cumulative_.back() + segments_.back()->length();
}

double SegmentedCurve::closestParam(const Vec3& p) const {
  double best = 0.0, bestD = BoundingBox::kInf;
  for (size_t i = 0; i < segments_.size(); ++i) {
    const double local = segments_[i]->closestParam(p);
    const double d = distance(p, segments_[i]->pointAt(local));
    if (d < bestD) { bestD = d; best = fromLocal(i, local); }
  }
  return best;
}

BoundingBox SegmentedCurve::boundingBox() const {
  BoundingBox b;
  for (const auto& s : segments_) b.add(s->boundingBox());
  return b;
}

void SegmentedCurve::appendPieces(std::vector<CurvePiece>& out) const {
  for (size_t i = 0; i < segments_.size(); ++i) {
    const size_t first = out.size();
    segments_[i]->appendPieces(out);
    const Curve& s = *segments_[i];
    const double range = s.endParam() - s.startParam();
    const double k = range > 0.0 ? 1.0 / range : 0.0;
    for (size_t j = first; j < out.size(); ++j) {
      CurvePiece& p = out[j];
      // segment-local = base + scale t; ours = i + (local - start) * k
      p.ownerBase = static_cast<double>(i) + (p.ownerBase - s.startParam()) * k;
      p.ownerScale *= k;
      p.owner = this;
      p.fullCircle = false;
    }
  }
}

Vec3 SegmentedCurve::areaVector() const {
  Vec3 a{};
  for (const auto& s : segments_) a += s->areaVector() + s->startPoint().cross(s->endPoint()) * 0.5;
  if (!segments_.empty()) a += segments_.back()->endPoint().cross(segments_.front()->startPoint()) * 0.5;
  return a;
}

GeomStatus SegmentedCurve::planeNormal(Vec3& n) const { return Curve::planeNormal(n); }

std::vector<double> SegmentedCurve::sampleParams() const {
  std::vector<double> out;
  for (size_t i = 0; i < segments_.size(); ++i) {
    for (double local : segments_[i]->sampleParams()) {
      const double u = fromLocal(i, local);
      if (out.empty() || u > out.back()) out.push_back(u);
    }
  }
  if (out.empty()) out.push_back(0.0);
  return out;
}

std::vector<SegmentedCurve::Span> SegmentedCurve::spans(double t0, double t1) const {
  const double n = static_cast<double>(segments_.size());
  std::vector<Span> out;
  if (isClosed() && t1 > n + 1e-12) {
    out = spans(t0, n);
    for (const Span& s : spans(0.0, t1 - n)) out.push_back(s);
    return out;
  }
  t1 = std::min(t1, n);
  for (double i = std::max(0.0, std::floor(t0)); i < t1; i += 1.0) {
    const double lo = std::max(t0, i), hi = std::min(t1, i + 1.0);
    if (hi - lo > 1e-12 && i < n) out.push_back({static_cast<size_t>(i), lo, hi});
  }
  return out;
}

GeomStatus CompositeCurve::make(std::vector<CurvePtr> segments, std::unique_ptr<CompositeCurve>& out) {
  if (segments.empty()) return GeomStatus::InvalidInput;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (!segments[i] || !segments[i]->isBounded()) return GeomStatus::InvalidInput;
    if (i > 0 && !pointsEqual(segments[i - 1]->endPoint(), segments[i]->startPoint(), kJoinPoint))
      return GeomStatus::InvalidInput;
  }
  out.reset(new CompositeCurve());
  out->setSegments(std::move(segments));
  return GeomStatus::Ok;
}

CurvePtr CompositeCurve::clone() const {
  std::vector<CurvePtr> segs;
  for (const auto& s : segments_) segs.push_back(s->clone());
  std::unique_ptr<CompositeCurve> c(new CompositeCurve());
  c->setSegments(std::move(segs));
  return c;
}

bool CompositeCurve::isClosed() const {
  return segments_.size() > 1 && pointsEqual(segments_.back()->endPoint(), segments_.front()->startPoint(), kJoinPoint);
}

CurvePtr CompositeCurve::transformed(const Matrix4& m) const {
  std::vector<CurvePtr> segs;
  for (const auto& s : segments_) {
    segs.push_back(s->transformed(m));
    if (!segs.back()) return nullptr;
  }
  std::unique_ptr<CompositeCurve> c(new CompositeCurve());
  c->setSegments(std::move(segs));
  return c;
}

CurvePtr CompositeCurve::reversed() const {
  std::vector<CurvePtr> segs;
  for (auto it = segments_.rbegin(); it != segments_.rend(); ++it) segs.push_back((*it)->reversed());
  std::unique_ptr<CompositeCurve> c(new CompositeCurve());
  c->setSegments(std::move(segs));
  return c;
}

CurvePtr CompositeCurve::subCurve(double t0, double t1) const {
  std::vector<CurvePtr> segs;
  for (const Span& s : spans(t0, t1)) {
    const double a = toLocal(s.segment, s.from);
    const double b = toLocal(s.segment, s.to);
    segs.push_back(segments_[s.segment]->subCurve(a, b));
  }
  if (segs.empty()) return nullptr;
  if (segs.size() == 1) return std::move(segs.front());
  std::unique_ptr<CompositeCurve> c(new CompositeCurve());
  c->setSegments(std::move(segs));
  return c;
}

}  // namespace tarn::geom
