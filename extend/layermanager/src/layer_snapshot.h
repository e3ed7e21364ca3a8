// The state of every layer of a drawing at one moment: on or off, frozen,
// locked, colour and linetype of each layer record, and the layers frozen in
// each layout viewport (the VIEWPORT's 331 groups). Taken from a drawing and
// put back into it.
#pragma once

#include <string>
#include <vector>

#include <tarnsdk/tcdbobjects.h>

namespace tarn::layermanager {

struct LayerState {
    std::string name;
    bool off = false;
    bool frozen = false;
    bool locked = false;
    int colour = 7;        // always positive; off is kept apart
    std::string linetype;
};

struct ViewportFreezes {
    TcDbObjectId viewport;
    std::vector<std::string> frozen;  // names of the layers frozen in it
};

struct LayerSnapshot {
    std::string currentLayer;
    std::vector<LayerState> layers;
    std::vector<ViewportFreezes> viewports;
};

// Reads the states of the drawing's layers and layout viewports. False when
// the layer table cannot be read.
bool CaptureLayers(TcDbDatabase& db, LayerSnapshot& out);

// Puts on/off, frozen and locked back on every recorded layer that still
// exists, and the freezes of every recorded viewport that still exists.
// Colours and linetypes are left as the user has them now. The current
// layer is never frozen. False when the layer table cannot be read.
bool RestoreLayers(TcDbDatabase& db, const LayerSnapshot& snapshot);

}  // namespace tarn::layermanager
