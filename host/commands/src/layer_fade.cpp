// The fade record of locked layers, kept for the current drawing.
#include "commands/layer_fade.h"

#include <algorithm>
#include <utility>

#include "command_support.h"

namespace tarn::commands {
namespace {

constexpr int kLocked = 4;
constexpr int kMaxFade = 90;

std::map<std::string, int>& record() {
  static std::map<std::string, int> fades;
  return fades;
}

}  // namespace

int lockedLayerFade() { return std::clamp(intVar("LAYLOCKFADECTL", 50), 0, kMaxFade); }

void refreshLayerFades() {
  std::map<std::string, int>& fades = record();
  fades.clear();
  const db::SymbolTable* layers = std::as_const(drawing()).table("LAYER");
  if (!layers) return;
  int fade = lockedLayerFade();
  for (uint32_t id : layers->records) {
    if (drawing().isErased(id)) continue;
    auto flags = db::findTag(drawing(), id, 70);
    fades[std::string(db::findString(drawing(), id, 2))] = flags && (flags->i & kLocked) ? fade : 0;
  }
}

std::map<std::string, int> layerFades() {
  refreshLayerFades();
  return record();
}

}  // namespace tarn::commands
