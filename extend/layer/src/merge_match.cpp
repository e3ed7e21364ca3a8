// LAYMCH: the selected objects go to the layer of a picked object.
#include <optional>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>

#include "frame/command_environment.h"
#include "layer_names.h"
#include "merge_steps.h"
#include "merge_support.h"

namespace tarn::layer {
namespace {

constexpr uint32_t kPickTargetPrompt = 2250;
constexpr uint32_t kSelectObjectsMessage = 2251;
constexpr uint32_t kChangedMessage = 2252;

// The layer of the object the user picks; nothing when the user ends.
std::optional<std::string> PickTargetLayer() {
    const std::string prompt = frame::LoadResString(kPickTargetPrompt);
    tc_name entity{};
    tc_point pick{};
    if (tcedEntSel(prompt.c_str(), entity, pick) != RTNORM) return std::nullopt;
    return EntityLayer(entity);
}

// Moves every member of the set; the number moved.
int MoveMembers(const tc_name set, const std::string& layer) {
    int32_t length = 0;
    tcedSSLength(set, &length);
    int moved = 0;
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity{};
        if (tcedSSName(set, i, entity) == RTNORM && ChangeEntityLayer(entity, layer) == RTNORM) ++moved;
    }
    return moved;
}

}  // namespace

void MatchObjectsToLayer() {
    frame::ResourceScope resources;
    PrintResString(kSelectObjectsMessage);
    HeldSelection selection;
    if (tcedSSGet(":L", nullptr, nullptr, nullptr, selection.Receive()) != RTNORM) return;
    selection.Take();
    const auto target = PickTargetLayer();
    if (!target) return;
    const int moved = MoveMembers(selection.Name(), *target);
    PrintResString(kChangedMessage, {std::to_string(moved), *target});
}

}  // namespace tarn::layer
