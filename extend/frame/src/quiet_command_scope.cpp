// The quiet bracket: CMDECHO, BLIPMODE and EXPERT at 0 while the module
// drives host commands, put back on every way out.
#include <cstdlib>
#include <cstring>

#include <tarnsdk/tcedapi.h>

#include "frame/command_environment.h"

namespace tarn::frame {
namespace {

constexpr const char* kQuietVariables[] = {"CMDECHO", "BLIPMODE", "EXPERT"};

// A text read from the host belongs to the reader; these three are
// integers, but a host may answer otherwise.
void ReleaseValue(struct resbuf& value) {
    if (value.restype == RTSTR) std::free(value.resval.rstring);
    value.resval.rstring = nullptr;
}

}  // namespace

QuietCommandScope::QuietCommandScope() {
    std::memset(saved_, 0, sizeof saved_);
    Enter();
}

QuietCommandScope::~QuietCommandScope() { Leave(); }

void QuietCommandScope::Enter() {
    if (entered_) return;
    struct resbuf zero {};
    zero.restype = RTSHORT;
    zero.resval.rint = 0;
    for (int i = 0; i < kCount; ++i) {
        saved_[i] = {};
        read_[i] = tcedGetVar(kQuietVariables[i], &saved_[i]) == RTNORM;
        // A variable that could not be read is left alone, so that leaving
        // the scope cannot write a value nobody saved.
        if (read_[i]) tcedSetVar(kQuietVariables[i], &zero);
    }
    entered_ = true;
}

void QuietCommandScope::Leave() {
    if (!entered_) return;
    for (int i = 0; i < kCount; ++i) {
        if (!read_[i]) continue;
        saved_[i].rbnext = nullptr;
        tcedSetVar(kQuietVariables[i], &saved_[i]);
        ReleaseValue(saved_[i]);
        read_[i] = false;
    }
    entered_ = false;
}

}  // namespace tarn::frame
