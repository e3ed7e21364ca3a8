// The text of a dimension and the entity that shows it in the dimension's
// geometry block: the default ("home") text position by dimension type,
// the style values that decide it (per-object overrides first, then the
// dimension style, then the drawing's variables), and keeping the block's
// text entity in step with the dimension's groups.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/database.h"

namespace tarn::commands::dims {

// A dimension variable for this dimension, by its group code.
double styleNumber(const db::Database& d, uint32_t dim, int code, double dflt);

// Where the text of the dimension goes when the user has not moved it (WCS);
// none for types whose default position is not worked out here (two-line
// angular) and for dimensions outside the world XY plane.
std::optional<db::Point3> homeTextPosition(const db::Database& d, uint32_t dim);

// The measurement as the dimension would show it ("25.4", "45%%d").
std::string measurementText(const db::Database& d, uint32_t dim);

// Brings the text entity of the dimension's block in line with the
// dimension's groups 11 (text position), 53 (text rotation) and 1 (text).
void updateBlockText(db::Database& d, uint32_t dim);

}  // namespace tarn::commands::dims
