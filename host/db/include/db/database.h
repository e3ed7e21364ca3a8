// The drawing database: every object of a drawing (entities, symbol-table
// records, dictionaries and all the rest) as an immutable tag blob with a
// small record, the file's section structure, and the handle index.
//
// Object ids are indices into the record vector. They are never reused while
// the database lives, so entity names made from them stay valid. A change
// replaces an object's blob; the old blob stays in the arena, which keeps the
// undo journal cheap.
//
// Every change goes through the methods of this class, and each of them
// reports to the undo journal before it changes anything: object records
// (first change per command group), entities appended to blocks, and the
// containers (tables, blocks, header, object order, classes, extra sections)
// whose non-const accessors hand out references. A container is copied on
// its first non-const access in a group and the copy is dropped at the end
// of the group when nothing changed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/tags.h"

namespace tarn::db {

constexpr uint32_t kNoObject = 0xFFFFFFFFu;

enum ObjectFlag : uint16_t {
  kErased = 1,      // erased: kept for undo and entity names, never written
  kEntity = 2,      // a graphical object in a block or layout
  kSubEntity = 4,   // VERTEX, ATTRIB or SEQEND following its parent
};

struct ObjectRecord {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  uint16_t type = 0;       // index into the type-name registry
  uint16_t flags = 0;
  uint64_t handle = 0;     // 0 = none yet
  uint64_t ownerHandle = 0;
  uint32_t block = kNoObject;  // entities: index of the block definition holding them
  uint32_t slot = 0;           // entities: position in that block's entity list
};

// Type names ("LINE", "LAYER", "DICTIONARY" ...) are interned once per process.
uint16_t typeId(std::string_view name);
std::string_view typeName(uint16_t id);

struct HeaderVar {
  std::string name;  // "$ACADVER"
  TagList value;
};

struct SymbolTable {
  std::string name;                // "LAYER"
  uint32_t object = kNoObject;     // the TABLE object
  std::vector<uint32_t> records;   // in file order, erased ones included
};

struct BlockDef {
  std::string name;
  uint32_t record = kNoObject;     // its BLOCK_RECORD
  uint32_t begin = kNoObject;      // BLOCK entity
  uint32_t end = kNoObject;        // ENDBLK entity
  std::vector<uint32_t> entities;  // in order, sub-entities after their parent
  bool layout = false;             // model space or a paper-space layout (set by reindex)
};

struct RawSection {
  std::string name;
  TagList tags;  // everything between the section name and ENDSEC
};

// DXF version codes of the header variable $ACADVER.
enum class DxfVersion { R12, R2000, R2004, R2007, R2010, R2013, R2018 };
std::optional<DxfVersion> parseVersion(std::string_view acadver);
std::string_view versionCode(DxfVersion v);
std::string_view versionName(DxfVersion v);  // "2018"

class HandleIndex {
 public:
  void insert(uint64_t handle, uint32_t id);
  uint32_t find(uint64_t handle) const;
  void erase(uint64_t handle);
  size_t size() const { return count_; }
  void reserve(size_t n);

 private:
  void grow(size_t capacity);
  std::vector<uint64_t> keys_;   // 0 = empty slot (handle 0 is never valid)
  std::vector<uint32_t> values_;
  size_t count_ = 0;
};

class BlobArena {
 public:
  const uint8_t* store(const uint8_t* data, size_t size);
  size_t bytes() const { return total_; }

 private:
  struct Free { void operator()(uint8_t* p) const; };
  std::vector<std::unique_ptr<uint8_t, Free>> chunks_;
  size_t used_ = 0, capacity_ = 0, total_ = 0;
};

namespace detail {
class Journal;
}

class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A process-wide number of this database, never reused; part of entity names.
  uint32_t serial() const { return serial_; }

  // ---- objects
  // Room for this many objects without moving the records (a reader's guess).
  void reserve(size_t objects);
  uint32_t objectCount() const { return uint32_t(objects_.size()); }
  bool valid(uint32_t id) const { return id < objects_.size(); }
  const ObjectRecord& object(uint32_t id) const { return objects_[id]; }
  std::string_view typeOf(uint32_t id) const { return typeName(objects_[id].type); }
  bool isErased(uint32_t id) const { return objects_[id].flags & kErased; }
  TagCursor tags(uint32_t id) const { return {objects_[id].data, objects_[id].size}; }
  TagList tagList(uint32_t id) const { return decodeTags(objects_[id].data, objects_[id].size); }

  // Adds an object; takes its handle (group 5 or 105) and owner (the first 330
  // outside a 102 group) from the tags.
  uint32_t addObject(std::string_view type, const uint8_t* blob, size_t size, uint16_t flags);
  uint32_t addObject(std::string_view type, const TagList& tags, uint16_t flags);
  // Replaces an object's tags (the handle stays that of the object).
  void replaceTags(uint32_t id, const TagList& tags);
  void replaceBlob(uint32_t id, const uint8_t* blob, uint32_t size);
  void setErased(uint32_t id, bool erased);
  void setFlags(uint32_t id, uint16_t flags);
  void setBlock(uint32_t id, uint32_t block, uint32_t slot);
  // Appends an entity to a block definition's list (and to the drawing's
  // order of main entities when the block is a layout).
  void appendToBlock(uint32_t block, uint32_t id);
  // The last main entity added to a layout, as the drawing's order has it.
  uint32_t lastMainEntity() const { return lastMain_; }
  void setLastMainEntity(uint32_t id);
  bool isLayoutBlock(uint32_t block) const;

  uint32_t findHandle(uint64_t handle) const { return handle ? handles_.find(handle) : kNoObject; }
  uint64_t nextHandle() const { return handseed_; }
  uint64_t allocateHandle();
  void noteHandle(uint64_t h);

  // ---- header variables
  const TagList* headerVar(std::string_view name) const;
  void setHeaderVar(std::string_view name, TagList value);
  std::vector<HeaderVar>& headerVars();
  const std::vector<HeaderVar>& headerVars() const { return header_; }

  // ---- structure
  std::vector<RawSection>& classes();
  const std::vector<RawSection>& classes() const { return classes_; }
  std::vector<SymbolTable>& tables();
  const std::vector<SymbolTable>& tables() const { return tables_; }
  SymbolTable* table(std::string_view name);
  const SymbolTable* table(std::string_view name) const;
  // A symbol-table record by name (case-insensitive), erased ones skipped.
  uint32_t findRecord(std::string_view table, std::string_view name) const;
  std::vector<BlockDef>& blocks();
  const std::vector<BlockDef>& blocks() const { return blocks_; }
  uint32_t findBlock(std::string_view name) const;  // index into blocks(), or kNoObject
  uint32_t modelSpace() const { return findBlock("*Model_Space"); }
  uint32_t paperSpace() const { return findBlock("*Paper_Space"); }
  std::vector<uint32_t>& objectsSection();
  const std::vector<uint32_t>& objectsSection() const { return objectOrder_; }
  std::vector<RawSection>& extraSections();
  const std::vector<RawSection>& extraSections() const { return extra_; }
  // The named-object dictionary (the first object of the OBJECTS section).
  uint32_t rootDictionary() const { return objectOrder_.empty() ? kNoObject : objectOrder_.front(); }

  // ---- undo journal
  // Changes are grouped per command. Recording starts with the first
  // beginCommand: what was done before (reading, a new drawing) is the base
  // state. Nested begin/end pairs (a command that runs other commands) make
  // one group. Changes made outside any command after that form a group of
  // their own, closed by the next beginCommand.
  void beginCommand(std::string_view name);
  void endCommand();
  int commandDepth() const;
  // Undoes up to `count` groups, newest first: the open group's changes so
  // far when it has any, then closed groups. Returns the names of the groups
  // undone, newest first (fewer than `count` when the history ran out).
  std::vector<std::string> undo(int count = 1);
  // Closed groups that can be undone.
  size_t undoDepth() const;
  // Forgets the history (the open group's changes become the base state).
  void clearUndo();

  // Rebuilds the name indexes of tables and blocks after bulk changes.
  void reindex();
  size_t arenaBytes() const { return arena_.bytes(); }

  // The file this database was read from and the version it had.
  std::string path;
  DxfVersion sourceVersion = DxfVersion::R2018;
  std::string codepage = "ANSI_1252";

 private:
  uint32_t serial_;
  std::vector<ObjectRecord> objects_;
  HandleIndex handles_;
  BlobArena arena_;
  uint64_t handseed_ = 1;
  std::vector<HeaderVar> header_;
  std::vector<RawSection> classes_;
  std::vector<SymbolTable> tables_;
  std::vector<BlockDef> blocks_;
  std::unordered_map<std::string, uint32_t> blockIndex_;  // upper-case name -> block
  std::unordered_map<std::string, uint32_t> recordIndex_; // "TABLE\x1fNAME" upper-case -> record
  std::vector<uint32_t> objectOrder_;
  std::vector<RawSection> extra_;
  uint32_t lastMain_ = kNoObject;
  std::unique_ptr<detail::Journal> journal_;
  friend class detail::Journal;
};

std::string upperAscii(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

// The first tag with this code, if any.
std::optional<Tag> findTag(const Database& db, uint32_t id, int code);
std::string_view findString(const Database& db, uint32_t id, int code, std::string_view dflt = {});

}  // namespace tarn::db
