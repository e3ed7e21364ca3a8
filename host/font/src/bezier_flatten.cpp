// Curve flattening by uniform parameter steps. A quadratic's chord error with
// n steps is at most |p0 - 2p1 + p2| / (4 n^2); a cubic's at most
// 3 max(|p0 - 2p1 + p2|, |p1 - 2p2 + p3|) / (4 n^2). The step count follows.
#include "bezier_flatten.h"

#include <algorithm>
#include <cmath>

#include "tolerance.h"

namespace tarn::font {
namespace {

Point2 operator+(Point2 a, Point2 b) { return {a.x + b.x, a.y + b.y}; }
Point2 operator-(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
Point2 operator*(double k, Point2 a) { return {k * a.x, k * a.y}; }
double length(Point2 a) { return std::hypot(a.x, a.y); }

int stepsFor(double secondDifference, double factor, double tolerance) {
  const double n = std::ceil(std::sqrt(factor * secondDifference / (4.0 * tolerance)));
  return std::clamp(std::isfinite(n) ? int(n) : tol::kMaxCurveSegments, 1, tol::kMaxCurveSegments);
}

void addQuad(Polyline& out, Point2 p0, Point2 p1, Point2 p2, double tolerance) {
  const int n = stepsFor(length(p0 - 2.0 * p1 + p2), 1.0, tolerance);
  for (int k = 1; k <= n; ++k) {
    const double t = double(k) / n, u = 1.0 - t;
    out.push_back(u * u * p0 + 2.0 * u * t * p1 + t * t * p2);
  }
}

void addCubic(Polyline& out, Point2 p0, Point2 p1, Point2 p2, Point2 p3, double tolerance) {
  const double d = std::max(length(p0 - 2.0 * p1 + p2), length(p1 - 2.0 * p2 + p3));
  const int n = stepsFor(d, 3.0, tolerance);
  for (int k = 1; k <= n; ++k) {
    const double t = double(k) / n, u = 1.0 - t;
    out.push_back(u * u * u * p0 + 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t * p3);
  }
}

// Closes a contour: drops the end point that repeats the start, keeps it when
// it has at least three points.
void finish(std::vector<Polyline>& out, Polyline& contour) {
  if (contour.size() > 1 && contour.back().x == contour.front().x && contour.back().y == contour.front().y)
    contour.pop_back();
  if (contour.size() >= 3) out.push_back(std::move(contour));
  contour.clear();
}

}  // namespace

std::vector<Polyline> flattenPath(const std::vector<PathSegment>& path, double tolerance) {
  std::vector<Polyline> out;
  Polyline contour;
  for (const PathSegment& s : path) {
    const Point2 from = contour.empty() ? s.to : contour.back();
    switch (s.kind) {
      case PathSegment::Move:
        finish(out, contour);
        contour.push_back(s.to);
        break;
      case PathSegment::Line: contour.push_back(s.to); break;
      case PathSegment::Quad: addQuad(contour, from, s.c1, s.to, tolerance); break;
      case PathSegment::Cubic: addCubic(contour, from, s.c1, s.c2, s.to, tolerance); break;
    }
  }
  finish(out, contour);
  return out;
}

}  // namespace tarn::font
