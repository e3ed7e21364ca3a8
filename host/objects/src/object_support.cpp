// Helpers shared by the object classes: ids, handles, an object's own groups,
// persistent reactors, blocks of records.
#include <algorithm>
#include <charconv>

#include "api/host_state.h"
#include "db/subclasses.h"
#include "object_impl.h"

namespace tarn::objects {

using db::Tag;
using db::TagList;

TcDbObjectId idOf(const db::Database& d, uint32_t index) {
  return index == db::kNoObject ? TcDbObjectId() : TcDbObjectId(d.serial(), index);
}

bool resolve(TcDbObjectId id, db::Database*& d, uint32_t& index) {
  if (id.isNull()) return false;
  d = host::databaseBySerial(id.serial());
  index = id.index();
  return d && d->valid(index);
}

TcDbObjectId idOfHandle(const db::Database& d, uint64_t handle) { return idOf(d, d.findHandle(handle)); }

std::string hexHandle(uint64_t h) {
  if (!h) return {};
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, h, 16);
  std::string s(buf, r.ptr);
  std::transform(s.begin(), s.end(), s.begin(), [](char c) { return char(std::toupper(static_cast<unsigned char>(c))); });
  return s;
}

TcDb::ErrorStatus writable(const TcDbObjectImpl& o) {
  if (!o.db && o.main.id == db::kNoObject) return TcDb::eOk;  // a new object, not yet in a drawing
  return o.open && o.mode == TcDb::kForWrite ? TcDb::eOk : TcDb::eNotOpenForWrite;
}

size_t ownEnd(const TagList& tags) {
  for (size_t i = 0; i < tags.size(); ++i)
    if (tags[i].code >= 1000) return i;
  return tags.size();
}

namespace {
template <class List>
auto firstOwn(List& tags, int code) -> decltype(&tags[0]) {
  bool inGroup = false;
  size_t end = ownEnd(tags);
  for (size_t i = 0; i < end; ++i) {
    if (tags[i].code == 102) inGroup = !tags[i].s.empty() && tags[i].s[0] == '{';
    else if (!inGroup && tags[i].code == code) return &tags[i];
  }
  return nullptr;
}
}  // namespace

const Tag* findOwn(const TagList& tags, int code) { return firstOwn(tags, code); }
Tag* findOwn(TagList& tags, int code) { return firstOwn(tags, code); }

void setOwn(std::string_view type, TagList& tags, const Tag& t) {
  if (Tag* old = findOwn(tags, t.code)) *old = t;
  else db::insertGroup(type, tags, t);
}

void removeOwn(TagList& tags, int code) {
  while (Tag* t = findOwn(tags, code)) tags.erase(tags.begin() + (t - tags.data()));
}

namespace {
// Where the reactor group opens and closes, or (npos, npos).
std::pair<size_t, size_t> reactorGroup(const TagList& tags) {
  for (size_t i = 0; i < tags.size() && tags[i].code != 100; ++i) {
    if (tags[i].code != 102 || tags[i].s != "{ACAD_REACTORS") continue;
    size_t j = i + 1;
    while (j < tags.size() && tags[j].code != 102) ++j;
    return {i, j};
  }
  return {std::string::npos, std::string::npos};
}
}  // namespace

void addReactor(db::Database& d, uint32_t id, uint64_t reactor) {
  TagList tags = d.tagList(id);
  auto [open, close] = reactorGroup(tags);
  if (open == std::string::npos) {
    size_t at = 0;  // after the handle
    while (at < tags.size() && (tags[at].code == 5 || tags[at].code == 105)) ++at;
    tags.insert(tags.begin() + long(at), {Tag::str(102, "{ACAD_REACTORS"), Tag::handle(330, reactor), Tag::str(102, "}")});
  } else {
    for (size_t i = open + 1; i < close; ++i)
      if (tags[i].asHandle() == reactor) return;
    tags.insert(tags.begin() + long(close), Tag::handle(330, reactor));
  }
  d.replaceTags(id, tags);
}

void removeReactor(db::Database& d, uint32_t id, uint64_t reactor) {
  TagList tags = d.tagList(id);
  auto [open, close] = reactorGroup(tags);
  if (open == std::string::npos) return;
  for (size_t i = open + 1; i < close; ++i) {
    if (tags[i].code != 330 || tags[i].asHandle() != reactor) continue;
    tags.erase(tags.begin() + long(i));
    if (close - open == 2) tags.erase(tags.begin() + long(open), tags.begin() + long(open) + 2);  // now empty
    d.replaceTags(id, tags);
    return;
  }
}

uint32_t blockOfRecord(const db::Database& d, uint32_t record) {
  for (uint32_t b = 0; b < d.blocks().size(); ++b)
    if (d.blocks()[b].record == record) return b;
  return db::kNoObject;
}

}  // namespace tarn::objects
