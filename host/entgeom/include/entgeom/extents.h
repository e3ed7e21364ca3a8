// Extents: the world bounding box of any entity of a drawing, block
// references and dimensions by the transformed contents of their blocks.
//
// Block contents are measured once per block and per linear part of the
// placing matrix (rotation, scale, normal), so many references to one block
// with the same orientation cost one measurement and a translation each.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/bounding_box.h"
#include "geom/matrix4.h"

namespace tarn::entgeom {

struct Extents {
  EntStatus status = EntStatus::Ok;
  geom::BoundingBox box;
  bool ok() const { return status == EntStatus::Ok; }
};

// Measures entities of one database; keeps its block cache between calls.
// The database must not change while a calculator is used on it (make a new
// one after a change).
class ExtentsCalculator {
 public:
  explicit ExtentsCalculator(const db::Database& db);

  Extents extentsOf(uint32_t id);
  // The contents of a block definition in its own coordinates (base point not
  // subtracted). Attribute definitions count only when constant.
  Extents extentsOfBlock(uint32_t blockIndex);
  // Adds the box of the entity after the affine map m to `box`.
  EntStatus addEntity(uint32_t id, const geom::Matrix4& m, geom::BoundingBox& box);

  size_t cachedBlockViews() const { return cache_.size(); }

 private:
  struct Key {
    uint32_t block;
    std::array<double, 9> linear;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const;
  };
  EntStatus addInsert(uint32_t id, const geom::Matrix4& m, geom::BoundingBox& box);
  EntStatus addDimension(uint32_t id, const geom::Matrix4& m, geom::BoundingBox& box);
  // Box of the block contents under m (its translation applied afterwards).
  EntStatus addBlock(uint32_t block, const geom::Matrix4& m, geom::BoundingBox& box);
  const Extents& blockUnderLinear(uint32_t block, const geom::Matrix4& linear);

  const db::Database& db_;
  std::unordered_map<Key, Extents, KeyHash> cache_;
  std::vector<uint8_t> inProgress_;
};

// One-off measurements (a fresh calculator per call).
Extents extentsOf(const db::Database& db, uint32_t id);
Extents extentsOfBlock(const db::Database& db, uint32_t blockIndex);

// The placing matrices of a block reference (INSERT or MINSERT): one per
// cell (columns x rows), block base point included. Unsupported when the
// reference names no block; at most `maxCells` matrices are made (the corner
// cells first, so that extents can use just them).
EntStatus insertPlacements(const db::Database& db, uint32_t id, uint32_t& block,
                           std::vector<geom::Matrix4>& cells, size_t maxCells = SIZE_MAX);

}  // namespace tarn::entgeom
