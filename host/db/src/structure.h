// Linking what the reader found into the database's structure: block
// definitions with their records, model and paper space, and the upgrade of
// drawings that lack what later versions need (handles, owners, records).
#pragma once

#include <cstdint>
#include <vector>

#include "db/database.h"

namespace tarn::db::detail {

// `entities` are the objects of the ENTITIES section, in file order.
void finishStructure(Database& db, const std::vector<uint32_t>& entities);

}  // namespace tarn::db::detail
