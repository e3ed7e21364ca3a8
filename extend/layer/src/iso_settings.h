// The layer-tool settings of LAYISO ("LayerTools" in the registry store):
// lock and fade the other layers, or hide them (turned off, or frozen in the
// current layout viewport), and the fade of locked layers; and the setting
// dialogue LAYISO runs on the command line from its selection prompt.
#pragma once

#include <cstdint>

#include <tarnsdk/tctypes.h>

namespace tarn::layer {

struct LayerToolSettings {
    int32_t lockFlag = 1;    // 1 lock and fade the other layers, 0 hide them
    int32_t freezeFlag = 0;  // hidden layers: 1 frozen in the layout viewport, 0 off
    int32_t fade = 0;        // a copy of LAYLOCKFADECTL, 0 to 90
};

inline constexpr int32_t kMaxFade = 90;

// The module-wide settings, holding the defaults until they are read.
LayerToolSettings& LayerTools();
// Reads LockFlag and FreezeFlag from the store (absent values keep theirs).
void ReadLayerToolSettings();
// Writes LockFlag and FreezeFlag to the store.
void SaveLayerToolSettings();

// The keyword callback of LAYISO's selection prompt: "Setting" runs the
// setting dialogue, any other keyword saves the settings. Adds nothing to
// the selection.
struct resbuf* IsolationKeywordCallback(const char* keyword);

}  // namespace tarn::layer
