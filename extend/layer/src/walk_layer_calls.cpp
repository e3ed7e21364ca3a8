// LAYER "_ON" and "_OF" with name lists built from escaped layer names.
#include "walk_layer_calls.h"

#include "layer_names.h"
#include "walk_wildcard.h"

namespace tarn::layer {
namespace {

void RunForChunks(const char* option, const std::vector<std::string>& names) {
    for (const std::string& chunk : LayerNameChunks(names)) RunLayerCommand({option, chunk});
}

}  // namespace

std::vector<std::string> LayerNameChunks(const std::vector<std::string>& names) {
    std::vector<std::string> chunks;
    std::string chunk;
    for (const std::string& name : names) {
        const std::string argument = LayerArgument(name);
        if (!chunk.empty() && chunk.size() + 1 + argument.size() > kLayerListChunk) {
            chunks.push_back(std::move(chunk));
            chunk.clear();
        }
        if (!chunk.empty()) chunk += ',';
        chunk += argument;
    }
    if (!chunk.empty()) chunks.push_back(std::move(chunk));
    return chunks;
}

void TurnLayersOn(const std::vector<std::string>& names) { RunForChunks("_ON", names); }

void TurnLayersOff(const std::vector<std::string>& names) {
    const std::string current = CurrentLayerName().value_or("");
    const std::string folded = FoldedLayerName(current);
    std::vector<std::string> others;
    bool currentToo = false;
    for (const std::string& name : names) {
        if (!current.empty() && FoldedLayerName(name) == folded) currentToo = true;
        else others.push_back(name);
    }
    RunForChunks("_OF", others);
    if (currentToo) RunLayerCommand({"_OF", LayerArgument(current), "_Y"});
}

}  // namespace tarn::layer
