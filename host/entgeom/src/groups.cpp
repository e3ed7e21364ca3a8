// Groups: cursor-based access to an entity's groups.
#include "groups.h"

#include <new>

#include "entgeom/status.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

namespace {
constexpr int kFirstXdataCode = 1001;
}

const char* entStatusName(EntStatus s) {
  static const char* const kNames[] = {"Ok",         "NotFound",    "NotGeometric",
                                       "InvalidData", "Empty",       "Cyclic",
                                       "NonUniform", "Unsupported", "FontFailure",
                                       "Refused"};
  return kNames[static_cast<int>(s)];
}

Groups::Groups(const db::Database& db, uint32_t id) {
  for (db::TagCursor c = db.tags(id); !c.done(); c.next()) {
    if (c.code() == kFirstXdataCode) break;
    if (size_ < kInline) {
      new (&slots_[size_].c) db::TagCursor(c);
      codes_[size_] = c.code();
    } else {
      more_.push_back(c);
    }
    ++size_;
  }
}

double Groups::number(size_t i) const {
  const db::TagCursor& c = at(i);
  if (c.kind() == db::TagKind::Real || c.kind() == db::TagKind::Int) return c.number();
  return 0.0;
}

geom::Vec3 Groups::pointAt(size_t i) const {
  const db::TagCursor& c = at(i);
  if (c.kind() == db::TagKind::Point2 || c.kind() == db::TagKind::Point3) return toVec(c.point());
  return {};
}

double Groups::real(int code, double dflt) const {
  size_t i = find(code);
  return i < size() ? number(i) : dflt;
}

int64_t Groups::integer(int code, int64_t dflt) const {
  size_t i = find(code);
  if (i >= size()) return dflt;
  const db::TagCursor& c = at(i);
  return c.kind() == db::TagKind::Int ? c.integer() : int64_t(c.number());
}

geom::Vec3 Groups::point(int code, const geom::Vec3& dflt) const {
  size_t i = find(code);
  return i < size() ? pointAt(i) : dflt;
}

std::string_view Groups::str(int code, std::string_view dflt) const {
  size_t i = find(code);
  if (i >= size() || at(i).kind() != db::TagKind::String) return dflt;
  return at(i).str();
}

geom::Vec3 Groups::normal() const {
  geom::Vec3 n = point(210, geom::kZAxis);
  return (n.lengthSquared() > 0.0 && n.isFinite()) ? n.normalized() : geom::kZAxis;
}

std::vector<geom::Vec3> Groups::points(int code) const {
  std::vector<geom::Vec3> out;
  for (size_t i = find(code); i < size(); i = find(code, i + 1)) out.push_back(pointAt(i));
  return out;
}

geom::Vec3 toVec(const db::Point3& p) { return {p.x, p.y, p.z}; }
db::Point3 toPoint(const geom::Vec3& v) { return {v.x, v.y, v.z}; }
double degrees(double r) { return r * 180.0 / geom::kPi; }
double radians(double d) { return d * geom::kPi / 180.0; }

}  // namespace tarn::entgeom
