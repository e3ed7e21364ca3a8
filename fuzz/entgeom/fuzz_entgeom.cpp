// Fuzz target: any drawing the DXF reader accepts is measured, transformed,
// hit-tested and exploded entity by entity. Fails on crashes, sanitizer
// reports and explosions that break their own promises (a refusal without a
// reason, a piece without a type or layer), never on rejected input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "db/dxf.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_hit_test.h"
#include "entgeom/entity_transform.h"
#include "entgeom/explode.h"
#include "entgeom/extents.h"
#include "font/font_resolver.h"

namespace {

bool hasLayer(const tarn::db::TagList& tags) {
  for (const tarn::db::Tag& t : tags)
    if (t.code == 8) return true;
  return false;
}

void checkExplode(const tarn::db::Database& db, uint32_t id) {
  tarn::entgeom::ExplodeResult r = tarn::entgeom::explodeEntity(db, id);
  if (!r.ok() && (r.message.empty() || !r.entities.empty())) std::abort();
  for (const tarn::entgeom::ExplodedEntity& e : r.entities)
    if (e.type.empty() || !hasLayer(e.tags)) std::abort();
}

}  // namespace

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
    checkExplode(db, id);
  }
  return 0;
}
