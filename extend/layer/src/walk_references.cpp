// The scan behind the purge marks: every object of the drawing, by object
// id, read as an entity list with its extended data. The drawing gives no
// other walk that reaches block definitions, sub-entities and non-graphical
// objects alike.
#include "walk_references.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "walk_wildcard.h"

namespace tarn::layer {
namespace {

constexpr int kExternalDependent = 16 | 32;

// Objects other than entities that keep layer names in group 8.
constexpr std::array<std::string_view, 3> kNonEntitiesWithLayers = {"XRECORD", "LAYER_FILTER", "LAYER_INDEX"};
// Types whose group 2 is their own name, not a reference.
constexpr std::array<std::string_view, 10> kNamedRecords = {"TABLE", "LAYER",    "LTYPE",  "STYLE", "VIEW",
                                                            "UCS",   "VPORT",    "APPID",  "DIMSTYLE",
                                                            "BLOCK_RECORD"};

template <size_t N>
bool Among(const std::array<std::string_view, N>& list, std::string_view type) {
    return std::find(list.begin(), list.end(), type) != list.end();
}

class UseScan {
public:
    explicit UseScan(const std::vector<LayerRecordState>& layers) : marks_(layers.size(), 0) {
        for (size_t i = 0; i < layers.size(); ++i) {
            byName_.emplace(FoldedLayerName(layers[i].name), i);
            byId_.emplace(layers[i].id, i);
        }
    }

    void CollectStateRecords(TcDbDatabase& db);
    void ScanObject(const struct resbuf* list, TcDbObjectId id);
    std::vector<uint32_t> Marks() { return std::move(marks_); }

private:
    void MarkName(std::string_view name, uint32_t mark) {
        if (name.empty()) return;
        auto found = byName_.find(FoldedLayerName(name));
        if (found != byName_.end()) marks_[found->second] |= mark;
    }
    void MarkId(TcDbObjectId id) {
        auto found = byId_.find(id);
        if (found != byId_.end()) marks_[found->second] |= kWalkReferenced;
    }
    void MarkEntityName(const tc_name name) {
        TcDbObjectId id;
        if (tcdbGetObjectId(id, name) == TcDb::eOk) MarkId(id);
    }
    void MarkHandle(const char* handle) {
        tc_name name = {0, 0};
        if (handle && tcdbHandEnt(handle, name) == RTNORM) MarkEntityName(name);
    }
    void AddStateTree(TcDbObjectId id, int depth);
    static bool NameGroup(std::string_view type, int code, bool inXdata);

    std::vector<uint32_t> marks_;
    std::unordered_map<std::string, size_t> byName_;
    std::unordered_map<TcDbObjectId, size_t> byId_;
    std::unordered_set<TcDbObjectId> stateRecords_;
};

// The layer table's extension dictionary holds the saved layer states; its
// whole tree is left out of the name references.
void UseScan::CollectStateRecords(TcDbDatabase& db) {
    TcDbLayerTable* table = nullptr;
    if (db.getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return;
    const TcDbObjectId extension = table->extensionDictionary();
    table->close();
    if (!extension.isNull()) AddStateTree(extension, 0);
}

void UseScan::AddStateTree(TcDbObjectId id, int depth) {
    stateRecords_.insert(id);
    TcDbDictionary* dictionary = nullptr;
    if (depth > 4 || tcdbOpenObject(dictionary, id, TcDb::kForRead) != TcDb::eOk) return;
    const auto entries = dictionary->entries();
    dictionary->close();
    for (const auto& entry : entries) AddStateTree(entry.second, depth + 1);
}

// Whether a text group of a non-graphical object may name a layer: not its
// type, handle, class and control groups, application names, nor its own
// name or a dictionary's entry names.
bool UseScan::NameGroup(std::string_view type, int code, bool inXdata) {
    if (inXdata) return code == 1000 || code == 1003;
    if (code == 0 || code == 5 || code == 105 || (code >= 100 && code <= 102)) return false;
    if (code == 2 && Among(kNamedRecords, type)) return false;
    if (code == 3 && type == "DICTIONARY") return false;
    return tcValueKind(code) == TC_KIND_STRING;
}

void UseScan::ScanObject(const struct resbuf* list, TcDbObjectId id) {
    std::string_view type;
    bool hasLayer = false;
    for (const struct resbuf* rb = list; rb; rb = rb->rbnext) {
        if (rb->restype == 0 && rb->resval.rstring) type = rb->resval.rstring;
        if (rb->restype == 8) hasLayer = true;
    }
    if (type == "LAYER") {
        for (const struct resbuf* rb = list; rb; rb = rb->rbnext)
            if (rb->restype == 70 && (rb->resval.rint & kExternalDependent)) MarkId(id);
        return;
    }
    const bool entity = hasLayer && !Among(kNonEntitiesWithLayers, type);
    const bool stateRecord = stateRecords_.count(id) > 0;
    bool inXdata = false;
    for (const struct resbuf* rb = list; rb; rb = rb->rbnext) {
        const int code = rb->restype;
        if (code == -3) inXdata = true;
        if (code == -3 || code == -1 || code == -2 || code == 330) continue;
        const tc_value_kind kind = tcValueKind(code);
        if (kind == TC_KIND_NAME) {
            MarkEntityName(rb->resval.rlname);
        } else if (kind == TC_KIND_STRING && rb->resval.rstring) {
            const char* text = rb->resval.rstring;
            if (code == 1005 && inXdata) MarkHandle(text);
            else if (code == 8 && !inXdata && entity) MarkName(text, kWalkHoldsObjects);
            else if (code == 1003 && inXdata && !stateRecord) MarkName(text, kWalkReferenced);
            else if (!entity && !stateRecord && NameGroup(type, code, inXdata)) MarkName(text, kWalkReferenced);
        }
    }
}

}  // namespace

std::vector<uint32_t> ScanLayerUse(const std::vector<LayerRecordState>& layers) {
    UseScan scan(layers);
    TcDbDatabase* db = tcdbWorkingDatabase();
    if (!db) return scan.Marks();
    scan.CollectStateRecords(*db);
    struct resbuf* everyApplication = tcutBuildList(RTSTR, "*", RTNONE);
    for (uint32_t index = 0;; ++index) {
        const TcDbObjectId id(db->serial(), index);
        if (!id.isValid()) break;
        if (id.isErased()) continue;
        tc_name name = {0, 0};
        if (tcdbGetAdsName(name, id) != TcDb::eOk) continue;
        struct resbuf* list = tcdbEntGetX(name, everyApplication);
        if (!list) continue;
        scan.ScanObject(list, id);
        tcutRelRb(list);
    }
    tcutRelRb(everyApplication);
    return scan.Marks();
}

}  // namespace tarn::layer
