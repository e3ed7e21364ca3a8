// Trim and break: cut a curve at parameters and keep what lies outside the
// removed stretch, with the types that follow (xline to ray, ray to line,
// circle to arc, closed polyline to open polyline).
#include "geom/trim.h"

#include <algorithm>
#include <cmath>

#include "numeric.h"

namespace tarn::geom {

namespace {
EditResult failEdit(GeomStatus s) {
  EditResult r;
  r.status = s;
  return r;
}

double paramEps(const Curve& c, double t) {
  const double speed = std::max(c.derivAt(std::isfinite(t) ? t : 0.0).length(), 1e-300);
  return paramTolerance(scaledTolerance(kEqualPoint, c.magnitude()), speed);
}

std::vector<double> usableCuts(const Curve& c, std::vector<double> cuts) {
  std::vector<double> out;
  for (double t : cuts) {
    if (!std::isfinite(t)) continue;
    if (c.isClosed()) t = detail::wrapParam(c, t);
    else if (t < c.startParam() || t > c.endParam()) continue;
    out.push_back(t);
  }
  std::sort(out.begin(), out.end());
  std::vector<double> unique;
  for (double t : out)
    if (unique.empty() || t - unique.back() > paramEps(c, t)) unique.push_back(t);
  return unique;
}

void keep(EditResult& r, CurvePtr c) {
  if (c) r.curves.push_back(std::move(c));
}

EditResult trimOpen(const Curve& c, const std::vector<double>& cuts, double pick) {
  const double s = c.startParam(), e = c.endParam();
  const auto upperIt = std::upper_bound(cuts.begin(), cuts.end(), pick);
  const bool hasUpper = upperIt != cuts.end();
  const bool hasLower = upperIt != cuts.begin();
  if (!hasUpper && !hasLower) return failEdit(GeomStatus::NothingToTrim);
  EditResult r;
  if (hasLower) {
    const double lower = *(upperIt - 1);
    if (!std::isfinite(s) || lower - s > paramEps(c, lower)) keep(r, c.subCurve(s, lower));
  }
  if (hasUpper) {
    const double upper = *upperIt;
    if (!std::isfinite(e) || e - upper > paramEps(c, upper)) keep(r, c.subCurve(upper, e));
  }
  return r;
}

EditResult trimClosed(const Curve& c, const std::vector<double>& cuts, double pick) {
  if (cuts.size() < 2) return failEdit(GeomStatus::NeedTwoCuts);
  const double per = detail::period(c);
  pick = detail::wrapParam(c, pick);
  const auto it = std::upper_bound(cuts.begin(), cuts.end(), pick);
  EditResult r;
  if (it == cuts.begin() || it == cuts.end()) keep(r, c.subCurve(cuts.front(), cuts.back()));
  else keep(r, c.subCurve(*it, *(it - 1) + per));
  return r;
}
}  // namespace

EditResult trimAtParams(const Curve& c, std::vector<double> cuts, double pickParam) {
  if (!std::isfinite(pickParam)) return failEdit(GeomStatus::InvalidInput);
  const std::vector<double> usable = usableCuts(c, std::move(cuts));
  return c.isClosed() ? trimClosed(c, usable, pickParam) : trimOpen(c, usable, pickParam);
}

EditResult trimCurve(const Curve& c, const std::vector<const Curve*>& cutters, const Vec3& pick,
                     const IntersectOptions& opt) {
  if (!pick.isFinite()) return failEdit(GeomStatus::InvalidInput);
  std::vector<double> cuts;
  for (const Curve* cutter : cutters) {
    if (cutter == nullptr || cutter == &c) continue;
    const IntersectionResult r = intersect(c, *cutter, opt);
    for (const auto& p : r.points) cuts.push_back(p.paramA);
    for (const auto& o : r.overlaps) {
      cuts.push_back(o.a0);
      cuts.push_back(o.a1);
    }
  }
  return trimAtParams(c, std::move(cuts), c.closestParam(pick));
}

EditResult breakCurve(const Curve& c, const Vec3& p1, const Vec3& p2) {
  if (!p1.isFinite() || !p2.isFinite()) return failEdit(GeomStatus::InvalidInput);
  double t1 = c.closestParam(p1), t2 = c.closestParam(p2);
  EditResult r;
  if (c.isClosed()) {
    t1 = detail::wrapParam(c, t1);
    t2 = detail::wrapParam(c, t2);
    if (std::fabs(t1 - t2) <= paramEps(c, t1)) return failEdit(GeomStatus::Degenerate);
    keep(r, c.subCurve(t2, t1 > t2 ? t1 : t1 + detail::period(c)));
    return r;
  }
  if (t1 > t2) std::swap(t1, t2);
  const double s = c.startParam(), e = c.endParam();
  if (!std::isfinite(s) || t1 - s > paramEps(c, t1)) keep(r, c.subCurve(s, t1));
  if (!std::isfinite(e) || e - t2 > paramEps(c, t2)) keep(r, c.subCurve(t2, e));
  return r;
}

}  // namespace tarn::geom
