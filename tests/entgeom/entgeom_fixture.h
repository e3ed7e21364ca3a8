// A new drawing made current for each test, entities built with the
// entity-list calls, the pinned DejaVu Sans for every text, and box checks.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "db/database.h"
#include "db/new_drawing.h"
#include "entgeom/explode.h"
#include "geom/bounding_box.h"
#include "geom/tolerance.h"
#include "geom/vec3.h"

namespace tarn::entgeom::test {

// Every text in these tests is measured with this face (the environment in
// pinned_font.cpp forces it for every style).
inline constexpr const char* kTestFont = "DejaVu Sans";

// Entity lists carry angles (groups 50 to 58) in radians.
inline constexpr double deg(double degrees) { return degrees * 3.14159265358979323846 / 180.0; }

// Stores an exploded entity (and its sub-entities) in a block the way the
// host stores a new one: a handle and the owner before its groups.
inline uint32_t storeExploded(db::Database& d, uint32_t block, const ExplodedEntity& e) {
  auto one = [&](const ExplodedEntity& x, uint64_t owner, uint16_t flags) {
    db::TagList t = {db::Tag::handle(5, d.allocateHandle()), db::Tag::handle(330, owner)};
    t.insert(t.end(), x.tags.begin(), x.tags.end());
    uint32_t id = d.addObject(x.type, t, flags);
    d.appendToBlock(block, id);
    return id;
  };
  uint32_t id = one(e, d.object(d.blocks()[block].record).handle, db::kEntity);
  for (const ExplodedEntity& s : e.subEntities) one(s, d.object(id).handle, db::kEntity | db::kSubEntity);
  return id;
}

class DrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    db::initNewDrawing(db);
    host::setCurrentDatabase(&db);
    buffersBefore = host::counters().resbufs;
  }
  void TearDown() override {
    EXPECT_EQ(host::counters().resbufs, buffersBefore) << "result buffers were not released";
    host::unregisterDatabase(&db);
  }

  // Makes an entity (or one part of a complex one) from a chain; releases
  // the chain. Answers the id of the last main entity.
  uint32_t make(resbuf* list) {
    EXPECT_NE(list, nullptr);
    int rc = tcdbEntMake(list);
    tcutRelRb(list);
    EXPECT_EQ(rc, RTNORM);
    return db.lastMainEntity();
  }

  // A block definition of the given entity lists with its base point.
  void defineBlock(const char* name, const double* base, std::initializer_list<resbuf*> entities) {
    double b[3] = {base[0], base[1], base[2]};
    make(tcutBuildList(RTDXF0, "BLOCK", 2, name, 70, 0, 10, b, RTNONE));
    for (resbuf* e : entities) make(e);
    make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  }

  uint32_t insert(const char* name, const double* at, double sx = 1, double sy = 1, double rotationDegrees = 0) {
    double p[3] = {at[0], at[1], at[2]};
    return make(tcutBuildList(RTDXF0, "INSERT", 2, name, 10, p, 41, sx, 42, sy, 43, 1.0, 50, deg(rotationDegrees),
                              RTNONE));
  }

  db::Database db;
  long buffersBefore = 0;
};

inline void expectBox(const geom::BoundingBox& b, geom::Vec3 min, geom::Vec3 max, double tol = 1e-9) {
  EXPECT_NEAR(b.min.x, min.x, tol);
  EXPECT_NEAR(b.min.y, min.y, tol);
  EXPECT_NEAR(b.min.z, min.z, tol);
  EXPECT_NEAR(b.max.x, max.x, tol);
  EXPECT_NEAR(b.max.y, max.y, tol);
  EXPECT_NEAR(b.max.z, max.z, tol);
}

inline void expectSameBox(const geom::BoundingBox& a, const geom::BoundingBox& b, double tol = 1e-9) {
  expectBox(a, b.min, b.max, tol);
}

}  // namespace tarn::entgeom::test
