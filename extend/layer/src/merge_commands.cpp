// The handlers of LAYMCH, LAYDEL, LAYMRG (each also under its hyphenated
// name) and COPYTOLAYER, as the module's command table names them.
#include "layer/layer_commands.h"
#include "merge_steps.h"

namespace tarn::layer {

void LayMch() { MatchObjectsToLayer(); }
void LayDel() { DeleteLayers(); }
void LayMrg() { MergeLayers(); }
void CopyToLayer() { CopyObjectsToLayer(); }

}  // namespace tarn::layer
