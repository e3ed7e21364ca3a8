// Geometry kernel benchmarks: all intersections among 100,000 random lines
// and arcs through the spatial index, and the offset of a 10,000-vertex
// bulged polyline. Prints the measurements.
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <random>

#include "geom/geom.h"

using namespace tarn::geom;

namespace {
double secondsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void benchIntersectAll() {
  // Curves of size about 1 in a square sized so that each meets a few others.
  const int n = 100000;
  const double side = std::sqrt(static_cast<double>(n)) * 0.8;
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> pos(0, side), unit(0, 1);
  std::vector<CurvePtr> owned;
  for (int i = 0; i < n; ++i) {
    const Vec3 p{pos(rng), pos(rng), 0};
    const double a = unit(rng) * kTwoPi;
    if (i % 2) owned.push_back(std::make_unique<Line>(p, p + Vec3{std::cos(a), std::sin(a), 0} * 1.2));
    else owned.push_back(std::make_unique<Arc>(p, 0.3 + 0.4 * unit(rng), a, a + 0.5 + 4.0 * unit(rng)));
  }
  std::vector<const Curve*> curves;
  for (const auto& c : owned) curves.push_back(c.get());
  const auto t0 = std::chrono::steady_clock::now();
  const std::clock_t c0 = std::clock();
  const auto hits = intersectAll(curves);
  const double s = secondsSince(t0), cpu = double(std::clock() - c0) / CLOCKS_PER_SEC;
  size_t points = 0;
  for (const auto& h : hits) points += h.result.points.size();
  std::printf("intersect_all: %d lines and arcs, %zu intersecting pairs, %zu points, %.3f s, processor %.3f s "
              "(target < 1 s)\n", n, hits.size(), points, s, cpu);
}

void benchPolylineOffset() {
  const int n = 10000;
  std::vector<PolyVertex> vs;
  for (int i = 0; i < n; ++i) {
    // A wavy band: alternate bulges along a slowly turning path.
    const double t = i * 0.01;
    vs.push_back({t * 100.0, 20.0 * std::sin(t), (i % 2 ? 0.3 : -0.2), 0, 0});
  }
  const Polyline2d pl(std::move(vs), false);
  const int reps = 20;
  const auto t0 = std::chrono::steady_clock::now();
  const std::clock_t c0 = std::clock();
  size_t out = 0;
  for (int r = 0; r < reps; ++r) {
    const OffsetResult res = offsetSigned(pl, 0.05);
    out = res.curves.empty() ? 0 : static_cast<const Polyline2d&>(*res.curves[0]).vertices().size();
  }
  const double ms = secondsSince(t0) * 1000.0 / reps;
  const double cpuMs = double(std::clock() - c0) / CLOCKS_PER_SEC * 1000.0 / reps;
  std::printf("polyline_offset: %d bulged vertices -> %zu vertices, %.2f ms per offset, processor %.2f ms "
              "(target < 20 ms)\n", n, out, ms, cpuMs);
}
}  // namespace

int main() {
  benchIntersectAll();
  benchPolylineOffset();
  return 0;
}
