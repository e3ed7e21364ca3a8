// Conversion between an object's tags and its entity list (a result-buffer
// chain keyed by group codes), shared by the entity-list calls.
#pragma once

#include <string>

#include <tarnsdk/tctypes.h>

#include "db/database.h"

namespace tarn::host {

// The entity list of an object: (-1 . name) (0 . type) and its groups;
// references as entity names. Extended data of the listed applications
// (RTSTR buffers, wildcards allowed, "*" for all) follow a -3 group.
struct resbuf* buildEntityList(const db::Database& db, uint32_t id, const struct resbuf* apps);

// The groups of a list as tags (entity names become handles). The -1 and 0
// groups are left out; extended data after -3 are appended as they stand.
// `like` (may be kNoObject) tells which points of the object were 2D.
bool listToTags(const db::Database& db, const struct resbuf* list, uint32_t like, db::TagList& out,
                std::string& error);

// Where extended data begin (the first 1001 group), as an index into tags.
size_t xdataStart(const db::TagList& tags);

}  // namespace tarn::host
