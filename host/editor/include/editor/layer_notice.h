// The host's notice of changed layer states ("tcpl_ordinal_1988", exported
// by the host library): what modules told the host, kept so that tests and
// the session can see which layers a command reported as off, frozen or
// locked.
#pragma once

#include <vector>

#include <tarnsdk/tcdbobjects.h>

namespace tarn::editor {

struct LayerNoticeEntry {
  int code = 0;
  TcDbObjectIdArray layers;  // as the module gave them
  int flag = 0;
  bool refreshed = false;    // the display was refreshed for it
};

// Every notice received since the last clear, oldest first.
const std::vector<LayerNoticeEntry>& layerNotices();
void clearLayerNotices();

}  // namespace tarn::editor
