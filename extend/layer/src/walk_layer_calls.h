// Turning layers on and off for the layer walk through the host's LAYER
// command, the way a user at the command line would.
#pragma once

#include <string>
#include <vector>

namespace tarn::layer {

// The longest name list given to one LAYER call, in characters.
inline constexpr size_t kLayerListChunk = 2048;

// Escaped names joined by "," into lists of at most kLayerListChunk
// characters; a name that would make a list longer starts the next one.
std::vector<std::string> LayerNameChunks(const std::vector<std::string>& names);

// Turns the layers on ("_ON") or off ("_OF"). The layer that is current at
// the moment of turning off goes in a call of its own with the confirmation
// "_Y" that LAYER asks for it; no other call gets a confirmation, so none
// can reach a prompt it does not belong to.
void TurnLayersOn(const std::vector<std::string>& names);
void TurnLayersOff(const std::vector<std::string>& names);

}  // namespace tarn::layer
