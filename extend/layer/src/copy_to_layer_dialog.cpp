// The destination dialog of COPYTOLAYER over its template (id 2290): the
// list and the edit field follow each other, and OK checks the name before
// the dialog ends.
#include "copy_to_layer_dialog.h"

#include <string_view>

#include <tarnsdk/tcdialog.h>

#include "frame/command_environment.h"
#include "layer_names.h"
#include "merge_support.h"

namespace tarn::layer {
namespace {

constexpr int kLayerList = 1001;
constexpr int kNameEdit = 1002;
constexpr int kSelectObject = 1003;
// The end code of "Select Object <".
constexpr int kEndPickObject = 3;

constexpr uint32_t kNothingChosen = 2275;
constexpr uint32_t kInvalidName = 2276;
constexpr uint32_t kReferenceLayer = 2277;

constexpr size_t kMaxLayerNameCharacters = 255;
constexpr std::string_view kForbiddenCharacters = "<>/\\\":;?*|=`,";

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

size_t CharacterCount(std::string_view utf8) {
    size_t count = 0;
    for (const char ch : utf8)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++count;
    return count;
}

bool IsReferenceLayer(std::string_view name) {
    const auto flags = LayerRecordFlags(name);
    return flags && (*flags & kLayerXrefDependent);
}

class CopyToLayerDialog : public TcDialog {
public:
    CopyToLayerDialog() : TcDialog(kCopyToLayerDialogId) {
        onSelChange(kLayerList, &CopyToLayerDialog::LayerChosen);
        onEditChange(kNameEdit, &CopyToLayerDialog::NameTyped);
        onClicked(kSelectObject, &CopyToLayerDialog::SelectObject);
    }

    DestinationChoice choice;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void LayerChosen() { setItemText(kNameEdit, itemString(kLayerList, curSel(kLayerList)).c_str()); }
    void NameTyped() { setCurSel(kLayerList, ItemOf(itemText(kNameEdit))); }
    void SelectObject() { EndDialog(kEndPickObject); }
    int ItemOf(std::string_view name) const;
    void Warn(uint32_t id, std::string_view name = {}) {
        messageBox(FormatResString(id, {name}).c_str(), nullptr, TCPL_MB_OK | TCPL_MB_ICONWARNING);
    }
};

// Layers of external references take no objects of the drawing: they are
// not offered.
void CopyToLayerDialog::OnInitDialog() {
    for (const LayerRecordState& layer : AllLayers())
        if (!IsReferenceLayer(layer.name)) addString(kLayerList, layer.name.c_str());
    if (const auto current = CurrentLayerName()) {
        setCurSel(kLayerList, ItemOf(*current));
        setItemText(kNameEdit, itemString(kLayerList, curSel(kLayerList)).c_str());
    }
}

int CopyToLayerDialog::ItemOf(std::string_view name) const {
    const int count = itemCount(kLayerList);
    for (int i = 0; i < count; ++i)
        if (SameLayerName(itemString(kLayerList, i), name)) return i;
    return -1;
}

void CopyToLayerDialog::OnOK() {
    const std::string name = Trimmed(itemText(kNameEdit));
    if (name.empty()) return Warn(kNothingChosen);
    if (const auto layer = FindLayer(name)) {
        if (IsReferenceLayer(layer->name)) return Warn(kReferenceLayer, layer->name);
        choice = {DestinationChoice::Layer, layer->name, false};
    } else {
        if (!IsValidNewLayerName(name)) return Warn(kInvalidName, name);
        choice = {DestinationChoice::Layer, name, true};
    }
    EndDialog(TCPL_IDOK);
}

}  // namespace

bool IsValidNewLayerName(std::string_view name) {
    if (name.empty() || CharacterCount(name) > kMaxLayerNameCharacters) return false;
    for (const char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || kForbiddenCharacters.find(ch) != std::string_view::npos)
            return false;
    return true;
}

DestinationChoice ChooseDestinationInDialog() {
    CopyToLayerDialog dialog;
    const int code = dialog.DoModal();
    if (code == kEndPickObject) return {DestinationChoice::PickObject, {}, false};
    if (code == TCPL_IDOK && dialog.choice.kind == DestinationChoice::Layer) return dialog.choice;
    return {};
}

}  // namespace tarn::layer
