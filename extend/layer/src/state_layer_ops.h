// The operations the layer state commands share: turning one layer off
// (asking first when it is the current layer), making one layer current,
// and choosing the layer LAYOFF turns off from a pick inside blocks.
#pragma once

#include <optional>
#include <string>

#include <tarnsdk/tctypes.h>

namespace tarn::layer {

// Turns the layer off and says so. The current layer is turned off only
// when the user agrees (Enter agrees): RTERROR when the user declines,
// RTCAN when the question is cancelled.
int TurnLayerOff(const std::string& name);

// Thaws the layer, creates it when it is missing and makes it current,
// then leaves CMDECHO at 1.
void MakeLayerCurrent(const std::string& name);

// LAYOFF's nesting mode: which layer a pick inside block references names.
enum class NestingMode : int32_t { Entity = 1, Block = 2, None = 3 };

// The layer to turn off for a pick of `picked` inside the references of
// `containers` (innermost first, null when the object is not nested).
std::optional<std::string> LayerForPick(NestingMode mode, const tc_name picked, const struct resbuf* containers);

}  // namespace tarn::layer
