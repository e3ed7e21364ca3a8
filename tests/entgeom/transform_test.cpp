// Entity transformation: every type keeps its meaning under move, turn,
// scale and mirror (its extents move as the matrix says), the drawing still
// writes and reads back, and the types that cannot follow a matrix say so.
#include <cmath>
#include <functional>

#include "db/dxf.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_transform.h"
#include "entgeom/extents.h"
#include "entgeom/text_frame.h"
#include "entgeom_fixture.h"
#include "geom/circular_curves.h"

namespace tarn::entgeom::test {
namespace {

using geom::BoundingBox;
using geom::Matrix4;
using geom::Vec3;

double kO[3] = {0, 0, 0};

EntStatus applyTransform(db::Database& db, uint32_t id, const Matrix4& m, TransformOptions o = {}) {
  std::vector<TransformedObject> out;
  EntStatus st = transformEntity(db, id, m, o, out);
  for (TransformedObject& t : out) db.replaceTags(t.id, t.tags);
  return st;
}

// The box of a box's corners after m: exact for maps that keep axes axes.
BoundingBox mapped(const BoundingBox& b, const Matrix4& m) {
  BoundingBox out;
  for (int i = 0; i < 8; ++i)
    out.add(m.transformPoint({i & 1 ? b.max.x : b.min.x, i & 2 ? b.max.y : b.min.y, i & 4 ? b.max.z : b.min.z}));
  return out;
}

struct MatrixCase {
  const char* name;
  Matrix4 m;
};

const MatrixCase kMatrices[] = {
    {"Move", Matrix4::translation({12.5, -3.25, 0})},
    {"QuarterTurn", Matrix4::rotation(geom::kPi / 2, geom::kZAxis, {3, 1, 0})},
    {"HalfTurn", Matrix4::rotation(geom::kPi, geom::kZAxis, {-2, 4, 0})},
    {"Scale", Matrix4::scaling(2.5, {1, 1, 0})},
    {"MirrorVertical", Matrix4::mirrorLine({5, 0, 0}, {5, 1, 0})},
    {"MirrorHorizontal", Matrix4::mirrorLine({0, 2, 0}, {1, 2, 0})},
};

struct EntityCase {
  const char* name;
  std::function<uint32_t(DrawingTest&)> build;
};

class TransformEachType : public DrawingTest,
                          public testing::WithParamInterface<std::tuple<const char*, MatrixCase>> {
 protected:
  uint32_t build(std::string_view which);
  uint32_t makeList(resbuf* list) { return make(list); }
};

uint32_t TransformEachType::build(std::string_view which) {
  double a[3] = {1, 2, 0}, b[3] = {7, 5, 0}, c[3] = {0, 3, 0}, major[3] = {4, 1, 0};
  double p0[3] = {0, 0, 0}, p1[3] = {2, 0, 0}, p2[3] = {2, 2, 0}, p3[3] = {4, 1, 0};
  if (which == "Line") return make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE));
  if (which == "Arc") return make(tcutBuildList(RTDXF0, "ARC", 10, a, 40, 2.0, 50, deg(10.0), 51, deg(130.0), RTNONE));
  if (which == "Circle") return make(tcutBuildList(RTDXF0, "CIRCLE", 10, a, 40, 2.0, RTNONE));
  if (which == "Ellipse")
    return make(tcutBuildList(RTDXF0, "ELLIPSE", 10, a, 11, major, 40, 0.4, 41, 0.5, 42, 4.0, RTNONE));
  if (which == "Polyline")
    return make(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 0, 10, p0, 10, p1, 42, 0.6, 10, p2, RTNONE));
  if (which == "Spline")
    return make(tcutBuildList(RTDXF0, "SPLINE", 70, 8, 71, 3, 72, 8, 73, 4, 40, 0.0, 40, 0.0, 40, 0.0, 40, 0.0, 40,
                              1.0, 40, 1.0, 40, 1.0, 40, 1.0, 10, p0, 10, c, 10, p2, 10, p3, RTNONE));
  if (which == "Solid") return make(tcutBuildList(RTDXF0, "SOLID", 10, p0, 11, p3, 12, c, 13, c, RTNONE));
  if (which == "Text")
    return make(tcutBuildList(RTDXF0, "TEXT", 10, a, 11, b, 40, 1.5, 1, "Right", 72, 2, 50, deg(20.0), RTNONE));
  if (which == "MText")
    return make(tcutBuildList(RTDXF0, "MTEXT", 10, a, 40, 1.0, 41, 8.0, 71, 5, 1, "two\\Plines", RTNONE));
  if (which == "Insert") {
    defineBlock("B", a, {tcutBuildList(RTDXF0, "ARC", 10, b, 40, 1.0, 50, deg(0.0), 51, deg(200.0), RTNONE),
                         tcutBuildList(RTDXF0, "LINE", 10, p0, 11, c, RTNONE)});
    return insert("B", p3, 2.0, 1.0, 30.0);
  }
  return db::kNoObject;
}

TEST_P(TransformEachType, ExtentsMoveAsTheMatrixSays) {
  const auto& [which, mc] = GetParam();
  uint32_t id = build(which);
  ASSERT_NE(id, db::kNoObject);
  Extents before = extentsOf(db, id);
  ASSERT_EQ(before.status, EntStatus::Ok);
  ASSERT_EQ(applyTransform(db, id, mc.m), EntStatus::Ok);
  Extents after = extentsOf(db, id);
  ASSERT_EQ(after.status, EntStatus::Ok);
  expectSameBox(after.box, mapped(before.box, mc.m), 1e-7);
}

TEST_P(TransformEachType, DrawingStillWritesAndReadsBack) {
  const auto& [which, mc] = GetParam();
  uint32_t id = build(which);
  ASSERT_EQ(applyTransform(db, id, mc.m), EntStatus::Ok);
  std::string text = db::writeDxfString(db);
  db::Database again;
  db::DxfResult r = db::readDxfBuffer(text, again);
  ASSERT_TRUE(r.ok()) << r.message;
  Extents a = extentsOf(db, id), b = extentsOf(again, again.findHandle(db.object(id).handle));
  ASSERT_EQ(b.status, EntStatus::Ok);
  expectSameBox(a.box, b.box, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(TypesAndMatrices, TransformEachType,
                         testing::Combine(testing::Values("Line", "Arc", "Circle", "Ellipse", "Polyline", "Spline",
                                                          "Solid", "Text", "MText", "Insert"),
                                          testing::ValuesIn(kMatrices)),
                         [](const auto& tpi) {
                           return std::string(std::get<0>(tpi.param)) + "_" + std::get<1>(tpi.param).name;
                         });

// The sample drawing: every entity turned a quarter and moved keeps its box
// in step, and the whole drawing writes and reads back.
TEST(TransformSample, EveryEntityOfTheSampleDrawingFollowsTheMatrix) {
  db::Database drawing;
  ASSERT_TRUE(db::readDxfFile(std::string(TARN_TEST_DATA) + "/dxf/ezdxf-all-2018.dxf", drawing).ok());
  Matrix4 m = Matrix4::translation({100, -50, 0}) * Matrix4::rotation(geom::kPi / 2, geom::kZAxis);
  const db::BlockDef& model = drawing.blocks()[drawing.modelSpace()];
  for (uint32_t id : std::vector<uint32_t>(model.entities)) {
    if (drawing.object(id).flags & db::kSubEntity) continue;
    Extents before = extentsOf(drawing, id);
    std::vector<TransformedObject> out;
    EntStatus st = transformEntity(drawing, id, m, {}, out);
    if (drawing.typeOf(id) == "REGION") {  // its body data cannot be transformed here
      EXPECT_EQ(st, EntStatus::Unsupported);
      continue;
    }
    ASSERT_EQ(st, EntStatus::Ok) << drawing.typeOf(id);
    for (TransformedObject& t : out) drawing.replaceTags(t.id, t.tags);
    Extents after = extentsOf(drawing, id);
    if (!before.ok() || !before.box.isBounded()) continue;
    ASSERT_EQ(after.status, EntStatus::Ok) << drawing.typeOf(id);
    expectSameBox(after.box, mapped(before.box, m), 1e-6);
  }
  db::Database again;
  db::DxfResult r = db::readDxfBuffer(db::writeDxfString(drawing), again);
  EXPECT_TRUE(r.ok()) << r.message;
}

using TransformLimits = DrawingTest;

TEST_F(TransformLimits, NonUniformScaleRefusesCirclesButStretchesLines) {
  double a[3] = {1, 1, 0}, b[3] = {3, 2, 0};
  Matrix4 stretch = Matrix4::scaling(Vec3{2, 1, 1});
  uint32_t circle = make(tcutBuildList(RTDXF0, "CIRCLE", 10, a, 40, 1.0, RTNONE));
  uint32_t line = make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE));
  EXPECT_EQ(applyTransform(db, circle, stretch), EntStatus::NonUniform);
  ASSERT_EQ(applyTransform(db, line, stretch), EntStatus::Ok);
  expectBox(extentsOf(db, line).box, {2, 1, 0}, {6, 2, 0});
}

TEST_F(TransformLimits, NonUniformScaleGoesIntoAnUnturnedReferencesScales) {
  double a[3] = {0, 0, 0}, b[3] = {1, 1, 0};
  defineBlock("U", kO, {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)});
  uint32_t straight = insert("U", b, 1.0, 1.0, 90.0);
  uint32_t turned = insert("U", b, 1.0, 1.0, 30.0);
  Matrix4 stretch = Matrix4::scaling(Vec3{2, 3, 1});
  ASSERT_EQ(applyTransform(db, straight, stretch), EntStatus::Ok);
  expectBox(extentsOf(db, straight).box, {0, 3, 0}, {2, 6, 0});
  EXPECT_EQ(applyTransform(db, turned, stretch), EntStatus::NonUniform) << "its axes would shear";
}

TEST_F(TransformLimits, MirroredTextStaysReadableUnlessMirrtextSaysSo) {
  double p[3] = {0, 0, 0};
  Matrix4 mirror = Matrix4::mirrorLine({5, 0, 0}, {5, 1, 0});
  uint32_t readable = make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 1.0, 1, "Read me", RTNONE));
  uint32_t mirrored = make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 1.0, 1, "Read me", RTNONE));
  ASSERT_EQ(applyTransform(db, readable, mirror), EntStatus::Ok);
  ASSERT_EQ(applyTransform(db, mirrored, mirror, {true}), EntStatus::Ok);
  EXPECT_NEAR(db::findTag(db, readable, 50)->asReal(), 0.0, 1e-9) << "still reads left to right";
  EXPECT_EQ(db::findTag(db, readable, 71) ? db::findTag(db, readable, 71)->i & 2 : 0, 0);
  EXPECT_EQ(db::findTag(db, mirrored, 71)->i & 2, 2) << "written backwards";
  expectSameBox(extentsOf(db, readable).box, extentsOf(db, mirrored).box, 1e-9);
}

TEST_F(TransformLimits, MirroredArcKeepsItsEndsAsMirrorImages) {
  double c[3] = {1, 1, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "ARC", 10, c, 40, 2.0, 50, deg(20.0), 51, deg(100.0), RTNONE));
  CurvePtr before = curveOf(db, id);
  Matrix4 mirror = Matrix4::mirrorLine({0, 0, 0}, {0, 1, 0});
  ASSERT_EQ(applyTransform(db, id, mirror), EntStatus::Ok);
  CurvePtr after = curveOf(db, id);
  EXPECT_TRUE(geom::pointsEqual(after->startPoint(), mirror.transformPoint(before->endPoint()), 1e-9));
  EXPECT_TRUE(geom::pointsEqual(after->endPoint(), mirror.transformPoint(before->startPoint()), 1e-9));
  EXPECT_NEAR(db::findTag(db, id, 210) ? db::findTag(db, id, 210)->p.z : 1.0, 1.0, 1e-12) << "normal stays +Z";
}

TEST_F(TransformLimits, SingularMatrixAndUnknownTypesAreRefused) {
  double a[3] = {1, 1, 0}, b[3] = {3, 2, 0};
  uint32_t line = make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE));
  EXPECT_EQ(applyTransform(db, line, Matrix4::scaling(0.0)), EntStatus::Unsupported);
  uint32_t region = db.addObject("REGION", db::TagList{db::Tag::str(100, "AcDbEntity")}, db::kEntity);
  EXPECT_EQ(applyTransform(db, region, Matrix4::translation({1, 0, 0})), EntStatus::Unsupported);
}

}  // namespace
}  // namespace tarn::entgeom::test

namespace tarn::entgeom::test {
namespace {

// A hatch bounded by the line (0,0)-(10,0) and a half circle about (5,0):
// counter-clockwise edges give the upper half, clockwise ones (angles stored
// mirrored) the lower half.
uint32_t halfDiscHatch(db::Database& db, bool ccw) {
  using db::Tag;
  db::TagList t = {Tag::str(100, "AcDbEntity"), Tag::str(8, "0"), Tag::str(100, "AcDbHatch"),
                   Tag::point(10, {0, 0, 0}), Tag::point(210, {0, 0, 1}), Tag::str(2, "SOLID"),
                   Tag::integer(70, 1), Tag::integer(71, 0), Tag::integer(91, 1), Tag::integer(92, 1),
                   Tag::integer(93, 2), Tag::integer(72, 1), Tag::point(10, {0, 0, 0}, false),
                   Tag::point(11, {10, 0, 0}, false), Tag::integer(72, 2), Tag::point(10, {5, 0, 0}, false),
                   Tag::real(40, 5.0), Tag::real(50, 0.0), Tag::real(51, 180.0), Tag::integer(73, ccw ? 1 : 0),
                   Tag::integer(97, 0), Tag::integer(75, 0), Tag::integer(76, 1), Tag::integer(98, 0)};
  uint32_t id = db.addObject("HATCH", t, db::kEntity);
  db.appendToBlock(db.modelSpace(), id);
  return id;
}

class HatchTransform : public DrawingTest, public testing::WithParamInterface<bool> {};

// The boundary moved by the kernel's curves gives the box the hatch must have
// after each step; wrong arc angles or senses would swing the half disc.
TEST_P(HatchTransform, ArcEdgesFollowMirrorsAndTurns) {
  bool ccw = GetParam();
  uint32_t id = halfDiscHatch(db, ccw);
  Extents before = extentsOf(db, id);
  ASSERT_EQ(before.status, EntStatus::Ok);
  expectBox(before.box, {0, ccw ? 0.0 : -5.0, 0}, {10, ccw ? 5.0 : 0.0, 0}, 1e-9);
  geom::Arc arc = ccw ? geom::Arc({5, 0, 0}, 5, 0, geom::kPi) : geom::Arc({5, 0, 0}, 5, geom::kPi, 2 * geom::kPi);
  Matrix4 total;
  for (const Matrix4& m : {Matrix4::mirrorLine({0, 1, 0}, {1, 1, 0}), Matrix4::rotation(0.7, geom::kZAxis, {2, 3, 0}),
                           Matrix4::mirrorLine({0, 0, 0}, {1, 1, 0}), Matrix4::scaling(1.5, {4, 4, 0})}) {
    ASSERT_EQ(applyTransform(db, id, m), EntStatus::Ok);
    total = m * total;
    BoundingBox expected = arc.transformed(total)->boundingBox();
    expected.add(total.transformPoint({0, 0, 0}));
    expected.add(total.transformPoint({10, 0, 0}));
    Extents after = extentsOf(db, id);
    ASSERT_EQ(after.status, EntStatus::Ok);
    expectSameBox(after.box, expected, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Senses, HatchTransform, testing::Values(true, false));

}  // namespace
}  // namespace tarn::entgeom::test

namespace tarn::entgeom::test {
namespace {

using DimensionLoop = DrawingTest;

// A dimension whose block holds a dimension naming the same block: measuring
// reports the cycle, transforming moves the block's own geometry once and
// does not recurse without end.
TEST_F(DimensionLoop, DimensionBlockNamingItselfIsNoEndlessRecursion) {
  double a[3] = {0, 0, 0}, b[3] = {4, 0, 0};
  defineBlock("DIMBLK", a, {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)});
  auto dimension = [&] {
    db::TagList t = {db::Tag::str(100, "AcDbEntity"), db::Tag::str(8, "0"), db::Tag::str(100, "AcDbDimension"),
                     db::Tag::str(2, "DIMBLK"), db::Tag::point(10, {4, 1, 0}), db::Tag::integer(70, 0)};
    return db.addObject("DIMENSION", t, db::kEntity);
  };
  db.appendToBlock(db.findBlock("DIMBLK"), dimension());
  uint32_t top = dimension();
  db.appendToBlock(db.modelSpace(), top);
  EXPECT_EQ(extentsOf(db, top).status, EntStatus::Cyclic);
  std::vector<TransformedObject> out;
  ASSERT_EQ(transformEntity(db, top, Matrix4::translation({1, 0, 0}), {}, out), EntStatus::Ok);
  EXPECT_EQ(out.size(), 2u) << "the dimension and the line of its block";
}

}  // namespace
}  // namespace tarn::entgeom::test
