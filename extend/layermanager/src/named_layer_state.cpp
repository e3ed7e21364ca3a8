// Saving the present layer state as a named layer state of the drawing.
#include "named_layer_state.h"

#include <tarnsdk/tcutapi.h>

#include "drawing_records.h"

namespace tarn::layermanager {
namespace {

constexpr int32_t kHoldsOnOff = 1;
constexpr int32_t kHoldsFrozen = 2;
constexpr int32_t kHoldsLocked = 4;
constexpr int32_t kHoldsColour = 32;
constexpr int32_t kHoldsLinetype = 64;
constexpr const char* kStatePrefix = "LAYWALK";
constexpr const char* kDescription = "Saved by LAYWALK";

// Appends a chain built from one group and its value; false when the host
// gave none.
template <class Value>
bool Append(struct resbuf*& head, struct resbuf*& tail, int code, Value value) {
    struct resbuf* rb = tcutBuildList(code, value, RTNONE);
    if (!rb) return false;
    (tail ? tail->rbnext : head) = rb;
    tail = rb;
    return true;
}

bool AppendLayer(struct resbuf*& head, struct resbuf*& tail, const LayerState& layer) {
    const int flags = (layer.frozen ? 1 : 0) | (layer.locked ? 4 : 0);
    return Append(head, tail, 8, layer.name.c_str()) && Append(head, tail, 90, flags) &&
           Append(head, tail, 62, layer.off ? -layer.colour : layer.colour) &&
           Append(head, tail, 6, layer.linetype.c_str());
}

}  // namespace

struct resbuf* NamedStateChain(const LayerSnapshot& snapshot, const std::string& description) {
    struct resbuf* head = nullptr;
    struct resbuf* tail = nullptr;
    const int32_t holds = kHoldsOnOff | kHoldsFrozen | kHoldsLocked | kHoldsColour | kHoldsLinetype;
    bool ok = Append(head, tail, 91, holds) && Append(head, tail, 301, description.c_str()) &&
              Append(head, tail, 290, 0) && Append(head, tail, 302, snapshot.currentLayer.c_str());
    for (size_t i = 0; ok && i < snapshot.layers.size(); ++i) ok = AppendLayer(head, tail, snapshot.layers[i]);
    if (ok) return head;
    tcutRelRb(head);
    return nullptr;
}

std::string NextFreeStateName(TcDbObjectId states) {
    Opened<TcDbDictionary> dict;
    const bool open = dict.Open(states, TcDb::kForRead) == TcDb::eOk;
    for (unsigned n = 1;; ++n) {
        std::string name = kStatePrefix + std::to_string(n);
        if (!open || !dict->has(name)) return name;
    }
}

std::string SaveNamedLayerState(TcDbDatabase& db) {
    LayerSnapshot snapshot;
    if (!CaptureLayers(db, snapshot)) return {};
    const TcDbObjectId states = SubDictionary(LayerTableDictionary(db, true), kLayerStatesDictionary, true);
    if (states.isNull()) return {};
    const std::string name = NextFreeStateName(states);
    struct resbuf* data = NamedStateChain(snapshot, kDescription);
    const bool written = data && WriteXrecord(states, name, data);
    tcutRelRb(data);
    return written ? name : std::string();
}

}  // namespace tarn::layermanager
