// The SDK calls: text boxes through tcedTextBox (on the pinned DejaVu Sans)
// and the placement of text boxes in extents; point transformation round
// trips through tcedTrans.
#include <cmath>

#include <tarnsdk/tcedgeom.h>

#include "api/sysvars.h"
#include "entgeom/extents.h"
#include "entgeom_fixture.h"
#include "geom/coord_system.h"

namespace tarn::entgeom::test {
namespace {

using geom::Vec3;

struct Box {
  tc_point ll{}, ur{};
  double width() const { return ur[0] - ll[0]; }
};

int textBox(resbuf* list, Box& b) {
  int rc = tcedTextBox(list, b.ll, b.ur);
  tcutRelRb(list);
  return rc;
}

using TextBoxes = DrawingTest;

TEST_F(TextBoxes, CapitalsStandOnTheBaselineAtTheTextHeight) {
  Box b;
  ASSERT_EQ(textBox(tcutBuildList(1, "HHH", 40, 2.5, RTNONE), b), RTNORM);
  EXPECT_NEAR(b.ll[1], 0.0, 1e-9);
  EXPECT_NEAR(b.ur[1], 2.5, 1e-6) << "cap height is the text height (" << kTestFont << ")";
  EXPECT_GT(b.width(), 2.5);
}

TEST_F(TextBoxes, WidthFactorStretchesTheBoxAndBackwardsMirrorsIt) {
  Box plain, wide, backwards;
  ASSERT_EQ(textBox(tcutBuildList(1, "Wide", 40, 1.0, RTNONE), plain), RTNORM);
  ASSERT_EQ(textBox(tcutBuildList(1, "Wide", 40, 1.0, 41, 2.0, RTNONE), wide), RTNORM);
  ASSERT_EQ(textBox(tcutBuildList(1, "Wide", 40, 1.0, 71, 2, RTNONE), backwards), RTNORM);
  EXPECT_NEAR(wide.width(), 2 * plain.width(), 1e-9);
  EXPECT_NEAR(backwards.ur[0], -plain.ll[0], 1e-9);
  EXPECT_NEAR(backwards.ll[0], -plain.ur[0], 1e-9);
}

// Entity lists give the oblique angle in radians like every angle: 30 degrees
// leans the top of the I by tan 30 (less the right bearing the upright box keeps).
TEST_F(TextBoxes, ObliqueAngleComesInRadians) {
  Box upright, leaning;
  ASSERT_EQ(textBox(tcutBuildList(1, "I", 40, 1.0, RTNONE), upright), RTNORM);
  ASSERT_EQ(textBox(tcutBuildList(1, "I", 40, 1.0, 51, deg(30.0), RTNONE), leaning), RTNORM);
  EXPECT_GT(leaning.ur[0] - upright.ur[0], 0.3);
  EXPECT_LT(leaning.ur[0] - upright.ur[0], std::tan(geom::kPi / 6) + 1e-9);
}

TEST_F(TextBoxes, RefusesNullListsAndUnmeasurableTexts) {
  tc_point a, b;
  EXPECT_EQ(tcedTextBox(nullptr, a, b), RTERROR);
  Box bad;
  EXPECT_EQ(textBox(tcutBuildList(1, "x", 40, -1.0, RTNONE), bad), RTERROR);
}

TEST_F(TextBoxes, RightAlignedTextEndsAtItsAlignmentPoint) {
  double p[3] = {0, 0, 0}, align[3] = {20, 5, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "TEXT", 10, p, 11, align, 40, 2.0, 1, "HTE", 72, 2, RTNONE));
  Extents e = extentsOf(db, id);
  ASSERT_EQ(e.status, EntStatus::Ok);
  EXPECT_NEAR(e.box.max.x, 20.0, 1e-9);
  EXPECT_NEAR(e.box.min.y, 5.0, 1e-9) << "capitals sit on the baseline";
  tc_name name;
  host::makeName(db, id, name);
  Box b;
  ASSERT_EQ(textBox(tcdbEntGet(name), b), RTNORM);
  EXPECT_NEAR(b.width(), e.box.max.x - e.box.min.x, 1e-9);
}

TEST_F(TextBoxes, TurningATextTurnsItsExtents) {
  double p[3] = {4, 1, 0};
  Extents flat = extentsOf(db, make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 1.0, 1, "Rotate", RTNONE)));
  Extents up = extentsOf(db, make(tcutBuildList(RTDXF0, "TEXT", 10, p, 40, 1.0, 1, "Rotate", 50, deg(90.0), RTNONE)));
  ASSERT_TRUE(flat.ok() && up.ok());
  // (x, y) -> (4 - (y - 1), 1 + (x - 4))
  expectBox(up.box, {4 - (flat.box.max.y - 1), 1 + (flat.box.min.x - 4), 0},
            {4 - (flat.box.min.y - 1), 1 + (flat.box.max.x - 4), 0}, 1e-9);
}

// The box itself is relative to group 10 whatever the justification; the
// justification decides where group 10 lies for a given alignment point.
TEST_F(TextBoxes, AttributeVerticalAlignmentComesFromGroup74) {
  double p[3] = {0, 0, 0}, align[3] = {0, 10, 0};
  uint32_t base = make(tcutBuildList(RTDXF0, "ATTDEF", 10, p, 11, align, 40, 1.0, 1, "", 2, "HI", 3, "?", 70, 0,
                                     72, 1, 73, 3, RTNONE));
  uint32_t top = make(tcutBuildList(RTDXF0, "ATTDEF", 10, p, 11, align, 40, 1.0, 1, "", 2, "HI", 3, "?", 70, 0,
                                    72, 1, 74, 3, RTNONE));
  Extents b = extentsOf(db, base), t = extentsOf(db, top);
  ASSERT_TRUE(b.ok() && t.ok());
  EXPECT_NEAR(b.box.min.y, 10.0, 1e-9) << "73 is the field length of an attribute: still on the baseline";
  EXPECT_NEAR(t.box.max.y, 10.0, 0.05) << "top-aligned: the text hangs below the alignment point";
}

// ---- tcedTrans

struct UcsCase {
  const char* name;
  Vec3 origin, x, y;
};

const UcsCase kUcs[] = {
    {"World", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
    {"Moved", {10, -4, 2}, {1, 0, 0}, {0, 1, 0}},
    {"Turned", {3, 3, 0}, {0.6, 0.8, 0}, {-0.8, 0.6, 0}},
    {"Standing", {0, 5, 1}, {1, 0, 0}, {0, 0, 1}},
};

class Trans : public DrawingTest, public testing::WithParamInterface<UcsCase> {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    const UcsCase& u = GetParam();
    host::setSysVarInternal("UCSORG", host::pointValue({u.origin.x, u.origin.y, u.origin.z}));
    host::setSysVarInternal("UCSXDIR", host::pointValue({u.x.x, u.x.y, u.x.z}));
    host::setSysVarInternal("UCSYDIR", host::pointValue({u.y.x, u.y.y, u.y.z}));
  }
  static Vec3 trans(const Vec3& p, resbuf* from, resbuf* to, int disp) {
    tc_point in = {p.x, p.y, p.z}, out = {};
    EXPECT_EQ(tcedTrans(in, from, to, disp, out), RTNORM);
    tcutRelRb(from);
    tcutRelRb(to);
    return {out[0], out[1], out[2]};
  }
  static resbuf* code(int c) { return tcutBuildList(RTSHORT, c, RTNONE); }
};

TEST_P(Trans, UserAndWorldRoundTrip) {
  Vec3 p{1.5, -2.25, 7};
  Vec3 u = trans(p, code(0), code(1), 0);
  EXPECT_TRUE(geom::pointsEqual(trans(u, code(1), code(0), 0), p, 1e-12));
  EXPECT_TRUE(geom::pointsEqual(trans(GetParam().origin, code(0), code(1), 0), {0, 0, 0}, 1e-12))
      << "the UCS origin is the user origin";
}

TEST_P(Trans, DisplacementsIgnoreTheOrigin) {
  Vec3 d = trans(GetParam().x * 3.0, code(0), code(1), 1);
  EXPECT_TRUE(geom::pointsEqual(d, {3, 0, 0}, 1e-12));
}

TEST_P(Trans, DisplayRoundTripAndTheViewAxis) {
  host::setSysVarInternal("VIEWDIR", host::pointValue({1, 1, 1}));
  Vec3 p{4, -1, 2};
  EXPECT_TRUE(geom::pointsEqual(trans(trans(p, code(0), code(2), 0), code(2), code(0), 0), p, 1e-12));
  // A displacement along the view direction only changes display Z.
  Vec3 along = trans(Vec3{1, 1, 1}, code(1), code(2), 1);
  EXPECT_NEAR(along.x, 0.0, 1e-12);
  EXPECT_NEAR(along.y, 0.0, 1e-12);
  EXPECT_NEAR(along.z, std::sqrt(3.0), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Systems, Trans, testing::ValuesIn(kUcs),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

using TransObject = DrawingTest;

TEST_F(TransObject, EntityNameAndNormalNameTheSameObjectSystem) {
  double c[3] = {1, 2, 3}, n[3] = {0.0, 0.6, 0.8};
  uint32_t id = make(tcutBuildList(RTDXF0, "CIRCLE", 10, c, 40, 1.0, 210, n, RTNONE));
  resbuf* byName = tcutNewRb(RTENAME);
  host::makeName(db, id, byName->resval.rlname);
  resbuf* byNormal = tcutBuildList(RT3DPOINT, n, RTNONE);
  resbuf* world = tcutBuildList(RTSHORT, 0, RTNONE);
  tc_point p = {1, 2, 3}, a, b;
  ASSERT_EQ(tcedTrans(p, byName, world, 0, a), RTNORM);
  ASSERT_EQ(tcedTrans(p, byNormal, world, 0, b), RTNORM);
  Vec3 expected = geom::ocsToWorld({0, 0.6, 0.8}).transformPoint({1, 2, 3});
  EXPECT_TRUE(geom::pointsEqual({a[0], a[1], a[2]}, expected, 1e-12));
  EXPECT_TRUE(geom::pointsEqual({b[0], b[1], b[2]}, expected, 1e-12));
  tcutRelRb(byName);
  tcutRelRb(byNormal);
  tcutRelRb(world);
}

TEST_F(TransObject, LinesAreInWorldCoordinates) {
  double a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, n[3] = {1, 0, 0};
  uint32_t id = make(tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, 210, n, RTNONE));
  resbuf* byName = tcutNewRb(RTENAME);
  host::makeName(db, id, byName->resval.rlname);
  resbuf* world = tcutBuildList(RTSHORT, 0, RTNONE);
  tc_point p = {1, 2, 3}, out;
  ASSERT_EQ(tcedTrans(p, byName, world, 0, out), RTNORM);
  EXPECT_TRUE(geom::pointsEqual({out[0], out[1], out[2]}, {1, 2, 3}));
  tcutRelRb(byName);
  tcutRelRb(world);
}

TEST_F(TransObject, RefusesUnknownCodesNullSystemsAndZeroNormals) {
  tc_point p = {1, 2, 3}, out;
  resbuf* bad = tcutBuildList(RTSHORT, 7, RTNONE);
  resbuf* world = tcutBuildList(RTSHORT, 0, RTNONE);
  double zero[3] = {0, 0, 0};
  resbuf* zeroNormal = tcutBuildList(RT3DPOINT, zero, RTNONE);
  EXPECT_EQ(tcedTrans(p, bad, world, 0, out), RTERROR);
  EXPECT_EQ(tcedTrans(p, nullptr, world, 0, out), RTERROR);
  EXPECT_EQ(tcedTrans(p, zeroNormal, world, 0, out), RTERROR);
  tcutRelRb(bad);
  tcutRelRb(world);
  tcutRelRb(zeroNormal);
}

}  // namespace
}  // namespace tarn::entgeom::test
