// Upgrading drawings of release 12 (no handles, owners, block records,
// subclass markers, dictionaries or layouts) to the structure of 2000 and
// later, so that they can be saved as such. Handles the file had are kept.
#pragma once

#include "db/database.h"

namespace tarn::db::detail {

// No effect on drawings that already have block records.
void upgradeOldDrawing(Database& db);

}  // namespace tarn::db::detail
