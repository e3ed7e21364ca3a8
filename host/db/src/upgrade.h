// Upgrading drawings of release 12 (no handles, owners, block records,
// subclass markers, dictionaries or layouts) to the structure that files of
// 2000 and later need, so that they can be saved in those versions.
#pragma once

#include "db/database.h"

namespace tarn::db::detail {

// Before entities are placed: handles for every object.
void upgradeOldDrawing(Database& db);
// After: block records, owners, subclass markers, the named-object
// dictionary and the layouts. No effect on drawings that have them.
void completeOldDrawing(Database& db);

}  // namespace tarn::db::detail
