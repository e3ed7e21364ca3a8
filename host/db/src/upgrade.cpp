// Upgrade of release-12 drawings.
#include "upgrade.h"

namespace tarn::db::detail {

void upgradeOldDrawing(Database&) {}
void completeOldDrawing(Database&) {}

}  // namespace tarn::db::detail
