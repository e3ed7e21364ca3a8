// COPYTOLAYER: objects picked one selection at a time are copied in place
// onto a destination layer (chosen in a dialog, typed as a new name, or
// taken from a picked object), and the copies may then be moved. A locked
// destination is unlocked while the copies are made and locked again; a
// cancel at the base point or during the move takes the copies back.
#include <optional>
#include <string>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "copy_to_layer_dialog.h"
#include "frame/command_environment.h"
#include "frame/resbuf_fields.h"
#include "layer_names.h"
#include "merge_steps.h"
#include "merge_support.h"

namespace tarn::layer {
namespace {

constexpr uint32_t kLockedRemoved = 2291;
constexpr uint32_t kPickDestinationPrompt = 2292;
constexpr uint32_t kCopiedMessage = 2293;
constexpr uint32_t kBasePointPrompt = 2294;
constexpr uint32_t kReferenceLayer = 2277;

// A new layer takes the colour and linetype of the first object; an object
// that has none of its own (or BYLAYER/BYBLOCK, which no layer can have)
// gives these.
constexpr int kDefaultLayerColour = 7;
constexpr const char* kDefaultLayerLinetype = "CONTINUOUS";

void HighlightAll(const HeldSelection& set, int mode) {
    const int32_t length = set.Length();
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity{};
        if (tcedSSName(set.Name(), i, entity) == RTNORM) tcedRedraw(entity, mode);
    }
}

// Takes the members on locked layers out of the set; how many went.
int DropLockedMembers(const HeldSelection& set) {
    int dropped = 0;
    for (int32_t i = set.Length() - 1; i >= 0; --i) {
        tc_name entity{};
        if (tcedSSName(set.Name(), i, entity) != RTNORM) continue;
        const auto layer = EntityLayer(entity);
        if (!layer || !IsLayerLocked(*layer)) continue;
        tcedSSDel(entity, set.Name());
        tcedRedraw(entity, 4);
        ++dropped;
    }
    return dropped;
}

void AddMembers(const HeldSelection& from, HeldSelection& to) {
    const int32_t length = from.Length();
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity{};
        if (tcedSSName(from.Name(), i, entity) == RTNORM) to.Add(entity);
    }
}

bool HasPickfirstSet() {
    tc_name pickfirst{};
    if (tcedSSGetFirst(pickfirst) != RTNORM) return false;
    tcedSSFree(pickfirst);
    return true;
}

// Single selections until Enter; false when the user cancelled. Objects
// selected before the command are the first selection; the command keeps
// the pickfirst set when it reads it, so it is cleared then, or every
// further selection would give it again without asking.
bool CollectObjects(HeldSelection& collected) {
    bool pickfirst = HasPickfirstSet();
    for (;;) {
        HeldSelection picked;
        const int status = tcedSSGet(":S", nullptr, nullptr, nullptr, picked.Receive());
        if (pickfirst) tcedSSSetFirst(nullptr, nullptr);
        pickfirst = false;
        if (status == RTCAN) return false;
        if (status != RTNORM) return true;
        picked.Take();
        if (const int dropped = DropLockedMembers(picked); dropped > 0)
            PrintResString(kLockedRemoved, {std::to_string(dropped)});
        AddMembers(picked, collected);
    }
}

bool IsReferenceLayer(std::string_view name) {
    const auto flags = LayerRecordFlags(name);
    return flags && (*flags & kLayerXrefDependent);
}

// The layer of an object the user picks; nothing when the user ends.
std::optional<std::string> PickDestination() {
    const std::string prompt = frame::LoadResString(kPickDestinationPrompt);
    for (;;) {
        tc_name entity{};
        tc_point pick{};
        const int status = tcedEntSel(prompt.c_str(), entity, pick);
        if (status == RTERROR && LastErrno() == kErrnoNothingPicked) continue;
        if (status != RTNORM) return std::nullopt;
        const auto layer = EntityLayer(entity);
        const auto record = layer ? FindLayer(*layer) : std::nullopt;
        if (!record) continue;
        if (!IsReferenceLayer(record->name)) return record->name;
        PrintResString(kReferenceLayer, {record->name});
    }
}

// The colour and linetype a new layer takes from an object.
void LookOfObject(const tc_name entity, int& colour, std::string& linetype) {
    colour = kDefaultLayerColour;
    linetype = kDefaultLayerLinetype;
    struct resbuf* list = tcdbEntGet(entity);
    int32_t value = 0;
    if (frame::ChainInteger(list, 62, &value) == RTNORM && value >= 1 && value <= 255) colour = value;
    std::vector<char> name(kLayerNameCapacity * 4, '\0');
    if (frame::ChainText(list, 6, name.data(), name.size()) == RTNORM && name[0] &&
        !SameLayerName(name.data(), "BYLAYER") && !SameLayerName(name.data(), "BYBLOCK"))
        linetype = name.data();
    tcutRelRb(list);
}

bool MakeLayer(const std::string& name, const tc_name firstObject) {
    int colour = kDefaultLayerColour;
    std::string linetype;
    LookOfObject(firstObject, colour, linetype);
    struct resbuf* list = tcutBuildList(RTDXF0, "LAYER", 2, name.c_str(), 70, 0, 62, colour, 6,
                                        linetype.c_str(), RTNONE);
    const bool made = list && tcdbEntMake(list) == RTNORM;
    tcutRelRb(list);
    return made;
}

struct Destination {
    std::string name;
    bool made = false;  // the command made the layer
};

std::optional<Destination> ChooseDestination(const HeldSelection& objects) {
    const DestinationChoice choice = ChooseDestinationInDialog();
    if (choice.kind == DestinationChoice::Cancelled) return std::nullopt;
    if (choice.kind == DestinationChoice::PickObject) {
        const auto picked = PickDestination();
        return picked ? std::optional<Destination>(Destination{*picked, false}) : std::nullopt;
    }
    if (!choice.isNew) return Destination{choice.name, false};
    tc_name first{};
    if (tcedSSName(objects.Name(), 0, first) != RTNORM || !MakeLayer(choice.name, first)) {
        PrintText("\nFail to build layer buffer!");
        return std::nullopt;
    }
    return Destination{choice.name, true};
}

// The last object of each block that holds objects to copy: a copy goes
// to the end of the block of its original, so what follows these after
// COPY are the copies.
struct BlockEnd {
    TcDbObjectId block;
    TcDbObjectId last;
};

TcDbObjectIdArray EntitiesOfBlock(TcDbObjectId block) {
    TcDbBlockTableRecord* record = nullptr;
    if (tcdbOpenObject(record, block, TcDb::kForRead) != TcDb::eOk) return {};
    TcDbObjectIdArray ids = record->entityIds();
    record->close();
    return ids;
}

std::vector<BlockEnd> RememberBlockEnds(const HeldSelection& objects) {
    std::vector<BlockEnd> ends;
    const int32_t length = objects.Length();
    for (int32_t i = 0; i < length; ++i) {
        tc_name name{};
        TcDbObjectId id;
        TcDbEntity* entity = nullptr;
        if (tcedSSName(objects.Name(), i, name) != RTNORM || tcdbGetObjectId(id, name) != TcDb::eOk) continue;
        if (tcdbOpenObject(entity, id, TcDb::kForRead) != TcDb::eOk) continue;
        const TcDbObjectId block = entity->blockId();
        entity->close();
        bool known = false;
        for (const BlockEnd& end : ends) known = known || end.block == block;
        if (known) continue;
        const TcDbObjectIdArray ids = EntitiesOfBlock(block);
        if (!ids.empty()) ends.push_back({block, ids.back()});
    }
    return ends;
}

// Puts a copy, with its attributes or vertices, on the destination layer.
void PlaceCopy(const tc_name copy, const std::string& layer) {
    ChangeEntityLayer(copy, layer);
    ForEachSubEntity(copy, [&layer](const tc_name sub) { ChangeEntityLayer(sub, layer); });
}

// The copies COPY made, each put on the layer and highlighted.
void GatherCopies(const std::vector<BlockEnd>& ends, const std::string& layer, HeldSelection& copies) {
    for (const BlockEnd& end : ends) {
        const TcDbObjectIdArray ids = EntitiesOfBlock(end.block);
        size_t at = ids.size();
        while (at > 0 && ids[at - 1] != end.last) --at;
        for (size_t i = at == 0 ? ids.size() : at; i < ids.size(); ++i) {
            tc_name copy{};
            if (tcdbGetAdsName(copy, ids[i]) != TcDb::eOk) continue;
            PlaceCopy(copy, layer);
            tcedRedraw(copy, 3);
            copies.Add(copy);
        }
    }
}

class CopyRun {
public:
    void Run();

private:
    bool CopyInPlace();
    void PlaceCopies();
    void DiscardCopies();

    HeldSelection objects_;
    HeldSelection copies_;
    Destination destination_;
    TemporaryUnlock unlock_;
};

void CopyRun::Run() {
    const bool finished = CollectObjects(objects_);
    if (!finished || objects_.Length() == 0) {
        HighlightAll(objects_, 4);
        return;
    }
    HighlightAll(objects_, 3);
    tcedRedraw(nullptr, 1);
    auto destination = ChooseDestination(objects_);
    if (!destination) {
        HighlightAll(objects_, 4);
        return;
    }
    destination_ = std::move(*destination);
    frame::QuietCommandScope quiet;
    unlock_.Unlock(destination_.name);
    if (CopyInPlace()) PlaceCopies();
    unlock_.Relock();
}

bool CopyRun::CopyInPlace() {
    const std::vector<BlockEnd> ends = RememberBlockEnds(objects_);
    tc_point origin = {0, 0, 0};
    const int32_t count = objects_.Length();
    // The Enter at the end closes COPY should it offer further copies; when
    // COPY has ended already, an Enter between commands does nothing.
    const int status = tcedCommand(RTSTR, "_.COPY", RTPICKS, objects_.Name(), RTSTR, "", RTPOINT, origin,
                                   RTPOINT, origin, RTSTR, "", RTNONE);
    HighlightAll(objects_, 4);
    objects_.Free();
    if (status != RTNORM) {
        if (destination_.made) EraseUnusedLayerRecords({destination_.name}, nullptr);
        return false;
    }
    PrintResString(kCopiedMessage, {std::to_string(count), destination_.name});
    GatherCopies(ends, destination_.name, copies_);
    return copies_.IsHeld();
}

// Enter leaves the copies where they are; a point moves them to a second
// point the user gives; a cancel takes them back.
void CopyRun::PlaceCopies() {
    const std::string prompt = frame::LoadResString(kBasePointPrompt);
    tc_point base{};
    const int status = tcedGetPoint(nullptr, prompt.c_str(), base);
    if (status == RTNONE) {
        HighlightAll(copies_, 4);
        return;
    }
    if (status != RTNORM) return DiscardCopies();
    const int moved = tcedCommand(RTSTR, "_.MOVE", RTPICKS, copies_.Name(), RTSTR, "", RTPOINT, base, RTSTR,
                                  "\\", RTNONE);
    if (moved == RTCAN) return DiscardCopies();
    unlock_.Relock();
    tcedCommand(RTSTR, "_.redraw", RTNONE);
}

void CopyRun::DiscardCopies() {
    tcedCommand(RTSTR, "_.ERASE", RTPICKS, copies_.Name(), RTSTR, "", RTNONE);
    copies_.Free();
    tcedCommand(RTSTR, "_.REDRAWALL", RTNONE);
    unlock_.Relock();
    // A layer made for the copies goes with them.
    if (destination_.made) EraseUnusedLayerRecords({destination_.name}, nullptr);
}

}  // namespace

void CopyObjectsToLayer() {
    frame::ResourceScope resources;
    CopyRun run;
    run.Run();
}

}  // namespace tarn::layer
