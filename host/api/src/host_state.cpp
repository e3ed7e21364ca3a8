// Open databases, entity names, ownership counters, the locked-layer check.
#include "api/host_state.h"

#include <unordered_map>

namespace tarn::host {
namespace {
std::unordered_map<uint32_t, db::Database*>& registry() {
  static std::unordered_map<uint32_t, db::Database*> r;
  return r;
}
db::Database* current = nullptr;
int suspensions = 0;
}  // namespace

OwnershipCounters& counters() {
  static OwnershipCounters c;
  return c;
}

void registerDatabase(db::Database* db) { registry()[db->serial()] = db; }

void unregisterDatabase(db::Database* db) {
  registry().erase(db->serial());
  if (current == db) current = nullptr;
}

db::Database* databaseBySerial(uint32_t serial) {
  auto it = registry().find(serial);
  return it == registry().end() ? nullptr : it->second;
}

db::Database* currentDatabase() { return current; }

void setCurrentDatabase(db::Database* db) {
  if (db) registerDatabase(db);
  current = db;
}

void makeName(const db::Database& db, uint32_t id, tc_name out) {
  if (id == db::kNoObject) {
    out[0] = out[1] = 0;
    return;
  }
  out[0] = int32_t(db.serial());
  out[1] = int32_t(id + 1);
}

bool resolveName(const tc_name name, db::Database*& db, uint32_t& id) {
  if (!name || (name[0] == 0 && name[1] == 0) || name[1] <= 0) return false;
  db = databaseBySerial(uint32_t(name[0]));
  if (!db) return false;
  id = uint32_t(name[1] - 1);
  return db->valid(id);
}

bool lockCheckSuspended() { return suspensions > 0; }
LockCheckSuspension::LockCheckSuspension() { ++suspensions; }
LockCheckSuspension::~LockCheckSuspension() { --suspensions; }

bool onLockedLayer(const db::Database& db, uint32_t id) {
  if (suspensions > 0 || !(db.object(id).flags & db::kEntity)) return false;
  std::string_view layer = db::findString(db, id, 8, "0");
  uint32_t record = db.findRecord("LAYER", layer);
  if (record == db::kNoObject) return false;
  auto flags = db::findTag(db, record, 70);
  return flags && (flags->i & 4);
}

}  // namespace tarn::host
