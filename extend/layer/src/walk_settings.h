// The layer walk's settings in the "LayWalk" section of the user's profile:
// whether closing restores the layers, whether the closing question is
// shown, and the saved name filters ("Filter1", "Filter2", ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn::layer {

struct WalkSettings {
    int32_t restoreOnExit = 1;
    int32_t dontShowPrompt = 0;
    std::vector<std::string> filters;
};

// The stored settings; defaults for what was never stored.
WalkSettings ReadWalkSettings();
// Stores RestoreOnExit and DontShowPrompt.
bool WriteWalkFlags(const WalkSettings& settings);
// Stores the filters as Filter1..FilterN (dropping higher numbers).
bool WriteWalkFilters(const std::vector<std::string>& filters);

// The longest filter text the store gives back whole, in bytes.
inline constexpr size_t kMaxSavedFilterBytes = 499;

}  // namespace tarn::layer
