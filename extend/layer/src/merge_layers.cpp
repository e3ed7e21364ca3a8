// LAYMRG: the objects of the chosen source layers move to a target layer,
// in the drawing and in block definitions, and the source layer records
// that nothing names any more are erased. The whole merge is one undo
// group, so declining it at the end takes it back with one U.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "layer_names.h"
#include "merge_steps.h"
#include "merge_support.h"

namespace tarn::layer {
namespace {

constexpr uint32_t kPartialDrawing = 2264;
constexpr uint32_t kWarningHead = 2265;
constexpr uint32_t kBlockObjectsCount = 2266;
constexpr uint32_t kBlockObjectsNote = 2267;
constexpr uint32_t kSpaceObjectsCount = 2268;
constexpr uint32_t kSpaceObjectsNote = 2269;
constexpr uint32_t kMergingInto = 2270;
constexpr uint32_t kTypeSourcePrompt = 2271;
constexpr uint32_t kLayersKept = 2272;
constexpr uint32_t kSourceList = 2273;
constexpr uint32_t kNothingToUndo = 2274;
constexpr uint32_t kKeepPrompt = 2278;
constexpr uint32_t kTargetIsSource = 2280;
constexpr uint32_t kNameKeywords = 2283;
constexpr uint32_t kNameUndoKeywords = 2284;
constexpr uint32_t kSourcePromptFirst = 2285;
constexpr uint32_t kSourcePromptMore = 2286;
constexpr uint32_t kLayerNotFound = 2287;
constexpr uint32_t kNothingFound = 2288;
constexpr uint32_t kTargetPrompt = 2289;
constexpr uint32_t kTargetLocked = 2244;
constexpr uint32_t kTypeTargetPrompt = 2364;
constexpr uint32_t kYesNoKeywords = 2209;

constexpr size_t kTypedNameCapacity = 4096;

// A reply typed at a name prompt (spaces allowed), without the spaces
// around it; nothing when the user cancelled.
std::optional<std::string> AskName(uint32_t promptId) {
    const std::string prompt = frame::LoadResString(promptId);
    std::vector<char> reply(kTypedNameCapacity, '\0');
    const int status = tcedGetString(1, prompt.c_str(), reply.data(), reply.size());
    if (status == RTCAN) return std::nullopt;
    if (status != RTNORM && status != RTINPUTTRUNCATED) return std::string();
    std::string name(reply.data());
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

// What one pick prompt gave: a layer, a keyword, or the end.
struct PickAnswer {
    enum Kind { Layer, Keyword, Again, Finish, Cancel } kind;
    std::string text;  // the layer or the keyword's global name
};

PickAnswer AskPick(uint32_t keywordsId, uint32_t promptId) {
    const std::string keywords = frame::LoadResString(keywordsId);
    const std::string prompt = frame::LoadResString(promptId);
    tcedInitGet(0, keywords.c_str());
    tc_name entity{};
    tc_point pick{};
    const int status = tcedEntSel(prompt.c_str(), entity, pick);
    if (status == RTNORM) {
        const auto layer = EntityLayer(entity);
        return layer ? PickAnswer{PickAnswer::Layer, *layer} : PickAnswer{PickAnswer::Again, {}};
    }
    if (status == RTKWORD) {
        char keyword[64] = {};
        tcedGetInput(keyword, sizeof keyword);
        return {PickAnswer::Keyword, keyword};
    }
    if (status == RTCAN) return {PickAnswer::Cancel, {}};
    if (status == RTERROR && LastErrno() == kErrnoNothingPicked) {
        PrintResString(kNothingFound);
        return {PickAnswer::Again, {}};
    }
    return {PickAnswer::Finish, {}};
}

bool DrawingIsFullyOpen() {
    struct resbuf value {};
    if (tcedGetVar("FULLOPEN", &value) != RTNORM || value.restype != RTSHORT) return true;
    return value.resval.rint != 0;
}

// An object on a source layer; those of the drawing itself (not inside a
// block definition, not an attribute or vertex) are updated on screen.
struct MergedObject {
    std::array<int32_t, 2> name;
    std::string layerKey;
    bool shown;
};

class LayerMerge {
public:
    void Run();

private:
    bool ChooseSources();
    bool TypeSources();
    void AddSource(std::string_view name);
    bool ChooseTarget();
    std::optional<std::string> TargetCandidate(const PickAnswer& answer, bool& cancelled);
    bool IsSource(std::string_view name) const;
    void ShowSources() const;
    std::vector<MergedObject> GatherObjects(int& inBlocks) const;
    void Announce(int inBlocks, int inSpaces) const;
    void MoveObjects(const std::vector<MergedObject>& objects);
    void FollowCurrentLayer();
    bool AnySourceFromReference() const;
    void EraseSources();
    void AskToKeep();
    void UpdateMoved() const;

    std::vector<std::string> sources_;
    std::string target_;
    TemporaryUnlock targetLock_;
    HeldSelection moved_;  // the moved objects of the drawing, to update them on screen
    LayerKeySet stillNamed_;  // source layers something still names after the move
};

void LayerMerge::Run() {
    if (!ChooseSources() || !ChooseTarget()) return;
    targetLock_.Unlock(target_);
    PrintResString(kWarningHead);
    int inBlocks = 0;
    const std::vector<MergedObject> objects = GatherObjects(inBlocks);
    Announce(inBlocks, static_cast<int>(objects.size()) - inBlocks);
    MoveObjects(objects);
    if (AnySourceFromReference()) return;  // records of a reference are the reference's
    EraseSources();
    targetLock_.Relock();
    AskToKeep();
}

// Every object on a source layer, anywhere in the drawing; `inBlocks`
// counts those inside block definitions.
std::vector<MergedObject> LayerMerge::GatherObjects(int& inBlocks) const {
    LayerKeySet keys;
    for (const std::string& name : sources_) keys.insert(LayerKey(name));
    std::vector<MergedObject> objects;
    ForEachEntityOnLayers(keys, EntityScope::Everywhere, [&](const VisitedEntity& entity) {
        std::string key = LayerKey(entity.layer);
        const bool inBlock = entity.place == EntityPlace::BlockDefinition;
        if (inBlock) ++inBlocks;
        objects.push_back({{entity.name[0], entity.name[1]}, std::move(key), !inBlock && !entity.IsSubEntity()});
    });
    return objects;
}

bool LayerMerge::ChooseSources() {
    for (;;) {
        const bool first = sources_.empty();
        const PickAnswer answer = AskPick(first ? kNameKeywords : kNameUndoKeywords,
                                          first ? kSourcePromptFirst : kSourcePromptMore);
        if (answer.kind == PickAnswer::Cancel) return false;
        if (answer.kind == PickAnswer::Finish) return !sources_.empty();
        if (answer.kind == PickAnswer::Layer) AddSource(answer.text);
        if (answer.kind != PickAnswer::Keyword) continue;
        if (SameLayerName(answer.text, "Name") && !TypeSources()) return false;
        if (SameLayerName(answer.text, "Undo")) {
            if (sources_.empty()) PrintResString(kNothingToUndo);
            else sources_.pop_back();
            ShowSources();
        }
    }
}

// Names typed one after the other until Enter; false when cancelled.
bool LayerMerge::TypeSources() {
    for (;;) {
        const auto name = AskName(kTypeSourcePrompt);
        if (!name) return false;
        if (name->empty()) return true;
        AddSource(*name);
    }
}

void LayerMerge::AddSource(std::string_view name) {
    const auto layer = FindLayer(name);
    if (!layer) {
        PrintResString(kLayerNotFound, {name});
        return;
    }
    if (!IsSource(layer->name)) sources_.push_back(layer->name);
    ShowSources();
}

bool LayerMerge::ChooseTarget() {
    for (;;) {
        const PickAnswer answer = AskPick(kNameKeywords, kTargetPrompt);
        bool cancelled = false;
        const auto candidate = TargetCandidate(answer, cancelled);
        if (cancelled) return false;
        if (!candidate) continue;
        const auto layer = FindLayer(*candidate);
        if (!layer) {
            PrintResString(kLayerNotFound, {*candidate});
        } else if (IsSource(layer->name)) {
            PrintResString(kTargetIsSource);
        } else {
            target_ = layer->name;
            // A locked target is unlocked for the merge and locked again.
            if (layer->locked) PrintText(frame::LoadResString(kTargetLocked) + " " + target_);
            return true;
        }
    }
}

// The name the answer gives for the target; `cancelled` when the command
// ends there (cancel, or Enter: there is nothing to merge into).
std::optional<std::string> LayerMerge::TargetCandidate(const PickAnswer& answer, bool& cancelled) {
    switch (answer.kind) {
        case PickAnswer::Layer: return answer.text;
        case PickAnswer::Again: return std::nullopt;
        case PickAnswer::Finish:
        case PickAnswer::Cancel: cancelled = true; return std::nullopt;
        case PickAnswer::Keyword: break;
    }
    if (!SameLayerName(answer.text, "Name")) return std::nullopt;
    auto name = AskName(kTypeTargetPrompt);
    if (!name) cancelled = true;
    if (!name || name->empty()) return std::nullopt;
    return name;
}

bool LayerMerge::IsSource(std::string_view name) const {
    for (const std::string& source : sources_)
        if (source == name) return true;
    return false;
}

void LayerMerge::ShowSources() const {
    PrintResString(kSourceList);
    PrintText(JoinLayerNames(sources_));
}

void LayerMerge::Announce(int inBlocks, int inSpaces) const {
    if (inBlocks > 0) {
        PrintResString(kBlockObjectsCount, {std::to_string(inBlocks)});
        PrintResString(kBlockObjectsNote);
    }
    if (inSpaces > 0) {
        PrintResString(kSpaceObjectsCount, {std::to_string(inSpaces)});
        PrintResString(kSpaceObjectsNote);
    }
    PrintResString(kMergingInto, {target_});
    for (const std::string& source : sources_) PrintText("\n" + source);
}

// Moves the objects; a move refused on a locked layer leaves the object,
// and with it its layer, where it was.
void LayerMerge::MoveObjects(const std::vector<MergedObject>& objects) {
    for (const MergedObject& object : objects) {
        const tc_name name = {object.name[0], object.name[1]};
        if (ChangeEntityLayer(name, target_) != RTNORM) stillNamed_.insert(object.layerKey);
        else if (object.shown) moved_.Add(name);
    }
    FollowCurrentLayer();
}

// When the current layer is a source, the target becomes current; should
// it refuse (a frozen target), the current layer still names the source.
void LayerMerge::FollowCurrentLayer() {
    const auto current = CurrentLayerName();
    if (!current) return;
    bool isSource = false;
    for (const std::string& source : sources_) isSource = isSource || SameLayerName(*current, source);
    if (!isSource) return;
    struct resbuf value {};
    value.restype = RTSTR;
    value.resval.rstring = target_.data();
    if (tcedSetVar("CLAYER", &value) != RTNORM) stillNamed_.insert(LayerKey(*current));
}

bool LayerMerge::AnySourceFromReference() const {
    for (const std::string& source : sources_) {
        const auto flags = LayerRecordFlags(source);
        if (flags && (*flags & kLayerXrefDependent)) return true;
    }
    return false;
}

void LayerMerge::EraseSources() {
    UpdateMoved();
    // The walk that found the objects to move reached every object on the
    // source layers: a source layer is still named only by an object that could
    // not move (on a locked layer) or as the current layer.
    const std::vector<std::string> kept = EraseLayerRecordsNotNamed(sources_, stillNamed_, nullptr);
    if (kept.empty()) return;
    PrintResString(kLayersKept);
    for (const std::string& name : kept) PrintText("\n" + name);
}

// "No" or cancel takes the whole merge back: everything the command changed
// is one undo group, so U issued now restores the drawing as it was.
void LayerMerge::AskToKeep() {
    const std::string keywords = frame::LoadResString(kYesNoKeywords);
    const std::string prompt = frame::LoadResString(kKeepPrompt);
    tcedInitGet(0, keywords.c_str());
    char answer[64] = {};
    const int status = tcedGetKword(prompt.c_str(), answer, sizeof answer);
    if (status == RTCAN || (status == RTNORM && SameLayerName(answer, "No"))) {
        targetLock_.Forget();
        tcedCommand(RTSTR, "_.U", RTNONE);
        UpdateMoved();
    }
}

void LayerMerge::UpdateMoved() const {
    const int32_t length = moved_.Length();
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity{};
        if (tcedSSName(moved_.Name(), i, entity) == RTNORM) tcdbEntUpd(entity);
    }
}

}  // namespace

void MergeLayers() {
    frame::ResourceScope resources;
    if (!DrawingIsFullyOpen()) {
        PrintResString(kPartialDrawing);
        return;
    }
    frame::QuietCommandScope quiet;
    LayerMerge merge;
    merge.Run();
}

}  // namespace tarn::layer
