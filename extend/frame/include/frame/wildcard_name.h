// Names used where the host reads a wildcard pattern (selection filters,
// name lists of LAYER and the like). Layer and block names may hold the
// pattern characters # @ . * ? ~ [ ] ` and the separator ",": a name passed
// there as it is would match other names, or none.
#pragma once

#include <string>
#include <string_view>

namespace tarn::frame {

// A pattern that matches exactly `name` (up to letter case): every character
// with a pattern meaning gets a back quote in front.
std::string EscapeWildcardName(std::string_view name);

}  // namespace tarn::frame
