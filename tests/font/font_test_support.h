// Shared helpers of the text geometry tests: the font every test names, and
// box and point checks.
#ifndef TARN_TESTS_FONT_TEST_SUPPORT_H
#define TARN_TESTS_FONT_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cmath>

#include "font/geometry.h"
#include "font/text_style.h"

namespace tarn::font::test {

// The pinned face; the environment in pinned_font_environment.cpp forces it.
inline constexpr const char* kTestFont = "DejaVu Sans";

inline TextStyle testStyle(double height = 1.0) {
  TextStyle s;
  s.font = kTestFont;
  s.height = height;
  return s;
}

inline Point2 rotated(Point2 p, double angle) {
  return {std::cos(angle) * p.x - std::sin(angle) * p.y, std::sin(angle) * p.x + std::cos(angle) * p.y};
}

inline void expectNear(Point2 a, Point2 b, double tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
}

// True when p lies in the box grown by `slack` on every side.
inline bool within(Point2 p, Point2 lowerLeft, Point2 upperRight, double slack) {
  return p.x >= lowerLeft.x - slack && p.x <= upperRight.x + slack && p.y >= lowerLeft.y - slack &&
         p.y <= upperRight.y + slack;
}

}  // namespace tarn::font::test

#endif
