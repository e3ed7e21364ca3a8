// EXPLODE: each selected object is replaced by the entities the geometry
// library's explode rules give for it, in the same space; objects it
// refuses are reported with its message and left as they are. A dimension
// that comes out of a block reference gets a geometry block of its own
// ("*Dn"), holding its old block's entities placed as the dimension now
// stands, so that it no longer shares the definition it was placed from.
#include <algorithm>

#include <tarnsdk/tcedapi.h>

#include "api/host_state.h"
#include "db/records.h"
#include "entgeom/explode.h"
#include "geometry_edit_support.h"
#include "editor/editor.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

uint32_t storeExploded(const entgeom::ExplodedEntity& e, uint32_t block, uint64_t owner);

std::string freeDimensionBlockName() {
  for (int n = 0;; ++n) {
    std::string name = "*D" + std::to_string(n);
    if (drawing().findBlock(name) == db::kNoObject) return name;
  }
}

// A new anonymous dimension block with the entities; its name.
std::string defineDimensionBlock(const std::vector<entgeom::ExplodedEntity>& contents) {
  db::Database& d = drawing();
  std::string name = freeDimensionBlockName();
  uint32_t record = db::addTableRecord(d, "BLOCK_RECORD", name, {});
  if (record == db::kNoObject) return {};
  uint64_t owner = d.object(record).handle;
  TagList begin = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                   Tag::str(8, "0"), Tag::str(100, "AcDbBlockBegin"), Tag::str(2, name), Tag::integer(70, 1),
                   Tag::point(10, {0, 0, 0}), Tag::str(3, name), Tag::str(1, "")};
  uint32_t beginId = d.addObject("BLOCK", begin, db::kEntity);
  d.blocks().push_back({name, record, beginId, db::kNoObject, {}});
  d.reindex();
  uint32_t block = uint32_t(d.blocks().size() - 1);
  d.setBlock(beginId, block, 0);
  for (const entgeom::ExplodedEntity& e : contents) storeExploded(e, block, owner);
  TagList end = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                 Tag::str(8, "0"), Tag::str(100, "AcDbBlockEnd")};
  uint32_t endId = d.addObject("ENDBLK", end, db::kEntity);
  d.blocks()[block].end = endId;
  d.setBlock(endId, block, 0);
  return name;
}

uint32_t storeExploded(const entgeom::ExplodedEntity& e, uint32_t block, uint64_t owner) {
  TagList tags = e.tags;
  if (!e.blockContents.empty()) {
    std::string name = defineDimensionBlock(e.blockContents);
    for (Tag& t : tags)
      if (t.code == 2 && !name.empty()) t.s = name;
  }
  uint32_t id = storeEntity(e.type, std::move(tags), owner, block, db::kEntity);
  uint64_t parent = drawing().object(id).handle;
  for (const entgeom::ExplodedEntity& sub : e.subEntities)
    storeEntity(sub.type, sub.tags, parent, block, db::kEntity | db::kSubEntity);
  return id;
}

// Replaces one object by its parts; false (with the reason printed) when refused.
bool explodeOne(uint32_t id) {
  db::Database& d = drawing();
  entgeom::ExplodeResult r = entgeom::explodeEntity(d, id);
  if (!r.ok()) {
    print(r.message + "\n");
    return false;
  }
  uint32_t block = d.object(id).block;
  uint64_t owner = blockOwnerHandle(block);
  for (const entgeom::ExplodedEntity& e : r.entities) storeExploded(e, block, owner);
  d.setErased(id, true);
  return true;
}

std::vector<uint32_t> selectWith(const char* mode, int& status) {
  tc_name ss;
  std::vector<uint32_t> ids;
  status = tcedSSGet(mode, nullptr, nullptr, nullptr, ss);
  if (status != RTNORM) return ids;
  int32_t n = 0;
  tcedSSLength(ss, &n);
  for (int32_t i = 0; i < n; ++i) {
    tc_name e;
    db::Database* d = nullptr;
    uint32_t id = 0;
    if (tcedSSName(ss, i, e) == RTNORM && host::resolveName(e, d, id) && d == &drawing() && !d->isErased(id))
      ids.push_back(id);
  }
  tcedSSFree(ss);
  return ids;
}

// The first answer that finds objects, then more until Enter. A program
// that passes its selection set and nothing after it (as in ("_.EXPLODE"
// set)) has its set exploded when there is no input left to continue the
// selection; a cancel typed there cancels the command.
std::vector<uint32_t> selectForExplode(int& status) {
  std::vector<uint32_t> ids = selectWith(":S", status);
  if (status != RTNORM) return ids;
  int more = RTNORM;
  std::vector<uint32_t> rest = selectWith(nullptr, more);
  if (more == RTCAN && editor::currentEditor().hasSource()) {
    status = RTCAN;
    return {};
  }
  for (uint32_t id : rest)
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  return ids;
}

}  // namespace

int explodeCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = selectForExplode(status);
  if (status == RTCAN) return RTCAN;
  int refused = 0;
  for (uint32_t id : withoutLocked(ids))
    if (!explodeOne(id)) ++refused;
  if (refused) print(std::to_string(refused) + (refused == 1 ? " object" : " objects") + " could not be exploded.\n");
  return RTNORM;
}

}  // namespace tarn::commands
