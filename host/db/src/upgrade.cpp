// Upgrade of release-12 drawings: the structure of a new drawing (tables,
// model and paper space, dictionaries, layouts) with fresh handles, and the
// drawing's own records, blocks and entities given handles, owners and
// subclass markers.
#include "upgrade.h"

#include <unordered_map>

#include "db/new_drawing.h"
#include "db/records.h"
#include "db/subclasses.h"

namespace tarn::db::detail {
namespace {

class Upgrader {
 public:
  explicit Upgrader(Database& db) : db_(db) {}

  void run() {
    giveHandles();
    initNewDrawing(template_);
    for (uint32_t id = 0; id < template_.objectCount(); ++id)
      if (uint64_t h = template_.object(id).handle) remap_[h] = db_.allocateHandle();
    upgradeTables();
    upgradeBlocks();
    for (uint32_t id : template_.objectsSection()) db_.objectsSection().push_back(clone(id, 0));
    mergeHeader();
    db_.reindex();
  }

 private:
  void giveHandles() {
    for (uint32_t id = 0; id < db_.objectCount(); ++id) {
      if (db_.object(id).handle) continue;
      TagList tags = db_.tagList(id);
      tags.insert(tags.begin(), Tag::handle(5, db_.allocateHandle()));
      db_.replaceTags(id, tags);
    }
  }

  // A template object with its handles translated into this drawing.
  uint32_t clone(uint32_t tid, uint16_t flags) {
    TagList tags = template_.tagList(tid);
    for (Tag& t : tags)
      if (t.kind == TagKind::Handle)
        if (auto it = remap_.find(t.asHandle()); it != remap_.end()) t.i = int64_t(it->second);
    return db_.addObject(template_.typeOf(tid), tags, flags);
  }

  uint64_t handleOf(uint32_t id) const { return db_.object(id).handle; }

  // Groups after the handle, with the owner and markers put in front.
  void restructure(uint32_t id, uint64_t owner, const std::vector<std::string_view>& markers, int handleCode = 5) {
    TagList old = db_.tagList(id), tags;
    tags.push_back(Tag::handle(handleCode, handleOf(id)));
    tags.push_back(Tag::handle(330, owner));
    for (std::string_view m : markers) tags.push_back(Tag::str(100, m));
    for (const Tag& t : old)
      if (t.code != 5 && t.code != 105 && t.code != 330) tags.push_back(t);
    db_.replaceTags(id, tags);
  }

  void upgradeEntity(uint32_t id, uint64_t owner) {
    TagList old = db_.tagList(id), body;
    for (const Tag& t : old)
      if (t.code != 5 && t.code != 330) body.push_back(t);
    addSubclassMarkers(db_.typeOf(id), body);
    TagList tags = {Tag::handle(5, handleOf(id)), Tag::handle(330, owner)};
    tags.insert(tags.end(), body.begin(), body.end());
    db_.replaceTags(id, tags);
  }

  void upgradeTables() {
    std::vector<SymbolTable> tables;
    for (const SymbolTable& t : template_.tables()) {
      SymbolTable* mine = db_.table(t.name);
      if (!mine || equalsNoCase(t.name, "BLOCK_RECORD")) {
        SymbolTable copy{t.name, clone(t.object, 0), {}};
        for (uint32_t r : t.records) copy.records.push_back(clone(r, 0));
        tables.push_back(std::move(copy));
        continue;
      }
      SymbolTable up = *mine;
      TagList head = {Tag::str(2, t.name), Tag::handle(5, handleOf(up.object)), Tag::handle(330, 0),
                      Tag::str(100, "AcDbSymbolTable"),
                      Tag::integer(70, int64_t(up.records.size()))};
      if (equalsNoCase(t.name, "DIMSTYLE")) head.push_back(Tag::str(100, "AcDbDimStyleTable"));
      db_.replaceTags(up.object, head);
      bool dimstyle = equalsNoCase(t.name, "DIMSTYLE");
      for (uint32_t r : up.records)
        restructure(r, handleOf(up.object), {"AcDbSymbolTableRecord", recordSubclass(t.name)}, dimstyle ? 105 : 5);
      // Records every drawing has (layer "0", "Continuous", "Standard" ...).
      for (uint32_t r : t.records) {
        std::string_view name = findString(template_, r, 2);
        bool present = false;
        for (uint32_t mineRecord : up.records) present |= equalsNoCase(findString(db_, mineRecord, 2), name);
        if (!present) {
          uint32_t c = clone(r, 0);
          TagList tags = db_.tagList(c);
          for (Tag& tag : tags)
            if (tag.code == 330) { tag.i = int64_t(handleOf(up.object)); break; }
          db_.replaceTags(c, tags);
          up.records.push_back(c);
        }
      }
      tables.push_back(std::move(up));
    }
    for (SymbolTable& t : db_.tables())
      if (!template_.table(t.name)) tables.push_back(t);
    db_.tables() = std::move(tables);
    db_.reindex();
  }

  void upgradeBlocks() {
    SymbolTable* records = db_.table("BLOCK_RECORD");
    std::vector<BlockDef> blocks;
    for (const BlockDef& tb : template_.blocks()) {
      BlockDef def{tb.name, findRecordIn(*records, tb.name), kNoObject, kNoObject, {}};
      std::string oldName = "$" + tb.name.substr(1);  // release 12 wrote "$MODEL_SPACE"
      for (BlockDef& b : db_.blocks()) {
        if (equalsNoCase(b.name, tb.name)) def.entities = b.entities;
        if (equalsNoCase(b.name, oldName) && b.begin != kNoObject) {
          def.begin = b.begin;
          def.end = b.end;
          renameBlock(b.begin, tb.name);
        }
      }
      if (def.begin == kNoObject) {
        def.begin = clone(tb.begin, kEntity);
        def.end = clone(tb.end, kEntity);
      } else {
        upgradeEntity(def.begin, handleOf(def.record));
        if (def.end == kNoObject) def.end = clone(tb.end, kEntity);
        else upgradeEntity(def.end, handleOf(def.record));
      }
      blocks.push_back(std::move(def));
    }
    for (BlockDef& b : db_.blocks()) {
      if (equalsNoCase(b.name, "*Model_Space") || equalsNoCase(b.name, "*Paper_Space") ||
          equalsNoCase(b.name, "$MODEL_SPACE") || equalsNoCase(b.name, "$PAPER_SPACE"))
        continue;
      uint32_t record = addTableRecord(db_, "BLOCK_RECORD", b.name, {Tag::integer(70, 0), Tag::integer(280, 1), Tag::integer(281, 0)});
      records = db_.table("BLOCK_RECORD");
      b.record = record;
      upgradeEntity(b.begin, handleOf(record));
      if (b.end != kNoObject) upgradeEntity(b.end, handleOf(record));
      blocks.push_back(b);
    }
    db_.blocks() = std::move(blocks);
    db_.reindex();
    for (uint32_t bi = 0; bi < db_.blocks().size(); ++bi) {
      BlockDef& b = db_.blocks()[bi];
      uint64_t owner = handleOf(b.record);
      uint64_t parent = owner;
      for (uint32_t i = 0; i < b.entities.size(); ++i) {
        uint32_t e = b.entities[i];
        bool sub = db_.object(e).flags & kSubEntity;
        upgradeEntity(e, sub ? parent : owner);
        if (!sub) parent = handleOf(e);
        db_.setBlock(e, bi, i);
      }
      db_.setBlock(b.begin, bi, 0);
      if (b.end != kNoObject) db_.setBlock(b.end, bi, 0);
    }
  }

  void renameBlock(uint32_t begin, std::string_view name) {
    TagList tags = db_.tagList(begin);
    for (Tag& t : tags)
      if (t.code == 2 || t.code == 3) t.s = name;
    db_.replaceTags(begin, tags);
  }

  uint32_t findRecordIn(const SymbolTable& t, std::string_view name) {
    for (uint32_t r : t.records)
      if (equalsNoCase(findString(db_, r, 2), name)) return r;
    return kNoObject;
  }

  // The new drawing's variables, with the values this drawing gave.
  void mergeHeader() {
    std::vector<HeaderVar> merged = template_.headerVars();
    for (const HeaderVar& v : db_.headerVars()) {
      if (v.name == "$ACADVER" || v.name == "$HANDSEED" || v.name == "$HANDLING") continue;
      bool found = false;
      for (HeaderVar& m : merged)
        if (m.name == v.name) { m.value = v.value; found = true; }
      if (!found) merged.push_back(v);
    }
    db_.headerVars() = std::move(merged);
  }

  Database& db_;
  Database template_;
  std::unordered_map<uint64_t, uint64_t> remap_;
};

}  // namespace

void upgradeOldDrawing(Database& db) {
  if (db.table("BLOCK_RECORD")) return;
  Upgrader(db).run();
}

}  // namespace tarn::db::detail
