// GridIndex: a uniform grid over bounding boxes in the XY plane, for finding
// candidate pairs among many curves. Unbounded boxes (rays, construction
// lines) are kept apart and are candidates of every query.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "geom/bounding_box.h"
#include "geom/curve.h"
#include "geom/intersect.h"

namespace tarn::geom {

class GridIndex {
 public:
  // cellSize <= 0: chosen from the boxes at build time (twice the mean box size).
  explicit GridIndex(double cellSize = 0.0) : cell_(cellSize) {}
  // Builds the index over the boxes; ids are positions in the vector.
  void build(const std::vector<BoundingBox>& boxes);
  // Ids whose boxes meet `box` in XY, each once, ascending.
  std::vector<uint32_t> query(const BoundingBox& box) const;
  // The same into `out` (cleared first), for callers that query many times.
  void query(const BoundingBox& box, std::vector<uint32_t>& out) const;
  double cellSize() const { return cell_; }

 private:
  int64_t keyOf(int64_t cx, int64_t cy) const { return (cx << 32) ^ (cy & 0xffffffff); }
  void cellRange(const BoundingBox& b, int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1) const;
  double cell_;
  Vec3 origin_{};
  std::vector<BoundingBox> boxes_;
  std::unordered_map<int64_t, std::vector<uint32_t>> cells_;
  std::vector<uint32_t> unbounded_;
  mutable std::vector<uint32_t> stamp_;
  mutable uint32_t stampNow_ = 0;
};

struct CurvePairHit {
  uint32_t a = 0, b = 0;  // a < b
  IntersectionResult result;
};

// Every intersecting pair among the curves, found through a GridIndex.
std::vector<CurvePairHit> intersectAll(const std::vector<const Curve*>& curves,
                                       const IntersectOptions& opt = {});

}  // namespace tarn::geom
