// The host's side of an opened object: which drawing object it is, its open
// state and the working copy of its groups, plus the helpers every class of
// the object layer shares.
#pragma once

#include <optional>
#include <string>

#include <tarnsdk/tcdbobjects.h>

#include "db/database.h"

// A working copy of one object's groups, stored back when dirty.
struct TagCopy {
  uint32_t id = tarn::db::kNoObject;
  tarn::db::TagList tags;
  bool dirty = false;
};

struct TcDbObjectImpl {
  std::string type;                 // DXF type name
  tarn::db::Database* db = nullptr; // null for a new object (or an orphan)
  TagCopy main;                     // the object itself
  TagCopy begin;                    // block table records: their BLOCK entity
  std::optional<bool> erase;        // an erase state to store at close
  bool open = false;
  TcDb::OpenMode mode = TcDb::kForRead;
  bool resident() const { return db && main.id != tarn::db::kNoObject; }
};

// Reaches the protected parts of the SDK classes.
struct TcDbObjectAccess {
  static TcDbObjectImpl& impl(TcDbObject& o) { return *o.impl_; }
  static const TcDbObjectImpl& impl(const TcDbObject& o) { return *o.impl_; }
  // A new object of the class that serves this type (TABLE by its name).
  static TcDbObject* make(std::string_view type, std::string_view tableName, bool entity);
  static TcDbDatabase* makeView(TcDbDatabaseImpl* impl) { return new TcDbDatabase(impl); }
  static TcDbDatabaseImpl* impl(const TcDbDatabase& d) { return d.impl_; }
};

namespace tarn::objects {

inline TcDbObjectImpl& implOf(TcDbObject& o) { return TcDbObjectAccess::impl(o); }
inline const TcDbObjectImpl& implOf(const TcDbObject& o) { return TcDbObjectAccess::impl(o); }

// The id of an object of a drawing, or null.
TcDbObjectId idOf(const db::Database& d, uint32_t index);
// The drawing and index an id names; false for null and stale ids.
bool resolve(TcDbObjectId id, db::Database*& d, uint32_t& index);
// The object with this handle, as an id (null when there is none).
TcDbObjectId idOfHandle(const db::Database& d, uint64_t handle);
std::string hexHandle(uint64_t h);

// Status of a change to an object: it must be open for write.
TcDb::ErrorStatus writable(const TcDbObjectImpl& o);

// The range of an object's own groups: before the extended data.
size_t ownEnd(const db::TagList& tags);
// The first own group with this code outside 102 groups, or null.
const db::Tag* findOwn(const db::TagList& tags, int code);
db::Tag* findOwn(db::TagList& tags, int code);
// Sets the first own group with this code, inserting it where its subclass
// says when it is missing.
void setOwn(std::string_view type, db::TagList& tags, const db::Tag& t);
void removeOwn(db::TagList& tags, int code);

// Adds a new object to an open drawing: handle, owner and subclass markers
// are given here. Entities go into block `block`; other objects into the
// OBJECTS section. The object becomes open for write.
TcDb::ErrorStatus addToDatabase(TcDbObject& o, db::Database& d, uint64_t ownerHandle, uint32_t block);
// Registers an object that has just been added as open for write.
void adoptOpen(TcDbObject* o);
// Stores a write-open object's changes; ends an open (once).
void storeChanges(TcDbObjectImpl& o);
void endOpen(TcDbObjectImpl& o);
TcDb::ErrorStatus upgrade(TcDbObjectImpl& o);
TcDb::ErrorStatus downgrade(TcDbObjectImpl& o);

// Persistent reactors ({ACAD_REACTORS ...}) of a stored object.
void addReactor(db::Database& d, uint32_t id, uint64_t reactor);
void removeReactor(db::Database& d, uint32_t id, uint64_t reactor);

// Groups as a result-buffer chain (references become entity names of `d`,
// which may be null), and back (names must be of `d`). Null / false on error.
struct resbuf* tagsToChain(const db::Database* d, const db::TagList& tags);
bool chainToTags(const db::Database& d, const struct resbuf* chain, db::TagList& out);
// The database a new object's chains are read against: the working drawing.
db::Database* databaseFor(const TcDbObjectImpl& o);
TcDbDatabase* viewOf(uint32_t serial);

// Keeps the reactors of a group's members in step with its member list.
void syncGroupMembers(db::Database& d, uint32_t group, const db::TagList& before, const db::TagList& after);

// The block definition whose record is this object, or kNoObject.
uint32_t blockOfRecord(const db::Database& d, uint32_t record);

}  // namespace tarn::objects
