// The layer state commands: LAYOFF, LAYLCK and LAYULK act on the layer of
// a picked object, LAYON and LAYTHW on all layers, LAYCUR moves objects to
// the current layer and LAYCUR1 makes an object's layer current.
#include <string>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "frame/resbuf_fields.h"
#include "layer/layer_commands.h"
#include "layer_names.h"
#include "state_layer_ops.h"

namespace tarn::layer {
namespace {

using frame::LoadResString;

constexpr uint32_t kLayCur1Message = 2194;
constexpr uint32_t kLockedMessage = 2244;
constexpr uint32_t kLockedSummary = 2245;
constexpr uint32_t kLockPrompt = 2246;
constexpr uint32_t kUnlockPrompt = 2247;
constexpr uint32_t kUnlocked = 2248;
constexpr uint32_t kNothingFound = 2249;
constexpr uint32_t kNotMoved = 2253;
constexpr uint32_t kOffKeywords = 2254;
constexpr uint32_t kNestingKeywords = 2255;
constexpr uint32_t kOffPrompt = 2256;
constexpr uint32_t kNestingPromptNone = 2257;
constexpr uint32_t kNestingPromptBlock = 2258;
constexpr uint32_t kNestingPromptEntity = 2259;
constexpr uint32_t kLayCurMessage = 2262;
constexpr uint32_t kMovedReport = 2263;
constexpr uint32_t kThawedAll = 3563;
constexpr int kArbitraryInput = 128;
constexpr int kNothingPicked = 7;  // ERRNO of a pick that found nothing
constexpr size_t kKeywordCapacity = 256;

// LAYOFF's nesting mode lasts while the module is loaded; never stored.
NestingMode& OffNestingMode() {
    static NestingMode mode = NestingMode::Block;
    return mode;
}

int LastErrno() { return GetShortVariable("ERRNO").value_or(0); }

// A pick: RTNORM with the object, RTCAN, or RTERROR (ERRNO tells why).
int PickObject(uint32_t prompt, tc_name entity) {
    const std::string text = LoadResString(prompt);
    tc_point at = {};
    return tcedEntSel(text.c_str(), entity, at);
}

// LAYOFF's Options: RTNORM (mode set or kept) or RTCAN.
int AskNestingMode() {
    NestingMode& mode = OffNestingMode();
    const uint32_t prompt = mode == NestingMode::Entity  ? kNestingPromptEntity
                            : mode == NestingMode::Block ? kNestingPromptBlock
                                                         : kNestingPromptNone;
    const std::string keywords = LoadResString(kNestingKeywords);
    const std::string text = LoadResString(prompt);
    tcedInitGet(0, keywords.c_str());
    char answer[kKeywordCapacity] = {};
    const int status = tcedGetKword(text.c_str(), answer, sizeof answer);
    if (status == RTCAN) return RTCAN;
    if (status != RTNORM) return RTNORM;
    switch (answer[0]) {
        case 'E': case 'e': mode = NestingMode::Entity; break;
        case 'B': case 'b': mode = NestingMode::Block; break;
        case 'N': case 'n': mode = NestingMode::None; break;
        default: break;
    }
    return RTNORM;
}

enum class OffStep { Again, End };

// A keyword typed at LAYOFF's pick prompt.
OffStep OffKeyword() {
    char word[kKeywordCapacity] = {};
    tcedGetInput(word, sizeof word);
    const std::string typed = word;
    if (SameLayerName(typed, "eXit")) return OffStep::End;
    if (SameLayerName(typed, "Options")) return AskNestingMode() == RTCAN ? OffStep::End : OffStep::Again;
    return OffStep::Again;
}

// One round of LAYOFF: a pick (or keyword) and the layer it names turned off.
OffStep OffRound() {
    const std::string keywords = LoadResString(kOffKeywords);
    const std::string prompt = LoadResString(kOffPrompt);
    tcedInitGet(kArbitraryInput, keywords.c_str());
    tc_name picked = {};
    tc_point at = {};
    tc_matrix xform = {};
    struct resbuf* containers = nullptr;
    const int status = tcedNEntSelP(prompt.c_str(), picked, at, 0, xform, &containers);
    if (status == RTKWORD) return OffKeyword();
    if (status == RTERROR && LastErrno() == kNothingPicked) return OffStep::Again;
    if (status != RTNORM) return OffStep::End;
    const std::optional<std::string> layer = LayerForPick(OffNestingMode(), picked, containers);
    tcutRelRb(containers);
    if (layer && TurnLayerOff(*layer) == RTCAN) return OffStep::End;
    return OffStep::Again;
}

// LAYLCK's summary names each layer once (exactly, not as part of another).
void AddToSummary(std::vector<std::string>& locked, const std::string& name) {
    for (const std::string& known : locked)
        if (known == name) return;
    locked.push_back(name);
}

// LAYCUR's work on one object: true when it moved to `current`; objects
// already there are only shown again.
enum class Moved { Yes, AlreadyThere, Refused };

Moved MoveToLayer(const tc_name entity, const std::string& current) {
    const std::optional<std::string> layer = EntityLayer(entity);
    if (layer && SameLayerName(*layer, current)) {
        tcdbEntUpd(entity);
        return Moved::AlreadyThere;
    }
    struct resbuf* list = tcdbEntGet(entity);
    if (!list) return Moved::Refused;
    bool done = frame::SetChainText(list, 8, current) == RTNORM && tcdbEntMod(list) == RTNORM;
    tcutRelRb(list);
    if (done) tcdbEntUpd(entity);
    return done ? Moved::Yes : Moved::Refused;
}

}  // namespace

void LayOn() {
    frame::QuietCommandScope quiet;
    if (RunLayerCommand({"_On", "*"}) == RTNORM) tcedRedraw(nullptr, 1);
}

void LayThw() {
    frame::QuietCommandScope quiet;
    RunLayerCommand({"_T", "*"});
    PrintText(LoadResString(kThawedAll));
}

void LayUlk() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    tc_name picked = {};
    for (;;) {
        const int status = PickObject(kUnlockPrompt, picked);
        if (status == RTCAN) return;
        if (status == RTNORM) break;
        PrintText(LoadResString(kNothingFound));
    }
    const std::optional<std::string> layer = EntityLayer(picked);
    if (!layer) return;
    if (RunLayerCommand({"_U", LayerArgument(*layer)}) == RTNORM)
        PrintText(FormatText(LoadResString(kUnlocked), {*layer}));
}

void LayLck() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    const std::string perLock = LoadResString(kLockedMessage);
    std::vector<std::string> locked;
    for (;;) {
        tc_name picked = {};
        const int status = PickObject(kLockPrompt, picked);
        if (status == RTERROR && LastErrno() == kNothingPicked) {
            PrintText(LoadResString(kNothingFound));
            continue;
        }
        if (status != RTNORM) break;
        const std::optional<std::string> layer = EntityLayer(picked);
        if (!layer || RunLayerCommand({"_LO", LayerArgument(*layer)}) != RTNORM) continue;
        PrintText(perLock + " " + *layer);
        AddToSummary(locked, *layer);
    }
    if (locked.empty()) return;
    std::string summary = LoadResString(kLockedSummary);
    for (const std::string& name : locked) summary += " " + name;
    PrintText(summary);
}

void LayOff() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    while (OffRound() == OffStep::Again) {
    }
    tcedRedraw(nullptr, 1);
}

void LayCur() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    const std::optional<std::string> current = CurrentLayerName();
    if (!current) return;
    PrintText(LoadResString(kLayCurMessage));
    tc_name selection = {};
    if (tcedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM) return;
    int32_t length = 0;
    tcedSSLength(selection, &length);
    int moved = 0, refused = 0;
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity = {};
        if (tcedSSName(selection, i, entity) != RTNORM) continue;
        const Moved result = MoveToLayer(entity, *current);
        moved += result == Moved::Yes;
        refused += result == Moved::Refused;
    }
    tcedSSFree(selection);
    PrintText(FormatText(LoadResString(kMovedReport), {std::to_string(moved), *current}));
    if (refused > 0) PrintText(FormatText(LoadResString(kNotMoved), {std::to_string(refused)}));
}

void LayCur1() {
    frame::ResourceScope resources;
    std::optional<std::string> layer;
    {
        frame::QuietCommandScope quiet;
        PrintText(LoadResString(kLayCur1Message));
        tc_name selection = {};
        if (tcedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM) return;
        tc_name first = {};
        if (tcedSSName(selection, 0, first) == RTNORM) layer = EntityLayer(first);
        tcedSSFree(selection);
    }
    // Making the layer current leaves CMDECHO at 1, as the command always has.
    if (layer) MakeLayerCurrent(*layer);
}

}  // namespace tarn::layer
