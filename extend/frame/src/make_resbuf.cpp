// MakeResbuf: one result buffer with its value set by a type tag.
#include <cstring>

#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcutapi.h>

#include "frame/resbuf_fields.h"
#include "text_copy.h"

namespace tarn::frame {
namespace {

bool TagIs(std::string_view tag, std::string_view name) {
    if (tag.size() != name.size()) return false;
    for (size_t i = 0; i < tag.size(); ++i) {
        char ch = tag[i];
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != name[i]) return false;
    }
    return true;
}

void SetValue(struct resbuf& rb, std::string_view tag, const void* value) {
    tc_resval& v = rb.resval;
    if (TagIs(tag, "rint")) {
        std::memcpy(&v.rint, value, sizeof v.rint);
    } else if (TagIs(tag, "rreal")) {
        std::memcpy(&v.rreal, value, sizeof v.rreal);
    } else if (TagIs(tag, "rpoint")) {
        std::memcpy(v.rpoint, value, sizeof v.rpoint);
    } else if (TagIs(tag, "rlong")) {
        std::memcpy(&v.rlong, value, sizeof v.rlong);
    } else if (TagIs(tag, "rlname")) {
        std::memcpy(v.rlname, value, sizeof v.rlname);
    } else if (TagIs(tag, "rstring")) {
        // The host releases the text of a buffer only when its type carries
        // one; a copy put elsewhere would never be released.
        if (tcValueKind(rb.restype) == TC_KIND_STRING)
            v.rstring = detail::HostTextCopy(static_cast<const char*>(value));
    }
}

}  // namespace

struct resbuf* MakeResbuf(int type, std::string_view tag, const void* value) {
    struct resbuf* rb = tcutNewRb(type);
    if (rb == nullptr) return nullptr;
    rb->rbnext = nullptr;
    if (value != nullptr) SetValue(*rb, tag, value);
    return rb;
}

}  // namespace tarn::frame
