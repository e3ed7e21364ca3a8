// Vec3: a 3D vector or point (the kernel does not tell them apart by type)
// and the small vector algebra every other part of the kernel uses.
#pragma once

#include <cmath>

namespace tarn::geom {

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr Vec3() = default;
  constexpr Vec3(double ax, double ay, double az = 0.0) : x(ax), y(ay), z(az) {}

  constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  constexpr Vec3 operator-() const { return {-x, -y, -z}; }
  constexpr Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  constexpr Vec3 operator/(double s) const { return {x / s, y / s, z / s}; }
  constexpr Vec3& operator+=(const Vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  constexpr Vec3& operator-=(const Vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  constexpr Vec3& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  // Exact comparison, meant for identity checks only; geometry uses pointsEqual.
  constexpr bool operator==(const Vec3& o) const = default;

  constexpr double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
  constexpr Vec3 cross(const Vec3& o) const {
    return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
  }
  double length() const { return std::sqrt(dot(*this)); }
  constexpr double lengthSquared() const { return dot(*this); }
  double maxAbs() const { return std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z))); }
  // Unit vector; the zero vector stays zero (callers check degeneracy first).
  Vec3 normalized() const {
    const double len = length();
    return len > 0.0 ? *this / len : Vec3{};
  }
  bool isFinite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }
};

inline constexpr Vec3 operator*(double s, const Vec3& v) { return v * s; }
inline double distance(const Vec3& a, const Vec3& b) { return (a - b).length(); }
inline constexpr Vec3 lerp(const Vec3& a, const Vec3& b, double t) { return a + (b - a) * t; }
inline constexpr Vec3 midpoint(const Vec3& a, const Vec3& b) { return (a + b) * 0.5; }

inline constexpr Vec3 kXAxis{1.0, 0.0, 0.0};
inline constexpr Vec3 kYAxis{0.0, 1.0, 0.0};
inline constexpr Vec3 kZAxis{0.0, 0.0, 1.0};

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

// Angle wrapped into [0, 2π).
inline double normalizeAngle(double a) {
  double r = std::fmod(a, kTwoPi);
  if (r < 0.0) r += kTwoPi;
  return r >= kTwoPi ? 0.0 : r;
}

}  // namespace tarn::geom
