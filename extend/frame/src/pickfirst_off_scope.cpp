// The pickfirst bracket: PICKFIRST at 0 while a command selects on its own.
#include <tarnsdk/tcedapi.h>

#include "frame/command_environment.h"

namespace tarn::frame {

PickfirstOffScope::PickfirstOffScope() {
    struct resbuf value {};
    if (tcedGetVar("PICKFIRST", &value) != RTNORM || value.restype != RTSHORT) return;
    saved_ = value.resval.rint;
    read_ = true;
    struct resbuf zero {};
    zero.restype = RTSHORT;
    zero.resval.rint = 0;
    tcedSetVar("PICKFIRST", &zero);
}

PickfirstOffScope::~PickfirstOffScope() {
    if (!read_) return;
    struct resbuf value {};
    value.restype = RTSHORT;
    value.resval.rint = saved_;
    tcedSetVar("PICKFIRST", &value);
}

}  // namespace tarn::frame
