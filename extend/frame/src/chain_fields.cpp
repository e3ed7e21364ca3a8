// Readers and setters of single fields of a result-buffer chain.
#include <cstdlib>

#include <tarnsdk/groupcodes.h>

#include "frame/resbuf_fields.h"
#include "text_copy.h"

namespace tarn::frame {
namespace {

template <typename Buffer>
Buffer* FindCode(Buffer* chain, int code) {
    for (Buffer* rb = chain; rb != nullptr; rb = rb->rbnext)
        if (rb->restype == code) return rb;
    return nullptr;
}

}  // namespace

int ChainInteger(const struct resbuf* chain, int code, int32_t* value) {
    const struct resbuf* rb = FindCode(chain, code);
    if (rb == nullptr || value == nullptr) return RTERROR;
    switch (tcValueKind(rb->restype)) {
        case TC_KIND_SHORT: *value = rb->resval.rint; return RTNORM;
        case TC_KIND_LONG: *value = rb->resval.rlong; return RTNORM;
        default: return RTERROR;
    }
}

int ChainEntityName(const struct resbuf* chain, int code, tc_name name) {
    const struct resbuf* rb = FindCode(chain, code);
    if (rb == nullptr || tcValueKind(rb->restype) != TC_KIND_NAME) return RTERROR;
    name[0] = rb->resval.rlname[0];
    name[1] = rb->resval.rlname[1];
    return RTNORM;
}

int ChainText(const struct resbuf* chain, int code, char* buffer, size_t capacity) {
    const struct resbuf* rb = FindCode(chain, code);
    if (rb == nullptr || tcValueKind(rb->restype) != TC_KIND_STRING) return RTERROR;
    detail::CopyToBuffer(rb->resval.rstring ? rb->resval.rstring : "", buffer, capacity);
    return RTNORM;
}

int SetChainText(struct resbuf* chain, int code, std::string_view text) {
    struct resbuf* rb = FindCode(chain, code);
    if (rb == nullptr || tcValueKind(rb->restype) != TC_KIND_STRING) return RTERROR;
    char* copy = detail::HostTextCopy(text);
    if (copy == nullptr) return RTERROR;
    std::free(rb->resval.rstring);
    rb->resval.rstring = copy;
    return RTNORM;
}

int SetChainInteger(struct resbuf* chain, int code, int32_t value) {
    struct resbuf* rb = FindCode(chain, code);
    if (rb == nullptr) return RTERROR;
    switch (tcValueKind(rb->restype)) {
        case TC_KIND_SHORT: rb->resval.rint = static_cast<short>(value); return RTNORM;
        case TC_KIND_LONG: rb->resval.rlong = value; return RTNORM;
        default: return RTERROR;
    }
}

struct resbuf* AppendToChain(struct resbuf*& chain, struct resbuf* appended) {
    if (chain == nullptr) {
        chain = appended;
        return chain;
    }
    struct resbuf* last = chain;
    while (last->rbnext != nullptr) last = last->rbnext;
    last->rbnext = appended;
    return chain;
}

}  // namespace tarn::frame
