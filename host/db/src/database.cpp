// The drawing database: object records, handle index, blob arena, sections.
#include "db/database.h"

#include "journal.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <sys/mman.h>

#include <cstdlib>
#include <deque>
#include <new>

namespace tarn::db {

// ---- type names

namespace {
// The host runs on one thread; names live in a deque so views stay valid.
struct TypeRegistry {
  std::deque<std::string> names;
  std::unordered_map<std::string, uint16_t> ids;
};
TypeRegistry& types() {
  static TypeRegistry r;
  return r;
}
std::atomic<uint32_t> nextSerial{1};
}  // namespace

uint16_t typeId(std::string_view name) {
  // Files hold long runs of one type: remember the last answer.
  static std::string lastName;
  static uint16_t lastId = 0;
  if (!lastName.empty() && name == lastName) return lastId;
  TypeRegistry& r = types();
  lastName = name;
  auto it = r.ids.find(std::string(name));
  if (it != r.ids.end()) return lastId = it->second;
  uint16_t id = uint16_t(r.names.size());
  r.names.emplace_back(name);
  r.ids.emplace(std::string(name), id);
  return lastId = id;
}

std::string_view typeName(uint16_t id) {
  const TypeRegistry& r = types();
  return id < r.names.size() ? std::string_view(r.names[id]) : std::string_view();
}

// ---- versions

namespace {
struct VersionRow { DxfVersion v; const char* code; const char* name; };
constexpr VersionRow kVersions[] = {
    {DxfVersion::R12, "AC1009", "R12"},   {DxfVersion::R2000, "AC1015", "2000"},
    {DxfVersion::R2004, "AC1018", "2004"}, {DxfVersion::R2007, "AC1021", "2007"},
    {DxfVersion::R2010, "AC1024", "2010"}, {DxfVersion::R2013, "AC1027", "2013"},
    {DxfVersion::R2018, "AC1032", "2018"},
};
}  // namespace

std::optional<DxfVersion> parseVersion(std::string_view code) {
  for (const auto& row : kVersions)
    if (code == row.code) return row.v;
  // Versions between the ones we write map to the nearest older one.
  if (code.size() == 6 && code.substr(0, 2) == "AC") {
    int n = std::atoi(std::string(code.substr(2)).c_str());
    if (n < 1015) return DxfVersion::R12;
    if (n < 1018) return DxfVersion::R2000;
    if (n < 1021) return DxfVersion::R2004;
    if (n < 1024) return DxfVersion::R2007;
    if (n < 1027) return DxfVersion::R2010;
    if (n < 1032) return DxfVersion::R2013;
    return DxfVersion::R2018;
  }
  return std::nullopt;
}

std::string_view versionCode(DxfVersion v) { return kVersions[int(v)].code; }
std::string_view versionName(DxfVersion v) { return kVersions[int(v)].name; }

// ---- text helpers

std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// ---- handle index: open addressing, linear probing

// Handles are mostly handed out in sequence: a hash that keeps neighbours
// next to each other makes loading a file walk the table in order.
static inline size_t hashHandle(uint64_t h) { return size_t(h ^ (h >> 24) ^ (h >> 48)); }

void HandleIndex::reserve(size_t n) {
  size_t cap = keys_.empty() ? 1024 : keys_.size();
  while (cap < n * 2) cap *= 2;
  if (cap > keys_.size()) grow(cap);
}

void HandleIndex::grow(size_t cap) {
  std::vector<uint64_t> oldKeys(cap, 0);
  std::vector<uint32_t> oldValues(cap, kNoObject);
  oldKeys.swap(keys_);
  oldValues.swap(values_);
  count_ = 0;
  for (size_t i = 0; i < oldKeys.size(); ++i)
    if (oldKeys[i]) insert(oldKeys[i], oldValues[i]);
}

void HandleIndex::insert(uint64_t handle, uint32_t id) {
  if ((count_ + 1) * 2 > keys_.size()) grow(keys_.empty() ? 1024 : keys_.size() * 2);
  size_t mask = keys_.size() - 1;
  for (size_t i = hashHandle(handle) & mask;; i = (i + 1) & mask) {
    if (keys_[i] == handle) { values_[i] = id; return; }
    if (keys_[i] == 0) { keys_[i] = handle; values_[i] = id; ++count_; return; }
  }
}

uint32_t HandleIndex::find(uint64_t handle) const {
  if (keys_.empty()) return kNoObject;
  size_t mask = keys_.size() - 1;
  for (size_t i = hashHandle(handle) & mask;; i = (i + 1) & mask) {
    if (keys_[i] == handle) return values_[i];
    if (keys_[i] == 0) return kNoObject;
  }
}

void HandleIndex::erase(uint64_t handle) {
  // Rare (only when an object is dropped for good); rebuild without it.
  if (find(handle) == kNoObject) return;
  std::vector<uint64_t> keys;
  keys.swap(keys_);
  std::vector<uint32_t> values;
  values.swap(values_);
  keys_.assign(keys.size(), 0);
  values_.assign(keys.size(), kNoObject);
  count_ = 0;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i] && keys[i] != handle) insert(keys[i], values[i]);
}

// ---- arena

// Large regions are backed by huge pages where the system allows it: a
// million objects then cost a few hundred page faults instead of tens of
// thousands.
void adviseHugePages(void* p, size_t size) {
  constexpr uintptr_t kHuge = uintptr_t(2) << 20;
  uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(p) + size) & ~(kHuge - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

void BlobArena::Free::operator()(uint8_t* p) const { std::free(p); }

const uint8_t* BlobArena::store(const uint8_t* data, size_t size) {
  constexpr size_t kChunk = size_t(8) << 20;
  if (size > kChunk / 4) {
    chunks_.emplace_back(static_cast<uint8_t*>(std::malloc(size)));
    std::memcpy(chunks_.back().get(), data, size);
    total_ += size;
    return chunks_.back().get();
  }
  if (chunks_.empty() || used_ + size > capacity_) {
    void* chunk = std::aligned_alloc(size_t(2) << 20, kChunk);
    if (!chunk) throw std::bad_alloc();
    adviseHugePages(chunk, kChunk);
    chunks_.emplace_back(static_cast<uint8_t*>(chunk));
    used_ = 0;
    capacity_ = kChunk;
  }
  uint8_t* at = chunks_.back().get() + used_;
  if (size) std::memcpy(at, data, size);
  used_ += size;
  total_ += size;
  return at;
}

// ---- database

Database::Database() : serial_(nextSerial++), journal_(std::make_unique<detail::Journal>(*this)) {}
Database::~Database() = default;

void Database::reserve(size_t objects) {
  if (objects <= objects_.capacity()) return;
  objects_.reserve(objects);
  adviseHugePages(objects_.data(), objects * sizeof(ObjectRecord));
  handles_.reserve(objects);
}

static void scanHandleAndOwner(const uint8_t* data, size_t size, uint64_t& handle, uint64_t& owner) {
  handle = 0;
  owner = 0;
  bool inGroup = false;
  for (TagCursor c(data, uint32_t(size)); !c.done(); c.next()) {
    int code = c.code();
    if (code == 102) {
      inGroup = !c.str().empty() && c.str()[0] == '{';
    } else if ((code == 5 || code == 105) && !handle && c.kind() == TagKind::Handle) {
      handle = c.handle();
    } else if (code == 330 && !inGroup && !owner && c.kind() == TagKind::Handle) {
      owner = c.handle();
      return;  // the owner follows the handle
    } else if (code == 100 || code >= 1000) {
      return;  // past the common header: no owner written
    }
  }
}

uint32_t Database::addObject(std::string_view type, const uint8_t* blob, size_t size, uint16_t flags) {
  ObjectRecord r;
  r.data = arena_.store(blob, size);
  r.size = uint32_t(size);
  r.type = typeId(type);
  r.flags = flags;
  scanHandleAndOwner(r.data, size, r.handle, r.ownerHandle);
  journal_->touch();
  uint32_t id = uint32_t(objects_.size());
  objects_.push_back(r);
  journal_->added(id);
  if (r.handle) {
    handles_.insert(r.handle, id);
    noteHandle(r.handle);
  }
  return id;
}

uint32_t Database::addObject(std::string_view type, const TagList& tags, uint16_t flags) {
  std::vector<uint8_t> blob = encodeTags(tags);
  return addObject(type, blob.data(), blob.size(), flags);
}

void Database::replaceBlob(uint32_t id, const uint8_t* blob, uint32_t size) {
  journal_->record(id);
  ObjectRecord& r = objects_[id];
  uint64_t oldHandle = r.handle;
  r.data = arena_.store(blob, size);
  r.size = size;
  uint64_t handle = 0;
  scanHandleAndOwner(r.data, size, handle, r.ownerHandle);
  if (handle && handle != oldHandle) {
    if (oldHandle) handles_.erase(oldHandle);
    r.handle = handle;
    handles_.insert(handle, id);
    noteHandle(handle);
  }
}

void Database::replaceTags(uint32_t id, const TagList& tags) {
  std::vector<uint8_t> blob = encodeTags(tags);
  replaceBlob(id, blob.data(), uint32_t(blob.size()));
}

void Database::setErased(uint32_t id, bool erased) {
  journal_->record(id);
  if (erased) objects_[id].flags |= kErased;
  else objects_[id].flags &= uint16_t(~kErased);
}

void Database::setFlags(uint32_t id, uint16_t flags) {
  journal_->record(id);
  objects_[id].flags = flags;
}

void Database::setBlock(uint32_t id, uint32_t block, uint32_t slot) {
  journal_->record(id);
  objects_[id].block = block;
  objects_[id].slot = slot;
}

void Database::setLastMainEntity(uint32_t id) {
  journal_->touch();
  lastMain_ = id;
}

void Database::noteHandle(uint64_t h) {
  if (h < handseed_) return;
  journal_->touch();
  handseed_ = h + 1;
}

uint64_t Database::allocateHandle() {
  journal_->touch();
  return handseed_++;
}

// ---- containers handed out for change: copied on the first such access of a group

std::vector<HeaderVar>& Database::headerVars() {
  journal_->header();
  return header_;
}
std::vector<RawSection>& Database::classes() {
  journal_->classes();
  return classes_;
}
std::vector<SymbolTable>& Database::tables() {
  journal_->tables();
  return tables_;
}
std::vector<BlockDef>& Database::blocks() {
  journal_->blocks();
  return blocks_;
}
std::vector<uint32_t>& Database::objectsSection() {
  journal_->objectOrder();
  return objectOrder_;
}
std::vector<RawSection>& Database::extraSections() {
  journal_->extra();
  return extra_;
}

// ---- undo journal

void Database::beginCommand(std::string_view name) { journal_->begin(name); }
void Database::endCommand() { journal_->end(); }
int Database::commandDepth() const { return journal_->depth(); }
std::vector<std::string> Database::undo(int count) { return journal_->undo(count); }
size_t Database::undoDepth() const { return journal_->undoDepth(); }
void Database::clearUndo() { journal_->clear(); }

const TagList* Database::headerVar(std::string_view name) const {
  for (const HeaderVar& v : header_)
    if (equalsNoCase(v.name, name)) return &v.value;
  return nullptr;
}

void Database::setHeaderVar(std::string_view name, TagList value) {
  journal_->header();
  for (HeaderVar& v : header_)
    if (equalsNoCase(v.name, name)) { v.value = std::move(value); return; }
  header_.push_back({std::string(name), std::move(value)});
}

void Database::appendToBlock(uint32_t block, uint32_t id) {
  journal_->appending(block);
  BlockDef& b = blocks_[block];
  setBlock(id, block, uint32_t(b.entities.size()));
  b.entities.push_back(id);
  if (!(objects_[id].flags & kSubEntity) && isLayoutBlock(block)) lastMain_ = id;
}

static bool layoutName(std::string_view n) {
  return n.size() >= 12 && (equalsNoCase(n.substr(0, 12), "*Model_Space") || equalsNoCase(n.substr(0, 12), "*Paper_Space"));
}

bool Database::isLayoutBlock(uint32_t block) const { return blocks_[block].layout; }

SymbolTable* Database::table(std::string_view name) {
  journal_->tables();
  for (SymbolTable& t : tables_)
    if (equalsNoCase(t.name, name)) return &t;
  return nullptr;
}
const SymbolTable* Database::table(std::string_view name) const {
  for (const SymbolTable& t : tables_)
    if (equalsNoCase(t.name, name)) return &t;
  return nullptr;
}

static std::string recordKey(std::string_view table, std::string_view name) {
  std::string key = upperAscii(table);
  key += '\x1f';
  key += upperAscii(name);
  return key;
}

uint32_t Database::findRecord(std::string_view tableName, std::string_view name) const {
  auto it = recordIndex_.find(recordKey(tableName, name));
  if (it != recordIndex_.end() && !isErased(it->second)) return it->second;
  // Fall back to a scan: the index holds the first record of a name only.
  if (const SymbolTable* t = table(tableName))
    for (uint32_t id : t->records)
      if (!isErased(id) && equalsNoCase(findString(*this, id, 2), name)) return id;
  return kNoObject;
}

uint32_t Database::findBlock(std::string_view name) const {
  auto it = blockIndex_.find(upperAscii(name));
  return it == blockIndex_.end() ? kNoObject : it->second;
}

void Database::reindex() {
  blockIndex_.clear();
  for (uint32_t i = 0; i < blocks_.size(); ++i) {
    blockIndex_.emplace(upperAscii(blocks_[i].name), i);
    blocks_[i].layout = layoutName(blocks_[i].name);
  }
  recordIndex_.clear();
  for (const SymbolTable& t : tables_)
    for (uint32_t id : t.records)
      if (!isErased(id)) recordIndex_.emplace(recordKey(t.name, findString(*this, id, 2)), id);
}

std::optional<Tag> findTag(const Database& db, uint32_t id, int code) {
  for (TagCursor c = db.tags(id); !c.done(); c.next())
    if (c.code() == code) return c.decode();
  return std::nullopt;
}

std::string_view findString(const Database& db, uint32_t id, int code, std::string_view dflt) {
  for (TagCursor c = db.tags(id); !c.done(); c.next())
    if (c.code() == code && c.kind() == TagKind::String) return c.str();
  return dflt;
}

}  // namespace tarn::db
