// The layer tools' shared helpers: an object's layer, the current layer,
// LAYER through the host's command call, and the layer table's records.
#include "layer_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/resbuf_fields.h"
#include "frame/wildcard_name.h"

namespace tarn::layer {
namespace {

// A chain of RTSTR buffers, "_.LAYER" first and Enter last; null when the
// host gives no buffer.
template <class Range>
struct resbuf* LayerCall(const Range& arguments) {
    struct resbuf* chain = nullptr;
    auto append = [&chain](std::string_view text) {
        const std::string copy(text);
        struct resbuf* rb = frame::MakeResbuf(RTSTR, "rstring", copy.c_str());
        if (!rb) return false;
        frame::AppendToChain(chain, rb);
        return true;
    };
    bool built = append("_.LAYER");
    for (const auto& argument : arguments) built = built && append(argument);
    built = built && append("");
    if (!built) {
        tcutRelRb(chain);
        return nullptr;
    }
    return chain;
}

template <class Range>
int RunLayerCall(const Range& arguments) {
    struct resbuf* chain = LayerCall(arguments);
    if (!chain) return RTERROR;
    const int status = tcedCmd(chain);
    tcutRelRb(chain);
    return status;
}

LayerRecordState StateOf(const TcDbLayerTableRecord& record) {
    return {record.objectId(), record.getName(), record.isOff(), record.isFrozen(), record.isLocked()};
}

std::optional<LayerRecordState> ReadRecord(TcDbObjectId id) {
    TcDbLayerTableRecord* record = nullptr;
    if (tcdbOpenObject(record, id, TcDb::kForRead) != TcDb::eOk) return std::nullopt;
    LayerRecordState state = StateOf(*record);
    record->close();
    return state;
}

}  // namespace

std::optional<std::string> EntityLayer(const tc_name entity) {
    struct resbuf* list = tcdbEntGet(entity);
    if (!list) return std::nullopt;
    std::optional<std::string> layer;
    for (const struct resbuf* rb = list; rb; rb = rb->rbnext) {
        if (rb->restype != 8) continue;
        if (rb->resval.rstring) layer = std::string(rb->resval.rstring);
        break;
    }
    tcutRelRb(list);
    return layer;
}

std::optional<std::string> CurrentLayerName() {
    struct resbuf value {};
    if (tcedGetVar("CLAYER", &value) != RTNORM) return std::nullopt;
    if (value.restype != RTSTR || !value.resval.rstring) return std::nullopt;
    std::string name(value.resval.rstring);
    std::free(value.resval.rstring);
    return name;
}

bool SameLayerName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

std::string LayerArgument(std::string_view name) { return frame::EscapeWildcardName(name); }

int RunLayerCommand(std::initializer_list<std::string_view> arguments) { return RunLayerCall(arguments); }

int RunLayerCommand(const std::vector<std::string>& arguments) { return RunLayerCall(arguments); }

std::optional<LayerRecordState> FindLayer(std::string_view name) {
    TcDbDatabase* db = tcdbWorkingDatabase();
    TcDbLayerTable* table = nullptr;
    if (!db || db->getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return std::nullopt;
    TcDbObjectId id;
    const bool found = table->getAt(name, id) == TcDb::eOk;
    table->close();
    return found ? ReadRecord(id) : std::nullopt;
}

bool LayerExists(std::string_view name) { return FindLayer(name).has_value(); }

std::vector<LayerRecordState> AllLayers() {
    std::vector<LayerRecordState> layers;
    TcDbDatabase* db = tcdbWorkingDatabase();
    TcDbLayerTable* table = nullptr;
    if (!db || db->getLayerTable(table, TcDb::kForRead) != TcDb::eOk) return layers;
    const TcDbObjectIdArray ids = table->recordIds();
    table->close();
    layers.reserve(ids.size());
    for (const TcDbObjectId& id : ids)
        if (auto state = ReadRecord(id)) layers.push_back(std::move(*state));
    return layers;
}

std::string FormatText(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    auto next = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        const bool placeholder = text[i] == '%' && i + 1 < text.size();
        if (!placeholder) {
            out += text[i];
        } else if (text[i + 1] == '%') {
            out += '%';
            ++i;
        } else if (text[i + 1] == 's' || text[i + 1] == 'd') {
            if (next != values.end()) out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void PrintText(std::string_view text) {
    const std::string copy(text);
    tcutPrintf("%s", copy.c_str());
}

std::optional<short> GetShortVariable(const char* name) {
    struct resbuf value {};
    if (tcedGetVar(name, &value) != RTNORM) return std::nullopt;
    if (value.restype == RTSHORT) return value.resval.rint;
    if (value.restype == RTLONG) return static_cast<short>(value.resval.rlong);
    if (value.restype == RTSTR) std::free(value.resval.rstring);
    return std::nullopt;
}

bool SetShortVariable(const char* name, short value) {
    struct resbuf rb {};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    return tcedSetVar(name, &rb) == RTNORM;
}

ShortVariableScope::ShortVariableScope(const char* name) : name_(name) {
    if (auto value = GetShortVariable(name)) {
        value_ = *value;
        saved_ = true;
    }
}

ShortVariableScope::~ShortVariableScope() {
    if (saved_) SetShortVariable(name_, value_);
}

bool ShortVariableScope::Set(short value) const { return saved_ && SetShortVariable(name_, value); }

}  // namespace tarn::layer
