// The layer walk dialog: the list of layers whose selection is shown in the
// drawing, the filter with its saved list, holding, purging, inspecting,
// saving a layer state and closing with or without restoring the layers.
// The host's dialogs have no context menu: the list's menu commands
// (2313-2319) are buttons of the template.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tarnsdk/tcdialog.h>

#include "walk_session.h"
#include "walk_settings.h"

namespace tarn::layer {

class CLayerWalkDialog : public TcDialog {
public:
    CLayerWalkDialog(LayerWalk& walk, WalkSettings& settings);

    // The layers of the objects picked while the dialog was away; applied
    // when it opens again.
    void Preselect(std::vector<std::string> names) { preselection_ = std::move(names); }

protected:
    void OnInitDialog() override;
    void OnCancel() override { Close(); }
    void OnClose() override { Close(); }

private:
    void BindControls();
    void FillList();
    void FillFilters();
    void UpdateControls();
    std::vector<size_t> SelectedRecords() const;
    void ListChanged();
    void SelectionChanged();
    void Refilter(const std::string& pattern);

    void ApplyTypedFilter();
    void FilterPicked();
    void FilterEdited();
    void FilterToggled();
    void RestoreToggled();
    void PickObjects();
    void Hold();
    void Release();
    void ReleaseAll();
    void SelectAll();
    void ClearAll();
    void Invert();
    void SelectUnused();
    void Reapply();
    void Purge();
    void SaveState();
    void Inspect();
    void CopyName();
    void SaveFilter();
    void DeleteFilter();
    void Close();

    std::string TypedFilter() const;

    LayerWalk& walk_;
    WalkSettings& settings_;
    std::optional<std::vector<std::string>> preselection_;
    std::string filterText_ = "*";
    bool filterOn_ = true;
};

}  // namespace tarn::layer
