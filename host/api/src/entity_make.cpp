// Making objects from entity lists: single entities, complex entities over
// several calls (POLYLINE ... SEQEND, INSERT ... SEQEND), block definitions
// (BLOCK ... ENDBLK), table records and ownerless objects.
#include <map>
#include <string>

#include <tarnsdk/tcdbapi.h>

#include "api/entity_edit.h"
#include "api/entity_list.h"
#include "api/host_state.h"
#include "db/subclasses.h"
#include "db/records.h"

namespace tarn::host {
namespace {

using db::kNoObject;
using db::Tag;
using db::TagList;

struct Pending {
  std::string type;
  TagList tags;
};

// What a database has begun but not finished through several calls.
struct MakeState {
  bool inBlock = false;
  TagList blockBegin;               // the BLOCK's groups
  std::vector<Pending> blockItems;  // entities of the block, complex ones whole
  std::vector<Pending> complex;     // POLYLINE or INSERT, then VERTEX/ATTRIB
};

std::map<uint32_t, MakeState>& states() {
  static std::map<uint32_t, MakeState> s;
  return s;
}

std::string typeOfList(const struct resbuf* list) {
  for (const struct resbuf* rb = list; rb; rb = rb->rbnext)
    if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring) return db::upperAscii(rb->resval.rstring);
  return {};
}

const Tag* find(const TagList& tags, int code) {
  for (const Tag& t : tags)
    if (t.code == code) return &t;
  return nullptr;
}

bool isTableRecord(std::string_view t) {
  return t == "LAYER" || t == "LTYPE" || t == "STYLE" || t == "DIMSTYLE" || t == "APPID" || t == "UCS" ||
         t == "VIEW" || t == "VPORT";
}

// Points that files keep in two dimensions.
void flattenPoints(std::string_view type, TagList& tags) {
  bool first = true;
  for (Tag& t : tags) {
    if (t.kind != db::TagKind::Point3) continue;
    if (type == "LWPOLYLINE" && t.code == 10) t.kind = db::TagKind::Point2;
    if (type == "HATCH" && (t.code == 10 || t.code == 11)) {
      if (t.code == 10 && first) first = false;
      else t.kind = db::TagKind::Point2;
    }
  }
}

// Removes what the host assigns itself: handles, owners, reactors.
TagList withoutHostGroups(TagList tags) {
  TagList out;
  bool inGroup = false;
  for (Tag& t : tags) {
    if (t.code == 102) { inGroup = !t.s.empty() && t.s[0] == '{'; continue; }
    if (inGroup || t.code == 5 || t.code == 105 || (t.code == 330 && out.size() < 2)) continue;
    out.push_back(std::move(t));
  }
  return out;
}

bool hasRequired(std::string_view type, const TagList& tags) {
  for (int code : db::requiredGroups(type))
    if (!find(tags, code)) return false;
  return true;
}

std::string currentLayer(const db::Database& d) {
  const TagList* v = d.headerVar("$CLAYER");
  return v && !v->empty() ? v->front().s : "0";
}

// An entity's groups with markers, handle, owner and layer, ready to store.
bool prepareEntity(db::Database& d, const std::string& type, TagList tags, uint64_t owner, TagList& out) {
  if (!hasRequired(type, tags)) return false;
  flattenPoints(type, tags);
  if (!find(tags, 8)) tags.insert(tags.begin(), Tag::str(8, currentLayer(d)));
  db::addSubclassMarkers(type, tags);
  if (!checkReferences(d, tags)) return false;
  out.clear();
  out.push_back(Tag::handle(5, d.allocateHandle()));
  out.push_back(Tag::handle(330, owner));
  out.insert(out.end(), tags.begin(), tags.end());
  return true;
}

uint32_t targetSpace(const db::Database& d, const TagList& tags) {
  const Tag* space = find(tags, 67);
  return space && space->i == 1 ? d.paperSpace() : d.modelSpace();
}

uint64_t recordHandle(const db::Database& d, uint32_t block) {
  uint32_t r = block == kNoObject ? kNoObject : d.blocks()[block].record;
  return r == kNoObject ? 0 : d.object(r).handle;
}

// Stores a whole entity (a complex one with its sub-entities) into a block.
bool storeEntity(db::Database& d, uint32_t block, const std::vector<Pending>& items, uint32_t& made) {
  std::vector<std::pair<std::string, TagList>> ready;
  uint64_t parentHandle = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    TagList tags;
    uint64_t owner = i == 0 ? recordHandle(d, block) : parentHandle;
    if (!prepareEntity(d, items[i].type, items[i].tags, owner, tags)) return false;
    if (i == 0) parentHandle = tags[0].asHandle();
    ready.emplace_back(items[i].type, std::move(tags));
  }
  made = kNoObject;
  for (size_t i = 0; i < ready.size(); ++i) {
    uint16_t flags = db::kEntity | (i ? db::kSubEntity : 0);
    uint32_t id = d.addObject(ready[i].first, ready[i].second, flags);
    d.appendToBlock(block, id);
    if (i == 0) made = id;
  }
  return true;
}

int beginBlock(db::Database& d, MakeState& s, TagList tags) {
  const Tag* name = find(tags, 2);
  if (s.inBlock || !s.complex.empty() || !name || !find(tags, 10)) return RTERROR;
  bool anonymous = name->s.empty() || name->s[0] == '*';
  if (!anonymous && d.findBlock(name->s) != kNoObject) return RTERROR;
  s.inBlock = true;
  s.blockBegin = std::move(tags);
  s.blockItems.clear();
  return RTNORM;
}

std::string anonymousName(const db::Database& d, std::string_view given) {
  char kind = given.size() > 1 ? given[1] : 'U';
  for (int n = 0;; ++n) {
    std::string name = std::string("*") + kind + std::to_string(n);
    if (d.findBlock(name) == kNoObject) return name;
  }
}

int endBlock(db::Database& d, MakeState& s, uint32_t& made) {
  if (!s.inBlock || !s.complex.empty()) return RTERROR;
  s.inBlock = false;
  TagList begin = s.blockBegin;
  Tag* name = nullptr;
  for (Tag& t : begin)
    if (t.code == 2) name = &t;
  if (name->s.empty() || name->s[0] == '*') name->s = anonymousName(d, name->s);
  // Anonymous names also stand in group 3 of the BLOCK.
  for (Tag& t : begin)
    if (t.code == 3) t.s = name->s;
  uint32_t record = db::addTableRecord(d, "BLOCK_RECORD", name->s, {});
  if (record == kNoObject) return RTERROR;
  uint64_t owner = d.object(record).handle;
  TagList tags;
  if (!prepareEntity(d, "BLOCK", begin, owner, tags)) return RTERROR;
  uint32_t beginId = d.addObject("BLOCK", tags, db::kEntity);
  d.blocks().push_back({name->s, record, beginId, kNoObject, {}});
  d.reindex();
  uint32_t block = uint32_t(d.blocks().size() - 1);
  d.setBlock(beginId, block, 0);
  // Entities of the block, then its end.
  for (size_t i = 0; i < s.blockItems.size();) {
    size_t end = i + 1;
    while (end < s.blockItems.size() && (s.blockItems[end].type == "VERTEX" || s.blockItems[end].type == "ATTRIB" ||
                                         s.blockItems[end].type == "SEQEND"))
      ++end;
    std::vector<Pending> one(s.blockItems.begin() + long(i), s.blockItems.begin() + long(end));
    uint32_t id;
    if (!storeEntity(d, block, one, id)) return RTERROR;
    i = end;
  }
  if (!prepareEntity(d, "ENDBLK", {}, owner, tags)) return RTERROR;
  uint32_t endId = d.addObject("ENDBLK", tags, db::kEntity);
  d.blocks()[block].end = endId;
  d.setBlock(endId, block, 0);
  made = beginId;
  return RTNORM;
}

// Ends a complex entity with its SEQEND and stores it.
int finishComplex(db::Database& d, MakeState& s, TagList seqend, uint32_t& made) {
  if (s.complex.empty()) return RTERROR;
  std::vector<Pending> items = std::move(s.complex);
  s.complex.clear();
  items.push_back({"SEQEND", std::move(seqend)});
  if (s.inBlock) {
    s.blockItems.insert(s.blockItems.end(), items.begin(), items.end());
    made = kNoObject;
    return RTNORM;
  }
  return storeEntity(d, targetSpace(d, items[0].tags), items, made) ? RTNORM : RTERROR;
}

int makeRecord(db::Database& d, const std::string& type, TagList tags, uint32_t& made) {
  const Tag* name = find(tags, 2);
  if (!name || name->s.empty() || d.findRecord(type, name->s) != kNoObject) return RTERROR;
  std::string n = name->s;
  TagList data;
  for (Tag& t : tags)
    if (t.code != 2 && t.code != 100) data.push_back(t);
  made = db::addTableRecord(d, type, n, data);
  return made == kNoObject ? RTERROR : RTNORM;
}

int makeObject(db::Database& d, const std::string& type, TagList tags, uint32_t& made) {
  db::addSubclassMarkers(type, tags);
  TagList out = {Tag::handle(5, d.allocateHandle()), Tag::handle(330, 0)};
  out.insert(out.end(), tags.begin(), tags.end());
  made = d.addObject(type, out, 0);
  d.objectsSection().push_back(made);
  return RTNORM;
}

}  // namespace

int makeEntity(db::Database& d, const struct resbuf* list, bool ownerless, uint32_t& made) {
  made = kNoObject;
  MakeState& s = states()[d.serial()];
  if (!list) {  // discard what is unfinished
    s = MakeState{};
    return RTNORM;
  }
  std::string type = typeOfList(list);
  TagList tags;
  std::string error;
  if (type.empty() || !listToTags(d, list, kNoObject, tags, error)) return RTERROR;
  tags = withoutHostGroups(std::move(tags));
  if (type == "BLOCK") return beginBlock(d, s, std::move(tags));
  if (type == "ENDBLK") return endBlock(d, s, made);
  if (type == "SEQEND") return finishComplex(d, s, std::move(tags), made);
  if (type == "VERTEX" || type == "ATTRIB") {
    std::string parent = s.complex.empty() ? "" : s.complex.front().type;
    if ((type == "VERTEX") != (parent == "POLYLINE") || (type == "ATTRIB") != (parent == "INSERT")) return RTERROR;
    if (!hasRequired(type, tags)) return RTERROR;
    s.complex.push_back({type, std::move(tags)});
    return RTNORM;
  }
  if (!s.complex.empty()) return RTERROR;  // a complex entity must be finished first
  if (isTableRecord(type)) return makeRecord(d, type, std::move(tags), made);
  bool entityMarker = false;  // types we have no table for are entities when their list says so
  for (const Tag& t : tags) entityMarker |= t.code == 100 && t.s == "AcDbEntity";
  if (!db::isEntityType(type) && !entityMarker)
    return ownerless ? makeObject(d, type, std::move(tags), made) : RTERROR;
  if (type == "INSERT") {
    const Tag* name = find(tags, 2);
    if (!name || d.findBlock(name->s) == kNoObject || d.isLayoutBlock(d.findBlock(name->s))) return RTERROR;
  }
  const Tag* follow = find(tags, 66);
  if (type == "POLYLINE" || (type == "INSERT" && follow && follow->i == 1)) {
    if (!hasRequired(type, tags)) return RTERROR;
    s.complex.push_back({type, std::move(tags)});
    return RTNORM;
  }
  if (s.inBlock) {
    if (!hasRequired(type, tags)) return RTERROR;
    s.blockItems.push_back({type, std::move(tags)});
    return RTNORM;
  }
  // Read the space before the groups are moved: arguments are evaluated in
  // no fixed order.
  const uint32_t space = targetSpace(d, tags);
  return storeEntity(d, space, {{type, std::move(tags)}}, made) ? RTNORM : RTERROR;
}

}  // namespace tarn::host

extern "C" {

int tcdbEntMake(const struct resbuf* list) {
  tarn::db::Database* d = tarn::host::currentDatabase();
  uint32_t made;
  return d ? tarn::host::makeEntity(*d, list, false, made) : RTERROR;
}

int tcdbEntMakeX(const struct resbuf* list, tc_name result) {
  tarn::db::Database* d = tarn::host::currentDatabase();
  uint32_t made;
  if (!d) return RTERROR;
  int rc = tarn::host::makeEntity(*d, list, true, made);
  if (result) tarn::host::makeName(*d, made, result);
  return rc;
}

}  // extern "C"
