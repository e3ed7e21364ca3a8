// LAYISO and LAYUNISO: keep only the layers of the selected objects usable
// (the others locked and faded, turned off, or frozen in the current layout
// viewport), and bring back the layer states recorded before the last
// isolation. The record itself belongs to the layer-state module.
#include <string>
#include <vector>

#include <tarnsdk/tcedapi.h>

#include "frame/command_environment.h"
#include "iso_layers.h"
#include "iso_settings.h"
#include "layer/layer_commands.h"
#include "layer/layer_manager_link.h"
#include "layer_names.h"

namespace tarn::layer {
namespace {

using frame::LoadResString;

constexpr uint32_t kLockSetting = 2221;
constexpr uint32_t kHideSetting = 2222;
constexpr uint32_t kSelectPrompt = 2223;
constexpr uint32_t kOneIsolated = 2230;
constexpr uint32_t kManyIsolated = 2231;
constexpr uint32_t kSelectKeywords = 2236;
constexpr uint32_t kRestored = 2242;
constexpr uint32_t kNotRestored = 2243;

using VoidExport = void (*)();
using StatusExport = int32_t (*)();

// The command runs in a layout viewport: TILEMODE 0 and a viewport other
// than the layout's own paper space (an unreadable CVPORT counts as one).
bool InLayoutViewport() {
    const std::optional<short> tilemode = GetShortVariable("TILEMODE");
    if (!tilemode || *tilemode != 0) return false;
    const std::optional<short> cvport = GetShortVariable("CVPORT");
    return !cvport || *cvport != 1;
}

void PrintCurrentSetting(const LayerToolSettings& s) {
    if (s.lockFlag != 0) PrintText(FormatText(LoadResString(kLockSetting), {std::to_string(s.fade)}));
    else PrintText(FormatText(LoadResString(kHideSetting), {s.freezeFlag != 0 ? "Vpfreeze" : "Off"}));
}

// The selection with the "Setting" keyword; RTNORM with a set, RTCAN, or
// RTERROR when nothing was selected.
int SelectObjects(tc_name selection) {
    const std::string prompt = LoadResString(kSelectPrompt);
    const char* prompts[2] = {prompt.c_str(), prompt.c_str()};
    const std::string keywords = LoadResString(kSelectKeywords);
    // Esc in the setting dialogue ends the dialogue without a change; the
    // selection goes on.
    tcedSSSetKwordCallbackPtr(&IsolationKeywordCallback);
    tcedInitGet(0, keywords.c_str());
    const int status = tcedSSGet("-M:$:K", prompts, nullptr, nullptr, selection);
    tcedSSSetKwordCallbackPtr(nullptr);
    return status;
}

// Sets the other layers aside as the settings say; the layers frozen in
// the viewport when it came to that.
TcDbObjectIdArray SetOtherLayersAside(const LayerToolSettings& s, bool inViewport,
                                      const std::vector<std::string>& names) {
    const std::vector<std::string> chunks = NameChunks(names);
    TcDbObjectIdArray viewportFrozen;
    if (s.lockFlag != 0) IsolateByLocking(chunks);
    else if (s.freezeFlag == 0 || !inViewport) IsolateByTurningOff(chunks);
    // A viewport that cannot be opened is treated as the model tab.
    else if (!IsolateByViewportFreeze(tcedGetCurViewportObjectId(), names, viewportFrozen))
        IsolateByTurningOff(chunks);
    return viewportFrozen;
}

void ReportIsolation(const std::vector<std::string>& names, const std::string& startLayer) {
    if (names.size() == 1) return PrintText(FormatText(LoadResString(kOneIsolated), {names.front()}));
    std::string named = names.front();
    for (const std::string& name : names)
        if (SameLayerName(name, startLayer)) named = name;
    PrintText(FormatText(LoadResString(kManyIsolated), {std::to_string(names.size()), named}));
}

void RecordLayerStates() {
    if (auto record = reinterpret_cast<VoidExport>(LayerManagerExport("LayIso"))) record();
}

}  // namespace

void LayIso() {
    frame::ResourceScope resources;
    ShortVariableScope regenmode("REGENMODE");
    regenmode.Set(0);
    // The fade the setting dialogue may change goes back when the command is
    // cancelled; a completed isolation keeps it.
    ShortVariableScope fadeOnCancel("LAYLOCKFADECTL");

    ReadLayerToolSettings();
    LayerToolSettings& settings = LayerTools();
    const std::optional<std::string> startLayer = CurrentLayerName();
    if (!startLayer) return;
    settings.fade = GetShortVariable("LAYLOCKFADECTL").value_or(0);
    const bool inViewport = InLayoutViewport();
    PrintCurrentSetting(settings);

    tc_name selection = {};
    const int status = SelectObjects(selection);
    if (status == RTCAN) return;
    // Not cancelled: the fade chosen on the way stays.
    if (const std::optional<short> fadeChosen = GetShortVariable("LAYLOCKFADECTL"))
        fadeOnCancel.RestoreTo(*fadeChosen);
    if (status != RTNORM) {
        tcedRedraw(nullptr, 1);
        return;
    }
    const std::vector<std::string> names = SelectionLayers(selection);
    tcedSSFree(selection);
    if (names.empty()) return;

    RecordLayerStates();
    TcDbObjectIdArray viewportFrozen;
    {
        frame::QuietCommandScope quiet;
        viewportFrozen = SetOtherLayersAside(settings, inViewport, names);
        const std::string first = names.front();
        struct resbuf value {};
        value.restype = RTSTR;
        value.resval.rstring = const_cast<char*>(first.c_str());
        tcedSetVar("CLAYER", &value);
    }
    ReportIsolation(names, *startLayer);
    NotifyHostOfLayerStates(viewportFrozen);
    tcedRedraw(nullptr, 1);
}

void LayUniso() {
    frame::ResourceScope resources;
    ShortVariableScope regenmode("REGENMODE");
    const std::string restored = LoadResString(kRestored);
    const std::string notRestored = LoadResString(kNotRestored);
    frame::QuietCommandScope quiet;
    int32_t result = 0;
    if (auto restore = reinterpret_cast<StatusExport>(LayerManagerExport("LayUnisoNew"))) {
        regenmode.Set(0);
        result = restore();
    }
    PrintText(result != 0 ? restored : notRestored);
}

}  // namespace tarn::layer
