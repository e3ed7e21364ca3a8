// The host's notice of changed layer states. A module that switched layers
// off, froze or locked them tells the host which ones (code 7, flag 1); a
// desktop host then redraws the objects of those layers. The headless host
// keeps the notice and records a redraw of the whole drawing in the display
// record, as tcedRedraw does, so that what it "shows" is current again.
#include "editor/layer_notice.h"

#include <type_traits>

#include <tarnsdk/tcrxapi.h>

#include "editor/editor.h"

namespace tarn::editor {
namespace {

std::vector<LayerNoticeEntry>& notices() {
  static std::vector<LayerNoticeEntry> record;
  return record;
}

void refreshDisplay() {
  DisplayRecord& d = currentEditor().display();
  d.vectors.clear();
  d.hidden.clear();
  d.redraws.push_back({0, 1});
}

}  // namespace

const std::vector<LayerNoticeEntry>& layerNotices() { return notices(); }
void clearLayerNotices() { notices().clear(); }

}  // namespace tarn::editor

// Exported by name from the host library (the desktop host's ordinal 1988);
// modules find it with tcplGetProcAddress. Other codes and a missing notice
// are recorded but change nothing.
extern "C" TCRX_EXPORT void tcpl_ordinal_1988(int code, const TcEdLayerNotice* notice) {
  using namespace tarn::editor;
  LayerNoticeEntry entry;
  entry.code = code;
  if (notice) {
    entry.layers = notice->layers;
    entry.flag = notice->flag;
  }
  entry.refreshed = notice && code == TCED_NOTICE_LAYER_STATES && notice->flag == 1;
  if (entry.refreshed) refreshDisplay();
  notices().push_back(std::move(entry));
}

// The signature modules call it through.
static_assert(std::is_same_v<decltype(&tcpl_ordinal_1988), TcEdHostNoticeFn>);
