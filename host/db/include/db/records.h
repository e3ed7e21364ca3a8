// Creating symbol-table records, block definitions and objects with the
// structure files of 2000 and later need (handles, owners, subclass markers).
#pragma once

#include <string_view>

#include "db/database.h"

namespace tarn::db {

// The subclass marker of a table's records ("AcDbLayerTableRecord" ...).
std::string_view recordSubclass(std::string_view table);

// Adds a record to a table: handle, owner, markers and name are made here;
// `data` are the groups after the name (70 flags first). The table must exist.
uint32_t addTableRecord(Database& db, std::string_view table, std::string_view name, const TagList& data);

// A layer of this name, made like layer "0" (colour 7, continuous) when the
// drawing has none yet.
uint32_t ensureLayer(Database& db, std::string_view name);
// An application name for extended data; kNoObject when it could not be made.
uint32_t ensureAppId(Database& db, std::string_view name);

}  // namespace tarn::db
