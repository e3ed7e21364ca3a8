// The fade of locked layers: a desktop host draws the objects of a locked
// layer faded by LAYLOCKFADECTL percent. The headless host keeps what it
// would have drawn as a record of layer name -> fade percent, for tests and
// for anything that asks how a layer shows.
#pragma once

#include <map>
#include <string>

namespace tarn::commands {

// The fade percent LAYLOCKFADECTL gives a locked layer: 0 to 90, and 0
// when the variable is 0 or negative (fading off, the amount kept).
int lockedLayerFade();

// Re-applies the fade to the display of every layer of the current drawing
// (LAYER does after locking or unlocking layers).
void refreshLayerFades();

// The fade of each layer's display (0 for unlocked layers), a copy of the
// record. The record is brought up to date first, so that a change of
// LAYLOCKFADECTL, an undone lock or a layer changed through an entity list
// shows in it.
std::map<std::string, int> layerFades();

}  // namespace tarn::commands
