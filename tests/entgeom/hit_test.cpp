// Hit testing of entities: pick distances (texts as filled boxes, hatches by
// boundary, references by contents) and the selection modes.
#include <cmath>

#include "entgeom/entity_hit_test.h"
#include "entgeom/extents.h"
#include "entgeom_fixture.h"

namespace tarn::entgeom::test {
namespace {

using geom::Matrix4;
using geom::Vec3;

double kO[3] = {0, 0, 0};

class HitTest : public DrawingTest {
 protected:
  uint32_t line() {
    double a[3] = {0, 0, 0}, b[3] = {10, 0, 0};
    return make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE));
  }
  // Made from tags: an entity list would need group 92 placed under AcDbHatch.
  uint32_t squareHatch() {
    using db::Tag;
    db::TagList t = {Tag::str(100, "AcDbEntity"), Tag::str(8, "0"), Tag::str(100, "AcDbHatch"),
                     Tag::point(10, {0, 0, 0}), Tag::point(210, {0, 0, 1}), Tag::str(2, "SOLID"),
                     Tag::integer(70, 1), Tag::integer(71, 0), Tag::integer(91, 1), Tag::integer(92, 2),
                     Tag::integer(72, 0), Tag::integer(73, 1), Tag::integer(93, 4)};
    for (db::Point3 p : {db::Point3{20, 0, 0}, {30, 0, 0}, {30, 10, 0}, {20, 10, 0}}) t.push_back(Tag::point(10, p, false));
    for (Tag x : {Tag::integer(97, 0), Tag::integer(75, 0), Tag::integer(76, 1), Tag::integer(98, 0)}) t.push_back(x);
    uint32_t id = db.addObject("HATCH", t, db::kEntity);
    db.appendToBlock(db.modelSpace(), id);
    return id;
  }
  double distance(uint32_t id, Vec3 p, const Matrix4& view = Matrix4::identity()) {
    double d = -1;
    EXPECT_EQ(EntityHitTester(db, view).distanceTo(id, p, d), EntStatus::Ok);
    return d;
  }
};

TEST_F(HitTest, LineDistanceIsMeasuredInThePlaneOfTheView) {
  uint32_t id = line();
  EXPECT_NEAR(distance(id, {5, 3, 0}), 3.0, 1e-12);
  EXPECT_NEAR(distance(id, {5, 0, 40}), 0.0, 1e-12) << "height does not count";
  EXPECT_NEAR(distance(id, {13, 4, 0}), 5.0, 1e-12);
}

TEST_F(HitTest, ViewTransformTurnsThePicture) {
  uint32_t id = line();
  Matrix4 view = Matrix4::rotation(geom::kPi / 2, geom::kZAxis);  // the line runs up the screen
  EXPECT_NEAR(distance(id, {3, 5, 0}, view), 3.0, 1e-12);
}

TEST_F(HitTest, TextIsAFilledBox) {
  double p[3] = {0, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 2.0, 1, "BOX", RTNONE));
  Extents e = extentsOf(db, id);
  ASSERT_TRUE(e.ok());
  EXPECT_EQ(distance(id, e.box.center()), 0.0) << "inside the box counts as on it";
  EXPECT_NEAR(distance(id, {e.box.max.x + 1, e.box.center().y, 0}), 1.0, 1e-9);
}

TEST_F(HitTest, HatchIsPickedByItsBoundary) {
  uint32_t id = squareHatch();
  EXPECT_NEAR(distance(id, {25, 5, 0}), 5.0, 1e-12) << "the middle is 5 from every edge";
  EXPECT_NEAR(distance(id, {25, 10.5, 0}), 0.5, 1e-12);
}

TEST_F(HitTest, ReferencePickedByItsContents) {
  double c[3] = {0, 0, 0}, at[3] = {100, 0, 0};
  defineBlock("RING", kO, {tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 5.0, RTNONE)});
  uint32_t id = insert("RING", at, 2.0, 2.0, 0.0);
  EXPECT_NEAR(distance(id, {100, 0, 0}), 10.0, 1e-9) << "the centre of the scaled ring is empty";
  EXPECT_TRUE(EntityHitTester(db).hitsPoint(id, {110.2, 0, 0}, 0.25));
  EXPECT_FALSE(EntityHitTester(db).hitsPoint(id, {111, 0, 0}, 0.25));
}

struct SelectCase {
  const char* name;
  SelectMode mode;
  std::vector<Vec3> points;
  bool selected;
};

// The line runs from (0, 0) to (10, 0).
const SelectCase kSelections[] = {
    {"WindowAroundIt", SelectMode::Window, {{-1, -1}, {11, 1}}, true},
    {"WindowOverHalf", SelectMode::Window, {{5, -1}, {11, 1}}, false},
    {"CrossingOverHalf", SelectMode::Crossing, {{5, -1}, {11, 1}}, true},
    {"CrossingBesideIt", SelectMode::Crossing, {{-5, 2}, {11, 3}}, false},
    {"CrossingCornersGivenBackwards", SelectMode::Crossing, {{11, 1}, {5, -1}}, true},
    {"PolygonAroundIt", SelectMode::WindowPolygon, {{-1, -1}, {12, -1}, {5, 6}}, true},
    {"PolygonOverHalf", SelectMode::WindowPolygon, {{4, -1}, {12, -1}, {8, 6}}, false},
    {"CrossingPolygonOverHalf", SelectMode::CrossingPolygon, {{4, -1}, {12, -1}, {8, 6}}, true},
    {"FenceAcross", SelectMode::Fence, {{5, -3}, {5, 3}}, true},
    {"FenceBeside", SelectMode::Fence, {{-3, -3}, {-3, 3}, {-1, 3}}, false},
};

class Selection : public HitTest, public testing::WithParamInterface<SelectCase> {};

TEST_P(Selection, OfALine) {
  uint32_t id = line();
  EXPECT_EQ(EntityHitTester(db).selects(id, GetParam().mode, GetParam().points), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Modes, Selection, testing::ValuesIn(kSelections),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(HitTest, CrossingWindowInsideATextBoxSelectsIt) {
  double p[3] = {0, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 5.0, 1, "WIDE TEXT", RTNONE));
  Vec3 c = extentsOf(db, id).box.center();
  EntityHitTester hits(db);
  EXPECT_TRUE(hits.selects(id, SelectMode::Crossing, {c - Vec3{0.1, 0.1, 0}, c + Vec3{0.1, 0.1, 0}}));
  EXPECT_FALSE(hits.selects(id, SelectMode::Window, {c - Vec3{0.1, 0.1, 0}, c + Vec3{0.1, 0.1, 0}}));
}

TEST_F(HitTest, InfiniteLinesAreNeverInsideAWindow) {
  double a[3] = {0, 0, 0}, d[3] = {1, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "XLINE", 10, a, 11, d, RTNONE));
  EntityHitTester hits(db);
  EXPECT_FALSE(hits.selects(id, SelectMode::Window, {{-1e6, -1}, {1e6, 1}}));
  EXPECT_TRUE(hits.selects(id, SelectMode::Crossing, {{-1, -1}, {1, 1}}));
}

TEST_F(HitTest, ErasedOrMissingEntitiesAreNeverHit) {
  uint32_t id = line();
  db.setErased(id, true);
  double d;
  EXPECT_EQ(EntityHitTester(db).distanceTo(id, {0, 0, 0}, d), EntStatus::NotFound);
  EXPECT_FALSE(EntityHitTester(db).selects(id, SelectMode::Crossing, {{-1, -1}, {1, 1}}));
}

}  // namespace
}  // namespace tarn::entgeom::test
