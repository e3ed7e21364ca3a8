// Wipeout entities and the drawing-wide data they need: the WIPEOUT and
// WIPEOUTVARIABLES classes and the frames setting in the WIPEOUTVARIABLES
// object that the named-object dictionary holds as "ACAD_WIPEOUT_VARS".
#pragma once

#include <cstdint>
#include <vector>

#include "db/database.h"

namespace tarn::commands::wipeout {

// Display options (group 70) of a new wipeout: shown, shown when not
// aligned with the screen, clipped by its boundary; not transparent.
constexpr int kShowImage = 1, kShowUnaligned = 2, kUseClipBoundary = 4, kTransparent = 8;
constexpr int kNewWipeoutDisplay = kShowImage | kShowUnaligned | kUseClipBoundary;

// A wipeout over the polygon of UCS points (closed implicitly); false when
// the points enclose no area.
bool addWipeout(db::Database& d, const std::vector<db::Point3>& ucsPoints);

// The UCS points of a closed LWPOLYLINE of straight segments; false for any
// other object.
bool polylineBoundary(const db::Database& d, uint32_t id, std::vector<db::Point3>& ucsPoints);

bool framesShown(const db::Database& d);
void setFramesShown(db::Database& d, bool on);

}  // namespace tarn::commands::wipeout
