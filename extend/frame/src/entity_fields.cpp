// Readers of single fields of an entity, through its entity list.
#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcutapi.h>

#include "frame/resbuf_fields.h"
#include "text_copy.h"

namespace tarn::frame {
namespace {

// Reads the entity's list, runs `use` on the first buffer of `code` (when
// there is one) and releases the list.
template <typename Use>
int WithGroup(const tc_name entity, int code, Use use) {
    struct resbuf* list = tcdbEntGet(entity);
    if (list == nullptr) return RTERROR;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == code) {
            use(*rb);
            break;
        }
    }
    tcutRelRb(list);
    return RTNORM;
}

}  // namespace

int EntityType(const tc_name entity, char* buffer, size_t capacity) {
    return EntityText(entity, 0, buffer, capacity);
}

int EntityText(const tc_name entity, int code, char* buffer, size_t capacity) {
    return WithGroup(entity, code, [&](const struct resbuf& rb) {
        if (tcValueKind(rb.restype) == TC_KIND_STRING && rb.resval.rstring != nullptr)
            detail::CopyToBuffer(rb.resval.rstring, buffer, capacity);
    });
}

int EntityPoint(const tc_name entity, int code, tc_point point) {
    return WithGroup(entity, code, [&](const struct resbuf& rb) {
        if (tcValueKind(rb.restype) != TC_KIND_POINT) return;
        for (int i = 0; i < 3; ++i) point[i] = rb.resval.rpoint[i];
    });
}

int EntityInteger(const tc_name entity, int code, int32_t* value) {
    return WithGroup(entity, code, [&](const struct resbuf& rb) {
        const tc_value_kind kind = tcValueKind(rb.restype);
        if (kind == TC_KIND_SHORT) *value = rb.resval.rint;
        else if (kind == TC_KIND_LONG) *value = rb.resval.rlong;
    });
}

int EraseSelection(const tc_name selection) {
    int32_t length = 0;
    if (tcedSSLength(selection, &length) != RTNORM) return RTNORM;
    for (int32_t i = length - 1; i >= 0; --i) {
        tc_name entity = {0, 0};
        if (tcedSSName(selection, i, entity) == RTNORM) tcdbEntDel(entity);
    }
    return RTNORM;
}

}  // namespace tarn::frame
