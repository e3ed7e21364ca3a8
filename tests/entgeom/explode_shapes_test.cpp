// Explosion of polylines, meshes, paragraph texts, dimensions and leaders,
// and of every compound entity of the sample drawing.
#include <cmath>

#include "db/dxf.h"
#include "entgeom/entity_curve.h"
#include "entgeom/explode.h"
#include "entgeom/extents.h"
#include "entgeom/text_frame.h"
#include "entgeom_fixture.h"
#include "geom/coord_system.h"

namespace tarn::entgeom::test {
namespace {

using geom::Vec3;

double* kO() {
  static double origin[3] = {0, 0, 0};
  return origin;
}

const db::Tag* findTag(const db::TagList& tags, int code) {
  for (const db::Tag& t : tags)
    if (t.code == code) return &t;
  return nullptr;
}

double realOf(const ExplodedEntity& e, int code, double dflt = 0.0) {
  const db::Tag* t = findTag(e.tags, code);
  return t ? t->asReal() : dflt;
}

std::string stringOf(const ExplodedEntity& e, int code) {
  const db::Tag* t = findTag(e.tags, code);
  return t ? t->s : std::string();
}

Vec3 pointOf(const ExplodedEntity& e, int code) {
  const db::Tag* t = findTag(e.tags, code);
  EXPECT_NE(t, nullptr) << e.type << " has no group " << code;
  return t ? Vec3{t->p.x, t->p.y, t->p.z} : Vec3{};
}

class ExplodeShapes : public DrawingTest {
 protected:
  uint32_t storeEntity(const ExplodedEntity& e) { return storeExploded(db, db.modelSpace(), e); }
  // The curves of the pieces, stored in the drawing.
  std::vector<CurvePtr> pieceCurves(const ExplodeResult& r) {
    std::vector<CurvePtr> out;
    for (const ExplodedEntity& e : r.entities) {
      CurvePtr c = curveOf(db, storeEntity(e));
      EXPECT_TRUE(c) << e.type;
      if (c) out.push_back(std::move(c));
    }
    return out;
  }
};

// ---------------------------------------------------------------- polylines

struct PolylineCase {
  const char* name;
  double bulge;
  double normalZ;  // +1 or -1: the plane seen from below
  double elevation;
};

class ExplodeLwPolyline : public ExplodeShapes, public testing::WithParamInterface<PolylineCase> {};

// Each piece runs from one vertex to the next: the pieces' ends are the
// polyline's vertices, their lengths add up to its length, and the arc of a
// bulged segment passes through the polyline's own midpoint of that segment.
TEST_P(ExplodeLwPolyline, PiecesFollowThePolylineExactly) {
  const PolylineCase& c = GetParam();
  double p0[3] = {0, 0, 0}, p1[3] = {4, 0, 0}, p2[3] = {4, 3, 0}, p3[3] = {0, 3, 0}, n[3] = {0, 0, c.normalZ};
  uint32_t id = make(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 4, 70, 1, 38, c.elevation, 43, 0.2, 10, p0, 10, p1,
                                   42, c.bulge, 10, p2, 10, p3, 39, 0.5, 210, n, 8, "OUTLINE", RTNONE));
  CurvePtr poly = curveOf(db, id);
  ASSERT_TRUE(poly);
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 4u);
  EXPECT_EQ(r.entities[1].type, "ARC");
  for (const ExplodedEntity& e : r.entities) {
    EXPECT_EQ(stringOf(e, 8), "OUTLINE");
    EXPECT_DOUBLE_EQ(realOf(e, 39), 0.5) << "thickness kept";
  }
  std::vector<CurvePtr> pieces = pieceCurves(r);
  ASSERT_EQ(pieces.size(), 4u);
  double total = 0.0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    total += pieces[i]->length();
    Vec3 from = poly->pointAt(double(i)), to = poly->pointAt(double(i + 1));
    bool forward = geom::pointsEqual(pieces[i]->startPoint(), from, 1e-9) &&
                   geom::pointsEqual(pieces[i]->endPoint(), to, 1e-9);
    bool backward = geom::pointsEqual(pieces[i]->startPoint(), to, 1e-9) &&
                    geom::pointsEqual(pieces[i]->endPoint(), from, 1e-9);
    EXPECT_TRUE(forward || backward) << "piece " << i;
  }
  EXPECT_NEAR(total, poly->length(), 1e-9);
  EXPECT_NEAR(pieces[1]->distanceTo(poly->pointAt(1.5)), 0.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Bulges, ExplodeLwPolyline,
                         testing::Values(PolylineCase{"Outward", 0.5, 1, 0}, PolylineCase{"Inward", -0.7, 1, 2},
                                         PolylineCase{"HalfCircle", 1.0, 1, 0},
                                         PolylineCase{"FromBelow", 0.5, -1, 3},
                                         PolylineCase{"FromBelowInward", -2.0, -1, -1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(ExplodeShapes, SemicircleBulgeGivesTheExactArc) {
  double p0[3] = {0, 0, 0}, p1[3] = {2, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 2, 70, 0, 10, p0, 42, 1.0, 10, p1, RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.entities.size(), 1u);
  const ExplodedEntity& arc = r.entities[0];
  EXPECT_EQ(arc.type, "ARC");
  Vec3 c = pointOf(arc, 10);
  EXPECT_NEAR(c.x, 1, 1e-15);
  EXPECT_NEAR(c.y, 0, 1e-15);
  EXPECT_DOUBLE_EQ(realOf(arc, 40), 1.0);
  // Counter-clockwise from (0,0) to (2,0) runs below the chord: 180 to 360.
  EXPECT_NEAR(realOf(arc, 50), 180.0, 1e-12);
  EXPECT_NEAR(std::fmod(realOf(arc, 51), 360.0), 0.0, 1e-9);
}

TEST_F(ExplodeShapes, ZeroLengthSegmentsLeaveNoPieces) {
  double p0[3] = {0, 0, 0}, p1[3] = {2, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 0, 10, p0, 10, p1, 10, p1, RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.entities.size(), 1u);
}

TEST_F(ExplodeShapes, OldStylePolylinesGiveLinesAndArcs) {
  double a[3] = {0, 0, 0}, b[3] = {3, 0, 0}, c[3] = {3, 4, 12};
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 0, 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, b, 42, -1.0, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, c, RTNONE));
  make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  uint32_t flat = db.blocks()[db.modelSpace()].entities.front();
  ExplodeResult r = explodeEntity(db, flat);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 2u);
  EXPECT_EQ(r.entities[0].type, "LINE");
  EXPECT_EQ(r.entities[1].type, "ARC");
  EXPECT_NEAR(realOf(r.entities[1], 40), 2.0, 1e-12);

  size_t before = db.blocks()[db.modelSpace()].entities.size();
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 9, 10, a, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, a, 70, 32, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, b, 70, 32, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, c, 70, 32, RTNONE));
  make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  uint32_t spatial = db.blocks()[db.modelSpace()].entities[before];
  r = explodeEntity(db, spatial);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 3u) << "closed: three lines";
  Vec3 end = pointOf(r.entities[1], 11);
  EXPECT_DOUBLE_EQ(end.z, 12.0);
  EXPECT_TRUE(geom::pointsEqual(pointOf(r.entities[2], 11), {0, 0, 0}));
}

// ---------------------------------------------------------------- meshes

TEST_F(ExplodeShapes, PolyfaceMeshGivesFacesWithHiddenEdges) {
  double pts[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 1}};
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 64, 71, 4, 72, 2, 10, kO(), RTNONE));
  for (auto& p : pts) make(tcutBuildList(RTDXF0, "VERTEX", 10, p, 70, 192, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, kO(), 70, 128, 71, 1, 72, 2, 73, -3, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, kO(), 70, 128, 71, 1, 72, 3, 73, 4, 74, 0, RTNONE));
  make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  uint32_t mesh = db.blocks()[db.modelSpace()].entities.front();
  ExplodeResult r = explodeEntity(db, mesh);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 2u);
  const ExplodedEntity& tri = r.entities[0];
  EXPECT_EQ(tri.type, "3DFACE");
  EXPECT_TRUE(geom::pointsEqual(pointOf(tri, 12), {1, 1, 1}));
  EXPECT_TRUE(geom::pointsEqual(pointOf(tri, 13), {1, 1, 1})) << "a triangle repeats its third corner";
  EXPECT_EQ(realOf(tri, 70), 8) << "the edge from the third corner back to the first is hidden";
  EXPECT_TRUE(geom::pointsEqual(pointOf(r.entities[1], 13), {0, 1, 1}));
}

TEST_F(ExplodeShapes, PolygonMeshGivesOneFacePerCell) {
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 16, 71, 3, 72, 2, 10, kO(), RTNONE));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) {
      double p[3] = {double(i), double(j), double(i * j)};
      make(tcutBuildList(RTDXF0, "VERTEX", 10, p, 70, 64, RTNONE));
    }
  make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  ExplodeResult r = explodeEntity(db, db.blocks()[db.modelSpace()].entities.front());
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 2u);
  EXPECT_TRUE(geom::pointsEqual(pointOf(r.entities[1], 10), {1, 0, 0}));
  EXPECT_TRUE(geom::pointsEqual(pointOf(r.entities[1], 12), {2, 1, 2}));
}

TEST_F(ExplodeShapes, PolyfaceFaceNamingAMissingVertexIsRefused) {
  double p[3] = {1, 0, 0};
  make(tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 64, 71, 1, 72, 1, 10, kO(), RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, p, 70, 192, RTNONE));
  make(tcutBuildList(RTDXF0, "VERTEX", 10, kO(), 70, 128, 71, 1, 72, 7, 73, 1, RTNONE));
  make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  ExplodeResult r = explodeEntity(db, db.blocks()[db.modelSpace()].entities.front());
  EXPECT_EQ(r.status, EntStatus::InvalidData);
  EXPECT_NE(r.message.find("vertex 7"), std::string::npos) << r.message;
}

// ---------------------------------------------------------------- paragraph text

TEST_F(ExplodeShapes, ParagraphTextGivesOneTextPerLine) {
  double at[3] = {5, 10, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "MTEXT", 10, at, 40, 2.0, 71, 1, 1, "First line\\PSecond  one", 8,
                                   "NOTES", RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 2u);
  EXPECT_EQ(stringOf(r.entities[0], 1), "First line");
  EXPECT_EQ(stringOf(r.entities[1], 1), "Second  one") << "blanks come back from the glyph spacing";
  for (const ExplodedEntity& e : r.entities) {
    EXPECT_EQ(e.type, "TEXT");
    EXPECT_EQ(stringOf(e, 8), "NOTES");
    EXPECT_DOUBLE_EQ(realOf(e, 40), 2.0);
  }
  Vec3 a = pointOf(r.entities[0], 10), b = pointOf(r.entities[1], 10);
  EXPECT_NEAR(a.y - b.y, 2.0 * 5.0 / 3.0, 1e-9) << "baselines one line pitch apart";
  EXPECT_LT(a.y, 10.0);
  // Each text covers its line: the texts' joint box lies within the
  // paragraph's frame and reaches its left edge.
  TextFrame frame;
  ASSERT_EQ(textFrameOf(db, id, frame), EntStatus::Ok);
  geom::BoundingBox texts;
  for (const ExplodedEntity& e : r.entities) texts.add(extentsOf(db, storeEntity(e)).box);
  EXPECT_NEAR(texts.min.x, 5.0, 0.3);
  EXPECT_LE(texts.max.x, frame.corners[1].x + 1e-9);
  EXPECT_GE(texts.min.y, frame.corners[0].y - 1.0) << "descenders may reach below the frame";
}

TEST_F(ExplodeShapes, TurnedParagraphTextGivesTurnedTexts) {
  double at[3] = {0, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "MTEXT", 10, at, 40, 1.0, 50, deg(90.0), 1, "A\\PB", RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 2u);
  EXPECT_NEAR(realOf(r.entities[0], 50), 90.0, 1e-9);
  Vec3 a = pointOf(r.entities[0], 10), b = pointOf(r.entities[1], 10);
  EXPECT_NEAR(b.x - a.x, 5.0 / 3.0, 1e-9) << "the second line lies to the right when turned a quarter";
  EXPECT_NEAR(a.y, b.y, 1e-9);
}

TEST_F(ExplodeShapes, FormatChangesAndFractionsGiveSeparateTextsAndBars) {
  double at[3] = {0, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "MTEXT", 10, at, 40, 1.0, 1, "50%% off {\\H2x;big} \\S1/2;", RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  std::vector<std::string> texts;
  int lines = 0;
  for (const ExplodedEntity& e : r.entities) {
    if (e.type == "TEXT") texts.push_back(stringOf(e, 1));
    if (e.type == "LINE") ++lines;
  }
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], "50%%%%%% off") << "the two shown percent signs, each written %%% so that no control code starts";
  EXPECT_EQ(texts[1], "big");
  EXPECT_DOUBLE_EQ(realOf(r.entities[1], 40), 2.0);
  EXPECT_EQ(lines, 1) << "the fraction bar";
}

// ---------------------------------------------------------------- dimensions and leaders

TEST_F(ExplodeShapes, DimensionGivesTheEntitiesOfItsBlock) {
  double a[3] = {0, 0, 0}, b[3] = {4, 0, 0}, t[3] = {2, 0.5, 0};
  defineBlock("*D", kO(),
              {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, 62, 0, RTNONE),
               tcutBuildList(RTDXF0, "MTEXT", 10, t, 40, 0.25, 1, "4", RTNONE),
               tcutBuildList(RTDXF0, "POINT", 10, a, 8, "DEFPOINTS", RTNONE)});
  std::string name = db.blocks().back().name;
  db::TagList tags = {db::Tag::str(100, "AcDbEntity"),    db::Tag::str(8, "DIMS"),
                      db::Tag::str(100, "AcDbDimension"), db::Tag::str(2, name),
                      db::Tag::point(10, {4, 1, 0}),      db::Tag::integer(70, 0)};
  uint32_t dim = db.addObject("DIMENSION", tags, db::kEntity);
  db.appendToBlock(db.modelSpace(), dim);
  ExplodeResult r = explodeEntity(db, dim);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 3u);
  EXPECT_EQ(r.entities[0].type, "LINE");
  EXPECT_EQ(realOf(r.entities[0], 62, -1), 0) << "BYBLOCK stays BYBLOCK";
  EXPECT_EQ(r.entities[1].type, "MTEXT");
  EXPECT_EQ(stringOf(r.entities[2], 8), "DEFPOINTS");
  db::TagList noBlock = {db::Tag::str(100, "AcDbEntity"), db::Tag::str(8, "0"), db::Tag::str(100, "AcDbDimension"),
                         db::Tag::str(2, "*D999"), db::Tag::integer(70, 0)};
  uint32_t orphan = db.addObject("DIMENSION", noBlock, db::kEntity);
  db.appendToBlock(db.modelSpace(), orphan);
  EXPECT_EQ(explodeEntity(db, orphan).status, EntStatus::Refused);
}

TEST_F(ExplodeShapes, LeaderGivesLinesAndAnArrowheadAtItsTip) {
  double p0[3] = {0, 0, 0}, p1[3] = {30, 40, 0}, p2[3] = {60, 40, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "LEADER", 3, "Standard", 71, 1, 72, 0, 76, 3, 10, p0, 10, p1, 10, p2,
                                   8, "NOTES", RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 3u);
  const ExplodedEntity& arrow = r.entities[0];
  EXPECT_EQ(arrow.type, "SOLID");
  EXPECT_EQ(stringOf(arrow, 8), "NOTES");
  Vec3 tip = pointOf(arrow, 10), left = pointOf(arrow, 11), right = pointOf(arrow, 12);
  EXPECT_TRUE(geom::pointsEqual(tip, {0, 0, 0}));
  Vec3 base = (left + right) * 0.5;
  // The arrow is DIMASZ (group 41 of the leader's style) long, a third as wide.
  double size = 0.18;
  for (const db::Tag& t : db.tagList(db.findRecord("DIMSTYLE", "Standard")))
    if (t.code == 41) size = t.asReal();
  EXPECT_NEAR(base.length(), size, 1e-12) << "the style's arrow size";
  EXPECT_NEAR(base.cross(Vec3{3, 4, 0}).length(), 0.0, 1e-12) << "pointing along the first segment";
  EXPECT_NEAR(geom::distance(left, right), size / 3.0, 1e-12);
  EXPECT_EQ(r.entities[1].type, "LINE");
  EXPECT_TRUE(geom::pointsEqual(pointOf(r.entities[2], 11), {60, 40, 0}));
}

TEST_F(ExplodeShapes, SplineLeaderGivesASplineThroughItsVertices) {
  double p0[3] = {0, 0, 0}, p1[3] = {3, 4, 0}, p2[3] = {6, 4, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "LEADER", 71, 0, 72, 1, 76, 3, 10, p0, 10, p1, 10, p2, RTNONE));
  ExplodeResult r = explodeEntity(db, id);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 1u) << "no arrowhead asked for";
  ASSERT_EQ(r.entities[0].type, "SPLINE");
  CurvePtr c = curveOf(db, storeEntity(r.entities[0]));
  ASSERT_TRUE(c);
  EXPECT_NEAR(c->distanceTo({3, 4, 0}), 0.0, 1e-9);
  EXPECT_TRUE(geom::pointsEqual(c->endPoint(), {6, 4, 0}, 1e-9));
}

// ---------------------------------------------------------------- the sample drawing

// Every compound entity of the sample explodes or is refused with a reason;
// the pieces go into the drawing, which then writes and reads back.
class ExplodeSample : public testing::TestWithParam<const char*> {};

TEST_P(ExplodeSample, EveryCompoundEntityExplodesOrSaysWhyNot) {
  db::Database drawing;
  ASSERT_TRUE(db::readDxfFile(std::string(TARN_SOURCE_DIR) + "/" + GetParam(), drawing).ok());
  const uint32_t model = drawing.modelSpace();
  int exploded = 0;
  for (uint32_t id : std::vector<uint32_t>(drawing.blocks()[model].entities)) {
    if (drawing.object(id).flags & db::kSubEntity) continue;
    ExplodeResult r = explodeEntity(drawing, id);
    if (!r.ok()) {
      EXPECT_FALSE(r.message.empty()) << drawing.typeOf(id);
      continue;
    }
    ++exploded;
    for (const ExplodedEntity& e : r.entities) {
      db::TagList t = {db::Tag::handle(5, drawing.allocateHandle()),
                       db::Tag::handle(330, drawing.object(drawing.blocks()[model].record).handle)};
      t.insert(t.end(), e.tags.begin(), e.tags.end());
      uint32_t added = drawing.addObject(e.type, t, db::kEntity);
      drawing.appendToBlock(model, added);
      for (const ExplodedEntity& s : e.subEntities) {
        db::TagList st = {db::Tag::handle(5, drawing.allocateHandle()), db::Tag::handle(330, drawing.object(added).handle)};
        st.insert(st.end(), s.tags.begin(), s.tags.end());
        drawing.appendToBlock(model, drawing.addObject(s.type, st, db::kEntity | db::kSubEntity));
      }
    }
  }
  EXPECT_GT(exploded, 0);
  db::Database again;
  db::DxfResult r = db::readDxfBuffer(db::writeDxfString(drawing), again);
  EXPECT_TRUE(r.ok()) << r.message;
}

// The second drawing is written by the independent DXF library: references
// mirrored, non-uniformly scaled (one refused for its text, one giving an
// ellipse), a paragraph text, polylines, meshes, a leader and a dimension.
INSTANTIATE_TEST_SUITE_P(Drawings, ExplodeSample,
                         testing::Values("tests/data/dxf/ezdxf-all-2018.dxf", "fuzz/corpus/entgeom/explode_mix.dxf"),
                         [](const auto& i) { return std::string(i.index == 0 ? "AllTypes" : "ExplodeMix"); });

}  // namespace
}  // namespace tarn::entgeom::test
