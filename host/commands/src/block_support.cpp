// Block definitions and new entities for the block commands.
#include "block_support.h"

#include <unordered_set>
#include <utility>

#include "api/sysvars.h"
#include "db/records.h"
#include "geom/coord_system.h"

namespace tarn::commands::blocks {

using db::Tag;
using db::TagList;

namespace {

constexpr int kBlockHasAttributes = 2;
constexpr int kBlockAnonymous = 1;

uint64_t recordHandle(const db::Database& d, uint32_t block) {
  uint32_t record = d.blocks()[block].record;
  return record == db::kNoObject ? 0 : d.object(record).handle;
}

geom::Vec3 vec(db::Point3 p) { return {p.x, p.y, p.z}; }

geom::Vec3 pointVar(std::string_view name, geom::Vec3 dflt) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? vec(v.point) : dflt;
}

geom::Ucs currentUcs() {
  geom::Ucs u;
  u.origin = pointVar("UCSORG", {});
  u.xAxis = pointVar("UCSXDIR", geom::kXAxis);
  u.yAxis = pointVar("UCSYDIR", geom::kYAxis);
  return u;
}

uint32_t addBlockEntity(db::Database& d, std::string_view type, uint64_t owner, const TagList& body) {
  TagList tags = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                  Tag::str(8, "0")};
  tags.insert(tags.end(), body.begin(), body.end());
  return d.addObject(type, tags, db::kEntity);
}

}  // namespace

bool isLayoutName(std::string_view name) {
  auto starts = [&](std::string_view p) { return name.size() >= p.size() && db::equalsNoCase(name.substr(0, p.size()), p); };
  return starts("*Model_Space") || starts("*Paper_Space");
}

uint32_t liveBlock(const db::Database& d, std::string_view name) {
  if (name.empty()) return db::kNoObject;
  uint32_t b = d.findBlock(name);
  if (b == db::kNoObject || d.isLayoutBlock(b)) return db::kNoObject;
  uint32_t begin = d.blocks()[b].begin;
  return begin != db::kNoObject && !d.isErased(begin) ? b : db::kNoObject;
}

bool validBlockName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name.front() == '*' || name.front() == ' ' || name.back() == ' ')
    return false;
  for (unsigned char c : name)
    if (c < 32 || std::string_view("<>/\\\":;?*|,=`").find(char(c)) != std::string_view::npos) return false;
  return true;
}

std::string anonymousName(const db::Database& d, char kind) {
  for (int n = 1;; ++n) {
    std::string name = std::string("*") + kind + std::to_string(n);
    if (d.findBlock(name) == db::kNoObject) return name;
  }
}

uint32_t createBlock(db::Database& d, std::string_view name, db::Point3 base, int flags) {
  // A purged definition keeps its slot (entities point at it by index); it
  // gives up its name so that the index finds the new one.
  if (uint32_t old = d.findBlock(name); old != db::kNoObject) {
    d.blocks()[old].name.clear();
    d.reindex();
  }
  if (!name.empty() && name.front() == '*') flags |= kBlockAnonymous;
  uint32_t record = db::addTableRecord(d, "BLOCK_RECORD", name,
                                       {Tag::integer(70, 0), Tag::integer(280, 1), Tag::integer(281, 0)});
  uint64_t owner = d.object(record).handle;
  uint32_t begin = addBlockEntity(d, "BLOCK", owner,
                                  {Tag::str(100, "AcDbBlockBegin"), Tag::str(2, name), Tag::integer(70, flags),
                                   Tag::point(10, base), Tag::str(3, name), Tag::str(1, "")});
  uint32_t end = addBlockEntity(d, "ENDBLK", owner, {Tag::str(100, "AcDbBlockEnd")});
  d.blocks().push_back({std::string(name), record, begin, end, {}});
  d.reindex();
  uint32_t block = uint32_t(d.blocks().size() - 1);
  d.setBlock(begin, block, 0);
  d.setBlock(end, block, 0);
  return block;
}

void resetBlock(db::Database& d, uint32_t block, db::Point3 base) {
  for (uint32_t id : std::as_const(d).blocks()[block].entities)
    if (!d.isErased(id)) d.setErased(id, true);
  uint32_t begin = d.blocks()[block].begin;
  TagList tags = d.tagList(begin);
  if (Tag* p = findIn(tags, 10)) p->p = base;
  d.replaceTags(begin, tags);
}

void updateAttributeFlag(db::Database& d, uint32_t block) {
  const db::BlockDef& def = std::as_const(d).blocks()[block];
  bool has = false;
  for (uint32_t id : def.entities) has |= !d.isErased(id) && d.typeOf(id) == "ATTDEF";
  TagList tags = d.tagList(def.begin);
  Tag* flags = findIn(tags, 70);
  if (!flags) return;
  int64_t want = has ? (flags->i | kBlockHasAttributes) : (flags->i & ~int64_t(kBlockHasAttributes));
  if (want == flags->i) return;
  flags->i = want;
  d.replaceTags(def.begin, tags);
}

TagList withoutHostGroups(const TagList& tags) {
  TagList out;
  out.reserve(tags.size());
  bool inGroup = false, seenMarker = false, ownerSkipped = false;
  for (const Tag& t : tags) {
    if (t.code == 102) {
      inGroup = !t.s.empty() && t.s[0] == '{';
      continue;
    }
    if (inGroup) continue;
    if (t.code == 100) seenMarker = true;
    if (t.code == 5 || t.code == 105) continue;
    if (t.code == 330 && !seenMarker && !ownerSkipped) {
      ownerSkipped = true;
      continue;
    }
    out.push_back(t);
  }
  return out;
}

uint32_t appendEntity(db::Database& d, uint32_t block, std::string_view type, const TagList& body) {
  TagList tags = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, recordHandle(d, block))};
  tags.insert(tags.end(), body.begin(), body.end());
  uint32_t id = d.addObject(type, tags, db::kEntity);
  d.appendToBlock(block, id);
  return id;
}

uint32_t appendSubEntity(db::Database& d, uint32_t block, uint32_t parent, std::string_view type,
                         const TagList& body) {
  TagList tags = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, d.object(parent).handle)};
  tags.insert(tags.end(), body.begin(), body.end());
  uint32_t id = d.addObject(type, tags, db::kEntity | db::kSubEntity);
  d.appendToBlock(block, id);
  return id;
}

uint32_t appendExploded(db::Database& d, uint32_t block, const entgeom::ExplodedEntity& e) {
  TagList body = e.tags;
  if (!e.blockContents.empty()) {
    uint32_t dimBlock = createBlock(d, anonymousName(d, 'D'), {});
    for (const entgeom::ExplodedEntity& part : e.blockContents) appendExploded(d, dimBlock, part);
    if (Tag* name = findIn(body, 2)) name->s = d.blocks()[dimBlock].name;
  }
  uint32_t id = appendEntity(d, block, e.type, body);
  for (const entgeom::ExplodedEntity& sub : e.subEntities) appendSubEntity(d, block, id, sub.type, sub.tags);
  return id;
}

namespace {

bool references(const db::Database& d, uint32_t block, std::string_view name, std::unordered_set<uint32_t>& seen);

bool entityRefs(const db::Database& d, uint32_t id, std::string_view name, std::unordered_set<uint32_t>& seen) {
  std::string_view type = d.typeOf(id);
  if (type != "INSERT" && type != "DIMENSION") return false;
  std::string_view target = db::findString(d, id, 2);
  if (target.empty()) return false;
  if (db::equalsNoCase(target, name)) return true;
  uint32_t b = d.findBlock(target);
  return b != db::kNoObject && references(d, b, name, seen);
}

bool references(const db::Database& d, uint32_t block, std::string_view name, std::unordered_set<uint32_t>& seen) {
  if (!seen.insert(block).second) return false;
  for (uint32_t id : d.blocks()[block].entities)
    if (!d.isErased(id) && entityRefs(d, id, name, seen)) return true;
  return false;
}

}  // namespace

bool referencesBlock(const db::Database& d, uint32_t block, std::string_view name) {
  std::unordered_set<uint32_t> seen;
  return references(d, block, name, seen);
}

bool entityReferences(const db::Database& d, uint32_t id, std::string_view name) {
  std::unordered_set<uint32_t> seen;
  return entityRefs(d, id, name, seen);
}

geom::Matrix4 ucsToWorldMatrix() { return currentUcs().toWorld(); }
geom::Matrix4 worldToUcsMatrix() { return currentUcs().fromWorld(); }
geom::Vec3 ucsZAxis() { return currentUcs().zAxis(); }

const Tag* findIn(const TagList& tags, int code) {
  for (const Tag& t : tags)
    if (t.code == code) return &t;
  return nullptr;
}

Tag* findIn(TagList& tags, int code) {
  for (Tag& t : tags)
    if (t.code == code) return &t;
  return nullptr;
}

}  // namespace tarn::commands::blocks
