// The host's side of the objects that modules open: they are kept here after
// their close, so that a second close is harmless, until the host frees them.
#pragma once

#include <cstddef>

#include "db/database.h"

namespace tarn::objects {

// Frees every object that has been closed. The command loop calls this when a
// command ends; a module keeps no object pointers beyond its command.
void releaseClosedObjects();

// Objects opened and not yet closed (they are also in counters().openObjects).
size_t openObjectCount();

// A drawing is going away: its closed objects are freed and its open ones
// cut loose from it (they stay counted until closed, and then store nothing).
void releaseObjectsOf(const db::Database& d);

}  // namespace tarn::objects
