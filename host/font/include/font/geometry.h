// Small plane geometry values shared by the text measuring and outline functions.
#ifndef TARN_FONT_GEOMETRY_H
#define TARN_FONT_GEOMETRY_H

#include <vector>

namespace tarn::font {

struct Point2 {
  double x = 0.0;
  double y = 0.0;
};

// An axis-aligned box; empty() until a point is added.
struct Box2 {
  Point2 min{1.0, 1.0};
  Point2 max{-1.0, -1.0};

  bool empty() const { return min.x > max.x; }
  void add(Point2 p);
  void add(const Box2& other);
  double width() const { return empty() ? 0.0 : max.x - min.x; }
  double height() const { return empty() ? 0.0 : max.y - min.y; }
};

// A closed polyline: the last point connects back to the first (it is not repeated).
using Polyline = std::vector<Point2>;

}  // namespace tarn::font

#endif
