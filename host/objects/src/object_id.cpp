// Object ids: validity, handles, their drawing, and conversion to and from
// entity names.
#include "api/host_state.h"
#include "object_impl.h"

using namespace tarn;
using namespace tarn::objects;

const TcDbObjectId TcDbObjectId::kNull{};

bool TcDbObjectId::isValid() const {
  db::Database* d;
  uint32_t index;
  return resolve(*this, d, index);
}

bool TcDbObjectId::isErased() const {
  db::Database* d;
  uint32_t index;
  return resolve(*this, d, index) && d->isErased(index);
}

std::string TcDbObjectId::handle() const {
  db::Database* d;
  uint32_t index;
  return resolve(*this, d, index) ? hexHandle(d->object(index).handle) : std::string();
}

TcDbDatabase* TcDbObjectId::database() const { return isValid() ? viewOf(serial_) : nullptr; }

TcDb::ErrorStatus tcdbGetObjectId(TcDbObjectId& id, const tc_name name) {
  id = {};
  db::Database* d;
  uint32_t index;
  if (!name) return TcDb::eInvalidInput;
  if (name[0] == 0 && name[1] == 0) return TcDb::eNullObjectId;
  if (!host::resolveName(name, d, index)) return TcDb::eInvalidInput;
  id = idOf(*d, index);
  return TcDb::eOk;
}

TcDb::ErrorStatus tcdbGetAdsName(tc_name name, TcDbObjectId id) {
  if (!name) return TcDb::eInvalidInput;
  name[0] = name[1] = 0;
  if (id.isNull()) return TcDb::eNullObjectId;
  db::Database* d;
  uint32_t index;
  if (!resolve(id, d, index)) return TcDb::eInvalidInput;
  host::makeName(*d, index, name);
  return TcDb::eOk;
}
