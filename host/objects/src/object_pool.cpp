// Opening and closing objects: the classes made for each type, the open
// table (one writer per object), the ownership counter, storing a write-open
// object's changes at its close, and the locked-layer check suspension.
#include "objects/object_pool.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <unordered_set>

#include "api/host_state.h"
#include "object_impl.h"

namespace tarn::objects {
namespace {

struct Pool {
  std::vector<std::unique_ptr<TcDbObject>> shells;  // every object the host handed out
  std::unordered_set<TcDbObjectId> writers;         // objects open for write now
};

Pool& pool() {
  static Pool p;
  return p;
}

std::vector<std::unique_ptr<host::LockCheckSuspension>>& suspensions() {
  static std::vector<std::unique_ptr<host::LockCheckSuspension>> s;
  return s;
}

TcDb::ErrorStatus canWrite(const db::Database& d, uint32_t index) {
  if (pool().writers.count(idOf(d, index))) return TcDb::eWasOpenedForWrite;
  if (host::onLockedLayer(d, index)) return TcDb::eOnLockedLayer;
  return TcDb::eOk;
}

void loadCopy(TcDbObjectImpl& o, db::Database& d, uint32_t index) {
  o.db = &d;
  o.type = std::string(d.typeOf(index));
  o.main = {index, d.tagList(index), false};
  if (o.type != "BLOCK_RECORD") return;
  uint32_t block = blockOfRecord(d, index);
  uint32_t begin = block == db::kNoObject ? db::kNoObject : d.blocks()[block].begin;
  if (begin != db::kNoObject) o.begin = {begin, d.tagList(begin), false};
}

void markOpen(TcDbObject* o, TcDb::OpenMode mode) {
  TcDbObjectImpl& impl = implOf(*o);
  impl.open = true;
  impl.mode = mode;
  if (mode == TcDb::kForWrite) pool().writers.insert(idOf(*impl.db, impl.main.id));
  ++host::counters().openObjects;
}

// A dictionary entry that names an erased object would be a dangling
// reference in the file: erasing an object takes it out of its dictionary.
void dropFromOwnerDictionary(db::Database& d, uint32_t index) {
  uint32_t owner = d.findHandle(d.object(index).ownerHandle);
  if (owner == db::kNoObject || d.typeOf(owner).find("DICTIONARY") == std::string_view::npos) return;
  db::TagList tags = d.tagList(owner);
  uint64_t h = d.object(index).handle;
  for (size_t i = 1; i < tags.size(); ++i) {
    if ((tags[i].code == 350 || tags[i].code == 360) && tags[i].asHandle() == h && tags[i - 1].code == 3) {
      tags.erase(tags.begin() + long(i) - 1, tags.begin() + long(i) + 1);
      d.replaceTags(owner, tags);
      return;
    }
  }
}

void applyErase(TcDbObjectImpl& o) {
  if (!o.erase || *o.erase == o.db->isErased(o.main.id)) return;
  o.db->setErased(o.main.id, *o.erase);
  if (o.type == "GROUP") {  // an erased group lets go of its members
    db::TagList none;
    syncGroupMembers(*o.db, o.main.id, *o.erase ? o.main.tags : none, *o.erase ? none : o.main.tags);
  }
  if (*o.erase && !(o.db->object(o.main.id).flags & db::kEntity)) dropFromOwnerDictionary(*o.db, o.main.id);
  o.db->reindex();
}

}  // namespace

void storeChanges(TcDbObjectImpl& o) {
  if (!o.db || o.mode != TcDb::kForWrite) return;
  if (o.main.dirty) {
    db::TagList before = o.db->tagList(o.main.id);
    o.db->replaceTags(o.main.id, o.main.tags);
    if (o.type == "GROUP") syncGroupMembers(*o.db, o.main.id, before, o.main.tags);
    o.main.dirty = false;
  }
  if (o.begin.dirty && o.begin.id != db::kNoObject) {
    o.db->replaceTags(o.begin.id, o.begin.tags);
    o.begin.dirty = false;
  }
  applyErase(o);
  o.erase.reset();
}

void endOpen(TcDbObjectImpl& o) {
  if (!o.open) return;
  storeChanges(o);
  if (o.db && o.mode == TcDb::kForWrite) pool().writers.erase(idOf(*o.db, o.main.id));
  o.open = false;
  --host::counters().openObjects;
}

TcDb::ErrorStatus upgrade(TcDbObjectImpl& o) {
  if (!o.open || !o.db) return TcDb::eNotApplicable;
  if (o.mode == TcDb::kForWrite) return TcDb::eOk;
  if (TcDb::ErrorStatus es = canWrite(*o.db, o.main.id); es != TcDb::eOk) return es;
  o.mode = TcDb::kForWrite;
  pool().writers.insert(idOf(*o.db, o.main.id));
  return TcDb::eOk;
}

TcDb::ErrorStatus downgrade(TcDbObjectImpl& o) {
  if (!o.open || !o.db) return TcDb::eNotApplicable;
  if (o.mode == TcDb::kForRead) return TcDb::eOk;
  storeChanges(o);
  o.mode = TcDb::kForRead;
  pool().writers.erase(idOf(*o.db, o.main.id));
  return TcDb::eOk;
}

void adoptOpen(TcDbObject* o) {
  pool().shells.emplace_back(o);
  markOpen(o, TcDb::kForWrite);
}

void releaseClosedObjects() {
  auto& shells = pool().shells;
  shells.erase(std::remove_if(shells.begin(), shells.end(), [](const auto& o) { return !implOf(*o).open; }),
               shells.end());
}

size_t openObjectCount() {
  return size_t(std::count_if(pool().shells.begin(), pool().shells.end(), [](const auto& o) { return implOf(*o).open; }));
}

void releaseObjectsOf(const db::Database& d) {
  auto& shells = pool().shells;
  std::erase_if(shells, [&](const auto& o) { return implOf(*o).db == &d && !implOf(*o).open; });
  for (auto& o : shells) {
    TcDbObjectImpl& impl = implOf(*o);
    if (impl.db != &d) continue;
    if (impl.mode == TcDb::kForWrite) pool().writers.erase(idOf(d, impl.main.id));
    impl.db = nullptr;  // an orphan: its close stores nothing
  }
}

}  // namespace tarn::objects

using namespace tarn;

TcDb::ErrorStatus tcdbOpenObject(TcDbObject*& out, TcDbObjectId id, TcDb::OpenMode mode, bool openErased) {
  out = nullptr;
  if (id.isNull()) return TcDb::eNullObjectId;
  db::Database* d;
  uint32_t index;
  if (!objects::resolve(id, d, index)) return TcDb::eInvalidInput;
  if (d->isErased(index) && !openErased) return TcDb::eWasErased;
  if (mode == TcDb::kForWrite)
    if (TcDb::ErrorStatus es = objects::canWrite(*d, index); es != TcDb::eOk) return es;
  std::string_view type = d->typeOf(index);
  TcDbObject* o = TcDbObjectAccess::make(type, type == "TABLE" ? db::findString(*d, index, 2) : "",
                                          d->object(index).flags & db::kEntity);
  objects::loadCopy(objects::implOf(*o), *d, index);
  objects::pool().shells.emplace_back(o);
  objects::markOpen(o, mode);
  out = o;
  return TcDb::eOk;
}

void tcdbSuspendLockedLayerCheck() {
  objects::suspensions().push_back(std::make_unique<host::LockCheckSuspension>());
}

void tcdbResumeLockedLayerCheck() {
  if (!objects::suspensions().empty()) objects::suspensions().pop_back();
}
