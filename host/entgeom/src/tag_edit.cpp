// TagEditor: group lookup and replacement in a decoded tag list.
#include "tag_edit.h"

#include "api/entity_list.h"
#include "db/subclasses.h"
#include "groups.h"

namespace tarn::entgeom {

TagEditor::TagEditor(std::string_view type, db::TagList& tags)
    : type_(type), tags_(tags), end_(host::xdataStart(tags)) {}

size_t TagEditor::find(int code, size_t from) const {
  for (size_t i = from; i < end_; ++i)
    if (tags_[i].code == code) return i;
  return end_;
}

double TagEditor::real(int code, double dflt) const {
  size_t i = find(code);
  return i < end_ ? tags_[i].asReal() : dflt;
}

int64_t TagEditor::integer(int code, int64_t dflt) const {
  size_t i = find(code);
  if (i >= end_) return dflt;
  return tags_[i].kind == db::TagKind::Int ? tags_[i].i : int64_t(tags_[i].p.x);
}

geom::Vec3 TagEditor::point(int code, const geom::Vec3& dflt) const {
  size_t i = find(code);
  return i < end_ ? toVec(tags_[i].p) : dflt;
}

geom::Vec3 TagEditor::normal() const {
  geom::Vec3 n = point(210, geom::kZAxis);
  return n.lengthSquared() > 0.0 && n.isFinite() ? n.normalized() : geom::kZAxis;
}

void TagEditor::put(const db::Tag& t) {
  size_t i = find(t.code);
  if (i < end_) {
    tags_[i] = t;
    return;
  }
  size_t before = tags_.size();
  db::insertGroup(type_, tags_, t);
  end_ += tags_.size() - before;
}

void TagEditor::setReal(int code, double v) { put(db::Tag::real(code, v)); }
void TagEditor::setInt(int code, int64_t v) { put(db::Tag::integer(code, v)); }
void TagEditor::setPoint(int code, const geom::Vec3& v) {
  size_t i = find(code);
  bool is3d = i >= end_ || tags_[i].kind != db::TagKind::Point2;
  put(db::Tag::point(code, toPoint(v), is3d));
}

}  // namespace tarn::entgeom
