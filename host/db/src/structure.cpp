// Structure of a drawing after reading: blocks, spaces, records.
#include "structure.h"

#include "upgrade.h"

namespace tarn::db::detail {
namespace {

bool onPaper(const Database& db, uint32_t id, uint64_t paperRecord) {
  const ObjectRecord& r = db.object(id);
  if (r.ownerHandle) return paperRecord && r.ownerHandle == paperRecord;
  for (TagCursor c = db.tags(id); !c.done(); c.next())
    if (c.code() == 67) return c.integer() == 1;
  return false;
}

uint32_t ensureBlock(Database& db, const char* name) {
  uint32_t b = db.findBlock(name);
  if (b != kNoObject) return b;
  db.blocks().push_back({name, kNoObject, kNoObject, kNoObject, {}});
  db.reindex();
  return uint32_t(db.blocks().size() - 1);
}

}  // namespace

void finishStructure(Database& db, const std::vector<uint32_t>& entities) {
  db.reindex();
  if (SymbolTable* records = db.table("BLOCK_RECORD")) {
    for (uint32_t id : records->records) {
      uint32_t b = db.findBlock(findString(db, id, 2));
      if (b != kNoObject) db.blocks()[b].record = id;
    }
  }
  uint32_t model = ensureBlock(db, "*Model_Space");
  uint32_t paper = ensureBlock(db, "*Paper_Space");
  uint32_t paperRecord = db.blocks()[paper].record;
  uint64_t paperHandle = paperRecord == kNoObject ? 0 : db.object(paperRecord).handle;
  for (uint32_t b = 0; b < db.blocks().size(); ++b) {
    BlockDef& def = db.blocks()[b];
    for (uint32_t i = 0; i < def.entities.size(); ++i) db.setBlock(def.entities[i], b, i);
    if (def.begin != kNoObject) db.setBlock(def.begin, b, 0);
    if (def.end != kNoObject) db.setBlock(def.end, b, 0);
  }
  uint32_t parentBlock = model;
  for (uint32_t id : entities) {
    uint32_t b = parentBlock;
    if (!(db.object(id).flags & kSubEntity)) b = onPaper(db, id, paperHandle) ? paper : model;
    parentBlock = b;
    db.appendToBlock(b, id);
  }
  upgradeOldDrawing(db);
}

}  // namespace tarn::db::detail
