// Changing and making objects from entity lists.
#pragma once

#include <tarnsdk/tctypes.h>

#include "db/database.h"

namespace tarn::host {

// Applies an entity list to an object. A list with subclass markers (as got
// from tcdbEntGet) replaces the object's groups; a list without them changes
// only the groups it names. Extended data given after -3 replace those of
// their applications (an application with no groups loses its data).
int modifyEntity(db::Database& db, uint32_t id, const struct resbuf* list);

void setErased(db::Database& db, uint32_t id, bool erased);

// Makes objects from entity lists (see tcdbEntMake); `made` receives the
// new object, or kNoObject while a complex entity or block is unfinished.
int makeEntity(db::Database& db, const struct resbuf* list, bool ownerless, uint32_t& made);

// Checks that the names a list refers to exist: layers are made on demand,
// linetypes, text styles and applications of extended data must exist.
bool checkReferences(db::Database& db, db::TagList& tags);

}  // namespace tarn::host
