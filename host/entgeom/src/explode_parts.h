// What the explode rules share: building the replacing entities in the form
// the database stores them, and one exploder per family of types.
#pragma once

#include <string>
#include <string_view>

#include "db/database.h"
#include "entgeom/explode.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

// The entity-wide groups of an object that the entities replacing it take
// over: layer, linetype, colour, lineweight, linetype scale, visibility,
// true colour, transparency, shadow mode and space.
db::TagList entityProperties(const db::Database& db, uint32_t id);

// A new entity of the properties and geometry groups, with subclass markers.
ExplodedEntity newEntity(std::string_view type, const db::TagList& properties, db::TagList geometry);

// A stored object's tags made into a new entity: handle, owner and reactors
// dropped, the space (67, 410) set to that of `spaceOf`'s properties.
ExplodedEntity copiedEntity(std::string_view type, db::TagList tags, const db::TagList& properties);

// Closes a complex entity: a SEQEND on the parent's layer.
void addSeqend(ExplodedEntity& parent);

db::Tag pointTag(int code, const geom::Vec3& v);
// "LWPOLYLINE 2F": the type and handle that messages name an object by.
std::string objectLabel(const db::Database& db, uint32_t id);
ExplodeResult refusal(EntStatus status, std::string message);

ExplodeResult explodeInsert(const db::Database& db, uint32_t id);
ExplodeResult explodeDimension(const db::Database& db, uint32_t id);
ExplodeResult explodePolyline(const db::Database& db, uint32_t id);
ExplodeResult explodeLeader(const db::Database& db, uint32_t id);
ExplodeResult explodeMText(const db::Database& db, uint32_t id);

}  // namespace tarn::entgeom
