// The layer walk's name filters: wildcard patterns with the same syntax the
// host reads in its name lists (# @ . * ? ~ [...] ` and "," between
// alternatives), compared without regard to letter case.
#pragma once

#include <string>
#include <string_view>

namespace tarn::layer {

// True when `name` matches the pattern (a comma list of alternatives).
bool MatchesLayerFilter(std::string_view pattern, std::string_view name);

// The name with every letter folded to one case, for comparing layer names
// without regard to case (also beyond ASCII: "É" and "é" fold alike).
std::string FoldedLayerName(std::string_view name);

}  // namespace tarn::layer
