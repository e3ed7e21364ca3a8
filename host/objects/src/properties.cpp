// Reading and writing object values through their property rows.
#include "properties.h"

#include <numbers>

namespace tarn::objects {
namespace {

using db::Tag;
using db::TagKind;

constexpr double kDegree = std::numbers::pi / 180.0;

const db::Tag* found(const TagCopy& c, const Property& p) { return findOwn(c.tags, p.code); }

double realOf(const Tag& t) { return t.kind == TagKind::Int ? double(t.i) : t.p.x; }

int64_t intOf(const Tag& t) { return t.kind == TagKind::Real ? int64_t(t.p.x) : t.i; }

TcGePoint3d pointOf(const Tag* t, const Property& p) {
  if (!t) return p.point;
  return {t->p.x, t->p.y, t->kind == TagKind::Point2 ? 0.0 : t->p.z};
}

// Stores one group into a copy of the object's groups.
TcDb::ErrorStatus store(TcDbObject& o, TagCopy TcDbObjectImpl::*which, const Tag& t) {
  TcDbObjectImpl& impl = implOf(o);
  if (TcDb::ErrorStatus es = writable(impl); es != TcDb::eOk) return es;
  TagCopy& copy = impl.*which;
  std::string_view type = which == &TcDbObjectImpl::begin ? std::string_view("BLOCK") : impl.type;
  setOwn(type, copy.tags, t);
  copy.dirty = true;
  return TcDb::eOk;
}

Tag pointTag(const TagCopy& c, int code, double x, double y, double z) {
  const Tag* old = findOwn(c.tags, code);
  bool flat = old && old->kind == TagKind::Point2 && z == 0.0;
  return Tag::point(code, {x, y, z}, !flat);
}

}  // namespace

std::string getText(const TcDbObject& o, const Property& p) {
  const Tag* t = found(implOf(o).main, p);
  return t && t->kind == TagKind::String ? t->s : std::string(p.text);
}

double getReal(const TcDbObject& o, const Property& p) {
  const Tag* t = found(implOf(o).main, p);
  if (!t) return p.real;
  return p.kind == Kind::Angle ? realOf(*t) * kDegree : realOf(*t);
}

int64_t getInt(const TcDbObject& o, const Property& p) {
  const Tag* t = found(implOf(o).main, p);
  return t ? intOf(*t) : p.integer;
}

TcGePoint3d getPoint(const TcDbObject& o, const Property& p) { return pointOf(found(implOf(o).main, p), p); }

TcGeVector3d getVector(const TcDbObject& o, const Property& p) {
  TcGePoint3d v = pointOf(found(implOf(o).main, p), p);
  return {v.x, v.y, v.z};
}

bool getBit(const TcDbObject& o, const Property& p, int64_t bit) { return (getInt(o, p) & bit) != 0; }

TcDb::ErrorStatus setText(TcDbObject& o, const Property& p, std::string_view v) {
  return store(o, &TcDbObjectImpl::main, Tag::str(p.code, v));
}

TcDb::ErrorStatus setReal(TcDbObject& o, const Property& p, double v) {
  return store(o, &TcDbObjectImpl::main, Tag::real(p.code, p.kind == Kind::Angle ? v / kDegree : v));
}

TcDb::ErrorStatus setInt(TcDbObject& o, const Property& p, int64_t v) {
  return store(o, &TcDbObjectImpl::main, Tag::integer(p.code, v));
}

TcDb::ErrorStatus setPoint(TcDbObject& o, const Property& p, const TcGePoint3d& v) {
  return store(o, &TcDbObjectImpl::main, pointTag(implOf(o).main, p.code, v.x, v.y, v.z));
}

TcDb::ErrorStatus setVector(TcDbObject& o, const Property& p, const TcGeVector3d& v) {
  if (v.x == 0.0 && v.y == 0.0 && v.z == 0.0) return TcDb::eInvalidInput;  // exact: a null vector has no direction
  return store(o, &TcDbObjectImpl::main, Tag::point(p.code, {v.x, v.y, v.z}));
}

TcDb::ErrorStatus setBit(TcDbObject& o, const Property& p, int64_t bit, bool on) {
  int64_t flags = getInt(o, p);
  return setInt(o, p, on ? (flags | bit) : (flags & ~bit));
}

int64_t getBeginInt(const TcDbObject& o, const Property& p) {
  const Tag* t = found(implOf(o).begin, p);
  return t ? intOf(*t) : p.integer;
}

TcGePoint3d getBeginPoint(const TcDbObject& o, const Property& p) { return pointOf(found(implOf(o).begin, p), p); }

TcDb::ErrorStatus setBeginPoint(TcDbObject& o, const Property& p, const TcGePoint3d& v) {
  if (implOf(o).begin.id == db::kNoObject && implOf(o).resident()) return TcDb::eNotApplicable;
  return store(o, &TcDbObjectImpl::begin, pointTag(implOf(o).begin, p.code, v.x, v.y, v.z));
}

}  // namespace tarn::objects
