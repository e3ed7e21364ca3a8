// DIMEDIT and DIMOVERRIDE typed and in the sequences of the dimension text
// commands: the text back home with its block text following, new text,
// and the "ACAD" "DSTYLE" override list merged, cleared and undone.
#include <cmath>

#include "command_fixture.h"

namespace {

using tarn::db::Point3;
using tarn::db::Tag;

class DimCommands : public CommandTest {
 protected:
  // A horizontal dimension of (0,0)-(10,0) with its line at y = 5, its text
  // moved by the user to (3,9), and a geometry block holding a line and the text.
  void SetUp() override {
    double origin[3] = {0, 0, 0}, a[3] = {0, 5, 0}, b[3] = {10, 5, 0}, text[3] = {3, 9, 0};
    resbuf* list = tcutBuildList(RTDXF0, "BLOCK", 2, "*D", 70, 1, 10, origin, RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    list = tcutBuildList(RTDXF0, "LINE", 8, "0", 10, a, 11, b, RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    list = tcutBuildList(RTDXF0, "MTEXT", 8, "0", 10, text, 40, 2.5, 71, 5, 1, "10", RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    list = tcutBuildList(RTDXF0, "ENDBLK", RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    for (const auto& blk : db().blocks())
      if (blk.name.rfind("*D", 0) == 0) blockName = blk.name;
    ASSERT_FALSE(blockName.empty());
    double p13[3] = {0, 0, 0}, p14[3] = {10, 0, 0};
    list = tcutBuildList(RTDXF0, "DIMENSION", 8, "0", 2, blockName.c_str(), 10, b, 11, text, 70, 32 | 128, 1, "", 3,
                         "Standard", 42, 10.0, 13, p13, 14, p14, 50, 0.0, RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    dim = entities("DIMENSION").at(0);
  }
  uint32_t blockText() {
    for (uint32_t id : db().blocks()[db().findBlock(blockName)].entities)
      if (db().typeOf(id) == "MTEXT") return id;
    return tarn::db::kNoObject;
  }
  // The extended data of the dimension, from its 1001 group on.
  std::vector<Tag> xdata() {
    auto tags = db().tagList(dim);
    std::vector<Tag> out;
    bool in = false;
    for (const Tag& t : tags) {
      in = in || t.code == 1001;
      if (in) out.push_back(t);
    }
    return out;
  }
  // The "DSTYLE" pairs as (code, value) numbers.
  std::vector<std::pair<int, double>> pairs() {
    std::vector<std::pair<int, double>> out;
    auto x = xdata();
    for (size_t i = 3; i + 1 < x.size() && x[i].code == 1070; i += 2)
      out.emplace_back(int(x[i].i), x[i + 1].kind == tarn::db::TagKind::Real ? x[i + 1].p.x : double(x[i + 1].i));
    return out;
  }
  void selectDim(tc_name ss) {
    resbuf* filter = tcutBuildList(0, "DIMENSION", RTNONE);
    ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
    tcutRelRb(filter);
  }
  std::string blockName;
  uint32_t dim = 0;
};

TEST_F(DimCommands, HomeByModuleClearsTheFlagAndMovesTheBlockText) {
  std::string before = dxf();
  tc_name ss;
  selectDim(ss);
  asModule([&] { tcedCommand(RTSTR, "_.dimedit", RTSTR, "_h", RTPICKS, ss, RTSTR, "", RTNONE); });
  tcedSSFree(ss);
  auto flags = tarn::db::findTag(db(), dim, 70);
  ASSERT_TRUE(flags);
  EXPECT_EQ(flags->i & 128, 0);
  // Midpoint of the dimension line, above it by DIMGAP + DIMTXT / 2 (Standard: DIMTAD 1).
  Point3 home = points(dim, 11).at(0);
  EXPECT_NEAR(home.x, 5, 1e-9);
  EXPECT_NEAR(home.y, 5 + 0.625 + 1.25, 1e-9);
  EXPECT_EQ(points(blockText(), 10).at(0), home);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(DimCommands, NewTextKeepsTheMeasurementWhereItSaysSo) {
  ASSERT_EQ(typed("DIMEDIT", "N\n<> mm\nALL\n\n"), RTNORM) << transcript();
  EXPECT_EQ(tarn::db::findString(db(), dim, 1), "<> mm");
  EXPECT_EQ(tarn::db::findString(db(), blockText(), 1), "10 mm");
  ASSERT_EQ(typed("DIMEDIT", "R\n30\nALL\n\n"), RTNORM) << transcript();
  EXPECT_NEAR(real(dim, 53), 30, 1e-9);
  Point3 dir = points(blockText(), 11).at(0);
  EXPECT_NEAR(std::atan2(dir.y, dir.x) * 180 / 3.14159265358979323846, 30, 1e-9);
}

TEST_F(DimCommands, OverridesByModuleAreMergedAndCleared) {
  std::string before = dxf();
  tc_name ss;
  selectDim(ss);
  asModule([&] {
    tcedCommand(RTSTR, "_.dimoverride", RTSTR, "_dimtad", RTSTR, "0", RTSTR, "", RTPICKS, ss, RTSTR, "", RTNONE);
  });
  EXPECT_NE(db().findRecord("APPID", "ACAD"), tarn::db::kNoObject);
  auto x = xdata();
  ASSERT_EQ(x.size(), 6u);
  EXPECT_EQ(x[0].s, "ACAD");
  EXPECT_EQ(x[1].s, "DSTYLE");
  EXPECT_EQ(x[2].s, "{");
  EXPECT_EQ(x[5].s, "}");
  EXPECT_EQ(pairs(), (std::vector<std::pair<int, double>>{{77, 0}}));
  asModule([&] {
    tcedCommand(RTSTR, "_.dimoverride", RTSTR, "_dimtad", RTSTR, "3", RTSTR, "DIMGAP", RTSTR, "1.5", RTSTR, "",
                RTPICKS, ss, RTSTR, "", RTNONE);
  });
  EXPECT_EQ(pairs(), (std::vector<std::pair<int, double>>{{77, 3}, {147, 1.5}}));
  EXPECT_EQ(xdata()[6].code, 1040);  // a real variable is written as a real
  std::string twice = dxf();
  asModule([&] { tcedCommand(RTSTR, "_.dimoverride", RTSTR, "_c", RTPICKS, ss, RTSTR, "", RTNONE); });
  tcedSSFree(ss);
  EXPECT_TRUE(xdata().empty());
  undo();
  EXPECT_EQ(dxf(), twice);
  undo();
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(DimCommands, TypedOverridesCheckNamesAndValues) {
  makeLine(0, 0, 1, 0);
  ASSERT_EQ(typed("BLOCK", "TICK\n0,0\nL\n\n"), RTNORM) << transcript();
  ASSERT_EQ(typed("DIMOVERRIDE", "DIMNOTHING\nDIMCLRT\nred\n1\nDIMBLK\nNOBLOCK\nTICK\n\nALL\n\n"), RTNORM)
      << transcript();
  EXPECT_NE(transcript().find("Unknown dimension variable \"DIMNOTHING\"."), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Requires an integer value."), std::string::npos);
  EXPECT_NE(transcript().find("\"NOBLOCK\" is not defined in the drawing."), std::string::npos);
  auto x = xdata();
  ASSERT_EQ(x.size(), 8u);
  EXPECT_EQ(x[3].i, 178);
  EXPECT_EQ(x[4].i, 1);
  EXPECT_EQ(x[5].i, 342);
  EXPECT_EQ(x[6].code, 1005);
  uint32_t record = db().blocks()[db().findBlock("TICK")].record;
  EXPECT_EQ(x[6].asHandle(), db().object(record).handle);
  // The arrow block is now in use: PURGE keeps it.
  ASSERT_EQ(typed("PURGE", "B\nTICK\nN\n"), RTNORM);
  EXPECT_NE(db().findBlock("TICK"), tarn::db::kNoObject);
  EXPECT_FALSE(db().isErased(db().blocks()[db().findBlock("TICK")].begin));
}

}  // namespace
