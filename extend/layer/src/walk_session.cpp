// The layer walk's records and its changes to the drawing.
#include "walk_session.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "layer_names.h"
#include "walk_layer_calls.h"
#include "walk_wildcard.h"

namespace tarn::layer {
namespace {

bool ErasedRecord(TcDbObjectId id) {
    TcDbLayerTableRecord* record = nullptr;
    if (tcdbOpenObject(record, id, TcDb::kForWrite) != TcDb::eOk) return false;
    const bool erased = record->erase() == TcDb::eOk;
    record->close();
    return erased;
}

void DropNames(std::vector<std::string>& list, const std::unordered_set<std::string>& folded) {
    std::erase_if(list, [&](const std::string& name) { return folded.count(FoldedLayerName(name)) > 0; });
}

}  // namespace

void LayerWalk::Load() {
    const std::vector<LayerRecordState> table = AllLayers();
    const std::vector<uint32_t> marks = ScanLayerUse(table);
    layers_.clear();
    openedOn_.clear();
    openedOff_.clear();
    for (size_t i = 0; i < table.size(); ++i) {
        WalkLayer layer{table[i].name, table[i].id, kWalkListed | marks[i]};
        layer.Set(kWalkShown, !table[i].off);
        if (SameLayerName(layer.name, keptCurrent_)) layer.Set(kWalkReferenced, true);
        (table[i].off ? openedOff_ : openedOn_).push_back(table[i].name);
        layers_.push_back(std::move(layer));
    }
}

void LayerWalk::ApplyFilter(std::string_view pattern) {
    filter_ = std::string(pattern);
    for (WalkLayer& layer : layers_) {
        const bool match = MatchesLayerFilter(pattern, layer.name);
        layer.Set(kWalkListed | kWalkShown, match);
    }
}

void LayerWalk::ApplyWalk(bool everyLayer) {
    std::unordered_map<std::string, bool> isOff;
    if (!everyLayer)
        for (const LayerRecordState& state : AllLayers()) isOff.emplace(FoldedLayerName(state.name), state.off);
    std::vector<std::string> on, off;
    for (const WalkLayer& layer : layers_) {
        const bool wanted = layer.Has(kWalkHeld) || (layer.Has(kWalkListed) && layer.Has(kWalkShown));
        if (!everyLayer) {
            auto now = isOff.find(FoldedLayerName(layer.name));
            if (now == isOff.end() || now->second != wanted) continue;
        }
        (wanted ? on : off).push_back(layer.name);
    }
    TurnLayersOn(on);
    TurnLayersOff(off);
}

void LayerWalk::RestoreOpeningState() {
    TurnLayersOn(openedOn_);
    TurnLayersOff(openedOff_);
}

bool LayerWalk::Purgeable(const WalkLayer& layer) const {
    if (layer.Has(kWalkHoldsObjects) || layer.Has(kWalkReferenced)) return false;
    if (SameLayerName(layer.name, "0") || SameLayerName(layer.name, "DEFPOINTS")) return false;
    if (SameLayerName(layer.name, keptCurrent_)) return false;
    const std::optional<std::string> current = CurrentLayerName();
    return !current || !SameLayerName(layer.name, *current);
}

std::vector<std::string> LayerWalk::Purge(const std::vector<size_t>& indices) {
    std::vector<std::string> purged;
    std::unordered_set<std::string> folded;
    std::vector<bool> gone(layers_.size(), false);
    for (size_t index : indices) {
        if (index >= layers_.size() || gone[index] || !Purgeable(layers_[index])) continue;
        if (!ErasedRecord(layers_[index].id)) continue;
        gone[index] = true;
        purged.push_back(layers_[index].name);
        folded.insert(FoldedLayerName(layers_[index].name));
    }
    std::vector<WalkLayer> kept;
    kept.reserve(layers_.size() - purged.size());
    for (size_t i = 0; i < layers_.size(); ++i)
        if (!gone[i]) kept.push_back(std::move(layers_[i]));
    layers_ = std::move(kept);
    DropNames(openedOn_, folded);
    DropNames(openedOff_, folded);
    return purged;
}

void LayerWalk::ShowOnly(const std::vector<std::string>& names) {
    std::unordered_set<std::string> picked;
    for (const std::string& name : names) picked.insert(FoldedLayerName(name));
    for (WalkLayer& layer : layers_)
        if (layer.Has(kWalkListed)) layer.Set(kWalkShown, picked.count(FoldedLayerName(layer.name)) > 0);
}

}  // namespace tarn::layer
