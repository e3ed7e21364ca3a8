// What every object has: id, handle, owner, type, open state, erasure, its
// extension dictionary and its extended data; and adding a new object to a
// drawing.
#include <tarnsdk/tcutapi.h>

#include "api/entity_edit.h"
#include "api/host_state.h"
#include "db/subclasses.h"
#include "object_impl.h"

using namespace tarn;
using namespace tarn::objects;
using db::Tag;
using db::TagList;

TcDbObject::TcDbObject(const char* type) : impl_(new TcDbObjectImpl) { impl_->type = type; }
TcDbObject::~TcDbObject() { delete impl_; }

TcDbObjectId TcDbObject::objectId() const { return impl_->db ? idOf(*impl_->db, impl_->main.id) : TcDbObjectId(); }

TcDbObjectId TcDbObject::ownerId() const {
  if (!impl_->db) return {};
  return idOfHandle(*impl_->db, impl_->db->object(impl_->main.id).ownerHandle);
}

std::string TcDbObject::handle() const { return impl_->db ? hexHandle(impl_->db->object(impl_->main.id).handle) : ""; }
std::string TcDbObject::typeName() const { return impl_->type; }
TcDbDatabase* TcDbObject::database() const { return impl_->db ? viewOf(impl_->db->serial()) : nullptr; }
bool TcDbObject::isNewObject() const { return impl_->main.id == db::kNoObject; }
bool TcDbObject::isReadEnabled() const { return impl_->open; }
bool TcDbObject::isWriteEnabled() const { return impl_->open && impl_->mode == TcDb::kForWrite; }

TcDb::ErrorStatus TcDbObject::close() {
  if (isNewObject()) return TcDb::eNotInDatabase;
  endOpen(*impl_);
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbObject::upgradeOpen() { return upgrade(*impl_); }
TcDb::ErrorStatus TcDbObject::downgradeOpen() { return downgrade(*impl_); }

bool TcDbObject::isErased() const {
  if (impl_->erase) return *impl_->erase;
  return impl_->db && impl_->db->isErased(impl_->main.id);
}

namespace {

// Objects whose erasure would break the drawing: tables, block records
// (their blocks hold entities), the named-object dictionary, layer "0" and
// the current layer.
bool mayErase(const TcDbObjectImpl& o) {
  const db::Database& d = *o.db;
  if (o.type == "TABLE" || o.type == "BLOCK_RECORD" || o.main.id == d.rootDictionary()) return false;
  if (o.type != "LAYER") return true;
  std::string_view name = db::findString(d, o.main.id, 2);
  const TagList* current = d.headerVar("$CLAYER");
  bool isCurrent = current && !current->empty() && db::equalsNoCase(current->front().s, name);
  return name != "0" && !isCurrent;
}

}  // namespace

TcDb::ErrorStatus TcDbObject::erase(bool erasing) {
  if (isNewObject() || !impl_->db) return TcDb::eNotInDatabase;
  if (TcDb::ErrorStatus es = writable(*impl_); es != TcDb::eOk) return es;
  if (erasing && !mayErase(*impl_)) return TcDb::eNotApplicable;
  if (impl_->db->object(impl_->main.id).flags & db::kSubEntity) return TcDb::eNotApplicable;
  impl_->erase = erasing;
  return TcDb::eOk;
}

// ---- extension dictionary

namespace {

size_t afterHandleAndReactors(const TagList& tags) {
  size_t at = 0;
  while (at < tags.size() && (tags[at].code == 5 || tags[at].code == 105)) ++at;
  if (at < tags.size() && tags[at].code == 102 && tags[at].s == "{ACAD_REACTORS") {
    while (at < tags.size() && !(tags[at].code == 102 && tags[at].s == "}")) ++at;
    ++at;
  }
  return at;
}

const Tag* extensionDictionaryTag(const TagList& tags) {
  for (size_t i = 0; i + 1 < tags.size() && tags[i].code != 100; ++i)
    if (tags[i].code == 102 && tags[i].s == "{ACAD_XDICTIONARY" && tags[i + 1].code == 360) return &tags[i + 1];
  return nullptr;
}

// A new object in the OBJECTS section owned (and reacted to) by `owner`.
uint32_t addOwnedObject(db::Database& d, std::string_view type, uint64_t owner, TagList body) {
  TagList tags = {Tag::handle(5, d.allocateHandle()), Tag::str(102, "{ACAD_REACTORS"), Tag::handle(330, owner),
                  Tag::str(102, "}"), Tag::handle(330, owner)};
  db::addSubclassMarkers(type, body);
  tags.insert(tags.end(), body.begin(), body.end());
  uint32_t id = d.addObject(type, tags, 0);
  d.objectsSection().push_back(id);
  return id;
}

}  // namespace

TcDbObjectId TcDbObject::extensionDictionary() const {
  const Tag* t = extensionDictionaryTag(impl_->main.tags);
  return t && impl_->db ? idOfHandle(*impl_->db, t->asHandle()) : TcDbObjectId();
}

TcDb::ErrorStatus TcDbObject::createExtensionDictionary() {
  if (isNewObject() || !impl_->db) return TcDb::eNotInDatabase;
  if (TcDb::ErrorStatus es = writable(*impl_); es != TcDb::eOk) return es;
  if (extensionDictionaryTag(impl_->main.tags)) return TcDb::eOk;
  db::Database& d = *impl_->db;
  uint32_t dict = addOwnedObject(d, "DICTIONARY", d.object(impl_->main.id).handle, {Tag::integer(280, 1), Tag::integer(281, 1)});
  TagList& tags = impl_->main.tags;
  tags.insert(tags.begin() + long(afterHandleAndReactors(tags)),
              {Tag::str(102, "{ACAD_XDICTIONARY"), Tag::handle(360, d.object(dict).handle), Tag::str(102, "}")});
  impl_->main.dirty = true;
  return TcDb::eOk;
}

// ---- extended data

namespace {

// The groups of one application's extended data, from its 1001 on.
TagList appBlock(const TagList& tags, size_t& at) {
  size_t end = at + 1;
  while (end < tags.size() && tags[end].code != 1001) ++end;
  TagList out(tags.begin() + long(at), tags.begin() + long(end));
  at = end;
  return out;
}

void replaceApp(TagList& tags, const TagList& block) {
  for (size_t i = ownEnd(tags); i < tags.size();) {
    size_t start = i;
    TagList old = appBlock(tags, i);
    if (!db::equalsNoCase(old.front().s, block.front().s)) continue;
    tags.erase(tags.begin() + long(start), tags.begin() + long(i));
    i = start;
  }
  if (block.size() > 1) tags.insert(tags.end(), block.begin(), block.end());
}

}  // namespace

struct resbuf* TcDbObject::xData(const char* appName) const {
  const TagList& tags = impl_->main.tags;
  TagList wanted;
  for (size_t i = ownEnd(tags); i < tags.size();) {
    TagList block = appBlock(tags, i);
    if (!appName || db::equalsNoCase(block.front().s, appName)) wanted.insert(wanted.end(), block.begin(), block.end());
  }
  return wanted.empty() ? nullptr : tagsToChain(impl_->db, wanted);
}

TcDb::ErrorStatus TcDbObject::setXData(const struct resbuf* chain) {
  if (TcDb::ErrorStatus es = writable(*impl_); es != TcDb::eOk) return es;
  db::Database* d = databaseFor(*impl_);
  if (!d) return TcDb::eNoDatabase;
  TagList given;
  if (!chainToTags(*d, chain, given) || given.empty() || given.front().code != 1001) return TcDb::eInvalidInput;
  for (const Tag& t : given) {
    if (t.code < 1000) return TcDb::eInvalidInput;
    if (t.code == 1001 && d->findRecord("APPID", t.s) == db::kNoObject) return TcDb::eRegappIdNotFound;
  }
  for (size_t i = 0; i < given.size();) replaceApp(impl_->main.tags, appBlock(given, i));
  impl_->main.dirty = true;
  return TcDb::eOk;
}

// ---- adding new objects

TcDb::ErrorStatus tarn::objects::addToDatabase(TcDbObject& o, db::Database& d, uint64_t ownerHandle, uint32_t block) {
  TcDbObjectImpl& impl = implOf(o);
  if (!o.isNewObject()) return TcDb::eAlreadyInDb;
  TagList body = impl.main.tags;
  db::addSubclassMarkers(impl.type, body);
  if (!host::checkReferences(d, body)) return TcDb::eInvalidInput;
  TagList tags = {Tag::handle(5, d.allocateHandle())};
  if (block == db::kNoObject) {
    tags.insert(tags.end(), {Tag::str(102, "{ACAD_REACTORS"), Tag::handle(330, ownerHandle), Tag::str(102, "}")});
  }
  tags.push_back(Tag::handle(330, ownerHandle));
  tags.insert(tags.end(), body.begin(), body.end());
  bool entity = block != db::kNoObject;
  uint32_t id = d.addObject(impl.type, tags, entity ? db::kEntity : 0);
  if (entity) d.appendToBlock(block, id);
  else d.objectsSection().push_back(id);
  impl.db = &d;
  impl.main = {id, tags, false};
  if (impl.type == "GROUP") syncGroupMembers(d, id, {}, tags);
  adoptOpen(&o);
  return TcDb::eOk;
}
