// Fuzz target: any drawing the DXF reader accepts is measured, transformed
// and hit-tested entity by entity. Fails on crashes and sanitizer reports,
// never on rejected input or a status.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "db/dxf.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_hit_test.h"
#include "entgeom/entity_transform.h"
#include "entgeom/extents.h"
#include "font/font_resolver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarn;
  font::setPinnedFontOnly(true);
  db::Database db;
  if (!db::readDxfBuffer(std::string_view(reinterpret_cast<const char*>(data), size), db).ok()) return 0;
  entgeom::ExtentsCalculator calc(db);
  entgeom::EntityHitTester hits(db);
  geom::Matrix4 turn = geom::Matrix4::rotation(0.5, geom::kZAxis, {1, 2, 0});
  geom::Matrix4 mirror = geom::Matrix4::mirrorLine({0, 0, 0}, {1, 1, 0});
  for (uint32_t id = 0; id < db.objectCount() && id < 2000; ++id) {
    if (!(db.object(id).flags & db::kEntity)) continue;
    calc.extentsOf(id);
    entgeom::curveOf(db, id);
    double d;
    hits.distanceTo(id, {0, 0, 0}, d);
    hits.selects(id, entgeom::SelectMode::Crossing, {{-1, -1, 0}, {1, 1, 0}});
    std::vector<entgeom::TransformedObject> out;
    entgeom::transformEntity(db, id, turn, {}, out);
    entgeom::transformEntity(db, id, mirror, {false}, out);
  }
  return 0;
}
