// Picks given by programs as (RTLB entity point RTLE): EXTRIM's
// "_.Trim" and JOINL's "_FILLET", through tcedCommand and tcedCmd.
#include "command_fixture.h"

namespace {
using tarn::db::Point3;
class Picks : public CommandTest {
 protected:
  uint32_t line(double x1, double y1, double x2, double y2) { makeLine(x1, y1, x2, y2); return entities().back(); }
};

TEST_F(Picks, ExtrimTrimSequence) {
  uint32_t edge = line(5, -5, 5, 5), target = line(0, 0, 10, 0);
  tc_name e, t, ss;
  name(edge, e);
  name(target, t);
  ASSERT_EQ(tcedSSAdd(e, nullptr, ss), RTNORM);
  std::string before = dxf();
  double q[3] = {8, 0, 0};
  int rc = 0;
  asModule([&] { rc = tcedCommand(RTSTR, "_.Trim", RTPICKS, ss, RTSTR, "", RTLB, RTENAME, t, RTPOINT, q, RTLE, RTSTR, "", RTNONE); });
  tcedSSFree(ss);
  EXPECT_EQ(rc, RTNORM);
  EXPECT_EQ(points(target, 11)[0], (Point3{5, 0, 0})) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(Picks, JoinlFilletSequenceThroughTcedCmd) {
  uint32_t a = line(0, 0, 4, 0), b = line(5, 1, 5, 5);
  tc_name na, nb;
  name(a, na);
  name(b, nb);
  double pa[3] = {2, 0, 0}, pb[3] = {5, 3, 0};
  resbuf* args = tcutBuildList(RTSTR, "FILLETRAD", RTSTR, "0", RTSTR, "TRIMMODE", RTSTR, "1", RTSTR, "_FILLET",
                               RTLB, RTENAME, na, RTPOINT, pa, RTLE, RTLB, RTENAME, nb, RTPOINT, pb, RTLE, RTNONE);
  int rc = 0;
  asModule([&] { rc = tcedCmd(args); });
  tcutRelRb(args);
  EXPECT_EQ(rc, RTNORM);
  EXPECT_EQ(points(a, 11)[0], (Point3{5, 0, 0})) << transcript();
  EXPECT_EQ(points(b, 10)[0], (Point3{5, 0, 0}));
}

// The editor keeps a box per object for picks and windows: a moved object
// is found where it lies now, not where it was, and again where it was
// once U has put it back.
TEST_F(Picks, PicksAndWindowsFollowMovesAndUndo) {
  uint32_t target = line(0, 0, 10, 0);
  line(0, 20, 10, 20);
  EXPECT_EQ(typed("SELECT", "5,0\n\n"), RTNORM);  // measured here once
  EXPECT_EQ(typed("MOVE", "5,0\n\n0,0\n0,10\n"), RTNORM) << transcript();
  EXPECT_EQ(typed("ERASE", "5,0\n\n"), RTNORM);
  EXPECT_FALSE(db().isErased(target)) << "nothing lies at the old place";
  EXPECT_EQ(typed("ERASE", "W\n-1,9\n11,11\n\n"), RTNORM);
  EXPECT_TRUE(db().isErased(target)) << "a window finds it at the new place";
  undo();
  undo();
  EXPECT_FALSE(db().isErased(target));
  EXPECT_EQ(typed("ERASE", "5,0\n\n"), RTNORM);
  EXPECT_TRUE(db().isErased(target)) << transcript();
}

}  // namespace
