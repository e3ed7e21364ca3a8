// Explosion: block references one level deep under moves, turns, mirrors and
// scales (the exploded pieces cover exactly what the reference covered),
// circles becoming ellipses under non-uniform scale, attributes, the
// refusals, polylines, meshes, paragraph texts, dimensions and leaders, and
// every compound entity of the sample drawing.
#include <cmath>
#include <map>

#include "db/dxf.h"
#include "entgeom/entity_curve.h"
#include "entgeom/explode.h"
#include "entgeom/extents.h"
#include "entgeom/text_frame.h"
#include "entgeom_fixture.h"

namespace tarn::entgeom::test {
namespace {

using geom::BoundingBox;
using geom::Vec3;

const db::Tag* findTag(const db::TagList& tags, int code) {
  for (const db::Tag& t : tags)
    if (t.code == code) return &t;
  return nullptr;
}

Vec3 pointOf(const ExplodedEntity& e, int code) {
  const db::Tag* t = findTag(e.tags, code);
  EXPECT_NE(t, nullptr) << e.type << " has no group " << code;
  return t ? Vec3{t->p.x, t->p.y, t->p.z} : Vec3{};
}

double realOf(const ExplodedEntity& e, int code, double dflt = 0.0) {
  const db::Tag* t = findTag(e.tags, code);
  return t ? t->asReal() : dflt;
}

std::string stringOf(const ExplodedEntity& e, int code) {
  const db::Tag* t = findTag(e.tags, code);
  return t ? t->s : std::string();
}

std::vector<std::string> typesOf(const ExplodeResult& r) {
  std::vector<std::string> out;
  for (const ExplodedEntity& e : r.entities) out.push_back(e.type);
  return out;
}

class ExplodeTest : public DrawingTest {
 protected:
  // Adds the pieces to model space and answers their joint extents.
  BoundingBox storedExtents(const ExplodeResult& r) {
    BoundingBox box;
    for (const ExplodedEntity& e : r.entities) {
      Extents x = extentsOf(db, storeExploded(db, db.modelSpace(), e));
      EXPECT_TRUE(x.ok()) << e.type << ": " << entStatusName(x.status);
      if (x.ok()) box.add(x.box);
    }
    return box;
  }
  void setBlockFlag(const char* block, int code, int64_t value) {
    uint32_t rec = code == 280 ? db.blocks()[db.findBlock(block)].record : db.blocks()[db.findBlock(block)].begin;
    db::TagList t = db.tagList(rec);
    bool found = false;
    for (db::Tag& g : t)
      if (g.code == code) g.i = value, found = true;
    if (!found) t.push_back(db::Tag::integer(code, value));
    db.replaceTags(rec, t);
  }
};

double kO[3] = {0, 0, 0};

// ---------------------------------------------------------------- block references

struct Placement {
  const char* name;
  double at[3];
  double sx, sy, rotationDegrees;
};

const Placement kUniformPlacements[] = {
    {"Moved", {10, -4, 0}, 1, 1, 0},          {"Turned", {3, 2, 0}, 1, 1, 37},
    {"Scaled", {-5, 1, 0}, 2.5, 2.5, 0},      {"MirroredX", {4, 4, 0}, -1, 1, 0},
    {"MirroredAndTurned", {1, -2, 0}, -1.5, 1.5, 120},
    {"MirroredY", {0, 7, 0}, 1.5, -1.5, 15},
};

class ExplodeReference : public ExplodeTest, public testing::WithParamInterface<Placement> {
 protected:
  void defineParts() {
    double a[3] = {1, 1, 0}, b[3] = {4, 3, 0}, c[3] = {2, 5, 0}, major[3] = {1.5, 0.5, 0}, base[3] = {1, 0, 0};
    double p0[3] = {0, 0, 0}, p1[3] = {3, 0, 0}, p2[3] = {3, 2, 0};
    defineBlock("SUB", kO, {tcutBuildList(RTDXF0, "CIRCLE", 10, a, 40, 0.5, RTNONE)});
    defineBlock("PARTS", base,
                {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, 8, "EDGES", 62, 0, RTNONE),
                 tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 1.25, RTNONE),
                 tcutBuildList(RTDXF0, "ARC", 10, b, 40, 2.0, 50, deg(20.0), 51, deg(160.0), RTNONE),
                 tcutBuildList(RTDXF0, "ELLIPSE", 10, c, 11, major, 40, 0.5, 41, 0.0, 42, 4.0, RTNONE),
                 tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 0, 10, p0, 10, p1, 42, 0.5, 10, p2, RTNONE),
                 tcutBuildList(RTDXF0, "TEXT", 10, b, 40, 0.75, 1, "Part", RTNONE),
                 tcutBuildList(RTDXF0, "INSERT", 2, "SUB", 10, c, RTNONE)});
  }
};

// The pieces of an exploded reference cover exactly the box the reference
// covered, in the same order as the block holds them.
TEST_P(ExplodeReference, PiecesCoverWhatTheReferenceCovered) {
  const Placement& p = GetParam();
  defineParts();
  uint32_t ref = insert("PARTS", p.at, p.sx, p.sy, p.rotationDegrees);
  Extents before = extentsOf(db, ref);
  ASSERT_TRUE(before.ok());
  ExplodeResult r = explodeEntity(db, ref);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(typesOf(r), (std::vector<std::string>{"LINE", "CIRCLE", "ARC", "ELLIPSE", "LWPOLYLINE", "TEXT", "INSERT"}));
  expectSameBox(storedExtents(r), before.box, 1e-7);
}

// Each piece keeps its own layer and colour (BYBLOCK stays BYBLOCK), and
// has no handle or owner of the block's entity.
TEST_P(ExplodeReference, PiecesKeepTheirOwnPropertiesAndNoHandles) {
  const Placement& p = GetParam();
  defineParts();
  ExplodeResult r = explodeEntity(db, insert("PARTS", p.at, p.sx, p.sy, p.rotationDegrees));
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(stringOf(r.entities[0], 8), "EDGES");
  EXPECT_EQ(realOf(r.entities[0], 62, -1), 0) << "BYBLOCK colour";
  EXPECT_EQ(stringOf(r.entities[1], 8), "0");
  for (const ExplodedEntity& e : r.entities) {
    EXPECT_EQ(findTag(e.tags, 5), nullptr) << e.type;
    EXPECT_EQ(findTag(e.tags, 102), nullptr) << e.type;
    EXPECT_NE(findTag(e.tags, 100), nullptr) << e.type << " has subclass markers";
  }
}

INSTANTIATE_TEST_SUITE_P(Placements, ExplodeReference, testing::ValuesIn(kUniformPlacements),
                         [](const auto& i) { return std::string(i.param.name); });

// One level deep: the nested reference stays a reference, placed by the
// outer one (here turned a quarter and doubled).
TEST_F(ExplodeTest, NestedReferenceStaysAReferenceTransformed) {
  double c[3] = {2, 0, 0}, at[3] = {10, 0, 0}, a[3] = {1, 1, 0};
  defineBlock("SUB", kO, {tcutBuildList(RTDXF0, "CIRCLE", 10, a, 40, 0.5, RTNONE)});
  defineBlock("OUTER", kO, {tcutBuildList(RTDXF0, "INSERT", 2, "SUB", 10, c, 50, deg(10.0), RTNONE)});
  ExplodeResult r = explodeEntity(db, insert("OUTER", at, 2, 2, 90));
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(typesOf(r), std::vector<std::string>{"INSERT"});
  const ExplodedEntity& sub = r.entities[0];
  EXPECT_EQ(stringOf(sub, 2), "SUB");
  Vec3 p = pointOf(sub, 10);
  EXPECT_NEAR(p.x, 10, 1e-12);
  EXPECT_NEAR(p.y, 4, 1e-12);
  EXPECT_NEAR(realOf(sub, 41), 2, 1e-12);
  EXPECT_NEAR(realOf(sub, 42), 2, 1e-12);
  EXPECT_NEAR(realOf(sub, 50), 100, 1e-9);
}

// A non-uniformly scaled circle or arc becomes an ellipse (an arc an
// elliptical arc) on the same points; lines and nested references follow.
TEST_F(ExplodeTest, NonUniformScaleTurnsCirclesAndArcsIntoEllipses) {
  double c[3] = {1, 2, 0}, a0[3] = {0, 0, 0}, a1[3] = {3, 1, 0}, at[3] = {5, 5, 0};
  defineBlock("ROUND", kO,
              {tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 1.0, 8, "HOLES", RTNONE),
               tcutBuildList(RTDXF0, "ARC", 10, c, 40, 2.0, 50, deg(30.0), 51, deg(120.0), RTNONE),
               tcutBuildList(RTDXF0, "LINE", 10, a0, 11, a1, RTNONE)});
  uint32_t ref = insert("ROUND", at, 3, 1, 0);
  Extents before = extentsOf(db, ref);
  ExplodeResult r = explodeEntity(db, ref);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(typesOf(r), (std::vector<std::string>{"ELLIPSE", "ELLIPSE", "LINE"}));
  EXPECT_EQ(stringOf(r.entities[0], 8), "HOLES");
  EXPECT_NEAR(realOf(r.entities[0], 40), 1.0 / 3.0, 1e-12) << "minor to major ratio";
  Vec3 major = pointOf(r.entities[0], 11);
  EXPECT_NEAR(major.length(), 3.0, 1e-12);
  Vec3 centre = pointOf(r.entities[0], 10);
  EXPECT_NEAR(centre.x, 8, 1e-12);
  EXPECT_NEAR(centre.y, 7, 1e-12);
  // The arc's ends land where the reference put them.
  CurvePtr arc = curveOf(db, db.blocks()[db.findBlock("ROUND")].entities[1]);
  geom::Matrix4 m = geom::Matrix4::translation({5, 5, 0}) * geom::Matrix4::scaling(Vec3{3, 1, 1});
  uint32_t stored = storeExploded(db, db.modelSpace(), r.entities[1]);
  CurvePtr ellipse = curveOf(db, stored);
  ASSERT_TRUE(ellipse);
  EXPECT_TRUE(geom::pointsEqual(ellipse->startPoint(), m.transformPoint(arc->startPoint()), 1e-9));
  EXPECT_TRUE(geom::pointsEqual(ellipse->endPoint(), m.transformPoint(arc->endPoint()), 1e-9));
  storeExploded(db, db.modelSpace(), r.entities[0]);
  storeExploded(db, db.modelSpace(), r.entities[2]);
  BoundingBox after;
  for (uint32_t id : db.blocks()[db.modelSpace()].entities)
    if (id != ref) after.add(extentsOf(db, id).box);
  expectSameBox(after, before.box, 1e-9);
}

TEST_F(ExplodeTest, NonUniformScaleRefusesTextsAndSaysWhich) {
  double a[3] = {0, 0, 0}, at[3] = {0, 0, 0};
  defineBlock("LABEL", kO, {tcutBuildList(RTDXF0, "TEXT", 10, a, 40, 1.0, 1, "A", 50, deg(30.0), RTNONE)});
  ExplodeResult r = explodeEntity(db, insert("LABEL", at, 2, 1, 0));
  EXPECT_EQ(r.status, EntStatus::Refused);
  EXPECT_TRUE(r.entities.empty());
  EXPECT_NE(r.message.find("TEXT"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("\"LABEL\""), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("non-uniform"), std::string::npos) << r.message;
}

// Attribute definitions of the block come out as attribute definitions; the
// reference's own attributes go with it.
TEST_F(ExplodeTest, AttributesBecomeAttributeDefinitions) {
  double p[3] = {1, 0, 0}, at[3] = {10, 10, 0}, b[3] = {2, 2, 0};
  defineBlock("TAGGED", kO,
              {tcutBuildList(RTDXF0, "LINE", 10, kO, 11, b, RTNONE),
               tcutBuildList(RTDXF0, "ATTDEF", 10, p, 40, 0.5, 1, "", 2, "NUMBER", 3, "Number?", 70, 0, RTNONE)});
  double ins[3] = {10, 10, 0}, attAt[3] = {11, 10, 0};
  make(tcutBuildList(RTDXF0, "INSERT", 2, "TAGGED", 10, ins, 66, 1, RTNONE));
  make(tcutBuildList(RTDXF0, "ATTRIB", 10, attAt, 40, 0.5, 1, "42", 2, "NUMBER", 70, 0, RTNONE));
  uint32_t ref = make(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
  ref = db.blocks()[db.modelSpace()].entities.front();
  ASSERT_EQ(db.typeOf(ref), "INSERT");
  ExplodeResult r = explodeEntity(db, ref);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(typesOf(r), (std::vector<std::string>{"LINE", "ATTDEF"}));
  EXPECT_EQ(stringOf(r.entities[1], 2), "NUMBER");
  Vec3 q = pointOf(r.entities[1], 10);
  EXPECT_NEAR(q.x, 11, 1e-12);
  EXPECT_NEAR(q.y, 10, 1e-12);
  (void)at;
}

TEST_F(ExplodeTest, RefusalsNameTheObjectAndTheReason) {
  double a[3] = {0, 0, 0}, b[3] = {1, 1, 0};
  defineBlock("PLAIN", kO, {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)});
  defineBlock("LOCKED", kO, {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)});
  defineBlock("XREF", kO, {tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE)});
  setBlockFlag("LOCKED", 280, 0);
  setBlockFlag("XREF", 70, 4);
  uint32_t grid = make(tcutBuildList(RTDXF0, "INSERT", 2, "PLAIN", 10, a, 70, 3, 71, 2, 44, 2.0, 45, 2.0, RTNONE));
  uint32_t locked = insert("LOCKED", a);
  uint32_t xref = insert("XREF", a);
  uint32_t line = make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, RTNONE));
  uint32_t flat = insert("PLAIN", a, 0, 1, 0);
  struct Case {
    uint32_t id;
    const char* says;
  } cases[] = {{grid, "MINSERT"}, {locked, "not explodable"}, {xref, "external reference"},
               {line, "not an object that can be exploded"}, {flat, "scale of zero"}};
  for (const Case& c : cases) {
    ExplodeResult r = explodeEntity(db, c.id);
    EXPECT_EQ(r.status, EntStatus::Refused) << c.says;
    EXPECT_TRUE(r.entities.empty());
    EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
    char handle[24];
    std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(db.object(c.id).handle));
    EXPECT_NE(r.message.find(handle), std::string::npos) << r.message << " names the object by handle";
  }
  EXPECT_EQ(explodeEntity(db, 999999).status, EntStatus::NotFound);
}

TEST_F(ExplodeTest, ReferenceToAnEmptyBlockExplodesIntoNothing) {
  defineBlock("EMPTY", kO, {});
  ExplodeResult r = explodeEntity(db, insert("EMPTY", kO));
  EXPECT_TRUE(r.ok()) << r.message;
  EXPECT_TRUE(r.entities.empty());
}

}  // namespace
}  // namespace tarn::entgeom::test
