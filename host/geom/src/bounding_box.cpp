// BoundingBox: growing, testing and measuring axis-aligned boxes.
#include "geom/bounding_box.h"

#include <algorithm>
#include <cmath>

namespace tarn::geom {

void BoundingBox::add(const Vec3& p) {
  min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
  max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

void BoundingBox::add(const BoundingBox& b) {
  if (b.isEmpty()) return;
  add(b.min);
  add(b.max);
}

BoundingBox BoundingBox::expanded(double m) const {
  if (isEmpty()) return *this;
  BoundingBox r = *this;
  r.min -= Vec3{m, m, m};
  r.max += Vec3{m, m, m};
  return r;
}

bool BoundingBox::intersects(const BoundingBox& o) const {
  return intersectsXY(o) && min.z <= o.max.z && o.min.z <= max.z;
}

bool BoundingBox::intersectsXY(const BoundingBox& o) const {
  return !isEmpty() && !o.isEmpty() && min.x <= o.max.x && o.min.x <= max.x && min.y <= o.max.y &&
         o.min.y <= max.y;
}

bool BoundingBox::contains(const Vec3& p) const {
  return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y && p.z >= min.z && p.z <= max.z;
}

bool BoundingBox::containsXY(const BoundingBox& o) const {
  return !o.isEmpty() && o.min.x >= min.x && o.max.x <= max.x && o.min.y >= min.y && o.max.y <= max.y;
}

double BoundingBox::magnitude() const {
  if (!isBounded()) return 0.0;
  return std::max(min.maxAbs(), max.maxAbs());
}

}  // namespace tarn::geom
