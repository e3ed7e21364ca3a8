// LAYWALK: walks through the layers in a dialog. Layer "0" is current while
// the dialog is open so that every other layer can be turned off; the layer
// that was current comes back afterwards when it still exists.
#include <cstdlib>
#include <optional>
#include <unordered_set>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcedinput.h>

#include "frame/command_environment.h"
#include "layer/layer_commands.h"
#include "layer_names.h"
#include "walk_dialog.h"
#include "walk_ids.h"
#include "walk_wildcard.h"

namespace tarn::layer {
namespace {

bool SetCurrentLayer(const std::string& name) {
    struct resbuf value {};
    value.restype = RTSTR;
    value.resval.rstring = const_cast<char*>(name.c_str());
    return tcedSetVar("CLAYER", &value) == RTNORM;
}

// The distinct layers of the objects the user picks; nothing when no object
// was picked or the selection was cancelled.
std::optional<std::vector<std::string>> LayersOfPickedObjects() {
    PrintText(frame::LoadResString(walk::kPickPrompt));
    tc_name set = {0, 0};
    if (tcedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) {
        PrintText(frame::LoadResString(walk::kNothingPicked));
        return std::nullopt;
    }
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    int32_t length = 0;
    tcedSSLength(set, &length);
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity = {0, 0};
        if (tcedSSName(set, i, entity) != RTNORM) continue;
        std::optional<std::string> layer = EntityLayer(entity);
        if (layer && seen.insert(FoldedLayerName(*layer)).second) names.push_back(std::move(*layer));
    }
    tcedSSFree(set);
    return names;
}

}  // namespace

void LayWalk() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    WalkSettings settings = ReadWalkSettings();
    const std::string kept = CurrentLayerName().value_or("0");
    SetCurrentLayer("0");

    LayerWalk walk(kept);
    walk.Load();
    CLayerWalkDialog dialog(walk, settings);
    while (dialog.DoModal() == walk::kSelectObjects) {
        if (std::optional<std::vector<std::string>> names = LayersOfPickedObjects()) dialog.Preselect(std::move(*names));
    }
    if (LayerExists(kept)) SetCurrentLayer(kept);
}

}  // namespace tarn::layer
