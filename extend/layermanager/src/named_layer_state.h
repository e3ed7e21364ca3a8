// Named layer states kept the way DXF drawings keep them: the LAYER table's
// extension dictionary holds the dictionary "ACAD_LAYERSTATES", and that one
// xrecord per state, under the state's name. The xrecord's data:
//   91  what the state holds (1 on/off, 2 frozen, 4 locked, 32 colour,
//       64 linetype)
//   301 description
//   290 0
//   302 the current layer
//   per layer: 8 name, 90 flags (as the LAYER record's 70: 1 frozen,
//              4 locked), 62 colour (negative when off), 6 linetype
#pragma once

#include <string>

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tctypes.h>

#include "layer_snapshot.h"

namespace tarn::layermanager {

inline constexpr const char* kLayerStatesDictionary = "ACAD_LAYERSTATES";

// The state's data (released by the caller); null when the host gives no
// buffers.
struct resbuf* NamedStateChain(const LayerSnapshot& snapshot, const std::string& description);

// The first of "LAYWALK1", "LAYWALK2" ... that the dictionary does not hold.
std::string NextFreeStateName(TcDbObjectId states);

// Saves the drawing's present layer state under the next free name; the
// name, or empty when it could not be saved.
std::string SaveNamedLayerState(TcDbDatabase& db);

}  // namespace tarn::layermanager
