// What the host's SDK functions share: the open databases and the current
// one, entity names, the ownership counters that tests check after every
// command, and the switch that lets object isolation touch locked layers.
#pragma once

#include <cstdint>

#include <tarnsdk/tctypes.h>

#include "db/database.h"

namespace tarn::host {

// Live result buffers, selection sets and open objects. A command that ends
// with any of them above what it started with has leaked.
struct OwnershipCounters {
  long resbufs = 0;
  long selectionSets = 0;
  long openObjects = 0;
};
OwnershipCounters& counters();

// Databases that entity names may refer to. The current one is the drawing
// the commands work on.
void registerDatabase(db::Database* db);
void unregisterDatabase(db::Database* db);
db::Database* databaseBySerial(uint32_t serial);
db::Database* currentDatabase();
void setCurrentDatabase(db::Database* db);

// Entity names are (database serial, object id + 1); (0, 0) is no name.
void makeName(const db::Database& db, uint32_t id, tc_name out);
// The database and object a name stands for; false for a nil or stale name.
bool resolveName(const tc_name name, db::Database*& db, uint32_t& id);

// Refusal to change objects on locked layers, and its suspension.
bool lockCheckSuspended();
class LockCheckSuspension {
 public:
  LockCheckSuspension();
  ~LockCheckSuspension();
  LockCheckSuspension(const LockCheckSuspension&) = delete;
  LockCheckSuspension& operator=(const LockCheckSuspension&) = delete;
};
// True when the entity lies on a locked layer and the check is not suspended.
bool onLockedLayer(const db::Database& db, uint32_t id);

}  // namespace tarn::host
