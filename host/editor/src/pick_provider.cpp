// The default pick provider: an entity is its group 10 and 11 points, and
// the segment between them when it has both.
#include "editor/pick_provider.h"

#include <algorithm>
#include <cmath>

namespace tarn::editor {
namespace {

using db::Point3;

std::vector<Point3> keyPoints(const db::Database& db, uint32_t id) {
  std::vector<Point3> pts;
  for (auto c = db.tags(id); !c.done(); c.next())
    if ((c.code() == 10 || c.code() == 11) &&
        (c.kind() == db::TagKind::Point2 || c.kind() == db::TagKind::Point3))
      pts.push_back(c.point());
  return pts;
}

double segmentDistance(Point3 p, Point3 a, Point3 b) {
  double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double distanceTo(const std::vector<Point3>& pts, Point3 p) {
  double best = INFINITY;
  for (size_t i = 0; i < pts.size(); ++i)
    best = std::min(best, segmentDistance(p, pts[i], pts[i + 1 < pts.size() ? i + 1 : i]));
  return best;
}

double cross(Point3 o, Point3 a, Point3 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool segmentsCross(Point3 a, Point3 b, Point3 c, Point3 d) {
  double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
  return ((d1 <= 0 && d2 >= 0) || (d1 >= 0 && d2 <= 0)) && ((d3 <= 0 && d4 >= 0) || (d3 >= 0 && d4 <= 0));
}

bool insidePolygon(const std::vector<Point3>& poly, Point3 p) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
    if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
        p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
      in = !in;
  return in;
}

bool chainCrosses(const std::vector<Point3>& pts, const std::vector<Point3>& chain, bool closed) {
  size_t edges = closed ? chain.size() : chain.size() - 1;
  for (size_t e = 0; e < edges; ++e)
    for (size_t i = 0; i + 1 < pts.size(); ++i)
      if (segmentsCross(pts[i], pts[i + 1], chain[e], chain[(e + 1) % chain.size()])) return true;
  return false;
}

class KeyPointProvider : public PickProvider {
 public:
  std::vector<uint32_t> near(const db::Database& db, Point3 p, double aperture) override {
    std::vector<std::pair<double, uint32_t>> hits;
    for (uint32_t id : layoutEntities(db)) {
      double d = distanceTo(keyPoints(db, id), p);
      if (d <= aperture) hits.emplace_back(d, id);
    }
    std::stable_sort(hits.begin(), hits.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<uint32_t> out;
    for (auto& h : hits) out.push_back(h.second);
    return out;
  }
  RegionFit fitPolygon(const db::Database& db, uint32_t id, const std::vector<Point3>& polygon) override {
    auto pts = keyPoints(db, id);
    if (pts.empty() || polygon.size() < 3) return RegionFit::Outside;
    size_t in = std::count_if(pts.begin(), pts.end(), [&](Point3 p) { return insidePolygon(polygon, p); });
    if (in == pts.size()) return RegionFit::Inside;
    return in > 0 || chainCrosses(pts, polygon, true) ? RegionFit::Crossing : RegionFit::Outside;
  }
  bool crossesFence(const db::Database& db, uint32_t id, const std::vector<Point3>& fence) override {
    auto pts = keyPoints(db, id);
    if (pts.size() == 1) pts.push_back(pts[0]);
    return fence.size() >= 2 && chainCrosses(pts, fence, false);
  }
};

}  // namespace

std::unique_ptr<PickProvider> makeDefaultPickProvider() { return std::make_unique<KeyPointProvider>(); }

std::vector<uint32_t> layoutEntities(const db::Database& db) {
  std::vector<uint32_t> out;
  forEachLayoutEntity(db, [&](uint32_t id) { out.push_back(id); });
  return out;
}

}  // namespace tarn::editor
