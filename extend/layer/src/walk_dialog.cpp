// The layer walk dialog's handlers, one per control, each a step of the
// walk: change the records, refill the list, apply the walk to the drawing.
#include "walk_dialog.h"

#include <algorithm>

#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "layer/layer_manager_link.h"
#include "layer_names.h"
#include "walk_ids.h"
#include "walk_small_dialogs.h"

namespace tarn::layer {
namespace {

std::string Trimmed(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    return std::string(first, text.end());
}

void Say(uint32_t id, std::initializer_list<std::string_view> values = {}) {
    PrintText(FormatText(frame::LoadResString(id), values));
}

// The number of objects of the drawing on this layer (selection "X").
int64_t ObjectsOnLayer(const std::string& name) {
    const std::string pattern = LayerArgument(name);
    struct resbuf* filter = tcutBuildList(8, pattern.c_str(), RTNONE);
    tc_name set = {0, 0};
    int32_t length = 0;
    if (filter && tcedSSGet("X", nullptr, nullptr, filter, set) == RTNORM) {
        tcedSSLength(set, &length);
        tcedSSFree(set);
    }
    tcutRelRb(filter);
    return length;
}

}  // namespace

CLayerWalkDialog::CLayerWalkDialog(LayerWalk& walk, WalkSettings& settings)
    : TcDialog(walk::kWalkDialog), walk_(walk), settings_(settings) {
    BindControls();
}

void CLayerWalkDialog::BindControls() {
    using D = CLayerWalkDialog;
    onClicked(walk::kApplyTypedFilter, &D::ApplyTypedFilter);
    onClicked(walk::kClose, &D::Close);
    onClicked(walk::kPurge, &D::Purge);
    onClicked(walk::kRestoreOnExit, &D::RestoreToggled);
    onSelChange(walk::kLayerList, &D::ListChanged);
    onClicked(walk::kPickObjects, &D::PickObjects);
    onSelChange(walk::kFilterText, &D::FilterPicked);
    onEditChange(walk::kFilterText, &D::FilterEdited);
    onClicked(walk::kFilterOn, &D::FilterToggled);
    onClicked(walk::kHold, &D::Hold);
    onClicked(walk::kRelease, &D::Release);
    onClicked(walk::kReleaseAll, &D::ReleaseAll);
    onClicked(walk::kSelectAll, &D::SelectAll);
    onClicked(walk::kClearAll, &D::ClearAll);
    onClicked(walk::kInvert, &D::Invert);
    onClicked(walk::kSelectUnused, &D::SelectUnused);
    onClicked(walk::kReapply, &D::Reapply);
    onClicked(walk::kSaveState, &D::SaveState);
    onClicked(walk::kInspect, &D::Inspect);
    onClicked(walk::kCopyName, &D::CopyName);
    onClicked(walk::kSaveFilter, &D::SaveFilter);
    onClicked(walk::kDeleteFilter, &D::DeleteFilter);
}

void CLayerWalkDialog::OnInitDialog() {
    setCheck(walk::kRestoreOnExit, settings_.restoreOnExit != 0);
    FillFilters();
    setItemText(walk::kFilterText, filterText_.c_str());
    setCheck(walk::kFilterOn, filterOn_);
    if (preselection_) {
        walk_.ShowOnly(*preselection_);
        preselection_.reset();
        FillList();
        walk_.ApplyWalk();
    } else {
        FillList();
    }
    UpdateControls();
}

// ---- The list

void CLayerWalkDialog::FillList() {
    resetContent(walk::kLayerList);
    const std::vector<WalkLayer>& layers = walk_.Layers();
    for (size_t i = 0; i < layers.size(); ++i) {
        if (!layers[i].Has(kWalkListed)) continue;
        const std::string text = layers[i].Has(kWalkHeld) ? "*" + layers[i].name : layers[i].name;
        const int item = addString(walk::kLayerList, text.c_str());
        setItemData(walk::kLayerList, item, static_cast<intptr_t>(i));
        setSel(walk::kLayerList, item, layers[i].Has(kWalkShown));
    }
}

std::vector<size_t> CLayerWalkDialog::SelectedRecords() const {
    std::vector<size_t> records;
    for (int item : selectedItems(walk::kLayerList))
        records.push_back(static_cast<size_t>(itemData(walk::kLayerList, item)));
    return records;
}

// Shown follows the list's selection.
void CLayerWalkDialog::SelectionChanged() {
    std::vector<WalkLayer>& layers = walk_.Layers();
    const int count = itemCount(walk::kLayerList);
    for (int item = 0; item < count; ++item) {
        const auto record = static_cast<size_t>(itemData(walk::kLayerList, item));
        if (record < layers.size()) layers[record].Set(kWalkShown, isSelected(walk::kLayerList, item));
    }
    walk_.ApplyWalk();
    UpdateControls();
}

void CLayerWalkDialog::ListChanged() { SelectionChanged(); }

// Menu commands are enabled only where they can act.
void CLayerWalkDialog::UpdateControls() {
    const std::vector<WalkLayer>& layers = walk_.Layers();
    bool heldSelected = false, freeSelected = false, purgeable = false;
    for (size_t record : SelectedRecords()) {
        const WalkLayer& layer = layers[record];
        (layer.Has(kWalkHeld) ? heldSelected : freeSelected) = true;
        purgeable = purgeable || walk_.Purgeable(layer);
    }
    const bool anyHeld = std::any_of(layers.begin(), layers.end(), [](const WalkLayer& l) { return l.Has(kWalkHeld); });
    const int selected = selCount(walk::kLayerList);
    const bool items = itemCount(walk::kLayerList) > 0;
    const std::string typed = TypedFilter();
    enableItem(walk::kPurge, purgeable);
    enableItem(walk::kHold, freeSelected);
    enableItem(walk::kRelease, heldSelected);
    enableItem(walk::kReleaseAll, anyHeld);
    enableItem(walk::kSelectAll, items);
    enableItem(walk::kClearAll, selected > 0);
    enableItem(walk::kInvert, items);
    enableItem(walk::kSelectUnused, items);
    enableItem(walk::kInspect, selected > 0);
    enableItem(walk::kCopyName, selected == 1);
    enableItem(walk::kSaveFilter, !typed.empty());
    enableItem(walk::kDeleteFilter, std::find(settings_.filters.begin(), settings_.filters.end(), typed) !=
                                        settings_.filters.end());
}

// ---- Filters

std::string CLayerWalkDialog::TypedFilter() const { return Trimmed(itemText(walk::kFilterText)); }

void CLayerWalkDialog::FillFilters() {
    const std::string text = itemText(walk::kFilterText);
    resetContent(walk::kFilterText);
    for (const std::string& filter : settings_.filters) addString(walk::kFilterText, filter.c_str());
    setItemText(walk::kFilterText, text.c_str());
}

void CLayerWalkDialog::Refilter(const std::string& pattern) {
    walk_.ApplyFilter(pattern);
    FillList();
    walk_.ApplyWalk();
    UpdateControls();
}

void CLayerWalkDialog::ApplyTypedFilter() {
    const std::string typed = TypedFilter();
    if (typed.empty()) return;
    filterOn_ = false;
    setCheck(walk::kFilterOn, 0);
    Refilter(typed);
}

void CLayerWalkDialog::FilterPicked() {
    filterText_ = itemText(walk::kFilterText);
    filterOn_ = false;
    setCheck(walk::kFilterOn, 0);
    UpdateControls();
}

void CLayerWalkDialog::FilterEdited() {
    filterText_ = itemText(walk::kFilterText);
    filterOn_ = false;
    setCheck(walk::kFilterOn, 0);
    if (TypedFilter().empty()) Refilter("*");
    else UpdateControls();
}

// The check box is already switched when this runs: on applies the typed
// filter, off lists every layer again.
void CLayerWalkDialog::FilterToggled() {
    filterOn_ = isChecked(walk::kFilterOn) != 0;
    const std::string typed = TypedFilter();
    Refilter(filterOn_ && !typed.empty() ? typed : "*");
}

void CLayerWalkDialog::CopyName() {
    const std::vector<size_t> records = SelectedRecords();
    if (records.size() != 1) return;
    filterText_ = walk_.Layers()[records.front()].name;
    setItemText(walk::kFilterText, filterText_.c_str());
    filterOn_ = false;
    setCheck(walk::kFilterOn, 0);
    UpdateControls();
}

void CLayerWalkDialog::SaveFilter() {
    const std::string typed = TypedFilter();
    if (typed.empty()) return;
    if (typed.size() > kMaxSavedFilterBytes) {
        Say(walk::kFilterTooLong, {std::to_string(kMaxSavedFilterBytes)});
        return;
    }
    if (std::find(settings_.filters.begin(), settings_.filters.end(), typed) == settings_.filters.end())
        settings_.filters.push_back(typed);
    WriteWalkFilters(settings_.filters);
    FillFilters();
    UpdateControls();
}

void CLayerWalkDialog::DeleteFilter() {
    const std::string typed = TypedFilter();
    std::erase(settings_.filters, typed);
    WriteWalkFilters(settings_.filters);
    FillFilters();
    UpdateControls();
}

// ---- Selection commands of the list's menu

void CLayerWalkDialog::Hold() {
    for (size_t record : SelectedRecords()) walk_.Layers()[record].Set(kWalkHeld, true);
    FillList();
    walk_.ApplyWalk();
    UpdateControls();
}

void CLayerWalkDialog::Release() {
    for (size_t record : SelectedRecords()) walk_.Layers()[record].Set(kWalkHeld, false);
    FillList();
    walk_.ApplyWalk();
    UpdateControls();
}

void CLayerWalkDialog::ReleaseAll() {
    for (WalkLayer& layer : walk_.Layers()) layer.Set(kWalkHeld, false);
    FillList();
    walk_.ApplyWalk();
    UpdateControls();
}

void CLayerWalkDialog::SelectAll() {
    const int count = itemCount(walk::kLayerList);
    for (int item = 0; item < count; ++item) setSel(walk::kLayerList, item, true);
    SelectionChanged();
}

void CLayerWalkDialog::ClearAll() {
    setCurSel(walk::kLayerList, -1);
    SelectionChanged();
}

void CLayerWalkDialog::Invert() {
    const int count = itemCount(walk::kLayerList);
    for (int item = 0; item < count; ++item)
        setSel(walk::kLayerList, item, !isSelected(walk::kLayerList, item));
    SelectionChanged();
}

void CLayerWalkDialog::SelectUnused() {
    const std::vector<WalkLayer>& layers = walk_.Layers();
    const int count = itemCount(walk::kLayerList);
    for (int item = 0; item < count; ++item) {
        const auto record = static_cast<size_t>(itemData(walk::kLayerList, item));
        setSel(walk::kLayerList, item, record < layers.size() && walk_.Purgeable(layers[record]));
    }
    SelectionChanged();
}

void CLayerWalkDialog::Reapply() { walk_.ApplyWalk(true); }

// ---- Commands on the selected layers

void CLayerWalkDialog::Purge() {
    const std::vector<size_t> records = SelectedRecords();
    std::vector<std::string> wanted;
    for (size_t record : records)
        if (walk_.Purgeable(walk_.Layers()[record])) wanted.push_back(walk_.Layers()[record].name);
    const std::vector<std::string> purged = walk_.Purge(records);
    for (const std::string& name : wanted)
        if (std::find(purged.begin(), purged.end(), name) == purged.end()) Say(walk::kNotPurged, {name});
    Say(walk::kPurgedCount, {std::to_string(purged.size())});
    FillList();
    UpdateControls();
}

void CLayerWalkDialog::SaveState() {
    void* address = LayerManagerExport("LayerStateSaveCmd");
    if (!address) {
        Say(walk::kNoStateModule);
        return;
    }
    reinterpret_cast<void (*)()>(address)();
}

void CLayerWalkDialog::Inspect() {
    const std::vector<size_t> records = SelectedRecords();
    int64_t objects = 0;
    for (size_t record : records) objects += ObjectsOnLayer(walk_.Layers()[record].name);
    ShowWalkInfo(static_cast<int>(records.size()), objects);
}

// ---- Leaving

void CLayerWalkDialog::RestoreToggled() { settings_.restoreOnExit = isChecked(walk::kRestoreOnExit) ? 1 : 0; }

void CLayerWalkDialog::PickObjects() {
    filterText_ = itemText(walk::kFilterText);
    EndDialog(walk::kSelectObjects);
}

void CLayerWalkDialog::Close() {
    if (settings_.restoreOnExit == 0 && settings_.dontShowPrompt == 0) {
        bool dontAskAgain = false;
        if (!AskToCloseWalk(dontAskAgain)) return;
        settings_.dontShowPrompt = dontAskAgain ? 1 : 0;
    }
    WriteWalkFlags(settings_);
    if (settings_.restoreOnExit != 0) walk_.RestoreOpeningState();
    EndDialog(walk::kClosed);
}

}  // namespace tarn::layer
