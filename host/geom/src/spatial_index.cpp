// GridIndex: a hashed uniform grid over XY boxes, and the all-pairs
// intersection built on it.
#include "geom/spatial_index.h"

#include <algorithm>
#include <cmath>

namespace tarn::geom {

namespace {
constexpr int64_t kMaxCellsPerBox = 4096;  // bigger boxes are checked against every query
}

void GridIndex::cellRange(const BoundingBox& b, int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1) const {
  x0 = static_cast<int64_t>(std::floor((b.min.x - origin_.x) / cell_));
  y0 = static_cast<int64_t>(std::floor((b.min.y - origin_.y) / cell_));
  x1 = static_cast<int64_t>(std::floor((b.max.x - origin_.x) / cell_));
  y1 = static_cast<int64_t>(std::floor((b.max.y - origin_.y) / cell_));
}

void GridIndex::build(const std::vector<BoundingBox>& boxes) {
  boxes_ = boxes;
  cells_.clear();
  unbounded_.clear();
  stamp_.assign(boxes.size(), 0);
  stampNow_ = 0;
  BoundingBox all;
  double sizeSum = 0.0;
  size_t bounded = 0;
  for (const BoundingBox& b : boxes) {
    if (!b.isBounded()) continue;
    all.add(b);
    sizeSum += std::max(b.size().x, b.size().y);
    ++bounded;
  }
  if (cell_ <= 0.0) cell_ = bounded > 0 && sizeSum > 0.0 ? 2.0 * sizeSum / static_cast<double>(bounded) : 1.0;
  origin_ = all.isBounded() ? all.min : Vec3{};
  for (uint32_t id = 0; id < boxes.size(); ++id) {
    const BoundingBox& b = boxes[id];
    if (b.isEmpty()) continue;
    int64_t x0, y0, x1, y1;
    if (b.isBounded()) cellRange(b, x0, y0, x1, y1);
    if (!b.isBounded() || (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerBox) {
      unbounded_.push_back(id);
      continue;
    }
    for (int64_t x = x0; x <= x1; ++x)
      for (int64_t y = y0; y <= y1; ++y) cells_[keyOf(x, y)].push_back(id);
  }
}

std::vector<uint32_t> GridIndex::query(const BoundingBox& box) const {
  std::vector<uint32_t> out;
  query(box, out);
  return out;
}

void GridIndex::query(const BoundingBox& box, std::vector<uint32_t>& out) const {
  out.clear();
  if (++stampNow_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stampNow_ = 1;
  }
  const auto take = [&](uint32_t id) {
    if (stamp_[id] == stampNow_ || !boxes_[id].intersectsXY(box)) return;
    stamp_[id] = stampNow_;
    out.push_back(id);
  };
  for (uint32_t id : unbounded_) take(id);
  if (box.isBounded()) {
    int64_t x0, y0, x1, y1;
    cellRange(box, x0, y0, x1, y1);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) <= static_cast<int64_t>(cells_.size())) {
      for (int64_t x = x0; x <= x1; ++x)
        for (int64_t y = y0; y <= y1; ++y) {
          const auto it = cells_.find(keyOf(x, y));
          if (it != cells_.end())
            for (uint32_t id : it->second) take(id);
        }
      std::sort(out.begin(), out.end());
      return;
    }
  }
  for (const auto& [key, ids] : cells_)  // a huge query box: walk the cells instead
    for (uint32_t id : ids) take(id);
  std::sort(out.begin(), out.end());
}

std::vector<CurvePairHit> intersectAll(const std::vector<const Curve*>& curves, const IntersectOptions& opt) {
  // The XY grid is a valid filter unless projection onto a tilted plane or
  // extension changes where curves meet.
  const bool gridValid = opt.extend == ExtendMode::None &&
                         (!opt.projectOnto || isParallel(opt.projectOnto->normal, kZAxis));
  std::vector<BoundingBox> boxes;
  for (const Curve* c : curves) {
    BoundingBox b = c->boundingBox();
    if (!gridValid) b = BoundingBox{Vec3{-BoundingBox::kInf, -BoundingBox::kInf, -BoundingBox::kInf},
                                    Vec3{BoundingBox::kInf, BoundingBox::kInf, BoundingBox::kInf}};
    boxes.push_back(b.expanded(scaledTolerance(opt.tolerance, b.magnitude())));
  }
  GridIndex index;
  index.build(boxes);
  std::vector<CurvePairHit> hits;
  for (uint32_t i = 0; i < curves.size(); ++i) {
    for (uint32_t j : index.query(boxes[i])) {
      if (j <= i) continue;
      IntersectionResult r = intersect(*curves[i], *curves[j], opt);
      if (r.kind != IntersectKind::None) hits.push_back({i, j, std::move(r)});
    }
  }
  return hits;
}

}  // namespace tarn::geom
