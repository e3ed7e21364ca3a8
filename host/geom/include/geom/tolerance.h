// The one home of the kernel's tolerances and the predicates built on them.
//
// Rule: a length tolerance is absolute for magnitudes up to 1 and relative
// above (tol * max(1, magnitude)), so a drawing far from the origin keeps the
// same number of significant digits as one near it. A length tolerance becomes
// a parameter tolerance by dividing by the curve's speed (length per unit of
// parameter): see paramTolerance. Every predicate takes a tolerance that
// defaults to the global one.
#pragma once

#include <algorithm>
#include <cmath>

#include "geom/vec3.h"

namespace tarn::geom {

// Two points closer than this (scaled by magnitude) are the same point.
inline constexpr double kEqualPoint = 1e-10;
// Two directions whose angle (radians) is below this are parallel.
inline constexpr double kEqualVector = 1e-10;
// Below this a length counts as zero (a degenerate segment, a zero radius).
inline constexpr double kZeroLength = 1e-12;
// Default accuracy of curves approximated by the kernel (offset ellipses and
// splines): the approximation stays within this distance of the exact curve,
// relative to the curve's size when larger than 1.
inline constexpr double kApproximation = 1e-6;

// Relative tolerance of the tests that a map keeps shapes similar: the
// images of two perpendicular axes equally long and still perpendicular
// (circles stay circles, block axes stay square).
inline constexpr double kSimilarity = 1e-9;
// Pieces of a curve whose ends are closer than this (scaled by magnitude)
// join; looser than kEqualPoint because the ends come from computed pieces.
inline constexpr double kJoinPoint = 1e-9;
// A quantity smaller than this times the quantities it is made from counts
// as zero (a cross product against its factors, a bulge against 1).
inline constexpr double kRelativeZero = 1e-12;

// True when the images mx and my of two perpendicular unit axes are equally
// long and perpendicular within kSimilarity.
inline bool keepsSimilar(const Vec3& mx, const Vec3& my, double tol = kSimilarity) {
  const double sx = mx.length(), sy = my.length();
  return std::fabs(sx - sy) <= tol * sx && std::fabs(mx.dot(my)) <= tol * sx * sy;
}

// Tolerance scaled by magnitude: absolute below 1, relative above.
inline double scaledTolerance(double tol, double magnitude) {
  return tol * std::max(1.0, std::fabs(magnitude));
}

inline double pointTolerance(const Vec3& a, const Vec3& b, double tol = kEqualPoint) {
  return scaledTolerance(tol, std::max(a.maxAbs(), b.maxAbs()));
}

inline bool pointsEqual(const Vec3& a, const Vec3& b, double tol = kEqualPoint) {
  return distance(a, b) <= pointTolerance(a, b, tol);
}

inline bool isZeroLength(double len, double tol = kZeroLength) { return std::fabs(len) <= tol; }

// Directions parallel (same or opposite sense); a zero vector is parallel to anything.
inline bool isParallel(const Vec3& u, const Vec3& v, double tol = kEqualVector) {
  return u.cross(v).length() <= tol * u.length() * v.length();
}

inline bool isPerpendicular(const Vec3& u, const Vec3& v, double tol = kEqualVector) {
  return std::fabs(u.dot(v)) <= tol * u.length() * v.length();
}

// A length tolerance turned into a tolerance on a parameter whose speed is
// `lengthPerParam` (for a line of length L on [0,1], divide by L).
inline double paramTolerance(double lengthTol, double lengthPerParam) {
  return lengthPerParam > 0.0 ? lengthTol / lengthPerParam : lengthTol;
}

// Duplicate-detection rules: relative equality of reals. When |b| is at most
// tol, a must be at most tol in size; otherwise |a - b| <= tol * |b|.
inline bool RealsEqual(double a, double b, double tol) {
  if (std::fabs(b) <= tol) return std::fabs(a) <= tol;
  return std::fabs(a - b) <= tol * std::fabs(b);
}

inline bool PointsEqual(const Vec3& a, const Vec3& b, double tol) {
  return RealsEqual(a.x, b.x, tol) && RealsEqual(a.y, b.y, tol) && RealsEqual(a.z, b.z, tol);
}

// P lies on segment AB when |PA| + |PB| - |AB| is below tol.
inline bool PointOnSegment(const Vec3& p, const Vec3& a, const Vec3& b, double tol) {
  return distance(p, a) + distance(p, b) - distance(a, b) < tol;
}

}  // namespace tarn::geom
