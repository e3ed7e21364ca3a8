// Internal: whether a host command runs on behalf of another command (a
// module command issuing it), judged by the undo scopes open around it.
#pragma once

#include <string_view>

namespace tarn::commands {

bool issuedByAnotherCommand(std::string_view self);

}  // namespace tarn::commands
