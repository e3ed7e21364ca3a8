// Object picks, curve write-back, new entities made like others and the
// step log of the geometry editing commands.
#include "geometry_edit_support.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "db/subclasses.h"
#include "editor/editor.h"
#include "editor/reply_values.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_hit_test.h"
#include "geometry_edit_spatial.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

// A typed point (current UCS, elevation when no Z is typed) in the world.
std::optional<Point3> typedWorldPoint(std::string_view text) {
  host::SysVarValue last, elevation;
  Point3 lastPoint = host::getSysVar("LASTPOINT", last) ? last.point : Point3{};
  auto p = editor::parsePoint(text, lastPoint);
  if (!p) return std::nullopt;
  if (!p->hasZ) p->point.z = host::getSysVar("ELEVATION", elevation) ? elevation.number : 0;
  return ucsToWorld(p->point);
}

bool pickable(uint32_t id) {
  const db::Database& d = drawing();
  if (id == db::kNoObject || !d.valid(id) || d.isErased(id)) return false;
  const db::ObjectRecord& r = d.object(id);
  return (r.flags & db::kEntity) && !(r.flags & db::kSubEntity) && r.block != db::kNoObject &&
         d.isLayoutBlock(r.block);
}

// The nearest entity within the pick box around a world point.
uint32_t entityAt(Point3 world) {
  const db::Database& d = drawing();
  double aperture = editor::currentEditor().aperture();
  geom::Vec3 p = toVec(world);
  geom::BoundingBox box;
  box.add(p);
  box = box.expanded(aperture);
  std::vector<uint32_t> candidates;
  EntityIndex::of(d).query(box, candidates);
  entgeom::EntityHitTester tester(d);
  uint32_t best = db::kNoObject;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (uint32_t id : candidates) {
    double dist = 0;
    if (tester.distanceTo(id, p, dist) == entgeom::EntStatus::Ok && dist <= aperture && dist < bestDistance) {
      best = id;
      bestDistance = dist;
    }
  }
  return best;
}

uint32_t entityByHandle(std::string_view text) {
  char* end = nullptr;
  std::string digits(text.substr(1));
  unsigned long long h = std::strtoull(digits.c_str(), &end, 16);
  if (digits.empty() || *end != '\0') return db::kNoObject;
  return drawing().findHandle(h);
}

// The pick a reply makes (status RTNORM), or status 0 when it picks nothing.
ObjectPick pickOf(const editor::Reply& r) {
  ObjectPick pick;
  pick.status = 0;
  if (r.kind == editor::ReplyKind::Entity) {
    db::Database* owner = nullptr;
    uint32_t id = 0;
    if (host::resolveName(r.name, owner, id) && owner == &drawing()) pick.id = id;
    // A program's pick of an entity with the point it was picked at.
    if (auto p = r.text.empty() ? std::nullopt : typedWorldPoint(r.text)) pick.world = *p, pick.hasPoint = true;
  } else if (r.text.starts_with('#')) {
    pick.id = entityByHandle(r.text);
  } else if (auto p = typedWorldPoint(r.text)) {
    pick.world = *p;
    pick.hasPoint = true;
    pick.id = entityAt(*p);
  }
  if (pickable(pick.id)) pick.status = RTNORM;
  return pick;
}

ObjectPick ended(int status) {
  ObjectPick pick;
  pick.status = status;
  return pick;
}

}  // namespace

ObjectPick pickObject(const std::string& prompt, const char* keywords) {
  editor::Editor& ed = editor::currentEditor();
  editor::KeywordList list = editor::KeywordList::parse(keywords ? keywords : "");
  for (;;) {
    editor::Reply r = ed.ask(prompt, false);
    if (r.kind == editor::ReplyKind::End || r.kind == editor::ReplyKind::Cancel) return ended(RTCAN);
    if (r.kind == editor::ReplyKind::Enter) return ended(RTNONE);
    if (r.kind == editor::ReplyKind::Text) {
      if (auto k = list.match(r.text)) {
        ObjectPick kw;
        kw.status = RTKWORD;
        kw.keyword = list.global(*k);
        ed.lastInput = kw.keyword;
        return kw;
      }
    }
    if (r.kind != editor::ReplyKind::Entity && r.kind != editor::ReplyKind::Text) {
      ed.complain("*Invalid selection*");
      continue;
    }
    ObjectPick pick = pickOf(r);
    if (pick.status == RTNORM) return pick;
    ed.complain(r.kind == editor::ReplyKind::Text && !r.text.starts_with('#') ? "No object found at that point."
                                                                             : "That object cannot be picked.");
  }
}

geom::CurvePtr editableCurve(uint32_t id, const char* verb) {
  db::Database& d = drawing();
  if (host::onLockedLayer(d, id)) {
    print("The object is on a locked layer.\n");
    return nullptr;
  }
  geom::CurvePtr c = entgeom::curveOf(d, id);
  if (!c) print("Cannot " + std::string(verb) + " a " + std::string(d.typeOf(id)) + ".\n");
  return c;
}

// ---- the step log

void StepLog::begin() {
  EntityIndex::of(drawing());
  steps_.emplace_back();
}

std::vector<uint32_t> StepLog::idsOf(const Step& s) {
  std::vector<uint32_t> ids = s.made;
  for (const Saved& v : s.saved) ids.push_back(v.id);
  return ids;
}

void StepLog::end() {
  if (!steps_.empty()) EntityIndex::noteOwnChanges(drawing(), idsOf(steps_.back()));
}

void StepLog::noteChange(uint32_t id) {
  if (steps_.empty()) return;
  Step& s = steps_.back();
  if (std::any_of(s.saved.begin(), s.saved.end(), [&](const Saved& v) { return v.id == id; })) return;
  s.saved.push_back({id, drawing().tagList(id), drawing().isErased(id)});
}

void StepLog::noteNew(uint32_t id) {
  if (!steps_.empty()) steps_.back().made.push_back(id);
}

bool StepLog::undoLast() {
  // Steps that changed nothing are not worth an Undo of their own.
  while (!steps_.empty() && steps_.back().saved.empty() && steps_.back().made.empty()) steps_.pop_back();
  if (steps_.empty()) return false;
  EntityIndex::of(drawing());
  Step s = std::move(steps_.back());
  steps_.pop_back();
  db::Database& d = drawing();
  for (uint32_t id : s.made) d.setErased(id, true);
  for (auto it = s.saved.rbegin(); it != s.saved.rend(); ++it) {
    d.replaceTags(it->id, it->tags);
    if (d.isErased(it->id) != it->erased) d.setErased(it->id, it->erased);
  }
  EntityIndex::noteOwnChanges(d, idsOf(s));
  return true;
}

// ---- entities

namespace {

// The groups under an entity's "AcDbEntity" marker: layer, colour,
// linetype, lineweight, space and the rest of the entity-wide properties.
TagList entityHeader(uint32_t id) {
  TagList out;
  bool inside = false;
  for (db::TagCursor c = drawing().tags(id); !c.done(); c.next()) {
    Tag t = c.decode();
    if (t.code == 100) {
      if (inside) break;
      inside = t.s == "AcDbEntity";
      continue;
    }
    if (inside) out.push_back(t);
  }
  return out;
}

TagList extendedData(uint32_t id) {
  TagList out;
  bool inside = false;
  for (db::TagCursor c = drawing().tags(id); !c.done(); c.next()) {
    inside = inside || c.code() == 1001;
    if (inside) out.push_back(c.decode());
  }
  return out;
}

// Everything of a stored entity up to its first subclass after AcDbEntity.
TagList entityPrefix(uint32_t id) {
  TagList out;
  int markers = 0;
  for (db::TagCursor c = drawing().tags(id); !c.done(); c.next()) {
    if (c.code() == 100 && ++markers == 2) break;
    if (c.code() == 1001) break;
    out.push_back(c.decode());
  }
  return out;
}

// The curve's groups under their subclass markers, AcDbEntity left out.
TagList curveBody(const entgeom::CurveGroups& g) {
  TagList body = g.groups;
  db::addSubclassMarkers(g.type, body);
  auto first =
      std::find_if(body.begin(), body.end(), [](const Tag& t) { return t.code == 100 && t.s != "AcDbEntity"; });
  return TagList(first, body.end());
}


// A 3D polyline's vertices and end marker, after the polyline itself.
void storeVertices(const geom::Curve& curve, uint32_t parent, const std::string& layer, uint32_t block) {
  uint64_t owner = drawing().object(parent).handle;
  auto sub = [&](std::string_view type, TagList groups) {
    groups.insert(groups.begin(), Tag::str(8, layer));
    db::addSubclassMarkers(type, groups);
    storeEntity(type, std::move(groups), owner, block, db::kEntity | db::kSubEntity);
  };
  for (TagList& v : entgeom::vertexGroups(curve)) sub("VERTEX", std::move(v));
  sub("SEQEND", {});
}

}  // namespace

uint64_t blockOwnerHandle(uint32_t block) {
  const db::Database& d = drawing();
  uint32_t record = d.blocks()[block].record;
  return record == db::kNoObject ? 0 : d.object(record).handle;
}

uint32_t storeEntity(std::string_view type, TagList body, uint64_t owner, uint32_t block, uint16_t flags) {
  db::Database& d = drawing();
  uint64_t handle = d.allocateHandle();
  body.insert(body.begin(), {Tag::handle(5, handle), Tag::handle(330, owner)});
  uint32_t id = d.addObject(type, body, flags);
  d.appendToBlock(block, id);
  return id;
}

uint32_t addCurveLike(uint32_t like, const geom::Curve& curve, StepLog* log) {
  entgeom::CurveGroups g;
  if (entgeom::curveGroups(curve, g) != entgeom::EntStatus::Ok) return db::kNoObject;
  TagList body = entityHeader(like);
  std::string layer = "0";
  for (const Tag& t : body)
    if (t.code == 8) layer = t.s;
  body.insert(body.begin(), Tag::str(100, "AcDbEntity"));
  TagList geometry = curveBody(g);
  body.insert(body.end(), geometry.begin(), geometry.end());
  TagList xdata = extendedData(like);
  body.insert(body.end(), xdata.begin(), xdata.end());
  uint32_t block = drawing().object(like).block;
  uint32_t id = storeEntity(g.type, std::move(body), blockOwnerHandle(block), block, db::kEntity);
  if (g.type == "POLYLINE") storeVertices(curve, id, layer, block);
  if (log) log->noteNew(id);
  return id;
}

uint32_t replaceCurve(uint32_t id, const geom::Curve& curve, StepLog* log) {
  db::Database& d = drawing();
  entgeom::CurveGroups g;
  if (entgeom::curveGroups(curve, g) != entgeom::EntStatus::Ok) return db::kNoObject;
  if (log) log->noteChange(id);
  if (g.type != d.typeOf(id) || g.type == "POLYLINE") {
    uint32_t made = addCurveLike(id, curve, log);
    d.setErased(id, true);
    return made;
  }
  TagList tags = entityPrefix(id);
  TagList body = curveBody(g);
  // Groups of the old entity that the curve does not describe but the type keeps.
  for (int code : {39, 43})
    if (auto t = db::findTag(d, id, code))
      if (std::none_of(body.begin(), body.end(), [&](const Tag& x) { return x.code == code; }))
        db::insertGroup(g.type, body, *t);
  tags.insert(tags.end(), body.begin(), body.end());
  TagList xdata = extendedData(id);
  tags.insert(tags.end(), xdata.begin(), xdata.end());
  d.replaceTags(id, tags);
  return id;
}

}  // namespace tarn::commands
