// The layer walk's records and what acts on the drawing: one record per
// layer with its flags, the layers' on/off state when the walk began, the
// filter, and applying the walk through LAYER.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tcdbobjects.h>

#include "walk_references.h"

namespace tarn::layer {

// Flags of a layer record (8 and 32, the purge marks, in walk_references.h).
inline constexpr uint32_t kWalkShown = 1;   // selected in the list
inline constexpr uint32_t kWalkHeld = 2;    // kept on whatever the selection
inline constexpr uint32_t kWalkListed = 4;  // matches the filter, stands in the list

struct WalkLayer {
    std::string name;
    TcDbObjectId id;
    uint32_t flags = 0;

    bool Has(uint32_t flag) const { return (flags & flag) != 0; }
    void Set(uint32_t flag, bool on) { flags = on ? flags | flag : flags & ~flag; }
};

class LayerWalk {
public:
    // `keptCurrent`: the layer that was current when the command started.
    explicit LayerWalk(std::string keptCurrent) : keptCurrent_(std::move(keptCurrent)) {}

    // Reads the layer table: every layer listed, shown when it is on now,
    // with its purge marks; remembers the on/off state to restore.
    void Load();

    std::vector<WalkLayer>& Layers() { return layers_; }
    const std::vector<WalkLayer>& Layers() const { return layers_; }
    const std::string& KeptCurrent() const { return keptCurrent_; }

    // Lists and shows the layers whose names match the pattern (flags 4 and
    // 1); the others lose both. Does not touch the drawing.
    void ApplyFilter(std::string_view pattern);
    const std::string& Filter() const { return filter_; }

    // A layer is on when it is held, or listed and shown; every other layer
    // is off. Only layers whose state differs are changed, unless
    // `everyLayer` asks to issue every layer.
    void ApplyWalk(bool everyLayer = false);
    // Every layer back to its state when the walk began.
    void RestoreOpeningState();

    // Neither mark, not "0", "DEFPOINTS", the current layer nor the layer
    // that was current when the command started.
    bool Purgeable(const WalkLayer& layer) const;
    // Erases the layer records of these records (indices into Layers())
    // that are purgeable and removes them from the records; the names of the
    // layers erased.
    std::vector<std::string> Purge(const std::vector<size_t>& indices);

    // The layers of objects the user picked: those listed are shown, the
    // other listed ones not (held layers stay held).
    void ShowOnly(const std::vector<std::string>& names);

private:
    std::string keptCurrent_;
    std::string filter_ = "*";
    std::vector<WalkLayer> layers_;
    std::vector<std::string> openedOn_;
    std::vector<std::string> openedOff_;
};

}  // namespace tarn::layer
