// Box arithmetic.
#include "font/geometry.h"

#include <algorithm>

namespace tarn::font {

void Box2::add(Point2 p) {
  if (empty()) {
    min = max = p;
    return;
  }
  min = {std::min(min.x, p.x), std::min(min.y, p.y)};
  max = {std::max(max.x, p.x), std::max(max.y, p.y)};
}

void Box2::add(const Box2& other) {
  if (other.empty()) return;
  add(other.min);
  add(other.max);
}

}  // namespace tarn::font
