// Matrix4: construction, composition, inversion and application.
#include "geom/matrix4.h"

#include <cmath>

namespace tarn::geom {

Matrix4::Matrix4() : m_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}
Matrix4::Matrix4(const std::array<double, 16>& rowMajor) : m_(rowMajor) {}

Matrix4 Matrix4::translation(const Vec3& d) {
  Matrix4 r;
  r(0, 3) = d.x;
  r(1, 3) = d.y;
  r(2, 3) = d.z;
  return r;
}

Matrix4 Matrix4::scaling(double s, const Vec3& base) { return scaling(Vec3{s, s, s}, base); }

Matrix4 Matrix4::scaling(const Vec3& f, const Vec3& base) {
  Matrix4 r;
  r(0, 0) = f.x;
  r(1, 1) = f.y;
  r(2, 2) = f.z;
  return translation(base) * r * translation(-base);
}

Matrix4 Matrix4::rotation(double angle, const Vec3& axis, const Vec3& base) {
  const Vec3 k = axis.normalized();
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  Matrix4 r({t * k.x * k.x + c, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y, 0,
             t * k.x * k.y + s * k.z, t * k.y * k.y + c, t * k.y * k.z - s * k.x, 0,
             t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, t * k.z * k.z + c, 0,
             0, 0, 0, 1});
  return translation(base) * r * translation(-base);
}

Matrix4 Matrix4::mirror(const Vec3& base, const Vec3& normal) {
  const Vec3 n = normal.normalized();
  Matrix4 r({1 - 2 * n.x * n.x, -2 * n.x * n.y, -2 * n.x * n.z, 0,
             -2 * n.y * n.x, 1 - 2 * n.y * n.y, -2 * n.y * n.z, 0,
             -2 * n.z * n.x, -2 * n.z * n.y, 1 - 2 * n.z * n.z, 0,
             0, 0, 0, 1});
  return translation(base) * r * translation(-base);
}

Matrix4 Matrix4::mirrorLine(const Vec3& a, const Vec3& b, const Vec3& planeNormal) {
  return mirror(a, (b - a).cross(planeNormal));
}

Matrix4 Matrix4::fromAxes(const Vec3& o, const Vec3& x, const Vec3& y, const Vec3& z) {
  return Matrix4({x.x, y.x, z.x, o.x, x.y, y.y, z.y, o.y, x.z, y.z, z.z, o.z, 0, 0, 0, 1});
}

Matrix4 Matrix4::projection(const Vec3& base, const Vec3& normal) {
  const Vec3 n = normal.normalized();
  Matrix4 r({1 - n.x * n.x, -n.x * n.y, -n.x * n.z, 0,
             -n.y * n.x, 1 - n.y * n.y, -n.y * n.z, 0,
             -n.z * n.x, -n.z * n.y, 1 - n.z * n.z, 0,
             0, 0, 0, 1});
  return translation(base) * r * translation(-base);
}

Matrix4 Matrix4::operator*(const Matrix4& o) const {
  Matrix4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += (*this)(i, k) * o(k, j);
      r(i, j) = s;
    }
  }
  return r;
}

Vec3 Matrix4::transformPoint(const Vec3& p) const {
  const auto& m = *this;
  const Vec3 r{m(0, 0) * p.x + m(0, 1) * p.y + m(0, 2) * p.z + m(0, 3),
               m(1, 0) * p.x + m(1, 1) * p.y + m(1, 2) * p.z + m(1, 3),
               m(2, 0) * p.x + m(2, 1) * p.y + m(2, 2) * p.z + m(2, 3)};
  const double w = m(3, 0) * p.x + m(3, 1) * p.y + m(3, 2) * p.z + m(3, 3);
  // Intended exact comparison: affine matrices have w exactly 1.
  return w == 1.0 || w == 0.0 ? r : r / w;
}

Vec3 Matrix4::transformVector(const Vec3& v) const {
  const auto& m = *this;
  return {m(0, 0) * v.x + m(0, 1) * v.y + m(0, 2) * v.z,
          m(1, 0) * v.x + m(1, 1) * v.y + m(1, 2) * v.z,
          m(2, 0) * v.x + m(2, 1) * v.y + m(2, 2) * v.z};
}

double Matrix4::determinant() const {
  Matrix4 a = *this;
  double det = 1.0;
  for (int c = 0; c < 4; ++c) {
    int piv = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a(r, c)) > std::fabs(a(piv, c))) piv = r;
    if (a(piv, c) == 0.0) return 0.0;  // intended exact: a zero pivot column
    if (piv != c) {
      for (int k = 0; k < 4; ++k) std::swap(a(c, k), a(piv, k));
      det = -det;
    }
    det *= a(c, c);
    for (int r = c + 1; r < 4; ++r) {
      const double f = a(r, c) / a(c, c);
      for (int k = c; k < 4; ++k) a(r, k) -= f * a(c, k);
    }
  }
  return det;
}

GeomStatus Matrix4::inverse(Matrix4& out) const {
  if (!isFinite()) return GeomStatus::InvalidInput;
  Matrix4 a = *this;
  Matrix4 inv;
  double scale = 0.0;
  for (double v : m_) scale = std::fmax(scale, std::fabs(v));
  for (int c = 0; c < 4; ++c) {
    int piv = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a(r, c)) > std::fabs(a(piv, c))) piv = r;
    if (std::fabs(a(piv, c)) <= 1e-14 * scale) return GeomStatus::Singular;
    for (int k = 0; k < 4; ++k) {
      std::swap(a(c, k), a(piv, k));
      std::swap(inv(c, k), inv(piv, k));
    }
    const double d = a(c, c);
    for (int k = 0; k < 4; ++k) {
      a(c, k) /= d;
      inv(c, k) /= d;
    }
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a(r, c);
      for (int k = 0; k < 4; ++k) {
        a(r, k) -= f * a(c, k);
        inv(r, k) -= f * inv(c, k);
      }
    }
  }
  out = inv;
  return GeomStatus::Ok;
}

Matrix4 Matrix4::transposed() const {
  Matrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r(i, j) = (*this)(j, i);
  return r;
}

double Matrix4::similarityScale(double tol) const {
  const Vec3 x = transformVector(kXAxis), y = transformVector(kYAxis), z = transformVector(kZAxis);
  const double s = x.length();
  if (s <= 0.0) return -1.0;
  const bool uniform = std::fabs(y.length() - s) <= tol * s && std::fabs(z.length() - s) <= tol * s;
  const bool orthogonal = std::fabs(x.dot(y)) <= tol * s * s && std::fabs(y.dot(z)) <= tol * s * s &&
                          std::fabs(x.dot(z)) <= tol * s * s;
  const bool affine = (*this)(3, 0) == 0.0 && (*this)(3, 1) == 0.0 && (*this)(3, 2) == 0.0;
  return uniform && orthogonal && affine ? s : -1.0;
}

bool Matrix4::isFinite() const {
  for (double v : m_)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace tarn::geom
