// The closing question and the information box, each a dialog of its own
// over a template of the resource module.
#include "walk_small_dialogs.h"

#include <string>

#include <tarnsdk/tcdialog.h>

#include "frame/command_environment.h"
#include "layer_names.h"
#include "walk_ids.h"

namespace tarn::layer {
namespace {

class CWalkCloseDialog : public TcDialog {
public:
    CWalkCloseDialog() : TcDialog(walk::kCloseDialog) {}

protected:
    void OnInitDialog() override {
        setItemText(walk::kCloseMessage, frame::LoadResString(walk::kCloseQuestion).c_str());
        setCheck(walk::kDontAskAgain, 0);
    }
};

class CWalkInfoDialog : public TcDialog {
public:
    CWalkInfoDialog(int layers, int64_t objects)
        : TcDialog(walk::kInfoDialog), layers_(layers), objects_(objects) {}

protected:
    void OnInitDialog() override {
        const std::string layers = std::to_string(layers_), objects = std::to_string(objects_);
        setItemText(walk::kInfoLayers, FormatText(frame::LoadResString(walk::kInfoLayersText), {layers}).c_str());
        setItemText(walk::kInfoObjects, FormatText(frame::LoadResString(walk::kInfoObjectsText), {objects}).c_str());
    }

private:
    int layers_;
    int64_t objects_;
};

}  // namespace

bool AskToCloseWalk(bool& dontAskAgain) {
    CWalkCloseDialog dialog;
    if (dialog.DoModal() != TCPL_IDOK) return false;
    dontAskAgain = dialog.isChecked(walk::kDontAskAgain) != 0;
    return true;
}

void ShowWalkInfo(int layers, int64_t objects) {
    CWalkInfoDialog dialog(layers, objects);
    dialog.DoModal();
}

}  // namespace tarn::layer
