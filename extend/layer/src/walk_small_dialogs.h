// The layer walk's two small dialogs: the question before closing without
// restoring the layers, and the information box of the inspection.
#pragma once

#include <cstdint>

namespace tarn::layer {

// Asks whether to close although the layers stay as the walk left them.
// True for OK; `dontAskAgain` then holds the dialog's check box.
bool AskToCloseWalk(bool& dontAskAgain);

// Shows how many layers are selected and how many objects lie on them.
void ShowWalkInfo(int layers, int64_t objects);

}  // namespace tarn::layer
