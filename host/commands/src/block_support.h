// What the block commands share: finding live block definitions, making and
// emptying them, adding entities with new handles to a block or a space,
// the block references a definition holds (to refuse a block that would
// contain itself), and the current UCS as a matrix.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "entgeom/explode.h"
#include "geom/matrix4.h"

namespace tarn::commands::blocks {

// The block definition of that name when it is live (not purged) and not a
// layout; kNoObject otherwise.
uint32_t liveBlock(const db::Database& d, std::string_view name);
bool isLayoutName(std::string_view name);
// Names a user may give a block: not empty, at most 255 characters, none of
// the characters DXF names cannot hold, not starting with "*".
bool validBlockName(std::string_view name);

// A new, empty block definition (BLOCK_RECORD, BLOCK and ENDBLK) with its
// base point in block coordinates; its index in blocks().
uint32_t createBlock(db::Database& d, std::string_view name, db::Point3 base, int flags = 0);
// Empties a definition for a new content (its entities erased) and sets its
// base point; references and the record stay.
void resetBlock(db::Database& d, uint32_t block, db::Point3 base);
// Sets or clears bit 2 (has attribute definitions) of the BLOCK's flags by
// what the definition holds now.
void updateAttributeFlag(db::Database& d, uint32_t block);
// "*D12": the first free anonymous name of that kind letter.
std::string anonymousName(const db::Database& d, char kind);

// Tags of a stored object without its handle, owner, reactors and extension
// dictionary: what a copy of it starts from.
db::TagList withoutHostGroups(const db::TagList& tags);

// Adds an entity to a block or space: `body` has no handle or owner; the
// handle is new, the owner is the block's record. Returns its id.
uint32_t appendEntity(db::Database& d, uint32_t block, std::string_view type, const db::TagList& body);
// A sub-entity (ATTRIB, VERTEX, SEQEND) after its parent.
uint32_t appendSubEntity(db::Database& d, uint32_t block, uint32_t parent, std::string_view type,
                         const db::TagList& body);
// An exploded entity with its sub-entities; a dimension's block contents
// become a new anonymous "*D" block that it names. The main entity's id.
uint32_t appendExploded(db::Database& d, uint32_t block, const entgeom::ExplodedEntity& e);

// True when the block, or a block it references (nested, dimensions' blocks
// included), references a block of the name.
bool referencesBlock(const db::Database& d, uint32_t block, std::string_view name);
// True when the entity is a reference to the name, directly or nested.
bool entityReferences(const db::Database& d, uint32_t id, std::string_view name);

// The current UCS: the matrix from UCS to world coordinates and back.
geom::Matrix4 ucsToWorldMatrix();
geom::Matrix4 worldToUcsMatrix();
geom::Vec3 ucsZAxis();

// The first tag of a code in a list, or null.
const db::Tag* findIn(const db::TagList& tags, int code);
db::Tag* findIn(db::TagList& tags, int code);

}  // namespace tarn::commands::blocks
