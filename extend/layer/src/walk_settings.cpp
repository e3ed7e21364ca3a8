// Reading and writing the "LayWalk" section through the frame's profile
// settings. The two switches live in module-wide variables, as every
// family's DWORD settings do; each run starts them from their defaults and
// reads the store again, so a value removed from the store counts as absent.
#include "walk_settings.h"

#include <array>

#include "frame/profile_settings.h"

namespace tarn::layer {
namespace {

constexpr const char* kSection = "LayWalk";
constexpr const char* kFilterPrefix = "Filter";

int32_t gRestoreOnExit = 1;
int32_t gDontShowPrompt = 0;

std::array<frame::DwordSetting, 2> Switches() {
    return {{{"RestoreOnExit", &gRestoreOnExit}, {"DontShowPrompt", &gDontShowPrompt}}};
}

}  // namespace

WalkSettings ReadWalkSettings() {
    const frame::ProfileSettings store(kSection);
    gRestoreOnExit = 1;
    gDontShowPrompt = 0;
    store.ReadDwords(Switches());
    WalkSettings settings;
    settings.restoreOnExit = gRestoreOnExit;
    settings.dontShowPrompt = gDontShowPrompt;
    settings.filters = store.ReadNumberedTexts(kFilterPrefix);
    return settings;
}

bool WriteWalkFlags(const WalkSettings& settings) {
    gRestoreOnExit = settings.restoreOnExit;
    gDontShowPrompt = settings.dontShowPrompt;
    return frame::ProfileSettings(kSection).WriteDwords(Switches());
}

bool WriteWalkFilters(const std::vector<std::string>& filters) {
    return frame::ProfileSettings(kSection).WriteNumberedTexts(kFilterPrefix, filters);
}

}  // namespace tarn::layer
