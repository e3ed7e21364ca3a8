// Explosion of compound entities into the entities that replace them: a
// block reference into its block's entities (one level deep), a paragraph
// text into single-line texts, polylines into lines and arcs, meshes into
// 3D faces, a dimension into the entities of its block and a leader into
// lines and an arrowhead. Nothing is written to the database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/database.h"
#include "entgeom/status.h"

namespace tarn::entgeom {

// One entity to add in place of the exploded one. `tags` are the entity's
// groups in the form the database stores them (subclass markers included),
// without a handle, an owner or reactors: the caller gives it those when it
// adds the entity to the space of the exploded one.
struct ExplodedEntity {
  std::string type;
  db::TagList tags;
  // A complex entity's VERTEX or ATTRIB entities, ending with its SEQEND.
  std::vector<ExplodedEntity> subEntities;
  // DIMENSION only: the entities of its geometry block, placed. The block the
  // dimension names (group 2) still shows the old place; the caller defines
  // a new anonymous dimension block ("*D") with these entities and names it
  // in group 2.
  std::vector<ExplodedEntity> blockContents;
};

struct ExplodeResult {
  EntStatus status = EntStatus::Ok;
  std::string message;  // what was refused and why, naming the object by handle
  std::vector<ExplodedEntity> entities;  // in drawing order
  bool ok() const { return status == EntStatus::Ok; }
};

// The entities that replace `id`. Refused (with a message) where the object
// cannot be exploded: types that are not compound, MINSERT, external
// references, blocks marked not explodable, non-uniformly scaled references
// whose block holds entities that cannot follow the scale. Ok with no
// entities for a reference to an empty block.
ExplodeResult explodeEntity(const db::Database& db, uint32_t id);

}  // namespace tarn::entgeom
