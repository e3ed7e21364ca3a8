// BLOCK: a block definition from selected objects. The objects move into the
// definition (expressed in the current UCS, so that a reference inserted in
// that UCS at the base point looks like them) and leave the drawing.
// Redefining keeps the block's record, so every reference shows the new
// content.
#include "block_commands.h"
#include "block_support.h"
#include "command_support.h"
#include "entgeom/entity_transform.h"

namespace tarn::commands {
namespace {

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

// The block name (asked again after a refused name or a "No"); RTNONE when
// the user gave none.
int askName(std::string& name, bool& redefine) {
  for (;;) {
    Answer a = askString("Enter block name or [?]: ", name);
    if (cancelled(a.status)) return RTCAN;
    if (a.status == RTNONE) return RTNONE;
    if (name == "?" || name == "_?") {
      blocks::listBlocks();
      continue;
    }
    if (!blocks::validBlockName(name) || blocks::isLayoutName(name)) {
      print("Invalid block name \"" + name + "\".\n");
      continue;
    }
    redefine = blocks::liveBlock(drawing(), name) != db::kNoObject;
    if (!redefine) return RTNORM;
    bool yes = false;
    if (!blocks::askRedefine(name, yes)) return RTCAN;
    if (yes) return RTNORM;
  }
}

// The objects as the block holds them: each with the objects that move with
// it (its sub-entities, a dimension's block entities).
struct Moved {
  uint32_t id;
  std::vector<entgeom::TransformedObject> objects;
};

// The entity and its sub-entities as they stand (the world UCS changes
// nothing, also for types whose geometry this host does not know).
std::vector<entgeom::TransformedObject> unchanged(uint32_t id) {
  const db::Database& d = drawing();
  std::vector<entgeom::TransformedObject> out = {{id, d.tagList(id)}};
  const std::vector<uint32_t>& list = d.blocks()[d.object(id).block].entities;
  for (size_t i = d.object(id).slot + 1; i < list.size() && (d.object(list[i]).flags & db::kSubEntity); ++i)
    out.push_back({list[i], d.tagList(list[i])});
  return out;
}

bool isIdentity(const geom::Matrix4& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (m(r, c) != (r == c ? 1.0 : 0.0)) return false;  // exact: the world UCS gives the identity
  return true;
}

std::vector<Moved> inUcs(const std::vector<uint32_t>& ids) {
  geom::Matrix4 m = blocks::worldToUcsMatrix();
  bool world = isIdentity(m);
  std::vector<Moved> out;
  int failed = 0;
  for (uint32_t id : ids) {
    Moved mv{id, {}};
    if (entgeom::transformEntity(drawing(), id, m, {}, mv.objects) != entgeom::EntStatus::Ok || mv.objects.empty()) {
      if (!world) {
        ++failed;
        continue;
      }
      mv.objects = unchanged(id);
    }
    out.push_back(std::move(mv));
  }
  if (failed) print(std::to_string(failed) + " object(s) could not be put into the block and stay in the drawing.\n");
  return out;
}

void moveInto(uint32_t block, const Moved& mv) {
  db::Database& d = drawing();
  uint32_t main = db::kNoObject;
  for (const entgeom::TransformedObject& o : mv.objects) {
    std::string_view type = d.typeOf(o.id);
    if (o.id == mv.id) {
      main = blocks::appendEntity(d, block, type, blocks::withoutHostGroups(o.tags));
    } else if ((d.object(o.id).flags & db::kSubEntity) && d.object(o.id).block == d.object(mv.id).block) {
      blocks::appendSubEntity(d, block, main, type, blocks::withoutHostGroups(o.tags));
    } else if (o.tags != d.tagList(o.id)) {
      d.replaceTags(o.id, o.tags);  // a dimension's block: shared, it follows in place
    }
  }
  d.setErased(mv.id, true);
}

}  // namespace

int blockCommand() {
  std::string name;
  bool redefine = false;
  int rc = askName(name, redefine);
  if (rc != RTNORM) return rc == RTNONE ? RTNORM : rc;
  Point3 base;
  Answer a = askPoint(nullptr, "Specify insertion base point: ", base);
  if (cancelled(a.status)) return RTCAN;
  if (a.status != RTNORM) base = ucsToWorld({0, 0, 0});
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  if (status == RTCAN) return RTCAN;
  ids = withoutLocked(ids);
  if (ids.empty()) {
    print("No objects selected: block \"" + name + "\" was not " + (redefine ? "redefined" : "defined") + ".\n");
    return RTNORM;
  }
  for (uint32_t id : ids)
    if (blocks::entityReferences(drawing(), id, name)) {
      print("Block \"" + name + "\" references itself: it was not " + (redefine ? "redefined" : "defined") + ".\n");
      return RTERROR;
    }
  std::vector<Moved> moved = inUcs(ids);
  db::Database& d = drawing();
  Point3 ucsBase = worldToUcs(base);
  uint32_t block = blocks::liveBlock(d, name);
  if (block == db::kNoObject) block = blocks::createBlock(d, name, ucsBase);
  else blocks::resetBlock(d, block, ucsBase);
  for (const Moved& mv : moved) moveInto(block, mv);
  blocks::updateAttributeFlag(d, block);
  if (redefine) print("Block \"" + name + "\" redefined.\n");
  return RTNORM;
}

}  // namespace tarn::commands
