// The work of LAYISO once the selection is made: the isolated layer names,
// their LAYER name lists of at most 2048 characters, the three ways of
// setting the other layers aside, and the host's notice of the result.
#pragma once

#include <string>
#include <vector>

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tctypes.h>

namespace tarn::layer {

// The longest name list passed to one LAYER call.
inline constexpr size_t kChunkLimit = 2048;
// The layer of geometric and dimensional constraints, never set aside.
inline constexpr const char* kConstraintsLayer = "*ADSK_CONSTRAINTS";

// The distinct layers of the selection's objects, in selection order, read
// whole; names are compared as the host compares layer names (no case).
std::vector<std::string> SelectionLayers(const tc_name selection);

// The names escaped for LAYER and joined by "," into lists of at most
// `limit` characters; a name that would make a list longer starts the next.
std::vector<std::string> NameChunks(const std::vector<std::string>& names, size_t limit = kChunkLimit);

// Turns every layer off, then the constraints layer and the chunks on.
void IsolateByTurningOff(const std::vector<std::string>& chunks);
// Locks every layer, then unlocks the constraints layer and the chunks.
void IsolateByLocking(const std::vector<std::string>& chunks);
// Freezes every other layer in this layout viewport (the constraints layer
// stays). False, with nothing changed, when the viewport cannot be opened.
bool IsolateByViewportFreeze(TcDbObjectId viewport, const std::vector<std::string>& names,
                             TcDbObjectIdArray& frozen);

// Tells the host which layers are now off, frozen (also those frozen in the
// viewport) or locked; a host without the notice is left alone.
void NotifyHostOfLayerStates(const TcDbObjectIdArray& viewportFrozen);

}  // namespace tarn::layer
