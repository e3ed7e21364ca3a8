// A drawing file made into a block definition. The file is read into a
// database of its own and checked first; only then is anything copied, so a
// file that cannot be used leaves the drawing as it was.
#include "block_import.h"

#include <tarnsdk/tcedinput.h>

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "api/host_state.h"
#include "block_support.h"
#include "db/dxf.h"

namespace tarn::commands::blocks {

using db::Tag;
using db::TagList;

namespace {

// Tables whose records come along when the drawing has none of the name;
// application names first, as extended data of the others name them.
constexpr const char* kTables[] = {"APPID", "LTYPE", "LAYER", "STYLE", "DIMSTYLE"};

std::string upper(std::string_view s) { return db::upperAscii(s); }

class Importer {
 public:
  Importer(const db::Database& src, db::Database& dst, std::string name)
      : src_(src), dst_(dst), name_(std::move(name)) {}

  // What makes the file unusable as this block; empty when it can be used.
  std::string check();
  uint32_t run();

 private:
  struct RecordCopy {
    std::string table;
    uint32_t id;
  };
  void planRecords();
  void planBlocks();
  bool containsTarget(uint32_t srcBlock, std::unordered_set<uint32_t>& seen) const;
  void makeBlocks();
  void allocateEntityHandles(uint32_t srcBlock);
  void copyRecord(const RecordCopy& r);
  void copyEntities(uint32_t srcBlock, uint32_t dstBlock);
  TagList remapped(const TagList& tags, uint64_t owner, bool namesBlock);
  std::string mappedBlockName(std::string_view srcName) const;

  const db::Database& src_;
  db::Database& dst_;
  std::string name_;
  std::unordered_map<uint64_t, uint64_t> handles_;        // source handle -> drawing handle
  std::unordered_map<std::string, std::string> names_;    // upper source block name -> drawing name
  std::vector<RecordCopy> records_;
  std::vector<uint32_t> copiedBlocks_;                    // source block indices made anew
  std::map<uint32_t, uint32_t> blockMap_;                 // source block -> drawing block (in order)
  uint32_t target_ = db::kNoObject;
};

void Importer::planRecords() {
  for (const char* table : kTables) {
    const db::SymbolTable* t = src_.table(table);
    if (!t || !std::as_const(dst_).table(table)) continue;
    for (uint32_t id : t->records) {
      std::string_view n = db::findString(src_, id, 2);
      if (src_.isErased(id) || n.empty()) continue;
      uint32_t existing = dst_.findRecord(table, n);
      if (existing != db::kNoObject) handles_[src_.object(id).handle] = dst_.object(existing).handle;
      else records_.push_back({table, id});
    }
  }
}

void Importer::planBlocks() {
  for (uint32_t b = 0; b < src_.blocks().size(); ++b) {
    const db::BlockDef& def = src_.blocks()[b];
    if (def.name.empty() || src_.isLayoutBlock(b) || def.begin == db::kNoObject || src_.isErased(def.begin)) continue;
    if (db::equalsNoCase(def.name, name_)) continue;  // the new block takes the name
    uint32_t existing = def.name.front() == '*' ? db::kNoObject : liveBlock(dst_, def.name);
    if (existing != db::kNoObject) {
      // The drawing's own definition wins, as for every named object.
      names_[upper(def.name)] = def.name;
      if (def.record != db::kNoObject && dst_.blocks()[existing].record != db::kNoObject)
        handles_[src_.object(def.record).handle] = dst_.object(dst_.blocks()[existing].record).handle;
      continue;
    }
    copiedBlocks_.push_back(b);
  }
}

// True when the block (a source block) would reach the new block: by its
// name, or through a drawing block of a name the file does not define.
bool Importer::containsTarget(uint32_t srcBlock, std::unordered_set<uint32_t>& seen) const {
  if (!seen.insert(srcBlock).second) return false;
  for (uint32_t id : src_.blocks()[srcBlock].entities) {
    if (src_.isErased(id) || (src_.typeOf(id) != "INSERT" && src_.typeOf(id) != "DIMENSION")) continue;
    std::string_view ref = db::findString(src_, id, 2);
    if (ref.empty()) continue;
    if (db::equalsNoCase(ref, name_)) return true;
    uint32_t inDrawing = liveBlock(dst_, ref);
    uint32_t inFile = src_.findBlock(ref);
    bool copied = inFile != db::kNoObject &&
                  std::find(copiedBlocks_.begin(), copiedBlocks_.end(), inFile) != copiedBlocks_.end();
    if (!copied && inDrawing != db::kNoObject && referencesBlock(dst_, inDrawing, name_)) return true;
    if (copied && containsTarget(inFile, seen)) return true;
  }
  return false;
}

std::string Importer::check() {
  uint32_t model = src_.modelSpace();
  if (model == db::kNoObject) return "the drawing has no model space";
  planRecords();
  planBlocks();
  std::unordered_set<uint32_t> seen;
  if (containsTarget(model, seen))
    return "the drawing refers to a block \"" + name_ + "\": the block would contain itself";
  return {};
}

std::string Importer::mappedBlockName(std::string_view srcName) const {
  if (db::equalsNoCase(srcName, name_)) return name_;
  auto it = names_.find(upper(srcName));
  return it == names_.end() ? std::string(srcName) : it->second;
}

void Importer::makeBlocks() {
  for (uint32_t b : copiedBlocks_) {
    const db::BlockDef& def = src_.blocks()[b];
    std::string dstName = def.name.front() == '*' ? anonymousName(dst_, def.name.size() > 1 ? def.name[1] : 'U')
                                                   : def.name;
    auto base = db::findTag(src_, def.begin, 10);
    auto flags = db::findTag(src_, def.begin, 70);
    uint32_t made = createBlock(dst_, dstName, base ? base->p : db::Point3{}, flags ? int(flags->i & ~int64_t(4 | 8 | 16 | 32)) : 0);
    names_[upper(def.name)] = dstName;
    blockMap_[b] = made;
    if (def.record != db::kNoObject)
      handles_[src_.object(def.record).handle] = dst_.object(dst_.blocks()[made].record).handle;
    handles_[src_.object(def.begin).handle] = dst_.object(dst_.blocks()[made].begin).handle;
  }
}

void Importer::allocateEntityHandles(uint32_t srcBlock) {
  for (uint32_t id : src_.blocks()[srcBlock].entities)
    if (!src_.isErased(id) && src_.object(id).handle) handles_[src_.object(id).handle] = dst_.allocateHandle();
}

// The tags of a copied object: its new handle, the given owner, no reactors
// or extension dictionary, references by handle turned into the drawing's
// (references to what does not come along are dropped).
TagList Importer::remapped(const TagList& tags, uint64_t owner, bool namesBlock) {
  TagList out;
  out.reserve(tags.size() + 1);
  bool inGroup = false, ownerDone = false, seenMarker = false;
  for (const Tag& t : tags) {
    if (t.code == 102) {
      inGroup = !t.s.empty() && t.s[0] == '{';
      continue;
    }
    if (inGroup) continue;
    if (t.code == 100) seenMarker = true;
    Tag copy = t;
    if (t.kind == db::TagKind::Handle) {
      if (t.code == 330 && !ownerDone && !seenMarker) {
        copy.i = int64_t(owner);
        ownerDone = true;
      } else if (t.asHandle() != 0) {
        auto it = handles_.find(t.asHandle());
        if (it != handles_.end()) copy.i = int64_t(it->second);
        else if (t.code >= 1000) copy.i = 0;  // keeps the pairs of extended data in step
        else continue;
      }
    }
    if (namesBlock && t.code == 2 && t.kind == db::TagKind::String) copy.s = mappedBlockName(t.s);
    out.push_back(std::move(copy));
  }
  return out;
}

void Importer::copyRecord(const RecordCopy& r) {
  db::SymbolTable* table = dst_.table(r.table);
  uint64_t owner = table->object == db::kNoObject ? 0 : dst_.object(table->object).handle;
  TagList tags = remapped(src_.tagList(r.id), owner, false);
  if (r.table == "LAYER" && !findIn(tags, 390)) {
    // Readers expect the plot-style reference that layer "0" has.
    uint32_t zero = dst_.findRecord("LAYER", "0");
    if (auto ps = zero == db::kNoObject ? std::nullopt : db::findTag(dst_, zero, 390)) tags.push_back(*ps);
  }
  uint32_t id = dst_.addObject(src_.typeOf(r.id), tags, 0);
  dst_.table(r.table)->records.push_back(id);
}

void Importer::copyEntities(uint32_t srcBlock, uint32_t dstBlock) {
  uint64_t record = dst_.object(dst_.blocks()[dstBlock].record).handle;
  uint64_t parent = 0;
  bool parentErased = false;
  for (uint32_t id : src_.blocks()[srcBlock].entities) {
    const db::ObjectRecord& rec = src_.object(id);
    bool sub = rec.flags & db::kSubEntity;
    if (!sub) parentErased = src_.isErased(id);
    if (parentErased || src_.isErased(id)) continue;
    uint64_t handle = handles_[rec.handle];
    std::string_view type = src_.typeOf(id);
    TagList tags = remapped(src_.tagList(id), sub ? parent : record, type == "INSERT" || type == "DIMENSION");
    bool hasHandle = false;
    for (Tag& t : tags)
      if (t.code == 5) { t.i = int64_t(handle); hasHandle = true; break; }
    if (!hasHandle) tags.insert(tags.begin(), Tag::handle(5, handle ? handle : dst_.allocateHandle()));
    if (tags.size() < 2 || tags[1].code != 330) tags.insert(tags.begin() + 1, Tag::handle(330, sub ? parent : record));
    uint32_t made = dst_.addObject(src_.typeOf(id), tags, uint16_t(db::kEntity | (sub ? db::kSubEntity : 0)));
    dst_.appendToBlock(dstBlock, made);
    if (!sub) parent = dst_.object(made).handle;
  }
}

uint32_t Importer::run() {
  for (const RecordCopy& r : records_) handles_[src_.object(r.id).handle] = dst_.allocateHandle();
  makeBlocks();
  const db::TagList* insbase = src_.headerVar("$INSBASE");
  db::Point3 base = insbase && !insbase->empty() ? insbase->front().p : db::Point3{};
  target_ = liveBlock(dst_, name_);
  if (target_ == db::kNoObject) target_ = createBlock(dst_, name_, base);
  else resetBlock(dst_, target_, base);
  uint32_t model = src_.modelSpace();
  blockMap_[model] = target_;
  for (const auto& [from, to] : blockMap_) allocateEntityHandles(from);
  for (const RecordCopy& r : records_) copyRecord(r);
  dst_.reindex();
  for (const auto& [from, to] : blockMap_) {
    copyEntities(from, to);
    updateAttributeFlag(dst_, to);
  }
  return target_;
}

bool isFile(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string onSupportPath(const std::string& name) {
  char found[4096] = {0};
  return tcedFindFile(name.c_str(), found, sizeof found) == RTNORM ? std::string(found) : std::string();
}

std::string locate(const std::string& name) {
  if (isFile(name)) return name;
  if (name.find('/') == std::string::npos) {
    std::string folder = host::currentDatabase() ? host::currentDatabase()->path : std::string();
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos && isFile(folder.substr(0, slash + 1) + name)) return folder.substr(0, slash + 1) + name;
    return onSupportPath(name);
  }
  return {};
}

bool endsWithNoCase(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && db::equalsNoCase(s.substr(s.size() - tail.size()), tail);
}

}  // namespace

std::string findDrawingFile(const std::string& typed) {
  if (std::string f = locate(typed); !f.empty()) return f;
  if (endsWithNoCase(typed, ".dwg")) return locate(typed.substr(0, typed.size() - 4) + ".dxf");
  if (!endsWithNoCase(typed, ".dxf")) return locate(typed + ".dxf");
  return {};
}

ImportResult importDrawingAsBlock(db::Database& target, const std::string& path, const std::string& name) {
  ImportResult result;
  db::Database file;
  db::DxfResult read = db::readDxfFile(path, file);
  if (!read.ok()) {
    result.message = read.status == db::DxfStatus::NotFound ? "Cannot find the drawing file \"" + path + "\"."
                                                            : read.message;
    return result;
  }
  Importer importer(file, target, name);
  if (std::string why = importer.check(); !why.empty()) {
    result.message = path + ": " + why + ".";
    return result;
  }
  result.block = importer.run();
  result.ok = true;
  return result;
}

}  // namespace tarn::commands::blocks
