// The layout parameters and contents of a paragraph text (MTEXT) read from
// its groups, shared by its frame and its explosion into single-line texts.
#pragma once

#include <string>

#include "db/database.h"
#include "font/mtext_layout.h"
#include "geom/matrix4.h"
#include "groups.h"

namespace tarn::entgeom {

// Groups 3 (in order) then 1.
std::string mtextContents(const Groups& g);

// Style font, height 40, width 41, spacing 44/73, attachment 71, and the
// insertion point and rotation (direction 11 before angle 50) in the object
// coordinates of the text's normal (`toOcs`); `insertionZ` receives the
// insertion point's elevation in those coordinates.
font::MTextParams mtextParams(const db::Database& db, const Groups& g, const geom::Matrix4& toOcs,
                              double& insertionZ);

}  // namespace tarn::entgeom
