// Values an entity list stands for when it leaves a group out.
#ifndef TARN_SELECT_GROUP_DEFAULTS_H
#define TARN_SELECT_GROUP_DEFAULTS_H

#include "tarnsdk/tctypes.h"

namespace tarn::select {

// The group that an entity list without `code` is taken to hold, or null
// when absence has no meaning of its own (the test then fails).
const resbuf* absentGroupDefault(int code);

}  // namespace tarn::select

#endif
