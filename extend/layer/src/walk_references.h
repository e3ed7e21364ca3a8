// What keeps a layer from being purged by the layer walk: objects on it
// anywhere in the drawing (model space, layouts, block definitions and
// sub-entities such as attributes and vertices), and anything else that
// names the layer or points at its record.
#pragma once

#include <cstdint>
#include <vector>

#include "layer_names.h"

namespace tarn::layer {

// The marks of the layer walk's records that exclude a layer from purging.
inline constexpr uint32_t kWalkHoldsObjects = 8;
inline constexpr uint32_t kWalkReferenced = 32;

// For each layer (in the order given) its marks: kWalkHoldsObjects when an
// entity lies on it, kWalkReferenced when the layer depends on an external
// reference (flags 16 or 32) or another object refers to it by name or by
// handle (viewport freezes, styles, extended data ...). Names in the saved
// layer states are not counted: a state only remembers the layer to restore
// it, and a state that names a missing layer skips it.
std::vector<uint32_t> ScanLayerUse(const std::vector<LayerRecordState>& layers);

}  // namespace tarn::layer
