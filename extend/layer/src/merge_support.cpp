// The merge family's shared operations: messages, layer record flags, an
// object's layer, the walk over the objects of given layers and the careful
// erasing of layer records.
#include "merge_support.h"

#include <cctype>
#include <vector>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "frame/resbuf_fields.h"
#include "layer_names.h"

namespace tarn::layer {
namespace {

// The entity list of a layer record; null when there is no such layer.
struct resbuf* LayerRecordList(std::string_view name) {
    const std::string text(name);
    tc_name record{};
    if (tcdbTblObjName("LAYER", text.c_str(), record) != RTNORM) return nullptr;
    return tcdbEntGet(record);
}

// Reads the type and layer of one entity and hands them to the visitor.
// True when sub-entities follow it (a polyline's vertices, a block
// reference's attributes), each up to its sequence end.
bool VisitOne(const tc_name entity, EntityPlace place, const EntityVisitor& visit) {
    struct resbuf* list = tcdbEntGet(entity);
    const char* type = nullptr;
    const char* layer = nullptr;
    bool followed = false;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 0 && !type) type = rb->resval.rstring;
        if (rb->restype == 8 && !layer) layer = rb->resval.rstring;
        if (rb->restype == 66) followed = rb->resval.rint != 0;
    }
    const std::string_view kind = type ? type : "";
    if (layer) visit({entity, kind, layer, place});
    const bool hasSubEntities = kind == "POLYLINE" || (kind == "INSERT" && followed);
    tcutRelRb(list);
    return hasSubEntities;
}

// The attributes, vertices and sequence end after a main entity.
void VisitSubEntities(const tc_name parent, EntityPlace place, const EntityVisitor& visit) {
    ForEachSubEntity(parent, [&](const tc_name sub) { VisitOne(sub, place, visit); });
}

// The block definitions (block table records that are not layouts).
std::vector<TcDbObjectId> BlockDefinitions() {
    std::vector<TcDbObjectId> definitions;
    TcDbDatabase* db = tcdbWorkingDatabase();
    TcDbBlockTable* table = nullptr;
    if (!db || db->getBlockTable(table, TcDb::kForRead) != TcDb::eOk) return definitions;
    const TcDbObjectIdArray ids = table->recordIds();
    table->close();
    for (const TcDbObjectId& id : ids) {
        TcDbBlockTableRecord* record = nullptr;
        if (tcdbOpenObject(record, id, TcDb::kForRead) != TcDb::eOk) continue;
        if (!record->isLayout()) definitions.push_back(id);
        record->close();
    }
    return definitions;
}

TcDbObjectIdArray MainEntitiesOf(TcDbObjectId block) {
    TcDbBlockTableRecord* record = nullptr;
    if (tcdbOpenObject(record, block, TcDb::kForRead) != TcDb::eOk) return {};
    TcDbObjectIdArray ids = record->entityIds();
    record->close();
    return ids;
}

// Hands `call` each object of model space and the layouts that an "X"
// selection with this filter finds (main objects only: the host leaves
// attributes and vertices out of selections).
void ForEachSelected(const struct resbuf* filter, const std::function<void(const tc_name)>& call) {
    HeldSelection selected;
    if (tcedSSGet("X", nullptr, nullptr, filter, selected.Receive()) != RTNORM) return;
    selected.Take();
    const int32_t length = selected.Length();
    for (int32_t i = 0; i < length; ++i) {
        tc_name entity{};
        if (tcedSSName(selected.Name(), i, entity) == RTNORM) call(entity);
    }
}

// A group 8 filter value that matches exactly these layers: the names
// escaped for the host's patterns and joined as alternatives.
std::string LayerFilterPattern(const LayerKeySet& layers) {
    std::string pattern;
    for (const std::string& key : layers) {
        if (!pattern.empty()) pattern += ',';
        pattern += LayerArgument(key);
    }
    return pattern;
}

// Model space and the layouts: the main objects by a selection filtered on
// the layers, the sub-entities from every block reference and polyline
// (the layer of an attribute or vertex is its own, not its parent's).
void VisitSpaces(const LayerKeySet& layers, const EntityVisitor& visit) {
    const std::string pattern = LayerFilterPattern(layers);
    struct resbuf* onLayers = tcutBuildList(8, pattern.c_str(), RTNONE);
    if (onLayers) ForEachSelected(onLayers, [&](const tc_name entity) { VisitOne(entity, EntityPlace::Layout, visit); });
    tcutRelRb(onLayers);
    struct resbuf* parents = tcutBuildList(RTDXF0, "INSERT,POLYLINE", RTNONE);
    if (parents)
        ForEachSelected(parents, [&](const tc_name parent) { VisitSubEntities(parent, EntityPlace::Layout, visit); });
    tcutRelRb(parents);
}

void VisitBlockDefinitions(const EntityVisitor& visit) {
    for (const TcDbObjectId& block : BlockDefinitions()) {
        for (const TcDbObjectId& id : MainEntitiesOf(block)) {
            tc_name entity{};
            if (tcdbGetAdsName(entity, id) != TcDb::eOk) continue;
            if (VisitOne(entity, EntityPlace::BlockDefinition, visit))
                VisitSubEntities(entity, EntityPlace::BlockDefinition, visit);
        }
    }
}

bool EraseLayerRecord(std::string_view name) {
    TcDbDatabase* db = tcdbWorkingDatabase();
    TcDbLayerTable* table = nullptr;
    if (!db || db->getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return false;
    TcDbObjectId id;
    const bool found = table->getAt(name, id) == TcDb::eOk;
    table->close();
    TcDbLayerTableRecord* record = nullptr;
    if (!found || tcdbOpenObject(record, id, TcDb::kForWrite) != TcDb::eOk) return false;
    const bool erased = record->erase() == TcDb::eOk;
    record->close();
    return erased;
}

}  // namespace

void ForEachSubEntity(const tc_name parent, const std::function<void(const tc_name)>& call) {
    tc_name at = {parent[0], parent[1]};
    tc_name next{};
    char type[16] = {};
    while (tcdbEntNext(at, next) == RTNORM) {
        type[0] = '\0';
        frame::EntityType(next, type, sizeof type);
        const std::string_view kind(type);
        if (kind != "ATTRIB" && kind != "VERTEX" && kind != "SEQEND") return;
        call(next);
        if (kind == "SEQEND") return;
        tcdbNameSet(next, at);
    }
}

std::string FormatResString(uint32_t id, std::initializer_list<std::string_view> values) {
    return FormatText(frame::LoadResString(id), values);
}

void PrintResString(uint32_t id, std::initializer_list<std::string_view> values) {
    PrintText(FormatResString(id, values));
}

int LastErrno() {
    struct resbuf value {};
    if (tcedGetVar("ERRNO", &value) != RTNORM) return 0;
    if (value.restype == RTSHORT) return value.resval.rint;
    if (value.restype == RTLONG) return value.resval.rlong;
    return 0;
}

int32_t* HeldSelection::Receive() {
    Free();
    return set_;
}

int32_t HeldSelection::Length() const {
    int32_t length = 0;
    if (held_ && tcedSSLength(set_, &length) != RTNORM) length = 0;
    return length;
}

bool HeldSelection::Add(const tc_name entity) {
    if (!held_) {
        held_ = tcedSSAdd(entity, nullptr, set_) == RTNORM;
        return held_;
    }
    tc_name result{};
    return tcedSSAdd(entity, set_, result) == RTNORM;
}

void HeldSelection::Free() {
    if (held_) tcedSSFree(set_);
    held_ = false;
    set_[0] = set_[1] = 0;
}

void TemporaryUnlock::Unlock(std::string_view layer) {
    Relock();
    if (!IsLayerLocked(layer)) return;
    if (RunLayerCommand({"_U", LayerArgument(layer)}) == RTNORM) layer_ = std::string(layer);
}

void TemporaryUnlock::Relock() {
    if (layer_.empty()) return;
    RunLayerCommand({"_LO", LayerArgument(layer_)});
    layer_.clear();
}

std::string LayerKey(std::string_view name) {
    std::string key(name);
    for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return key;
}

std::optional<int32_t> LayerRecordFlags(std::string_view name) {
    struct resbuf* list = LayerRecordList(name);
    if (!list) return std::nullopt;
    int32_t flags = 0;
    const bool read = frame::ChainInteger(list, 70, &flags) == RTNORM;
    tcutRelRb(list);
    return read ? std::optional<int32_t>(flags) : std::optional<int32_t>(0);
}

bool WriteLayerRecordFlags(std::string_view name, int32_t flags) {
    struct resbuf* list = LayerRecordList(name);
    if (!list) return false;
    bool written = frame::SetChainInteger(list, 70, flags) == RTNORM;
    if (!written) {  // a record without group 70 gets one
        struct resbuf* added = frame::MakeResbuf(70, "rint", &flags);
        if (added) frame::AppendToChain(list, added);
        written = added != nullptr;
    }
    written = written && tcdbEntMod(list) == RTNORM;
    tcutRelRb(list);
    return written;
}

bool IsLayerLocked(std::string_view name) {
    const auto flags = LayerRecordFlags(name);
    return flags && (*flags & kLayerLocked);
}

int ChangeEntityLayer(const tc_name entity, std::string_view layer) {
    struct resbuf* list = tcdbEntGet(entity);
    if (!list) return RTERROR;
    int status = frame::SetChainText(list, 8, layer);
    if (status == RTNORM) status = tcdbEntMod(list);
    tcutRelRb(list);
    return status;
}

void ForEachEntityOnLayers(const LayerKeySet& layers, EntityScope scope, const EntityVisitor& visit) {
    if (layers.empty()) return;
    const EntityVisitor onLayers = [&](const VisitedEntity& entity) {
        if (layers.count(LayerKey(entity.layer))) visit(entity);
    };
    if (scope == EntityScope::Everywhere) VisitSpaces(layers, onLayers);
    VisitBlockDefinitions(onLayers);
}

LayerKeySet LayersStillNamed(const LayerKeySet& layers) {
    LayerKeySet named;
    if (layers.empty()) return named;
    if (const auto current = CurrentLayerName(); current && layers.count(LayerKey(*current)))
        named.insert(LayerKey(*current));
    ForEachEntityOnLayers(layers, EntityScope::Everywhere,
                          [&](const VisitedEntity& entity) { named.insert(LayerKey(entity.layer)); });
    return named;
}

std::vector<std::string> EraseUnusedLayerRecords(const std::vector<std::string>& names, int* erased) {
    LayerKeySet keys;
    for (const std::string& name : names) keys.insert(LayerKey(name));
    return EraseLayerRecordsNotNamed(names, LayersStillNamed(keys), erased);
}

std::vector<std::string> EraseLayerRecordsNotNamed(const std::vector<std::string>& names, const LayerKeySet& named,
                                                   int* erased) {
    std::vector<std::string> kept;
    int count = 0;
    for (const std::string& name : names) {
        if (!named.count(LayerKey(name)) && EraseLayerRecord(name)) ++count;
        else if (LayerExists(name)) kept.push_back(name);
    }
    if (erased) *erased = count;
    return kept;
}

std::string JoinLayerNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty()) joined += " , ";
        joined += name;
    }
    return joined;
}

}  // namespace tarn::layer
