// LAYDEL: mark layers by picking their objects or typing their names (each
// marked layer is frozen and turned off, so the user sees what will go),
// then, once confirmed, erase every object on them, in the drawing and in
// block definitions, and the layer records that nothing names any more.
// Declining, cancelling or Undo puts each marked layer back as it was.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "frame/resbuf_fields.h"
#include "layer_names.h"
#include "merge_steps.h"
#include "merge_support.h"

namespace tarn::layer {
namespace {

constexpr uint32_t kPickPromptFirst = 2195;
constexpr uint32_t kPickPromptMore = 2196;
constexpr uint32_t kTypePrompt = 2197;
constexpr uint32_t kPickKeywords = 2198;
constexpr uint32_t kMarkedList = 2199;
constexpr uint32_t kNothingToUndo = 2200;
constexpr uint32_t kLayersKept = 2201;
constexpr uint32_t kWarningHead = 2202;
constexpr uint32_t kBlockObjectsCount = 2203;
constexpr uint32_t kBlockObjectsNote = 2204;
constexpr uint32_t kAboutToDelete = 2205;
constexpr uint32_t kNothingDeleted = 2206;
constexpr uint32_t kDeletingLayer = 2207;
constexpr uint32_t kLayersDeleted = 2208;
constexpr uint32_t kYesNoKeywords = 2209;
constexpr uint32_t kConfirmPrompt = 2210;
constexpr uint32_t kRefuseLayerZero = 2211;
constexpr uint32_t kRefuseCurrent = 2212;
constexpr uint32_t kRefuseMissing = 2213;
constexpr uint32_t kRefuseFlags = 2214;

// Layers with these flags are never deleted: locked, and layers of
// external references.
constexpr int32_t kUndeletableFlags = kLayerLocked | 8 | kLayerXrefDependent | kLayerXrefResolved;

// Typed names are read into a buffer this large; a longer reply cannot be a
// layer name.
constexpr size_t kTypedNameCapacity = 4096;

// A marked layer and what it was before LAYDEL froze it and turned it off.
struct MarkedLayer {
    std::string name;  // as the layer table spells it
    int32_t flags = 0;
    bool wasOn = true;
};

enum class PickOutcome { Again, Finish, Cancel };

class LayerDeletion {
public:
    void Run();

private:
    PickOutcome AskOnce();
    PickOutcome OnKeyword();
    bool TypeNames();
    void Mark(std::string_view name);
    bool Refuses(const LayerRecordState& layer, int32_t flags) const;
    void Unmark(const MarkedLayer& layer);
    void UnmarkAll();
    void UndoLast();
    void ShowList() const;
    std::vector<std::string> MarkedNames() const;
    bool IsMarked(std::string_view name) const;
    void DeletionStep();
    bool Confirmed();
    void DeleteMarked(const std::vector<std::array<int32_t, 2>>& inBlocks);

    std::vector<MarkedLayer> marked_;
};

void LayerDeletion::Run() {
    for (;;) {
        const PickOutcome outcome = AskOnce();
        if (outcome == PickOutcome::Cancel) {
            UnmarkAll();
            return;
        }
        if (outcome == PickOutcome::Finish) break;
    }
    if (!marked_.empty()) DeletionStep();
}

PickOutcome LayerDeletion::AskOnce() {
    const std::string keywords = frame::LoadResString(kPickKeywords);
    const std::string prompt = frame::LoadResString(marked_.empty() ? kPickPromptFirst : kPickPromptMore);
    tcedInitGet(0, keywords.c_str());
    tc_name entity{};
    tc_point pick{};
    const int status = tcedEntSel(prompt.c_str(), entity, pick);
    if (status == RTNORM) {
        if (const auto layer = EntityLayer(entity)) Mark(*layer);
        return PickOutcome::Again;
    }
    if (status == RTKWORD) return OnKeyword();
    if (status == RTCAN) return PickOutcome::Cancel;
    if (status == RTERROR && LastErrno() == kErrnoNothingPicked) return PickOutcome::Again;
    return PickOutcome::Finish;
}

PickOutcome LayerDeletion::OnKeyword() {
    char keyword[64] = {};
    tcedGetInput(keyword, sizeof keyword);
    if (SameLayerName(keyword, "Type")) return TypeNames() ? PickOutcome::Again : PickOutcome::Cancel;
    if (SameLayerName(keyword, "Undo")) UndoLast();
    return PickOutcome::Again;
}

// Names typed one after the other; Enter goes back to picking. False when
// the user cancelled.
bool LayerDeletion::TypeNames() {
    const std::string prompt = frame::LoadResString(kTypePrompt);
    for (;;) {
        std::vector<char> reply(kTypedNameCapacity, '\0');
        const int status = tcedGetString(1, prompt.c_str(), reply.data(), reply.size());
        if (status == RTCAN) return false;
        if (status != RTNORM && status != RTINPUTTRUNCATED) return true;
        std::string name(reply.data());
        const size_t first = name.find_first_not_of(' ');
        if (first == std::string::npos) return true;
        name = name.substr(first, name.find_last_not_of(' ') - first + 1);
        Mark(name);
    }
}

// Refuses layer "0", the current layer and layers that cannot be deleted,
// each with its message.
bool LayerDeletion::Refuses(const LayerRecordState& layer, int32_t flags) const {
    if (layer.name == "0") {
        PrintResString(kRefuseLayerZero);
        return true;
    }
    if (const auto current = CurrentLayerName(); current && SameLayerName(*current, layer.name)) {
        PrintResString(kRefuseCurrent);
        return true;
    }
    if (flags & kUndeletableFlags) {
        PrintResString(kRefuseFlags, {layer.name});
        return true;
    }
    return false;
}

void LayerDeletion::Mark(std::string_view name) {
    const auto layer = FindLayer(name);
    const auto flags = layer ? LayerRecordFlags(layer->name) : std::nullopt;
    if (!layer || !flags) {
        PrintResString(kRefuseMissing, {name});
        return;
    }
    if (Refuses(*layer, *flags)) return;
    if (!IsMarked(layer->name)) {
        if (!WriteLayerRecordFlags(layer->name, *flags | kLayerFrozen)) return;
        marked_.push_back({layer->name, *flags, !layer->off});
        RunLayerCommand({"_OFF", LayerArgument(layer->name)});
    }
    ShowList();
}

void LayerDeletion::Unmark(const MarkedLayer& layer) {
    WriteLayerRecordFlags(layer.name, layer.flags);
    if (layer.wasOn) RunLayerCommand({"_ON", LayerArgument(layer.name)});
}

void LayerDeletion::UnmarkAll() {
    for (auto it = marked_.rbegin(); it != marked_.rend(); ++it) Unmark(*it);
    marked_.clear();
}

void LayerDeletion::UndoLast() {
    if (marked_.empty()) {
        PrintResString(kNothingToUndo);
        return;
    }
    Unmark(marked_.back());
    marked_.pop_back();
    ShowList();
}

void LayerDeletion::ShowList() const {
    PrintResString(kMarkedList);
    PrintText(JoinLayerNames(MarkedNames()));
}

std::vector<std::string> LayerDeletion::MarkedNames() const {
    std::vector<std::string> names;
    for (const MarkedLayer& layer : marked_) names.push_back(layer.name);
    return names;
}

bool LayerDeletion::IsMarked(std::string_view name) const {
    for (const MarkedLayer& layer : marked_)
        if (layer.name == name) return true;
    return false;
}

void LayerDeletion::DeletionStep() {
    PrintResString(kWarningHead);
    LayerKeySet keys;
    for (const MarkedLayer& layer : marked_) keys.insert(LayerKey(layer.name));
    std::vector<std::array<int32_t, 2>> inBlocks;  // main objects to erase in block definitions
    int counted = 0;
    ForEachEntityOnLayers(keys, EntityScope::BlockDefinitions, [&](const VisitedEntity& entity) {
        ++counted;
        if (!entity.IsSubEntity()) inBlocks.push_back({entity.name[0], entity.name[1]});
    });
    if (counted > 0) {
        PrintResString(kBlockObjectsCount, {std::to_string(counted)});
        PrintResString(kBlockObjectsNote);
    }
    PrintResString(kAboutToDelete);
    PrintText(JoinLayerNames(MarkedNames()));
    if (!Confirmed()) {
        UnmarkAll();
        return;
    }
    DeleteMarked(inBlocks);
}

bool LayerDeletion::Confirmed() {
    const std::string keywords = frame::LoadResString(kYesNoKeywords);
    const std::string prompt = frame::LoadResString(kConfirmPrompt);
    tcedInitGet(0, keywords.c_str());
    char answer[64] = {};
    const int status = tcedGetKword(prompt.c_str(), answer, sizeof answer);
    if (status == RTNORM && SameLayerName(answer, "Yes")) return true;
    if (status == RTERROR || (status == RTNORM && SameLayerName(answer, "No"))) PrintResString(kNothingDeleted);
    return false;
}

// Erases the objects of the marked layers, then the records that nothing
// names any more; a layer that had to stay is put back as it was and named.
void LayerDeletion::DeleteMarked(const std::vector<std::array<int32_t, 2>>& inBlocks) {
    for (const auto& object : inBlocks) {
        const tc_name name = {object[0], object[1]};
        tcdbEntDel(name);
    }
    for (const MarkedLayer& layer : marked_) {
        PrintResString(kDeletingLayer, {layer.name});
        const std::string pattern = LayerArgument(layer.name);
        struct resbuf* filter = tcutBuildList(8, pattern.c_str(), RTNONE);
        HeldSelection objects;
        if (tcedSSGet("X", nullptr, nullptr, filter, objects.Receive()) == RTNORM) {
            objects.Take();
            frame::EraseSelection(objects.Name());
        }
        tcutRelRb(filter);
    }
    int deleted = 0;
    const std::vector<std::string> kept = EraseUnusedLayerRecords(MarkedNames(), &deleted);
    if (!kept.empty()) {
        PrintResString(kLayersKept);
        for (const std::string& name : kept) PrintText("\n" + name);
    }
    for (const MarkedLayer& layer : marked_)
        for (const std::string& name : kept)
            if (name == layer.name) Unmark(layer);
    PrintResString(kLayersDeleted, {std::to_string(deleted)});
}

}  // namespace

void DeleteLayers() {
    frame::ResourceScope resources;
    frame::QuietCommandScope quiet;
    LayerDeletion deletion;
    deletion.Run();
    tcedCommand(RTSTR, "_.redraw", RTNONE);
}

}  // namespace tarn::layer
