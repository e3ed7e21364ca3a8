// The isolation record: a layer snapshot written to and read from the
// groups of an xrecord.
#include "isolation_record.h"

#include <cstdlib>

#include <tarnsdk/tcutapi.h>

#include "drawing_records.h"

namespace tarn::layermanager {
namespace {

constexpr int kRecordLayout = 1;
constexpr int kFrozenFlag = 1;
constexpr int kLockedFlag = 4;

// Builds a chain one buffer at a time; the chain is released when building
// fails or the builder ends without handing it out.
class ChainBuilder {
public:
    ~ChainBuilder() { tcutRelRb(head_); }
    void Text(int code, const std::string& text) { Append(tcutBuildList(code, text.c_str(), RTNONE)); }
    void Integer(int code, int value) { Append(tcutBuildList(code, value, RTNONE)); }
    void Name(int code, TcDbObjectId id) {
        tc_name name = {0, 0};
        if (tcdbGetAdsName(name, id) == TcDb::eOk) Append(tcutBuildList(code, name, RTNONE));
    }
    struct resbuf* Take() {
        struct resbuf* out = failed_ ? nullptr : head_;
        if (out) head_ = tail_ = nullptr;
        return out;
    }

private:
    void Append(struct resbuf* rb) {
        if (!rb) { failed_ = true; return; }
        (tail_ ? tail_->rbnext : head_) = rb;
        tail_ = rb;
    }
    struct resbuf* head_ = nullptr;
    struct resbuf* tail_ = nullptr;
    bool failed_ = false;
};

int Flags(const LayerState& s) { return (s.frozen ? kFrozenFlag : 0) | (s.locked ? kLockedFlag : 0); }

const char* TextOf(const struct resbuf* rb) { return rb->resval.rstring ? rb->resval.rstring : ""; }

// Groups 70 and 62 carry shorts.
int IntegerOf(const struct resbuf* rb) { return rb->resval.rint; }

}  // namespace

struct resbuf* SnapshotToChain(const LayerSnapshot& snapshot) {
    ChainBuilder out;
    out.Integer(70, kRecordLayout);
    out.Text(302, snapshot.currentLayer);
    for (const LayerState& layer : snapshot.layers) {
        out.Text(8, layer.name);
        out.Integer(70, Flags(layer));
        out.Integer(62, layer.off ? -layer.colour : layer.colour);
        out.Text(6, layer.linetype);
    }
    for (const ViewportFreezes& viewport : snapshot.viewports) {
        out.Name(330, viewport.viewport);
        for (const std::string& name : viewport.frozen) out.Text(3, name);
    }
    return out.Take();
}

bool SnapshotFromChain(const struct resbuf* chain, LayerSnapshot& out) {
    out = {};
    if (!chain || chain->restype != 70 || IntegerOf(chain) != kRecordLayout) return false;
    LayerState* layer = nullptr;
    ViewportFreezes* viewport = nullptr;
    for (const struct resbuf* rb = chain->rbnext; rb; rb = rb->rbnext) {
        switch (rb->restype) {
            case 302: out.currentLayer = TextOf(rb); break;
            case 8:
                layer = &out.layers.emplace_back();
                layer->name = TextOf(rb);
                viewport = nullptr;
                break;
            case 70:
                if (layer) {
                    layer->frozen = IntegerOf(rb) & kFrozenFlag;
                    layer->locked = IntegerOf(rb) & kLockedFlag;
                }
                break;
            case 62:
                if (layer) {
                    layer->off = IntegerOf(rb) < 0;
                    layer->colour = std::abs(IntegerOf(rb));
                }
                break;
            case 6: if (layer) layer->linetype = TextOf(rb); break;
            case 330: {
                TcDbObjectId id;  // a viewport gone since stays null and is skipped
                tcdbGetObjectId(id, rb->resval.rlname);
                viewport = &out.viewports.emplace_back(ViewportFreezes{id, {}});
                layer = nullptr;
                break;
            }
            case 3: if (viewport) viewport->frozen.emplace_back(TextOf(rb)); break;
            default: break;  // groups of later layouts
        }
    }
    return true;
}

bool WriteIsolationRecord(TcDbDatabase& db, const LayerSnapshot& snapshot) {
    struct resbuf* data = SnapshotToChain(snapshot);
    const bool written = data && WriteXrecord(db.namedObjectsDictionaryId(), kIsolationRecordName, data);
    tcutRelRb(data);
    return written;
}

bool ReadIsolationRecord(TcDbDatabase& db, LayerSnapshot& out) {
    struct resbuf* data = ReadXrecord(db.namedObjectsDictionaryId(), kIsolationRecordName);
    const bool read = SnapshotFromChain(data, out);
    tcutRelRb(data);
    return read;
}

void RemoveIsolationRecord(TcDbDatabase& db) { RemoveEntry(db.namedObjectsDictionaryId(), kIsolationRecordName); }

}  // namespace tarn::layermanager
