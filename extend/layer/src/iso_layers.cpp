// LAYISO's layer changes: the names of the isolated layers, LAYER calls of
// bounded length for them, the freeze in a layout viewport, and the notice
// that lets the host refresh what it shows of the layers set aside.
#include "iso_layers.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcplatform.h>

#include "layer_names.h"

namespace tarn::layer {
namespace {

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return folded;
}

// Runs one LAYER option for every chunk, after the option for all layers
// and the one that keeps the constraints layer usable.
void SetAsideThenRestore(std::initializer_list<std::string_view> allLayers, std::string_view restore,
                         const std::vector<std::string>& chunks) {
    RunLayerCommand(allLayers);
    if (LayerExists(kConstraintsLayer)) RunLayerCommand({restore, LayerArgument(kConstraintsLayer)});
    for (const std::string& chunk : chunks) RunLayerCommand({restore, chunk});
}

}  // namespace

std::vector<std::string> SelectionLayers(const tc_name selection) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    int32_t length = 0;
    if (tcedSSLength(selection, &length) != RTNORM) return names;
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity = {};
        if (tcedSSName(selection, i, entity) != RTNORM) continue;
        std::optional<std::string> layer = EntityLayer(entity);
        if (layer && seen.insert(FoldedName(*layer)).second) names.push_back(std::move(*layer));
    }
    return names;
}

std::vector<std::string> NameChunks(const std::vector<std::string>& names, size_t limit) {
    std::vector<std::string> chunks;
    std::string chunk;
    for (const std::string& name : names) {
        const std::string argument = LayerArgument(name);
        const size_t joined = chunk.empty() ? argument.size() : chunk.size() + 1 + argument.size();
        if (!chunk.empty() && joined > limit) {
            chunks.push_back(std::move(chunk));
            chunk.clear();
        }
        if (!chunk.empty()) chunk += ',';
        chunk += argument;
    }
    if (!chunk.empty()) chunks.push_back(std::move(chunk));
    return chunks;
}

void IsolateByTurningOff(const std::vector<std::string>& chunks) {
    // "_Y" confirms turning off the current layer, which "*" always names.
    SetAsideThenRestore({"_OFF", "*", "_Y"}, "_ON", chunks);
}

void IsolateByLocking(const std::vector<std::string>& chunks) { SetAsideThenRestore({"_LO", "*"}, "_U", chunks); }

bool IsolateByViewportFreeze(TcDbObjectId viewport, const std::vector<std::string>& names,
                             TcDbObjectIdArray& frozen) {
    std::unordered_set<TcDbObjectId> kept;
    for (const std::string& name : names)
        if (auto layer = FindLayer(name)) kept.insert(layer->id);
    if (auto constraints = FindLayer(kConstraintsLayer)) kept.insert(constraints->id);
    frozen.clear();
    for (const LayerRecordState& layer : AllLayers())
        if (!kept.contains(layer.id)) frozen.push_back(layer.id);

    TcDbViewport* port = nullptr;
    if (viewport.isNull() || tcdbOpenObject(port, viewport, TcDb::kForWrite) != TcDb::eOk) {
        frozen.clear();
        return false;
    }
    const bool done = port->freezeLayersInViewport(frozen) == TcDb::eOk;
    port->close();
    if (!done) frozen.clear();
    return done;
}

void NotifyHostOfLayerStates(const TcDbObjectIdArray& viewportFrozen) {
    auto notice = reinterpret_cast<TcEdHostNoticeFn>(
        tcplGetProcAddress(tcplModuleOfAddress(reinterpret_cast<const void*>(&tcedCommand)), TCED_HOST_LAYER_NOTICE));
    if (!notice) return;
    TcEdLayerNotice changed;
    changed.flag = 1;
    const std::unordered_set<TcDbObjectId> inViewport(viewportFrozen.begin(), viewportFrozen.end());
    for (const LayerRecordState& layer : AllLayers())
        if (layer.off || layer.frozen || layer.locked || inViewport.contains(layer.id)) changed.layers.push_back(layer.id);
    notice(TCED_NOTICE_LAYER_STATES, &changed);
}

}  // namespace tarn::layer
