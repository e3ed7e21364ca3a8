// Small edits of tag lists: finding, reading and replacing groups before the
// extended data.
#pragma once

#include <string_view>

#include "db/tags.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

class TagEditor {
 public:
  TagEditor(std::string_view type, db::TagList& tags);
  db::TagList& tags() { return tags_; }
  const db::TagList& tags() const { return tags_; }
  size_t end() const { return end_; }
  size_t find(int code, size_t from = 0) const;
  bool has(int code) const { return find(code) < end_; }
  double real(int code, double dflt) const;
  int64_t integer(int code, int64_t dflt) const;
  geom::Vec3 point(int code, const geom::Vec3& dflt = {}) const;
  geom::Vec3 normal() const;

  // Replaces the first group with this code, or adds it where it belongs.
  void setReal(int code, double v);
  void setInt(int code, int64_t v);
  void setPoint(int code, const geom::Vec3& v);

 private:
  void put(const db::Tag& t);
  std::string_view type_;
  db::TagList& tags_;
  size_t end_;
};

}  // namespace tarn::entgeom
