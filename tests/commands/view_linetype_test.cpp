// -LINETYPE as the dash-switching and linetype-making commands drive it and
// as typed: LTYPE records made from TARNCAD.lin (found on the support path
// the way tarncad finds it) and from files of the test's own, reloading only
// when confirmed, and clear messages for missing files and malformed lines.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "api/sysvars.h"
#include "command_fixture.h"

namespace {

namespace fs = std::filesystem;

class LinetypeCommand : public CommandTest {
 protected:
  void SetUp() override {
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::path(testing::TempDir()) /
             ("h2_linetype_" + std::string(t->name()) + "_" + std::to_string(getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
    CommandTest::TearDown();
  }
  std::string write(const char* fileName, const char* text) {
    fs::path p = folder / fileName;
    std::ofstream(p) << text;
    return p.string();
  }
  uint32_t ltype(const char* n) { return db().findRecord("LTYPE", n); }
  std::vector<double> dashes(uint32_t id) {
    std::vector<double> out;
    for (tarn::db::TagCursor c = db().tags(id); !c.done(); c.next())
      if (c.code() == 49) out.push_back(c.real());
    return out;
  }
  int group(uint32_t id, int code) {
    auto t = tarn::db::findTag(db(), id, code);
    return t ? int(t->i) : -1;
  }
  fs::path folder;
};

TEST_F(LinetypeCommand, DashSwitchSequenceLoadsDashed2FromTheSupportFile) {
  ASSERT_EQ(ltype("DASHED2"), tarn::db::kNoObject);
  asModule([] {
    ASSERT_EQ(tcedCommand(RTSTR, "_.-linetype", RTSTR, "_L", RTSTR, "DASHED2", RTSTR, "TARNCAD.lin", RTSTR, "",
                          RTNONE),
              RTNORM);
  });
  uint32_t id = ltype("DASHED2");
  ASSERT_NE(id, tarn::db::kNoObject) << transcript();
  EXPECT_EQ(dashes(id), (std::vector<double>{3, -1.5}));
  EXPECT_EQ(group(id, 72), 65);
  EXPECT_EQ(group(id, 73), 2);
  EXPECT_EQ(real(id, 40), 4.5);
  EXPECT_EQ(group(id, 74), 0);
  EXPECT_FALSE(tarn::db::findString(db(), id, 3).empty());
}

// Every linetype of the support file loads; NAME2 is half of NAME and
// NAMEX2 twice it, dash for dash.
TEST_F(LinetypeCommand, SupportFileHasTheCommonLinetypesInProportion) {
  typed("-LINETYPE", "L\n*\n\n\n");
  const char* names[] = {"DASHED", "HIDDEN", "CENTER", "DASHDOT", "DOT", "PHANTOM", "DIVIDE", "BORDER"};
  for (const char* n : names) {
    uint32_t base = ltype(n), half = ltype((std::string(n) + "2").c_str()), twice = ltype((std::string(n) + "X2").c_str());
    ASSERT_NE(base, tarn::db::kNoObject) << n;
    ASSERT_NE(half, tarn::db::kNoObject) << n;
    ASSERT_NE(twice, tarn::db::kNoObject) << n;
    std::vector<double> b = dashes(base), h = dashes(half), t = dashes(twice);
    ASSERT_EQ(h.size(), b.size());
    ASSERT_EQ(t.size(), b.size());
    for (size_t i = 0; i < b.size(); ++i) {
      EXPECT_DOUBLE_EQ(h[i] * 2, b[i]) << n;
      EXPECT_DOUBLE_EQ(t[i], b[i] * 2) << n;
    }
    EXPECT_GT(real(base, 40), 0) << n;
  }
}

TEST_F(LinetypeCommand, ReloadOnlyWhenConfirmedAsTheLinetypeMakerAnswers) {
  std::string path = write("mine.lin", ";; test\n*MINE,first\nA,1,-0.5,0,-0.5\n");
  asModule([&] {
    tcedCommand(RTSTR, "_.-Linetype", RTSTR, "_L", RTSTR, "MINE", RTSTR, path.c_str(), RTSTR, "", RTNONE);
  });
  ASSERT_NE(ltype("MINE"), tarn::db::kNoObject) << transcript();
  EXPECT_EQ(dashes(ltype("MINE")), (std::vector<double>{1, -0.5, 0, -0.5}));
  uint64_t handle = db().object(ltype("MINE")).handle;
  write("mine.lin", "*MINE,second\nA,2,-1\n");
  typed("-LINETYPE", "L\nMINE\n" + path + "\nN\n\n");
  EXPECT_EQ(tarn::db::findString(db(), ltype("MINE"), 3), "first");
  asModule([&] {
    tcedCommand(RTSTR, "_.-Linetype", RTSTR, "_L", RTSTR, "MINE", RTSTR, path.c_str(), RTSTR, "_Y", RTSTR, "",
                RTNONE);
  });
  uint32_t id = ltype("MINE");
  EXPECT_EQ(tarn::db::findString(db(), id, 3), "second");
  EXPECT_EQ(dashes(id), (std::vector<double>{2, -1}));
  EXPECT_EQ(group(id, 73), 2);
  EXPECT_EQ(db().object(id).handle, handle) << "a reload keeps the record";
}

TEST_F(LinetypeCommand, MissingFileAndMalformedLinesAreNamedAndNothingIsLoaded) {
  typed("-LINETYPE", "L\nX\nno_such_file\n\n");
  EXPECT_NE(transcript().find("Cannot find linetype file \"no_such_file.lin\""), std::string::npos) << transcript();
  struct Case {
    const char* text;
    const char* where;
    const char* what;
  } cases[] = {
      {"*GOOD,ok\nA,1,-1\n*BAD,x\nA,1,zz\n", "bad.lin:4: ", "\"zz\" is not a dash length"},
      {"*GOOD,ok\nA,1,-1\n*BAD,x\n", "bad.lin:3: ", "BAD has no pattern line"},
      {"A,1,-1\n", "bad.lin:1: ", "must follow a *NAME line"},
      {"*BAD\nB,1,-1\n", "bad.lin:2: ", "starts with \"A,\""},
      {"*BAD\nA,1,[\"T\",Standard,S=1\n", "bad.lin:2: ", "unbalanced"},
      {"*BAD\nA,1,[\"T\",Standard,Q=1],-1\n", "bad.lin:2: ", "\"Q=1\" is not a valid setting"},
  };
  for (const Case& c : cases) {
    std::string path = write("bad.lin", c.text);
    typed("-LINETYPE", "L\n*\n" + path + "\n\n");
    std::string expected = path.substr(0, path.size() - 7) + c.where;
    EXPECT_NE(transcript().find(expected), std::string::npos) << c.text << transcript();
    EXPECT_NE(transcript().find(c.what), std::string::npos) << c.text;
    EXPECT_EQ(ltype("GOOD"), tarn::db::kNoObject) << c.text;
    EXPECT_EQ(ltype("BAD"), tarn::db::kNoObject) << c.text;
  }
}

TEST_F(LinetypeCommand, EmbeddedTextWithAKnownStyleIsWrittenAndShapesAreLeftOut) {
  std::string path = write("complex.lin",
                           "*GASLINE,Gas ----GAS----\n"
                           "A,12,-5,[\"GAS\",Standard,S=2.5,R=0.0,X=-2.5,Y=-1.25],-5\n"
                           "*FENCE,Fence ---o---\n"
                           "A,6,[CIRC1,ltypeshp.shx,x=-0.1,s=0.1],-0.1,1\n");
  typed("-LINETYPE", "L\nGASLINE,FENCE\n" + path + "\n\n");
  uint32_t gas = ltype("GASLINE"), fence = ltype("FENCE");
  ASSERT_NE(gas, tarn::db::kNoObject) << transcript();
  ASSERT_NE(fence, tarn::db::kNoObject);
  EXPECT_EQ(dashes(gas), (std::vector<double>{12, -5, -5}));
  EXPECT_EQ(tarn::db::findString(db(), gas, 9), "GAS");
  EXPECT_EQ(real(gas, 46), 2.5);
  EXPECT_EQ(real(gas, 44), -2.5);
  auto style = tarn::db::findTag(db(), gas, 340);
  ASSERT_TRUE(style);
  EXPECT_EQ(style->asHandle(), db().object(db().findRecord("STYLE", "Standard")).handle);
  std::vector<int> kinds;
  for (tarn::db::TagCursor c = db().tags(gas); !c.done(); c.next())
    if (c.code() == 74) kinds.push_back(int(c.integer()));
  EXPECT_EQ(kinds, (std::vector<int>{0, 2, 0}));
  EXPECT_EQ(dashes(fence), (std::vector<double>{6, -0.1, 1}));
  EXPECT_FALSE(tarn::db::findTag(db(), fence, 340));
  EXPECT_NE(transcript().find("Linetype FENCE: embedded shapes"), std::string::npos);
}

TEST_F(LinetypeCommand, SetMakesALoadedLinetypeCurrentAndRefusesOthers) {
  typed("-LINETYPE", "L\nCENTER\n\nS\nCENTER\n\n");  // Enter at the file: TARNCAD.lin
  tarn::host::SysVarValue v;
  ASSERT_TRUE(tarn::host::getSysVar("CELTYPE", v));
  EXPECT_EQ(v.text, "CENTER");
  typed("-LINETYPE", "S\nHIDDEN\n\n");
  EXPECT_NE(transcript().find("Linetype HIDDEN not found.  Use the Load option to load it."), std::string::npos);
  ASSERT_TRUE(tarn::host::getSysVar("CELTYPE", v));
  EXPECT_EQ(v.text, "CENTER");
  typed("LINETYPE", "?\nCEN*\n\n");
  EXPECT_NE(transcript().find("CENTER    Center"), std::string::npos) << transcript();
}

TEST_F(LinetypeCommand, LoadAndReloadAreUndoneExactly) {
  std::string start = dxf();
  typed("-LINETYPE", "L\nHIDDEN*\nTARNCAD\n\n");
  EXPECT_NE(ltype("HIDDENX2"), tarn::db::kNoObject);
  std::string loaded = dxf();
  typed("-LINETYPE", "L\nHIDDEN\nTARNCAD.lin\nY\n\n");
  undo();
  EXPECT_EQ(dxf(), loaded);
  undo();
  EXPECT_EQ(dxf(), start);
}

}  // namespace
