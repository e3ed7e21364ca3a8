// Groups: a named (or anonymous) ordered set of entities. Members carry a
// persistent reactor to their group, as readers of the file expect.
#include <algorithm>

#include "properties.h"

using namespace tarn;
using namespace tarn::objects;
using db::Tag;
using db::TagList;

namespace {

const Property kDescription{300, Kind::Text};
const Property kUnnamed{70, Kind::Int};
const Property kSelectable{71, Kind::Int, 0, 1};
constexpr int kMember = 340;

std::vector<uint64_t> memberHandles(const TagList& tags) {
  std::vector<uint64_t> out;
  for (size_t i = 0; i < ownEnd(tags); ++i)
    if (tags[i].code == kMember && tags[i].kind == db::TagKind::Handle) out.push_back(tags[i].asHandle());
  return out;
}

// The drawing and index of an entity to be a member, or false.
bool memberOf(const TcDbObjectImpl& g, TcDbObjectId id, uint32_t& index) {
  db::Database* d;
  if (!resolve(id, d, index) || d != databaseFor(g)) return false;
  return (d->object(index).flags & db::kEntity) && !(d->object(index).flags & db::kSubEntity);
}

}  // namespace

namespace tarn::objects {

void syncGroupMembers(db::Database& d, uint32_t group, const TagList& before, const TagList& after) {
  std::vector<uint64_t> was = memberHandles(before), now = memberHandles(after);
  uint64_t self = d.object(group).handle;
  for (uint64_t h : now)
    if (std::find(was.begin(), was.end(), h) == was.end() && d.findHandle(h) != db::kNoObject)
      addReactor(d, d.findHandle(h), self);
  for (uint64_t h : was)
    if (std::find(now.begin(), now.end(), h) == now.end() && d.findHandle(h) != db::kNoObject)
      removeReactor(d, d.findHandle(h), self);
}

}  // namespace tarn::objects

TcDbGroup::TcDbGroup() : TcDbObject("GROUP") {
  implOf(*this).main.tags = {Tag::str(300, ""), Tag::integer(70, 0), Tag::integer(71, 1)};
}

std::string TcDbGroup::name() const {
  const TcDbObjectImpl& o = implOf(*this);
  if (!o.db) return {};
  TcDbObjectId owner = ownerId();
  if (owner.isNull() || o.db->typeOf(owner.index()) != "DICTIONARY") return {};
  TagList dict = o.db->tagList(owner.index());
  uint64_t self = o.db->object(o.main.id).handle;
  for (size_t i = 1; i < dict.size(); ++i)
    if ((dict[i].code == 350 || dict[i].code == 360) && dict[i - 1].code == 3 && dict[i].asHandle() == self)
      return dict[i - 1].s;
  return {};
}

std::string TcDbGroup::description() const { return getText(*this, kDescription); }
TcDb::ErrorStatus TcDbGroup::setDescription(std::string_view t) { return setText(*this, kDescription, t); }
bool TcDbGroup::isSelectable() const { return getInt(*this, kSelectable) != 0; }
TcDb::ErrorStatus TcDbGroup::setSelectable(bool on) { return setInt(*this, kSelectable, on ? 1 : 0); }
bool TcDbGroup::isAnonymous() const { return getInt(*this, kUnnamed) != 0; }
TcDb::ErrorStatus TcDbGroup::setAnonymous() { return setInt(*this, kUnnamed, 1); }

TcDbObjectIdArray TcDbGroup::allEntityIds() const {
  const TcDbObjectImpl& o = implOf(*this);
  const db::Database* d = databaseFor(o);
  TcDbObjectIdArray out;
  if (!d) return out;
  for (uint64_t h : memberHandles(o.main.tags))
    if (TcDbObjectId id = idOfHandle(*d, h); !id.isNull()) out.push_back(id);
  return out;
}

bool TcDbGroup::has(TcDbObjectId entity) const {
  TcDbObjectIdArray ids = allEntityIds();
  return std::find(ids.begin(), ids.end(), entity) != ids.end();
}

uint32_t TcDbGroup::numEntities() const { return uint32_t(allEntityIds().size()); }

TcDb::ErrorStatus TcDbGroup::append(TcDbObjectId entity) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  uint32_t index;
  if (!memberOf(o, entity, index)) return TcDb::eInvalidInput;
  if (has(entity)) return TcDb::eDuplicateKey;
  o.main.tags.insert(o.main.tags.begin() + long(ownEnd(o.main.tags)),
                     Tag::handle(kMember, databaseFor(o)->object(index).handle));
  o.main.dirty = true;
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbGroup::append(const TcDbObjectIdArray& entities) {
  for (TcDbObjectId id : entities) {
    uint32_t index;
    if (!memberOf(implOf(*this), id, index)) return TcDb::eInvalidInput;  // all or nothing
  }
  for (TcDbObjectId id : entities)
    if (TcDb::ErrorStatus es = append(id); es != TcDb::eOk && es != TcDb::eDuplicateKey) return es;
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbGroup::remove(TcDbObjectId entity) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  const db::Database* d = databaseFor(o);
  TagList& tags = o.main.tags;
  for (size_t i = 0; d && i < ownEnd(tags); ++i) {
    if (tags[i].code != kMember || idOfHandle(*d, tags[i].asHandle()) != entity) continue;
    tags.erase(tags.begin() + long(i));
    o.main.dirty = true;
    return TcDb::eOk;
  }
  return TcDb::eKeyNotFound;
}

TcDb::ErrorStatus TcDbGroup::clear() {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  removeOwn(o.main.tags, kMember);
  o.main.dirty = true;
  return TcDb::eOk;
}
