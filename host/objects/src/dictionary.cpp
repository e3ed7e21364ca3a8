// Dictionaries (named entries of objects, nested as needed) and xrecords
// (a chain of groups kept in the drawing).
#include "object_impl.h"

using namespace tarn;
using namespace tarn::objects;
using db::Tag;
using db::TagList;

namespace {

bool isEntryTag(const TagList& tags, size_t i) {
  return i > 0 && (tags[i].code == 350 || tags[i].code == 360) && tags[i - 1].code == 3;
}

// Index of the entry's handle group, or npos.
size_t findEntry(const TagList& tags, std::string_view name) {
  for (size_t i = 1; i < ownEnd(tags); ++i)
    if (isEntryTag(tags, i) && db::equalsNoCase(tags[i - 1].s, name)) return i;
  return std::string::npos;
}

bool isGroupDictionary(const TcDbObjectImpl& o) {
  if (!o.db || o.db->rootDictionary() == db::kNoObject) return false;
  TagList root = o.db->tagList(o.db->rootDictionary());
  size_t at = findEntry(root, "ACAD_GROUP");
  return at != std::string::npos && root[at].asHandle() == o.db->object(o.main.id).handle;
}

std::string nextAnonymousName(const TcDbDictionary& dict) {
  for (int n = 1;; ++n) {
    std::string name = "*U" + std::to_string(n);
    if (!dict.has(name)) return name;
  }
}

// The object no longer belongs to the dictionary.
void disown(db::Database& d, uint32_t id, uint64_t dictionary) {
  removeReactor(d, id, dictionary);
  TagList tags = d.tagList(id);
  if (Tag* owner = findOwn(tags, 330); owner && owner->asHandle() == dictionary) {
    owner->i = 0;
    d.replaceTags(id, tags);
  }
}

}  // namespace

TcDbDictionary::TcDbDictionary() : TcDbObject("DICTIONARY") { implOf(*this).main.tags = {Tag::integer(281, 1)}; }

std::vector<std::pair<std::string, TcDbObjectId>> TcDbDictionary::entries() const {
  const TcDbObjectImpl& o = implOf(*this);
  std::vector<std::pair<std::string, TcDbObjectId>> out;
  for (size_t i = 1; i < ownEnd(o.main.tags); ++i)
    if (isEntryTag(o.main.tags, i))
      out.emplace_back(o.main.tags[i - 1].s, o.db ? idOfHandle(*o.db, o.main.tags[i].asHandle()) : TcDbObjectId());
  return out;
}

TcDb::ErrorStatus TcDbDictionary::getAt(std::string_view name, TcDbObjectId& id) const {
  const TcDbObjectImpl& o = implOf(*this);
  size_t at = findEntry(o.main.tags, name);
  id = at == std::string::npos || !o.db ? TcDbObjectId() : idOfHandle(*o.db, o.main.tags[at].asHandle());
  return id.isNull() ? TcDb::eKeyNotFound : TcDb::eOk;
}

bool TcDbDictionary::has(std::string_view name) const { return findEntry(implOf(*this).main.tags, name) != std::string::npos; }

uint32_t TcDbDictionary::numEntries() const { return uint32_t(entries().size()); }

std::string TcDbDictionary::nameAt(TcDbObjectId id) const {
  for (auto& [name, entry] : entries())
    if (entry == id) return name;
  return {};
}

TcDb::ErrorStatus TcDbDictionary::setAt(std::string_view name, TcDbObject* object, TcDbObjectId& id) {
  id = {};
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  if (!o.db) return TcDb::eNotInDatabase;
  if (!object || name.empty()) return TcDb::eInvalidInput;
  if (!object->isNewObject()) return TcDb::eAlreadyInDb;
  std::string key(name);
  bool anonymous = key[0] == '*' && isGroupDictionary(o) && implOf(*object).type == "GROUP";
  if (anonymous) {
    key = nextAnonymousName(*this);
    setOwn("GROUP", implOf(*object).main.tags, Tag::integer(70, 1));
  } else if (has(key)) {
    return TcDb::eDuplicateKey;
  }
  if (TcDb::ErrorStatus es = addToDatabase(*object, *o.db, o.db->object(o.main.id).handle, db::kNoObject); es != TcDb::eOk)
    return es;
  TagList& tags = o.main.tags;
  tags.insert(tags.begin() + long(ownEnd(tags)), {Tag::str(3, key), Tag::handle(350, o.db->object(object->objectId().index()).handle)});
  o.main.dirty = true;
  id = object->objectId();
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbDictionary::remove(std::string_view name) {
  TcDbObjectId removed;
  return remove(name, removed);
}

TcDb::ErrorStatus TcDbDictionary::remove(std::string_view name, TcDbObjectId& removed) {
  removed = {};
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  size_t at = findEntry(o.main.tags, name);
  if (at == std::string::npos || !o.db) return TcDb::eKeyNotFound;
  removed = idOfHandle(*o.db, o.main.tags[at].asHandle());
  o.main.tags.erase(o.main.tags.begin() + long(at) - 1, o.main.tags.begin() + long(at) + 1);
  o.main.dirty = true;
  if (!removed.isNull()) disown(*o.db, removed.index(), o.db->object(o.main.id).handle);
  return TcDb::eOk;
}

// ---- xrecords

namespace {

// Where the data start: after the subclass marker and its cloning flag.
size_t dataStart(const TagList& tags) {
  size_t at = 0;
  for (size_t i = 0; i < tags.size(); ++i)
    if (tags[i].code == 100 && tags[i].s == "AcDbXrecord") { at = i + 1; break; }
  if (at < tags.size() && tags[at].code == 280) ++at;
  return at;
}

}  // namespace

TcDbXrecord::TcDbXrecord() : TcDbObject("XRECORD") { implOf(*this).main.tags = {Tag::integer(280, 1)}; }

struct resbuf* TcDbXrecord::rbChain() const {
  const TcDbObjectImpl& o = implOf(*this);
  const TagList& tags = o.main.tags;
  TagList data(tags.begin() + long(dataStart(tags)), tags.begin() + long(ownEnd(tags)));
  return data.empty() ? nullptr : tagsToChain(databaseFor(o), data);
}

TcDb::ErrorStatus TcDbXrecord::setFromRbChain(const struct resbuf* chain) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  db::Database* d = databaseFor(o);
  if (!d) return TcDb::eNoDatabase;
  TagList data;
  if (!chainToTags(*d, chain, data)) return TcDb::eInvalidInput;
  for (const Tag& t : data)
    if (t.code >= 1000 || t.code == 100 || t.code == 5 || t.code == 105) return TcDb::eInvalidInput;
  TagList& tags = o.main.tags;
  size_t start = dataStart(tags);
  tags.erase(tags.begin() + long(start), tags.begin() + long(ownEnd(tags)));
  tags.insert(tags.begin() + long(start), data.begin(), data.end());
  o.main.dirty = true;
  return TcDb::eOk;
}
