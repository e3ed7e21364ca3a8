// Taking and restoring the layer states of a drawing through the SDK's
// layer table records and viewports.
#include "layer_snapshot.h"

#include <algorithm>
#include <unordered_map>

#include "drawing_records.h"

namespace tarn::layermanager {
namespace {

using IdNames = std::unordered_map<TcDbObjectId, std::string>;

bool ReadLayer(TcDbObjectId id, LayerState& out) {
    Opened<TcDbLayerTableRecord> layer;
    if (layer.Open(id, TcDb::kForRead) != TcDb::eOk) return false;
    out.name = layer->getName();
    out.off = layer->isOff();
    out.frozen = layer->isFrozen();
    out.locked = layer->isLocked();
    out.colour = layer->colorIndex();
    out.linetype = layer->linetype();
    return true;
}

// The VIEWPORT entities of every paper-space layout.
TcDbObjectIdArray LayoutViewports(TcDbDatabase& db) {
    TcDbObjectIdArray out;
    Opened<TcDbBlockTable> blocks;
    if (blocks.Open(db.blockTableId(), TcDb::kForRead) != TcDb::eOk) return out;
    const TcDbObjectIdArray records = blocks->recordIds();
    blocks.Close();
    for (TcDbObjectId id : records) {
        Opened<TcDbBlockTableRecord> block;
        if (id == db.modelSpaceId() || block.Open(id, TcDb::kForRead) != TcDb::eOk || !block->isLayout()) continue;
        for (TcDbObjectId entity : block->entityIds()) {
            Opened<TcDbViewport> viewport;
            if (viewport.Open(entity, TcDb::kForRead) == TcDb::eOk) out.push_back(entity);
        }
    }
    return out;
}

void CaptureViewport(TcDbObjectId id, const IdNames& names, LayerSnapshot& out) {
    Opened<TcDbViewport> viewport;
    if (viewport.Open(id, TcDb::kForRead) != TcDb::eOk) return;
    ViewportFreezes entry{id, {}};
    for (TcDbObjectId layer : viewport->frozenLayers()) {
        auto found = names.find(layer);
        if (found != names.end()) entry.frozen.push_back(found->second);
    }
    out.viewports.push_back(std::move(entry));
}

std::string CurrentLayerName(TcDbDatabase& db) {
    Opened<TcDbLayerTableRecord> layer;
    return layer.Open(db.clayer(), TcDb::kForRead) == TcDb::eOk ? layer->getName() : std::string();
}

// Writes the recorded on/off, frozen and locked states where they differ.
void RestoreLayer(TcDbObjectId id, const LayerState& state, TcDbObjectId current) {
    Opened<TcDbLayerTableRecord> layer;
    if (layer.Open(id, TcDb::kForRead) != TcDb::eOk) return;
    const bool frozen = state.frozen && id != current;
    if (layer->isOff() == state.off && layer->isFrozen() == frozen && layer->isLocked() == state.locked) return;
    if (layer->upgradeOpen() != TcDb::eOk) return;
    layer->setIsOff(state.off);
    layer->setIsFrozen(frozen);
    layer->setIsLocked(state.locked);
}

void RestoreViewport(const ViewportFreezes& entry, const TcDbLayerTable& table) {
    TcDbObjectIdArray wanted;
    for (const std::string& name : entry.frozen) {
        TcDbObjectId id;
        if (table.getAt(name, id) == TcDb::eOk) wanted.push_back(id);
    }
    // A viewport on a locked layer keeps its freezes changeable, as the
    // desktop's layer tools allow.
    TcDbLockedLayerCheckSuspension suspension;
    Opened<TcDbViewport> viewport;
    if (entry.viewport.isNull() || entry.viewport.isErased()) return;
    if (viewport.Open(entry.viewport, TcDb::kForWrite) != TcDb::eOk) return;
    TcDbObjectIdArray thaw;
    for (TcDbObjectId id : viewport->frozenLayers())
        if (std::find(wanted.begin(), wanted.end(), id) == wanted.end()) thaw.push_back(id);
    if (!thaw.empty()) viewport->thawLayersInViewport(thaw);
    TcDbObjectIdArray freeze;
    for (TcDbObjectId id : wanted)
        if (!viewport->isLayerFrozenInViewport(id)) freeze.push_back(id);
    if (!freeze.empty()) viewport->freezeLayersInViewport(freeze);
}

}  // namespace

bool CaptureLayers(TcDbDatabase& db, LayerSnapshot& out) {
    out = {};
    Opened<TcDbLayerTable> table;
    if (table.Open(db.layerTableId(), TcDb::kForRead) != TcDb::eOk) return false;
    const TcDbObjectIdArray ids = table->recordIds();
    table.Close();
    IdNames names;
    for (TcDbObjectId id : ids) {
        LayerState state;
        if (!ReadLayer(id, state)) continue;
        names.emplace(id, state.name);
        out.layers.push_back(std::move(state));
    }
    for (TcDbObjectId viewport : LayoutViewports(db)) CaptureViewport(viewport, names, out);
    out.currentLayer = CurrentLayerName(db);
    return true;
}

bool RestoreLayers(TcDbDatabase& db, const LayerSnapshot& snapshot) {
    Opened<TcDbLayerTable> table;
    if (table.Open(db.layerTableId(), TcDb::kForRead) != TcDb::eOk) return false;
    const TcDbObjectId current = db.clayer();
    for (const LayerState& state : snapshot.layers) {
        TcDbObjectId id;
        if (table->getAt(state.name, id) == TcDb::eOk) RestoreLayer(id, state, current);
    }
    for (const ViewportFreezes& entry : snapshot.viewports) RestoreViewport(entry, *table.get());
    return true;
}

}  // namespace tarn::layermanager
