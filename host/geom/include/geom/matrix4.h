// Matrix4: a 4x4 transformation matrix (row-major, column vectors: p' = M p)
// with the constructors drafting needs: translate, scale, rotate about an
// axis, mirror, and frames built from axes.
#pragma once

#include <array>

#include "geom/status.h"
#include "geom/vec3.h"

namespace tarn::geom {

class Matrix4 {
 public:
  Matrix4();  // identity
  explicit Matrix4(const std::array<double, 16>& rowMajor);

  static Matrix4 identity() { return Matrix4(); }
  static Matrix4 translation(const Vec3& d);
  static Matrix4 scaling(double s, const Vec3& base = {});
  static Matrix4 scaling(const Vec3& factors, const Vec3& base = {});
  // Rotation by `angle` radians counter-clockwise about `axis` through `base`.
  static Matrix4 rotation(double angle, const Vec3& axis, const Vec3& base = {});
  // Reflection in the plane through `base` with normal `normal`.
  static Matrix4 mirror(const Vec3& base, const Vec3& normal);
  // Reflection in the line through a and b, staying in the plane with normal `planeNormal`.
  static Matrix4 mirrorLine(const Vec3& a, const Vec3& b, const Vec3& planeNormal = kZAxis);
  // Local-to-world frame: columns are the axes, the translation is the origin.
  static Matrix4 fromAxes(const Vec3& origin, const Vec3& x, const Vec3& y, const Vec3& z);
  // Orthogonal projection onto the plane through `base` with normal `normal`.
  static Matrix4 projection(const Vec3& base, const Vec3& normal);

  double operator()(int row, int col) const { return m_[row * 4 + col]; }
  double& operator()(int row, int col) { return m_[row * 4 + col]; }

  Matrix4 operator*(const Matrix4& o) const;  // (A*B) p = A (B p)
  Vec3 transformPoint(const Vec3& p) const;
  Vec3 transformVector(const Vec3& v) const;
  double determinant() const;
  GeomStatus inverse(Matrix4& out) const;
  Matrix4 transposed() const;

  // Uniform scale factor of a similarity transform (rotation, mirror, uniform
  // scale, translation), or a negative value when the matrix is not one.
  double similarityScale(double tol = 1e-9) const;
  bool isMirroring() const { return determinant() < 0.0; }
  bool isFinite() const;

 private:
  std::array<double, 16> m_;
};

}  // namespace tarn::geom
