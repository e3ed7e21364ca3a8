// Extents of entities: shapes directly, block references and dimensions by
// their blocks' contents, cached per block and linear map.
#include "entgeom/extents.h"

#include <cstring>
#include <functional>

#include "entgeom/entity_curve.h"
#include "entgeom/entity_shape.h"
#include "fast_extents.h"
#include "groups.h"

namespace tarn::entgeom {

using geom::BoundingBox;
using geom::Matrix4;
using geom::Vec3;

namespace {

constexpr int kAttributeInvisible = 1, kAttributeConstant = 2;
constexpr size_t kExtentCells = 4;  // a grid's box is the box of its corner cells

Matrix4 linearPart(const Matrix4& m) {
  Matrix4 l = m;
  for (int r = 0; r < 3; ++r) l(r, 3) = 0.0;
  return l;
}

bool isIdentity(const Matrix4& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (m(r, c) != (r == c ? 1.0 : 0.0)) return false;  // exact: only the true identity takes the short cut
  return true;
}

Vec3 translationPart(const Matrix4& m) { return {m(0, 3), m(1, 3), m(2, 3)}; }

BoundingBox translated(const BoundingBox& b, const Vec3& t) {
  BoundingBox out;
  if (!b.isEmpty()) {
    out.min = b.min + t;
    out.max = b.max + t;
  }
  return out;
}

bool skipInBlock(const db::Database& db, uint32_t id) {
  if (db.isErased(id) || (db.object(id).flags & db::kSubEntity)) return true;
  if (db.typeOf(id) != "ATTDEF") return false;
  return !(Groups(db, id).integer(70) & kAttributeConstant);
}

}  // namespace

size_t ExtentsCalculator::KeyHash::operator()(const Key& k) const {
  size_t h = std::hash<uint32_t>()(k.block);
  for (double d : k.linear) {
    uint64_t bits;
    double v = d + 0.0;  // -0.0 and 0.0 hash alike
    std::memcpy(&bits, &v, sizeof bits);
    h ^= std::hash<uint64_t>()(bits) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  }
  return h;
}

ExtentsCalculator::ExtentsCalculator(const db::Database& db) : db_(db), inProgress_(db.blocks().size(), 0) {}

Extents ExtentsCalculator::extentsOf(uint32_t id) {
  Extents e;
  if (!db_.valid(id) || db_.isErased(id)) return {EntStatus::NotFound, {}};
  e.status = addEntity(id, Matrix4::identity(), e.box);
  if (e.ok() && e.box.isEmpty()) e.status = EntStatus::Empty;
  return e;
}

Extents ExtentsCalculator::extentsOfBlock(uint32_t block) {
  if (block >= db_.blocks().size()) return {EntStatus::NotFound, {}};
  return blockUnderLinear(block, Matrix4::identity());
}

EntStatus ExtentsCalculator::addEntity(uint32_t id, const Matrix4& m, BoundingBox& box) {
  const FastKind kind = fastKindOf(db_.object(id).type);
  if (kind == FastKind::Insert) return addInsert(id, m, box);
  if (kind == FastKind::Dimension) return addDimension(id, m, box);
  if (kind == FastKind::Text) return textBox(db_, db_.typeOf(id), Groups(db_, id), m, box);
  if (kind != FastKind::None) return fastBox(kind, Groups(db_, id), m, isIdentity(m), box);
  Shape s;
  EntStatus st = shapeOf(db_, id, s);
  if (st == EntStatus::Ok) addShapeBox(s, m, box);
  return st;
}

EntStatus ExtentsCalculator::addInsert(uint32_t id, const Matrix4& m, BoundingBox& box) {
  uint32_t block;
  std::vector<Matrix4> cells;
  EntStatus st = insertPlacements(db_, id, block, cells, kExtentCells);
  if (st != EntStatus::Ok) return st;
  BoundingBox own;
  const bool identity = isIdentity(m);
  for (const Matrix4& cell : cells) {
    st = addBlock(block, identity ? cell : m * cell, own);
    if (st == EntStatus::Cyclic || st == EntStatus::InvalidData) return st;
  }
  // The reference's attributes follow it in its block's list (as subEntitiesOf
  // finds them, without collecting them first).
  static const uint16_t kAttrib = db::typeId("ATTRIB");
  static const uint16_t kSeqend = db::typeId("SEQEND");
  const db::ObjectRecord& rec = db_.object(id);
  const std::vector<uint32_t>* list = rec.block < db_.blocks().size() ? &db_.blocks()[rec.block].entities : nullptr;
  if (list && rec.slot < list->size() && (*list)[rec.slot] == id) {
    for (size_t i = rec.slot + 1; i < list->size(); ++i) {
      const uint32_t sub = (*list)[i];
      const db::ObjectRecord& r = db_.object(sub);
      if (!(r.flags & db::kSubEntity) || r.type == kSeqend) break;
      if (r.type != kAttrib || db_.isErased(sub)) continue;
      Groups g(db_, sub);
      if (g.integer(70) & kAttributeInvisible) continue;
      textBox(db_, "ATTRIB", g, m, own);
    }
  }
  if (own.isEmpty()) return EntStatus::Empty;
  box.add(own);
  return EntStatus::Ok;
}

// A dimension's block holds its lines, arrows and text in world coordinates;
// without a block the definition points stand in.
EntStatus ExtentsCalculator::addDimension(uint32_t id, const Matrix4& m, BoundingBox& box) {
  Groups g(db_, id);
  uint32_t block = db_.findBlock(g.str(2));
  if (block != db::kNoObject) {
    BoundingBox own;
    EntStatus st = addBlock(block, m, own);
    if (st == EntStatus::Ok && !own.isEmpty()) return box.add(own), EntStatus::Ok;
    if (st == EntStatus::Cyclic) return st;
  }
  bool any = false;
  for (int code : {10, 11, 13, 14, 15, 16})
    if (g.has(code)) box.add(m.transformPoint(g.point(code))), any = true;
  return any ? EntStatus::Ok : EntStatus::Empty;
}

EntStatus ExtentsCalculator::addBlock(uint32_t block, const Matrix4& m, BoundingBox& box) {
  const Extents& e = blockUnderLinear(block, linearPart(m));
  if (e.status == EntStatus::Ok) box.add(translated(e.box, translationPart(m)));
  return e.status;
}

const Extents& ExtentsCalculator::blockUnderLinear(uint32_t block, const Matrix4& linear) {
  Key key{block, {}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) key.linear[r * 3 + c] = linear(r, c);
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  static const Extents kCyclic{EntStatus::Cyclic, {}};
  if (inProgress_[block]) return kCyclic;
  inProgress_[block] = 1;
  Extents e;
  for (uint32_t id : db_.blocks()[block].entities) {
    if (skipInBlock(db_, id)) continue;
    EntStatus st = addEntity(id, linear, e.box);
    if (st == EntStatus::Cyclic) e.status = st;
  }
  if (e.ok() && e.box.isEmpty()) e.status = EntStatus::Empty;
  inProgress_[block] = 0;
  return cache_.emplace(key, e).first->second;
}

Extents extentsOf(const db::Database& db, uint32_t id) { return ExtentsCalculator(db).extentsOf(id); }

Extents extentsOfBlock(const db::Database& db, uint32_t block) {
  return ExtentsCalculator(db).extentsOfBlock(block);
}

}  // namespace tarn::entgeom
