// The implementations behind the handlers of merge_commands.cpp: moving
// objects to the layer of a picked object, deleting layers with their
// objects, merging layers into one, and copying objects to another layer.
#pragma once

namespace tarn::layer {

void MatchObjectsToLayer();    // LAYMCH (merge_match.cpp)
void DeleteLayers();           // LAYDEL (merge_delete.cpp)
void MergeLayers();            // LAYMRG (merge_layers.cpp)
void CopyObjectsToLayer();     // COPYTOLAYER (copy_to_layer.cpp)

}  // namespace tarn::layer
