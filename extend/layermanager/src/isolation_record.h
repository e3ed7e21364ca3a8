// The record of the layer states before a layer isolation, kept in the
// drawing as the xrecord "TARN_LAYISO" of the named-object dictionary so
// that it travels with the file. Its data:
//   70  1                    record layout
//   302 the current layer when recorded
//   per layer:    8 name, 70 flags (1 frozen, 4 locked), 62 colour
//                 (negative when off), 6 linetype
//   per layout viewport: 330 the VIEWPORT, then one 3 per layer frozen in it
#pragma once

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tctypes.h>

#include "layer_snapshot.h"

namespace tarn::layermanager {

inline constexpr const char* kIsolationRecordName = "TARN_LAYISO";

// The snapshot as xrecord data (released by the caller); null when the
// host gives no buffers.
struct resbuf* SnapshotToChain(const LayerSnapshot& snapshot);
// False for data of another layout or without the leading version.
bool SnapshotFromChain(const struct resbuf* chain, LayerSnapshot& out);

// Replaces the drawing's record with this snapshot.
bool WriteIsolationRecord(TcDbDatabase& db, const LayerSnapshot& snapshot);
// The drawing's record; false when there is none or it cannot be read.
bool ReadIsolationRecord(TcDbDatabase& db, LayerSnapshot& out);
void RemoveIsolationRecord(TcDbDatabase& db);

}  // namespace tarn::layermanager
