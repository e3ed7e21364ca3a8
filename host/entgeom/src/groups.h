// Groups: random and sequential read access to an entity's groups without
// decoding them, up to its extended data (geometry never lives there).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

class Groups {
 public:
  Groups(const db::Database& db, uint32_t id);
  Groups(const Groups&) = delete;
  Groups& operator=(const Groups&) = delete;

  size_t size() const { return size_; }
  int code(size_t i) const { return i < kInline ? codes_[i] : more_[i - kInline].code(); }
  const db::TagCursor& at(size_t i) const { return i < kInline ? slots_[i].c : more_[i - kInline]; }
  double number(size_t i) const;
  geom::Vec3 pointAt(size_t i) const;
  // Index of the first group with this code at or after `from`; size() when none.
  size_t find(int code, size_t from = 0) const {
    const size_t inl = size_ < kInline ? size_ : kInline;
    for (size_t i = from; i < inl; ++i)
      if (codes_[i] == code) return i;
    for (size_t i = std::max(from, kInline); i < size_; ++i)
      if (more_[i - kInline].code() == code) return i;
    return size_;
  }

  bool has(int code) const { return find(code) < size(); }
  double real(int code, double dflt = 0.0) const;
  int64_t integer(int code, int64_t dflt = 0) const;
  geom::Vec3 point(int code, const geom::Vec3& dflt = {}) const;
  std::string_view str(int code, std::string_view dflt = {}) const;
  // Group 210, the world Z axis when absent or zero.
  geom::Vec3 normal() const;
  std::vector<geom::Vec3> points(int code) const;

 private:
  // Most entities have few groups: those stay on the stack (no allocation
  // per entity when measuring a million of them). The slots are left
  // uninitialised until filled, and the codes sit apart so that lookups
  // scan a few cache lines only.
  static constexpr size_t kInline = 40;
  struct Slot {
    union { db::TagCursor c; };
    Slot() {}
  };
  Slot slots_[kInline];
  int codes_[kInline];
  std::vector<db::TagCursor> more_;
  size_t size_ = 0;
};

struct TextFrame;
// The text frame of a TEXT, ATTRIB, ATTDEF or MTEXT from groups already read.
EntStatus textFrameOf(const db::Database& db, std::string_view type, const Groups& g, TextFrame& out);

geom::Vec3 toVec(const db::Point3& p);
db::Point3 toPoint(const geom::Vec3& v);
double degrees(double radians);
double radians(double degrees);

}  // namespace tarn::entgeom
