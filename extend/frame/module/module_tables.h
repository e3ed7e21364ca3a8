// The module's own tables, defined beside the entry function.
#pragma once

#include <span>

#include "frame/registration.h"

namespace tarn::frame {

std::span<const CommandHandlerRow> CommandHandlers();
std::span<const LispFunctionRow> LispFunctions();

}  // namespace tarn::frame
