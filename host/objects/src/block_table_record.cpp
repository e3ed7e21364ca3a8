// Block table records: a block's name, origin and flags (kept on its BLOCK
// entity), its entities, appending new entities, and making new blocks.
#include "api/host_state.h"
#include "db/records.h"
#include "properties.h"

using namespace tarn;
using namespace tarn::objects;
using db::Tag;
using db::TagList;

namespace {

const Property kOrigin{10, Kind::Point};
const Property kBlockFlags{70, Kind::Int};
const Property kExplodable{280, Kind::Int, 0, 1};
const Property kUnits{70, Kind::Int};

constexpr int64_t kAnonymous = 1;
constexpr int64_t kHasAttributes = 2;
constexpr int64_t kExternal = 4;

uint32_t blockOf(const TcDbObject& r) {
  const TcDbObjectImpl& o = implOf(r);
  return o.db ? blockOfRecord(*o.db, o.main.id) : db::kNoObject;
}

std::string currentLayer(const db::Database& d) {
  const TagList* v = d.headerVar("$CLAYER");
  return v && !v->empty() && d.findRecord("LAYER", v->front().s) != db::kNoObject ? v->front().s : "0";
}

std::string anonymousName(const db::Database& d) {
  for (int n = 1;; ++n) {
    std::string name = "*U" + std::to_string(n);
    if (d.findBlock(name) == db::kNoObject) return name;
  }
}

uint32_t addBlockEntity(db::Database& d, std::string_view type, uint64_t owner, TagList body) {
  TagList tags = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                  Tag::str(8, "0")};
  tags.insert(tags.end(), body.begin(), body.end());
  return d.addObject(type, tags, db::kEntity);
}

}  // namespace

TcDbBlockTableRecord::TcDbBlockTableRecord() : TcDbSymbolTableRecord("BLOCK_RECORD") {
  implOf(*this).main.tags = {Tag::str(2, ""), Tag::integer(70, 0), Tag::integer(280, 1), Tag::integer(281, 0)};
  implOf(*this).begin.tags = {Tag::integer(70, 0), Tag::point(10, {})};
}

TcGePoint3d TcDbBlockTableRecord::origin() const { return getBeginPoint(*this, kOrigin); }
TcDb::ErrorStatus TcDbBlockTableRecord::setOrigin(const TcGePoint3d& p) { return setBeginPoint(*this, kOrigin, p); }
bool TcDbBlockTableRecord::isAnonymous() const { return getBeginInt(*this, kBlockFlags) & kAnonymous; }
bool TcDbBlockTableRecord::hasAttributeDefinitions() const { return getBeginInt(*this, kBlockFlags) & kHasAttributes; }
bool TcDbBlockTableRecord::isFromExternalReference() const { return getBeginInt(*this, kBlockFlags) & kExternal; }
bool TcDbBlockTableRecord::explodable() const { return getInt(*this, kExplodable) != 0; }
TcDb::ErrorStatus TcDbBlockTableRecord::setExplodable(bool on) { return setInt(*this, kExplodable, on ? 1 : 0); }
int TcDbBlockTableRecord::blockInsertUnits() const { return int(getInt(*this, kUnits)); }
TcDb::ErrorStatus TcDbBlockTableRecord::setBlockInsertUnits(int u) { return u >= 0 && u <= 24 ? setInt(*this, kUnits, u) : TcDb::eInvalidInput; }

bool TcDbBlockTableRecord::isLayout() const {
  uint32_t block = blockOf(*this);
  return block != db::kNoObject && implOf(*this).db->isLayoutBlock(block);
}

TcDbObjectIdArray TcDbBlockTableRecord::entityIds() const {
  TcDbObjectIdArray out;
  uint32_t block = blockOf(*this);
  if (block == db::kNoObject) return out;
  const db::Database& d = *implOf(*this).db;
  for (uint32_t e : d.blocks()[block].entities)
    if (!(d.object(e).flags & (db::kSubEntity | db::kErased))) out.push_back(idOf(d, e));
  return out;
}

TcDb::ErrorStatus TcDbBlockTableRecord::newIterator(TcDbBlockTableRecordIterator*& it) const {
  it = new TcDbBlockTableRecordIterator(entityIds());
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbBlockTableRecord::appendTcDbEntity(TcDbObjectId& id, TcDbEntity* entity) {
  id = {};
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  uint32_t block = blockOf(*this);
  if (!entity || block == db::kNoObject) return TcDb::eInvalidInput;
  if (!entity->isNewObject()) return TcDb::eAlreadyInDb;
  TagList& tags = implOf(*entity).main.tags;
  if (!findOwn(tags, 8)) tags.insert(tags.begin(), Tag::str(8, currentLayer(*o.db)));
  uint64_t owner = o.db->object(o.main.id).handle;
  if (TcDb::ErrorStatus es = addToDatabase(*entity, *o.db, owner, block); es != TcDb::eOk) return es;
  if (implOf(*entity).type == "ATTDEF" && !o.db->isLayoutBlock(block) && o.begin.id != db::kNoObject) {
    setOwn("BLOCK", o.begin.tags, Tag::integer(70, getBeginInt(*this, kBlockFlags) | kHasAttributes));
    o.begin.dirty = true;
  }
  id = entity->objectId();
  return TcDb::eOk;
}

// A new block: its record, BLOCK and ENDBLK entities and its definition.
TcDb::ErrorStatus addBlockDefinition(db::Database& d, TcDbBlockTableRecord& record, std::string name) {
  TcDbObjectImpl& r = implOf(record);
  int64_t flags = getBeginInt(record, kBlockFlags);
  if (name[0] == '*') {
    name = anonymousName(d);
    flags |= kAnonymous;
  }
  TagList data;
  for (const Tag& t : r.main.tags)
    if (t.code != 2 && t.code != 100) data.push_back(t);
  uint32_t id = db::addTableRecord(d, "BLOCK_RECORD", name, data);
  if (id == db::kNoObject) return TcDb::eNotApplicable;
  uint64_t owner = d.object(id).handle;
  TcGePoint3d o = record.origin();
  uint32_t begin = addBlockEntity(d, "BLOCK", owner, {Tag::str(100, "AcDbBlockBegin"), Tag::str(2, name),
      Tag::integer(70, flags), Tag::point(10, {o.x, o.y, o.z}), Tag::str(3, name), Tag::str(1, "")});
  d.blocks().push_back({name, id, begin, db::kNoObject, {}});
  uint32_t block = uint32_t(d.blocks().size() - 1);
  d.setBlock(begin, block, 0);
  uint32_t end = addBlockEntity(d, "ENDBLK", owner, {Tag::str(100, "AcDbBlockEnd")});
  d.blocks()[block].end = end;
  d.setBlock(end, block, 0);
  d.reindex();
  r.db = &d;
  r.main = {id, d.tagList(id), false};
  r.begin = {begin, d.tagList(begin), false};
  adoptOpen(&record);
  return TcDb::eOk;
}
