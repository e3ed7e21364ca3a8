// Filter tests on entities, with the quick path for plain groups.
#include "entity_probe.h"

#include <algorithm>

#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcutapi.h>

#include "api/entity_list.h"

namespace tarn::editor {
namespace {

// Groups the quick list can carry: values stored in the tags as they are.
bool quickGroup(int code) {
  if (code < 0) return false;
  tc_value_kind k = tcValueKind(code);
  return k != TC_KIND_NAME && k != TC_KIND_BINARY && k != TC_KIND_NONE && code != 5 && code != 105;
}

}  // namespace

int EntityProbe::setFilter(const resbuf* filterList) {
  if (select::Filter::compile(filterList, filter_) != RTNORM) return RTERROR;
  empty_ = filter_.empty();
  restEmpty_ = empty_;
  quick_ = true;
  codes_.clear();
  typeVerdict_.clear();
  bool operators = false;
  const char* typeText = nullptr;
  int typeGroups = 0;
  for (const resbuf* rb = filterList; rb; rb = rb->rbnext) {
    if (rb->restype == 0 || rb->restype == RTDXF0) typeText = rb->resval.rstring, ++typeGroups;
    if (rb->restype == -4) operators = true;
    if (rb->restype == -4) continue;
    int code = rb->restype == RTDXF0 ? 0 : rb->restype;
    if (!quickGroup(code)) quick_ = false;
    codes_.push_back(code);
  }
  typeGate_ = !operators && typeGroups == 1 && typeText;
  if (typeGate_) {
    // The gate decides the type once per type: the rest of the filter runs
    // without its group 0.
    typePattern_ = select::Wildcard::compile(typeText);
    if (compileWithoutType(filterList) != RTNORM) return RTERROR;
    std::erase(codes_, 0);
  }
  int highest = codes_.empty() ? -1 : *std::max_element(codes_.begin(), codes_.end());
  wanted_.assign(size_t(highest + 1), 0);
  for (int code : codes_)
    if (code >= 0) wanted_[size_t(code)] = 1;
  return RTNORM;
}

int EntityProbe::compileWithoutType(const resbuf* filterList) {
  std::vector<resbuf> rest;
  for (const resbuf* rb = filterList; rb; rb = rb->rbnext)
    if (rb->restype != 0 && rb->restype != RTDXF0) rest.push_back(*rb);
  for (size_t i = 0; i < rest.size(); ++i) rest[i].rbnext = i + 1 < rest.size() ? &rest[i + 1] : nullptr;
  restEmpty_ = rest.empty();
  return select::Filter::compile(rest.empty() ? nullptr : rest.data(), filter_);
}

bool EntityProbe::typeMayPass(const db::Database& db, uint32_t id) {
  uint16_t type = db.object(id).type;
  if (type >= typeVerdict_.size()) typeVerdict_.resize(type + 1u, -1);
  if (typeVerdict_[type] < 0) typeVerdict_[type] = typePattern_.matches(db.typeOf(id)) ? 1 : 0;
  return typeVerdict_[type] == 1;
}

bool EntityProbe::passes(const db::Database& db, uint32_t id) {
  if (empty_) return true;
  if (typeGate_ && !typeMayPass(db, id)) return false;
  if (restEmpty_) return true;
  if (quick_) return passesQuick(db, id);
  resbuf* list = host::buildEntityList(db, id, nullptr);
  bool ok = list && filter_.matches(list);
  tcutRelRb(list);
  return ok;
}

void EntityProbe::addTag(const db::TagCursor& c) {
  if (used_ == nodes_.size()) nodes_.resize(nodes_.size() * 2 + 8);
  resbuf& rb = nodes_[used_];
  rb = resbuf{};
  rb.restype = short(c.code());
  bool textGroup = tcValueKind(c.code()) == TC_KIND_STRING;
  if ((c.kind() == db::TagKind::String) != textGroup) return;  // not stored as the list carries it
  switch (c.kind()) {
    case db::TagKind::String:
      textOf_.emplace_back(used_, texts_.size());
      texts_ += c.str();
      texts_ += '\0';
      break;
    case db::TagKind::Real: rb.resval.rreal = c.real(); break;
    case db::TagKind::Point2:
    case db::TagKind::Point3: {
      db::Point3 p = c.point();
      rb.resval.rpoint[0] = p.x, rb.resval.rpoint[1] = p.y, rb.resval.rpoint[2] = p.z;
      break;
    }
    case db::TagKind::Int: {
      tc_value_kind k = tcValueKind(c.code());
      if (k == TC_KIND_SHORT) rb.resval.rint = short(c.integer());
      else if (k == TC_KIND_LONG) rb.resval.rlong = int32_t(c.integer());
      else rb.resval.mnInt64 = c.integer();
      break;
    }
    case db::TagKind::Handle: return;
  }
  ++used_;
}

bool EntityProbe::passesQuick(const db::Database& db, uint32_t id) {
  used_ = 0;
  texts_.clear();
  textOf_.clear();
  if (nodes_.empty()) nodes_.resize(16);
  if (!typeGate_) {  // the type as group 0, as entity lists start
    textOf_.emplace_back(0, 0);
    texts_ += db.typeOf(id);
    texts_ += '\0';
    nodes_[0] = resbuf{};
    used_ = 1;
  }
  for (auto c = db.tags(id); !c.done(); c.next())
    if (unsigned(c.code()) < wanted_.size() && wanted_[unsigned(c.code())]) addTag(c);
  if (used_ == 0) return filter_.matches(nullptr);
  // The texts are in place now: point their buffers at them.
  for (auto [node, offset] : textOf_) nodes_[node].resval.rstring = texts_.data() + offset;
  for (size_t i = 0; i + 1 < used_; ++i) nodes_[i].rbnext = &nodes_[i + 1];
  nodes_[used_ - 1].rbnext = nullptr;
  return filter_.matches(nodes_.data());
}

}  // namespace tarn::editor
