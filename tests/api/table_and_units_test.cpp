// Symbol-table walks, system variables, number formatting, list building.
#include <cmath>

#include "host_fixture.h"

namespace {

TEST_F(HostTest, TableWalkVisitsEveryRecordAndRewinds) {
  for (const char* name : {"A", "B"}) {
    resbuf* l = tcutBuildList(RTDXF0, "LAYER", 2, name, 70, 0, 62, 2, 6, "Continuous", RTNONE);
    ASSERT_EQ(tcdbEntMake(l), RTNORM);
    tcutRelRb(l);
  }
  std::vector<std::string> names;
  for (resbuf* r = tcdbTblNext("LAYER", 1); r; r = tcdbTblNext("LAYER", 0)) {
    names.push_back(text(r, 2));
    EXPECT_EQ(group(r, 5), nullptr) << "the short list has no handle";
    EXPECT_EQ(text(r, 0), "LAYER");
    tcutRelRb(r);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"0", "A", "B"}));
  resbuf* found = tcdbTblSearch("LAYER", "a", 1);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(group(found, 62)->resval.rint, 2);
  tcutRelRb(found);
  resbuf* next = tcdbTblNext("LAYER", 0);
  EXPECT_EQ(text(next, 2), "B") << "a search with the next flag moves the walk";
  tcutRelRb(next);
  EXPECT_EQ(tcdbTblSearch("LAYER", "nothing", 0), nullptr);
}

TEST_F(HostTest, TableObjectNamesAndTheDimensionStyleTextStyleReference) {
  tc_name layer;
  ASSERT_EQ(tcdbTblObjName("LAYER", "0", layer), RTNORM);
  resbuf* l = tcdbEntGet(layer);
  EXPECT_EQ(text(l, 0), "LAYER");
  tcutRelRb(l);
  resbuf* dim = tcdbTblSearch("DIMSTYLE", "Standard", 0);
  const resbuf* style = group(dim, 340);
  ASSERT_NE(style, nullptr);
  resbuf* s = tcdbEntGet(style->resval.rlname);
  EXPECT_EQ(text(s, 2), "Standard");
  tcutRelRb(s);
  tcutRelRb(dim);
}

TEST_F(HostTest, SystemVariablesHaveTypesRangesAndReadOnlyOnes) {
  resbuf v{};
  ASSERT_EQ(tcedGetVar("cmdecho", &v), RTNORM);
  EXPECT_EQ(v.restype, RTSHORT);
  ASSERT_EQ(tcedGetVar("CLAYER", &v), RTNORM);
  EXPECT_EQ(v.restype, RTSTR);
  EXPECT_STREQ(v.resval.rstring, "0");
  free(v.resval.rstring);
  resbuf set{};
  set.restype = RTSHORT;
  set.resval.rint = 2;
  EXPECT_EQ(tcedSetVar("CMDECHO", &set), RTERROR) << "out of range";
  set.resval.rint = 0;
  EXPECT_EQ(tcedSetVar("CMDECHO", &set), RTNORM);
  EXPECT_EQ(tcedSetVar("VIEWSIZE", &set), RTERROR) << "read-only";
  set.restype = RTREAL;
  set.resval.rreal = 1.5;
  EXPECT_EQ(tcedSetVar("ORTHOMODE", &set), RTERROR) << "an integer variable takes integers";
  EXPECT_EQ(tcedSetVar("FILLETRAD", &set), RTNORM);
  EXPECT_DOUBLE_EQ(db.headerVar("$FILLETRAD")->front().p.x, 1.5) << "kept in the drawing";
  set.restype = RTSTR;
  set.resval.rstring = const_cast<char*>("NO_SUCH_LAYER");
  EXPECT_EQ(tcedSetVar("CLAYER", &set), RTERROR);
  EXPECT_EQ(tcedGetVar("NOT_A_VARIABLE", &v), RTERROR);
  set.restype = RTSHORT;
  set.resval.rint = 1;
  tcedSetVar("CMDECHO", &set);
}

struct Length {
  double value;
  int unit, prec, dimzin;
  const char* expected;
};

class LengthText : public HostTest, public testing::WithParamInterface<Length> {};

TEST_P(LengthText, FollowsUnitsPrecisionAndZeroSuppression) {
  resbuf z{};
  z.restype = RTSHORT;
  z.resval.rint = short(GetParam().dimzin);
  ASSERT_EQ(tcedSetVar("DIMZIN", &z), RTNORM);
  char buf[64];
  ASSERT_EQ(tcdbRToS(GetParam().value, GetParam().unit, GetParam().prec, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Units, LengthText,
                         testing::Values(Length{1.5, 2, 4, 0, "1.5000"}, Length{1.5, 2, 4, 8, "1.5"},
                                         Length{0.5, 2, 2, 12, ".5"}, Length{3.0, 2, 3, 8, "3"},
                                         Length{-0.00001, 2, 2, 0, "0.00"}, Length{15.5, 1, 2, 0, "1.55E+01"},
                                         Length{17.5, 3, 2, 0, "1'-5.50\""}, Length{17.5, 4, 4, 0, "1'-5 1/2\""},
                                         Length{12.25, 5, 3, 0, "12 1/4"}));

TEST_F(HostTest, AnglesInEachUnit) {
  char buf[64];
  double a = M_PI / 4;
  ASSERT_EQ(tcdbAngToS(a, 0, 2, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "45.00");
  ASSERT_EQ(tcdbAngToS(a + (30.0 / 60) * M_PI / 180, 1, 4, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "45d30'0\"");
  ASSERT_EQ(tcdbAngToS(M_PI, 2, 1, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "200.0g");
  ASSERT_EQ(tcdbAngToS(-M_PI / 2, 3, 3, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "4.712r");
  ASSERT_EQ(tcdbAngToS(a, 4, 0, buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "N 45d E");
  EXPECT_EQ(tcdbAngToS(a, 0, 2, buf, 3), RTERROR) << "the text does not fit";
}

TEST_F(HostTest, BuildListMakesOneBufferPerPairAndRejectsBadPairs) {
  double p[3] = {1, 2, 3};
  tc_name none = {0, 0};
  resbuf* l = tcutBuildList(RTSTR, "x", RTSHORT, 3, RTREAL, 2.5, RTPOINT, p, RTLB, RTLONG, 70000, RTLE, -1, none, RTNONE);
  ASSERT_NE(l, nullptr);
  std::vector<int> types;
  for (resbuf* rb = l; rb; rb = rb->rbnext) types.push_back(rb->restype);
  EXPECT_EQ(types, (std::vector<int>{RTSTR, RTSHORT, RTREAL, RTPOINT, RTLB, RTLONG, RTLE, -1}));
  EXPECT_EQ(group(l, RTLONG)->resval.rlong, 70000);
  tcutRelRb(l);
  EXPECT_EQ(tcutBuildList(RTPOINT, nullptr, RTNONE), nullptr) << "a point needs its three reals";
}

}  // namespace
