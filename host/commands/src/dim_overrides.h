// Per-object dimension overrides as desktop hosts store them: extended data
// of the application "ACAD" holding 1000 "DSTYLE", 1002 "{", pairs of the
// variable's group code (1070) and its value, and 1002 "}". Other extended
// data of "ACAD" and of other applications are kept as they are.
#pragma once

#include <optional>
#include <vector>

#include "db/database.h"

namespace tarn::commands::dims {

struct OverridePair {
  int code;        // the dimension variable's DXF group code
  db::Tag value;   // 1070, 1040, 1000 or 1005
};

// The pairs of an object's "DSTYLE" list (empty when it has none).
std::vector<OverridePair> readOverrides(const db::TagList& tags);
// The object's tags with its "DSTYLE" list holding exactly `pairs` (the list
// and, when nothing else is left, the "ACAD" group removed when empty).
db::TagList withOverrides(const db::TagList& tags, const std::vector<OverridePair>& pairs);
// Sets or adds the pairs, in the order of the first appearance of each code.
void mergeOverrides(std::vector<OverridePair>& into, const std::vector<OverridePair>& changes);
// The value of one code, if overridden.
std::optional<db::Tag> overrideValue(const std::vector<OverridePair>& pairs, int code);

}  // namespace tarn::commands::dims
