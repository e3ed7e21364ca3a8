// The DXF reader on arbitrary bytes: it must refuse or read, never crash or
// hang; what it reads must save and read back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "db/database.h"
#include "db/dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarn::db::Database db;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tarn::db::DxfResult r = tarn::db::readDxfBuffer(text, db, "fuzz.dxf");
  if (!r.ok()) {
    if (r.message.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  std::string saved = tarn::db::writeDxfString(db);
  tarn::db::Database again;
  if (!tarn::db::readDxfBuffer(saved, again, "saved.dxf").ok()) std::abort();
  return 0;
}
