// Internal: the object a pick reply names (a point, "#handle", or an
// entity name given by a program).
#pragma once

#include <optional>

#include "db/database.h"
#include "editor/editor.h"

namespace tarn::editor {

// True when the reply has the form of a pick.
bool isPickReply(const Reply& r);

// The entity picked, and where (`at`); nothing when the pick finds nothing.
std::optional<uint32_t> pickTarget(Editor& editor, const Reply& r, db::Database& db, db::Point3& at);

}  // namespace tarn::editor
