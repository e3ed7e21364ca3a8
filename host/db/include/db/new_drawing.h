// A new, empty drawing.
#pragma once

#include "db/database.h"

namespace tarn::db {

// Fills an empty database with a new drawing (version 2018, layer "0",
// style "Standard", model space and one paper-space layout).
void initNewDrawing(Database& db);

}  // namespace tarn::db
