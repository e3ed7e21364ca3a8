// BoundingBox: an axis-aligned box in world coordinates. Infinite curves
// (rays, construction lines) have boxes with infinite bounds.
#pragma once

#include <limits>

#include "geom/vec3.h"

namespace tarn::geom {

struct BoundingBox {
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  Vec3 min{kInf, kInf, kInf};
  Vec3 max{-kInf, -kInf, -kInf};

  bool isEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
  bool isBounded() const { return !isEmpty() && min.isFinite() && max.isFinite(); }
  void add(const Vec3& p);
  void add(const BoundingBox& b);
  BoundingBox expanded(double margin) const;
  bool intersects(const BoundingBox& o) const;
  bool intersectsXY(const BoundingBox& o) const;
  bool contains(const Vec3& p) const;
  bool containsXY(const BoundingBox& o) const;
  Vec3 center() const { return (min + max) * 0.5; }
  Vec3 size() const { return max - min; }
  // Largest absolute coordinate of a bounded box (for scaled tolerances).
  double magnitude() const;
};

}  // namespace tarn::geom
