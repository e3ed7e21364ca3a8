// What LAYMCH, LAYDEL, LAYMRG and COPYTOLAYER share: messages by string id
// with their values filled in, layer record flags, moving an object to
// another layer, a walk over the objects of given layers, and erasing layer
// records only when nothing in the drawing names them any more.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <tarnsdk/tctypes.h>

#include "layer_names.h"

namespace tarn::layer {

// LAYER flags (group 70) the merge family looks at.
inline constexpr int32_t kLayerFrozen = 1;
inline constexpr int32_t kLayerLocked = 4;
inline constexpr int32_t kLayerXrefDependent = 16;
inline constexpr int32_t kLayerXrefResolved = 32;

// ERRNO after a pick that found nothing, and after Enter at a pick prompt.
inline constexpr int kErrnoNothingPicked = 7;
inline constexpr int kErrnoEnter = 52;

// The text of a string id with each "%s" and "%d" replaced by the next of
// `values` (FormatText of layer_names.h), and printed (PrintText there).
std::string FormatResString(uint32_t id, std::initializer_list<std::string_view> values = {});
void PrintResString(uint32_t id, std::initializer_list<std::string_view> values = {});

// ERRNO as the host left it (0 when it cannot be read).
int LastErrno();

// A selection set the command holds, freed when the holder ends.
class HeldSelection {
public:
    HeldSelection() = default;
    ~HeldSelection() { Free(); }
    HeldSelection(const HeldSelection&) = delete;
    HeldSelection& operator=(const HeldSelection&) = delete;

    // The name for a call that makes a set (a set held before is freed);
    // Take() after the call succeeded.
    int32_t* Receive();
    void Take() { held_ = true; }
    bool IsHeld() const { return held_; }
    const int32_t* Name() const { return set_; }
    int32_t Length() const;
    // Adds an object, making the set when none is held yet.
    bool Add(const tc_name entity);
    void Free();

private:
    tc_name set_{};
    bool held_ = false;
};

// Unlocks a locked layer for as long as a command needs to put objects on
// it, and locks it again (through LAYER) when asked or when it ends.
class TemporaryUnlock {
public:
    TemporaryUnlock() = default;
    ~TemporaryUnlock() { Relock(); }
    TemporaryUnlock(const TemporaryUnlock&) = delete;
    TemporaryUnlock& operator=(const TemporaryUnlock&) = delete;

    // Unlocks the layer when it is locked; a layer unlocked before is
    // locked again first.
    void Unlock(std::string_view layer);
    void Relock();
    // Forgets the layer without locking it (an undo has put it back).
    void Forget() { layer_.clear(); }

private:
    std::string layer_;
};

// A name as the host compares layer names: letter case folded.
std::string LayerKey(std::string_view name);
using LayerKeySet = std::unordered_set<std::string>;

// Group 70 of a layer record; nothing when the drawing has no such layer.
std::optional<int32_t> LayerRecordFlags(std::string_view name);
// Writes group 70 of the layer record through its entity list.
bool WriteLayerRecordFlags(std::string_view name, int32_t flags);
bool IsLayerLocked(std::string_view name);

// Puts an object on another layer: group 8 of its entity list replaced and
// the list written back. RTNORM, or the failure (a locked layer, ...).
int ChangeEntityLayer(const tc_name entity, std::string_view layer);

// Where an object of the drawing lies.
enum class EntityPlace { Layout, BlockDefinition };
// What the walk tells of each object.
struct VisitedEntity {
    const int32_t* name;     // valid during the call
    std::string_view type;   // group 0: "LINE", "ATTRIB" ...
    std::string_view layer;  // group 8, read whole
    EntityPlace place;
    // Attributes, vertices and sequence ends belong to the object before them.
    bool IsSubEntity() const { return type == "ATTRIB" || type == "VERTEX" || type == "SEQEND"; }
};
// Which objects a walk over the objects of some layers reaches.
enum class EntityScope {
    Everywhere,        // model space, the layouts and every block definition
    BlockDefinitions,  // the block definitions only
};
// Calls `visit` for every live object whose layer is one of `layers` (keys
// of LayerKey): in model space and the layouts first, then in the block
// definitions, the attributes, vertices and sequence ends included. The
// objects of the spaces come from one "X" selection filtered on the layer
// names and their sub-entities from the block references and polylines
// there, so the cost follows the objects found, not the size of the
// drawing; block definitions are walked object by object. `visit` may
// change the objects it is given but must not erase or add any.
using EntityVisitor = std::function<void(const VisitedEntity& entity)>;
void ForEachEntityOnLayers(const LayerKeySet& layers, EntityScope scope, const EntityVisitor& visit);

// Calls `call` for each attribute, vertex and sequence end that follows a
// block reference or polyline, in order.
void ForEachSubEntity(const tc_name parent, const std::function<void(const tc_name)>& call);

// Of these layers, the ones the drawing still names: the layer of a live
// object anywhere in it (ForEachEntityOnLayers), or the current layer.
LayerKeySet LayersStillNamed(const LayerKeySet& layers);

// Erases the record of each layer that nothing names any more (one walk of
// the drawing for all of them). Answers the layers that had to stay, in the
// order given; `erased` receives the number of records erased.
std::vector<std::string> EraseUnusedLayerRecords(const std::vector<std::string>& names, int* erased);
// As EraseUnusedLayerRecords, for a caller that knows which of the layers
// the drawing still names (keys of LayerKey) without another walk.
std::vector<std::string> EraseLayerRecordsNotNamed(const std::vector<std::string>& names, const LayerKeySet& named,
                                                   int* erased);

// "A , B , C": the names joined as the layer tools show a list.
std::string JoinLayerNames(const std::vector<std::string>& names);

}  // namespace tarn::layer
