// LAYISO's settings: kept in the "LayerTools" section of the registry store
// and changed by the setting dialogue that the keyword "Setting" opens at
// the selection prompt.
#include "iso_settings.h"

#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "frame/profile_settings.h"
#include "layer_names.h"

namespace tarn::layer {
namespace {

using frame::LoadResString;

constexpr uint32_t kModePrompt = 2227;
constexpr uint32_t kViewportPrompt = 2228;
constexpr uint32_t kFadePrompt = 2229;
constexpr uint32_t kModeOffText = 2232;
constexpr uint32_t kModeLockText = 2233;
constexpr uint32_t kViewportFreezeText = 2234;
constexpr uint32_t kViewportOffText = 2235;
constexpr uint32_t kModeKeywords = 2237;
constexpr uint32_t kViewportKeywords = 2238;
constexpr uint32_t kInvalidKeyword = 2240;
constexpr uint32_t kFadeOutOfRange = 2241;
constexpr size_t kKeywordCapacity = 64;

std::array<frame::DwordSetting, 2> StoredValues() {
    LayerToolSettings& s = LayerTools();
    return {{{"LockFlag", &s.lockFlag}, {"FreezeFlag", &s.freezeFlag}}};
}

bool SameWord(std::string_view a, std::string_view b) { return SameLayerName(a, b); }

// A keyword of the list given by string id; RTNORM with the global word,
// RTNONE for Enter, RTCAN or RTERROR.
int AskKeyword(const std::string& prompt, uint32_t keywords, std::string& word) {
    const std::string list = LoadResString(keywords);
    tcedInitGet(0, list.c_str());
    char answer[kKeywordCapacity] = {};
    const int status = tcedGetKword(prompt.c_str(), answer, sizeof answer);
    word = answer;
    return status;
}

// Asks for the fade value until one in range is given; false on cancel.
bool AskFade(int32_t& fade) {
    for (;;) {
        const std::string prompt = FormatText(LoadResString(kFadePrompt), {std::to_string(fade)});
        tcedInitGet(128, nullptr);
        int value = 0;
        const int status = tcedGetInt(prompt.c_str(), &value);
        if (status == RTNONE) return true;
        if (status == RTCAN || status == RTERROR) return false;
        if (status == RTNORM && value >= 0 && value <= kMaxFade) {
            fade = value;
            return true;
        }
        PrintText(LoadResString(kFadeOutOfRange));
    }
}

void ChooseLock() {
    LayerToolSettings& s = LayerTools();
    int32_t fade = s.fade;
    if (!AskFade(fade)) return;
    s.lockFlag = 1;
    s.fade = fade;
    SetShortVariable("LAYLOCKFADECTL", static_cast<short>(fade));
    SaveLayerToolSettings();
}

// Hiding: off, or frozen in the layout viewport. The mode changes only once
// the question is answered, so that a cancel leaves the settings as they were.
void ChooseHide() {
    LayerToolSettings& s = LayerTools();
    for (;;) {
        const std::string current = LoadResString(s.freezeFlag != 0 ? kViewportFreezeText : kViewportOffText);
        std::string word;
        const int status = AskKeyword(FormatText(LoadResString(kViewportPrompt), {current}), kViewportKeywords, word);
        if (status == RTCAN || status == RTERROR) return;
        if (status == RTNONE) word = s.freezeFlag != 0 ? "Vpfreeze" : "Off";
        if (SameWord(word, "Vpfreeze") || SameWord(word, "Off")) {
            s.lockFlag = 0;
            s.freezeFlag = SameWord(word, "Vpfreeze") ? 1 : 0;
            SaveLayerToolSettings();
            return;
        }
        PrintText(LoadResString(kInvalidKeyword));
    }
}

void RunSettingDialogue() {
    const LayerToolSettings& s = LayerTools();
    for (;;) {
        const std::string current = LoadResString(s.lockFlag != 0 ? kModeLockText : kModeOffText);
        std::string word;
        const int status = AskKeyword(FormatText(LoadResString(kModePrompt), {current}), kModeKeywords, word);
        if (status == RTCAN || status == RTERROR) return;
        if (status == RTNONE) word = s.lockFlag != 0 ? "Lock" : "Off";
        if (SameWord(word, "Lock")) return ChooseLock();
        if (SameWord(word, "Off")) return ChooseHide();
        PrintText(LoadResString(kInvalidKeyword));
    }
}

}  // namespace

LayerToolSettings& LayerTools() {
    static LayerToolSettings settings;
    return settings;
}

void ReadLayerToolSettings() {
    const auto values = StoredValues();
    frame::ProfileSettings("LayerTools").ReadDwords(values);
}

void SaveLayerToolSettings() {
    const auto values = StoredValues();
    frame::ProfileSettings("LayerTools").WriteDwords(values);
}



struct resbuf* IsolationKeywordCallback(const char* keyword) {
    if (keyword && SameWord(keyword, "Setting")) RunSettingDialogue();
    else SaveLayerToolSettings();
    // A chain without members: the input is taken, nothing is added.
    return tcutNewRb(RTNONE);
}

}  // namespace tarn::layer
