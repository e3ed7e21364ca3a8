// Explosion: the dispatch by type, the groups the replacing entities take
// over, and block references and dimensions by the entities of their blocks.
#include "entgeom/explode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "db/subclasses.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_transform.h"
#include "entgeom/extents.h"
#include "explode_parts.h"
#include "geom/tolerance.h"
#include "groups.h"

namespace tarn::entgeom {

using db::Tag;
using db::TagList;

namespace {

bool isPropertyCode(int code) {
  switch (code) {
    case 8: case 6: case 62: case 370: case 48: case 60: case 420: case 430: case 440: case 284: case 67: case 410:
      return true;
    default:
      return false;
  }
}

bool isSpaceCode(int code) { return code == 67 || code == 410; }

// Handle, owner (the first 330, before any subclass marker) and reactor or
// extension-dictionary groups belong to the stored object, not to a copy.
TagList withoutHostGroups(TagList tags) {
  TagList out;
  out.reserve(tags.size());
  bool inGroup = false, seenMarker = false;
  for (Tag& t : tags) {
    if (t.code == 102) {
      inGroup = !t.s.empty() && t.s[0] == '{';
      continue;
    }
    if (t.code == 100) seenMarker = true;
    if (inGroup || t.code == 5 || (t.code == 330 && !seenMarker)) continue;
    out.push_back(std::move(t));
  }
  return out;
}

void setSpace(std::string_view type, TagList& tags, const TagList& properties) {
  std::erase_if(tags, [](const Tag& t) { return isSpaceCode(t.code) && t.code < 1000; });
  for (const Tag& t : properties)
    if (isSpaceCode(t.code)) db::insertGroup(type, tags, t);
}

}  // namespace

TagList entityProperties(const db::Database& db, uint32_t id) {
  TagList out;
  bool layer = false;
  for (db::TagCursor c = db.tags(id); !c.done(); c.next()) {
    if (c.code() >= 1000) break;
    if (!isPropertyCode(c.code())) continue;
    layer = layer || c.code() == 8;
    out.push_back(c.decode());
  }
  if (!layer) out.insert(out.begin(), Tag::str(8, "0"));
  return out;
}

ExplodedEntity newEntity(std::string_view type, const TagList& properties, TagList geometry) {
  ExplodedEntity e{std::string(type), properties, {}, {}};
  e.tags.insert(e.tags.end(), std::make_move_iterator(geometry.begin()), std::make_move_iterator(geometry.end()));
  db::addSubclassMarkers(type, e.tags);
  return e;
}

ExplodedEntity copiedEntity(std::string_view type, TagList tags, const TagList& properties) {
  ExplodedEntity e{std::string(type), withoutHostGroups(std::move(tags)), {}, {}};
  setSpace(type, e.tags, properties);
  // Every entity has a layer; a stored one without says "0".
  if (std::none_of(e.tags.begin(), e.tags.end(), [](const Tag& t) { return t.code == 8; }))
    db::insertGroup(type, e.tags, Tag::str(8, "0"));
  return e;
}

void addSeqend(ExplodedEntity& parent) {
  TagList layer;
  for (const Tag& t : parent.tags)
    if (t.code == 8 || isSpaceCode(t.code)) layer.push_back(t);
  parent.subEntities.push_back(newEntity("SEQEND", layer, {}));
}

Tag pointTag(int code, const geom::Vec3& v) { return Tag::point(code, toPoint(v)); }

std::string objectLabel(const db::Database& db, uint32_t id) {
  char handle[24];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(db.object(id).handle));
  return std::string(db.typeOf(id)) + " " + handle;
}

ExplodeResult refusal(EntStatus status, std::string message) { return {status, std::move(message), {}}; }

namespace {

// Where the entities of a block go: the placing matrix, and the exploded
// object whose space they take.
struct BlockPlacement {
  const db::Database& db;
  uint32_t block;
  geom::Matrix4 m;
  TagList properties;
  std::string label;  // the exploded object, for messages
};

std::string blockName(const BlockPlacement& p) { return "\"" + p.db.blocks()[p.block].name + "\""; }

// A circle or arc under a non-uniform scale: the ellipse it becomes.
EntStatus ellipseOf(const BlockPlacement& p, uint32_t e, ExplodedEntity& out) {
  CurvePtr curve = curveOf(p.db, e);
  CurvePtr moved = curve ? curve->transformed(p.m) : nullptr;
  CurveGroups groups;
  if (!moved || curveGroups(*moved, groups) != EntStatus::Ok) return EntStatus::Unsupported;
  TagList props = entityProperties(p.db, e);
  std::erase_if(props, [](const Tag& t) { return isSpaceCode(t.code); });
  for (const Tag& t : p.properties)
    if (isSpaceCode(t.code)) props.push_back(t);
  out = newEntity(groups.type, props, std::move(groups.groups));
  return EntStatus::Ok;
}

// The transformed objects of one block entity: the entity, then its
// sub-entities, or for a dimension the entities of its block (each with its
// own sub-entities).
ExplodedEntity grouped(const BlockPlacement& p, std::vector<TransformedObject>& objects) {
  ExplodedEntity main = copiedEntity(p.db.typeOf(objects[0].id), std::move(objects[0].tags), p.properties);
  ExplodedEntity* current = &main;
  for (size_t i = 1; i < objects.size(); ++i) {
    std::string_view type = p.db.typeOf(objects[i].id);
    ExplodedEntity part = copiedEntity(type, std::move(objects[i].tags), p.properties);
    if (p.db.object(objects[i].id).flags & db::kSubEntity) {
      current->subEntities.push_back(std::move(part));
    } else {
      main.blockContents.push_back(std::move(part));
      current = &main.blockContents.back();
    }
  }
  if (!main.subEntities.empty()) addSeqend(main);
  for (ExplodedEntity& c : main.blockContents)
    if (!c.subEntities.empty()) addSeqend(c);
  return main;
}

std::string cannotFollow(const BlockPlacement& p, uint32_t e, EntStatus st) {
  std::string what = p.label + ": block " + blockName(p) + " holds " + objectLabel(p.db, e);
  if (st == EntStatus::NonUniform) return what + ", which cannot follow the reference's non-uniform scale";
  if (st == EntStatus::NotGeometric || st == EntStatus::Unsupported)
    return what + ", which cannot be placed by the reference";
  return what + ", which is invalid (" + entStatusName(st) + ")";
}

ExplodeResult placeBlock(const BlockPlacement& p) {
  ExplodeResult out;
  // The look is kept: a text in a mirrored reference comes out mirrored.
  TransformOptions options;
  options.mirrorText = true;
  for (uint32_t e : p.db.blocks()[p.block].entities) {
    if (p.db.isErased(e) || (p.db.object(e).flags & db::kSubEntity)) continue;
    std::vector<TransformedObject> objects;
    EntStatus st = transformEntity(p.db, e, p.m, options, objects);
    std::string_view type = p.db.typeOf(e);
    if (st == EntStatus::NonUniform && (type == "CIRCLE" || type == "ARC")) {
      ExplodedEntity ellipse;
      st = ellipseOf(p, e, ellipse);
      if (st == EntStatus::Ok) {
        out.entities.push_back(std::move(ellipse));
        continue;
      }
    }
    if (st != EntStatus::Ok) return refusal(EntStatus::Refused, cannotFollow(p, e, st));
    out.entities.push_back(grouped(p, objects));
  }
  return out;
}

constexpr int kBlockXref = 4, kBlockOverlay = 8;

ExplodeResult checkBlock(const db::Database& db, uint32_t id, uint32_t block) {
  const db::BlockDef& def = db.blocks()[block];
  std::string label = objectLabel(db, id), name = "\"" + def.name + "\"";
  if (def.begin != db::kNoObject && (Groups(db, def.begin).integer(70) & (kBlockXref | kBlockOverlay)))
    return refusal(EntStatus::Refused, label + " refers to the external reference " + name +
                                           ", which cannot be exploded");
  if (def.record != db::kNoObject && Groups(db, def.record).integer(280, 1) == 0)
    return refusal(EntStatus::Refused, label + ": block " + name + " is marked as not explodable");
  return {};
}

}  // namespace

ExplodeResult explodeInsert(const db::Database& db, uint32_t id) {
  Groups g(db, id);
  std::string label = objectLabel(db, id);
  if (g.integer(70, 1) > 1 || g.integer(71, 1) > 1)
    return refusal(EntStatus::Refused, label + " is a multiple block reference (MINSERT), which cannot be exploded");
  uint32_t block;
  std::vector<geom::Matrix4> cells;
  EntStatus st = insertPlacements(db, id, block, cells, 1);
  if (st == EntStatus::Unsupported)
    return refusal(EntStatus::Refused, label + " refers to block \"" + std::string(g.str(2)) +
                                           "\", which the drawing does not define");
  if (st != EntStatus::Ok || cells.empty() || !cells[0].isFinite())
    return refusal(EntStatus::InvalidData, label + " has an invalid insertion point, scale or rotation");
  if (std::fabs(cells[0].determinant()) <= geom::kZeroLength)
    return refusal(EntStatus::Refused, label + " has a scale of zero and cannot be exploded");
  ExplodeResult checked = checkBlock(db, id, block);
  if (!checked.ok()) return checked;
  return placeBlock({db, block, cells[0], entityProperties(db, id), label});
}

ExplodeResult explodeDimension(const db::Database& db, uint32_t id) {
  Groups g(db, id);
  uint32_t block = db.findBlock(g.str(2));
  if (block == db::kNoObject)
    return refusal(EntStatus::Refused, objectLabel(db, id) + " has no geometry block to explode into");
  // A dimension's block is drawn where it stands: no placing matrix.
  return placeBlock({db, block, geom::Matrix4::identity(), entityProperties(db, id), objectLabel(db, id)});
}

ExplodeResult explodeEntity(const db::Database& db, uint32_t id) {
  if (!db.valid(id) || db.isErased(id)) return refusal(EntStatus::NotFound, "no such object");
  using Exploder = ExplodeResult (*)(const db::Database&, uint32_t);
  static const std::unordered_map<std::string_view, Exploder> table = {
      {"INSERT", explodeInsert},     {"DIMENSION", explodeDimension}, {"LWPOLYLINE", explodePolyline},
      {"POLYLINE", explodePolyline}, {"LEADER", explodeLeader},       {"MTEXT", explodeMText},
  };
  auto it = table.find(db.typeOf(id));
  if (it == table.end())
    return refusal(EntStatus::Refused, objectLabel(db, id) + " is not an object that can be exploded");
  return it->second(db, id);
}

}  // namespace tarn::entgeom
