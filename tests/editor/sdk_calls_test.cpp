// The editor's further SDK calls: nested picks, drags, the display record,
// set transformation, colours, file names, the support path and the
// environment values; and picks against the real geometry of each type.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "editor_fixture.h"

#include "api/sysvars.h"
#include "editor/host_files.h"
#include "platform/registry.h"

namespace {

namespace fs = std::filesystem;

void make(resbuf* list) {
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(tcdbEntMake(list), RTNORM);
  tcutRelRb(list);
}

tc_name& lastName(tc_name& out) {
  tcdbEntLast(out);
  return out;
}

double groupReal(const tc_name e, int code, int index = 0) {
  resbuf* list = tcdbEntGet(e);
  double v = NAN;
  for (resbuf* rb = list; rb; rb = rb->rbnext)
    if (rb->restype == code) v = code >= 10 && code < 40 ? rb->resval.rpoint[index] : rb->resval.rreal;
  tcutRelRb(list);
  return v;
}

std::string typeOf(const tc_name e) {
  resbuf* list = tcdbEntGet(e);
  std::string t;
  for (resbuf* rb = list; rb; rb = rb->rbnext)
    if (rb->restype == 0) t = rb->resval.rstring;
  tcutRelRb(list);
  return t;
}

bool sameName(const tc_name a, const tc_name b) { return a[0] == b[0] && a[1] == b[1]; }

// Block INNER (a circle of radius 1 at its origin), block OUTER (a line and
// a reference to INNER at 5,0), and a reference to OUTER at 100,0 scaled 2.
class NestedPicks : public EditorTest {
 protected:
  void SetUp() override {
    double o[3] = {0, 0, 0}, at5[3] = {5, 0, 0}, lineEnd[3] = {0, 3, 0}, place[3] = {100, 0, 0};
    make(tcutBuildList(RTDXF0, "BLOCK", 2, "INNER", 70, 0, 10, o, RTNONE));
    make(tcutBuildList(RTDXF0, "CIRCLE", 10, o, 40, 1.0, RTNONE));
    make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
    make(tcutBuildList(RTDXF0, "BLOCK", 2, "OUTER", 70, 0, 10, o, RTNONE));
    make(tcutBuildList(RTDXF0, "LINE", 10, o, 11, lineEnd, RTNONE));
    make(tcutBuildList(RTDXF0, "INSERT", 2, "INNER", 10, at5, RTNONE));
    make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
    make(tcutBuildList(RTDXF0, "INSERT", 2, "OUTER", 10, place, 41, 2.0, 42, 2.0, 43, 2.0, RTNONE));
    lastName(outer);
  }
  tc_name outer;
};

TEST_F(NestedPicks, InnermostObjectWithItsMatrixAndContainersInnermostFirst) {
  reply("112,0\n");  // on the circle: INNER at 100 + 2*5, radius 2
  tc_name e;
  tc_point p;
  tc_matrix m;
  resbuf* chain = nullptr;
  ASSERT_EQ(tcedNEntSelP(nullptr, e, p, 0, m, &chain), RTNORM) << transcript();
  EXPECT_EQ(typeOf(e), "CIRCLE");
  // The circle's block coordinates 1,0 land at 112,0 in the world.
  EXPECT_DOUBLE_EQ(m[0][0] * 1 + m[0][3], 112);
  EXPECT_DOUBLE_EQ(m[1][1], 2);
  EXPECT_DOUBLE_EQ(m[3][3], 1);
  ASSERT_NE(chain, nullptr);
  ASSERT_NE(chain->rbnext, nullptr);
  EXPECT_EQ(chain->rbnext->rbnext, nullptr);
  EXPECT_EQ(typeOf(chain->resval.rlname), "INSERT");  // INNER's reference inside OUTER
  EXPECT_TRUE(sameName(chain->rbnext->resval.rlname, outer));
  tcutRelRb(chain);
}

TEST_F(NestedPicks, GivenPointAndOneLevel) {
  tc_name e;
  tc_point p = {100, 4, 0};  // on the line of OUTER: 0,2 scaled by 2
  tc_matrix m;
  resbuf* chain = nullptr;
  ASSERT_EQ(tcedNEntSelP(nullptr, e, p, 1, m, &chain), RTNORM);
  EXPECT_EQ(typeOf(e), "LINE");
  EXPECT_DOUBLE_EQ(m[0][3], 100);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->rbnext, nullptr);
  EXPECT_TRUE(sameName(chain->resval.rlname, outer));
  tcutRelRb(chain);
  EXPECT_EQ(transcript(), "");  // no prompt with a given point
}

TEST_F(NestedPicks, TopLevelObjectHasIdentityAndNoChainAndMissSetsErrno) {
  line(0, 0, 10, 0);
  reply("5,0 50,50\n");
  tc_name e;
  tc_point p;
  tc_matrix m;
  resbuf* chain = reinterpret_cast<resbuf*>(1);
  ASSERT_EQ(tcedNEntSelP(nullptr, e, p, 0, m, &chain), RTNORM);
  EXPECT_EQ(typeOf(e), "LINE");
  EXPECT_EQ(chain, nullptr);
  EXPECT_EQ(m[0][0], 1);
  EXPECT_EQ(m[0][3], 0);
  EXPECT_EQ(tcedNEntSelP(nullptr, e, p, 0, m, &chain), RTERROR);
  resbuf errno_;
  tcedGetVar("ERRNO", &errno_);
  EXPECT_EQ(errno_.resval.rint, 7);
}

TEST_F(NestedPicks, CaretCAndKeywordsAtTheNestedPick) {
  tc_name e;
  tc_point p;
  tc_matrix m;
  resbuf* chain = nullptr;
  reply("^C\n");
  EXPECT_EQ(tcedNEntSelP(nullptr, e, p, 0, m, &chain), RTCAN);
  tcedInitGet(0, "Undo");
  reply("u\n");
  EXPECT_EQ(tcedNEntSelP(nullptr, e, p, 0, m, &chain), RTKWORD);
  char kw[16];
  tcedGetInput(kw, sizeof kw);
  EXPECT_STREQ(kw, "Undo");
}

// Picks hit the real shape: the middle of an arc, the inside of a text's
// box, a polyline's later segment; misses stay misses.
struct PickCase {
  const char* name;
  std::function<resbuf*()> make;
  double hitX, hitY, missX, missY;
};

class PickOnEveryType : public EditorTest, public testing::WithParamInterface<PickCase> {};

TEST_P(PickOnEveryType, PointOnTheShapeHitsAndBesideItMisses) {
  auto c = GetParam();
  make(c.make());
  tc_name made, e;
  lastName(made);
  tc_point p;
  char replies[80];
  std::snprintf(replies, sizeof replies, "%g,%g %g,%g\n", c.hitX, c.hitY, c.missX, c.missY);
  reply(replies);
  ASSERT_EQ(tcedEntSel(nullptr, e, p), RTNORM) << c.name << "\n" << transcript();
  EXPECT_TRUE(sameName(e, made));
  EXPECT_EQ(tcedEntSel(nullptr, e, p), RTERROR) << c.name;
}

double P0[3] = {0, 0, 0}, P1[3] = {40, 0, 0}, P2[3] = {40, 40, 0};

INSTANTIATE_TEST_SUITE_P(
    Types, PickOnEveryType,
    testing::Values(
        PickCase{"line", [] { return tcutBuildList(RTDXF0, "LINE", 10, P0, 11, P1, RTNONE); }, 20, 0, 20, 10},
        PickCase{"circle", [] { return tcutBuildList(RTDXF0, "CIRCLE", 10, P0, 40, 10.0, RTNONE); }, 0, 10, 0, 0},
        PickCase{"arc middle",
                 [] { return tcutBuildList(RTDXF0, "ARC", 10, P0, 40, 10.0, 50, 0.0, 51, 180.0, RTNONE); }, 0, 10, 0,
                 -10},
        PickCase{"text box",
                 [] { return tcutBuildList(RTDXF0, "TEXT", 10, P0, 40, 10.0, 1, "WIDE TEXT", RTNONE); }, 15, 5, 15,
                 30},
        PickCase{"lwpolyline second segment",
                 [] {
                   return tcutBuildList(RTDXF0, "LWPOLYLINE", 100, "AcDbEntity", 100, "AcDbPolyline", 90, 3, 70, 0,
                                        10, P0, 10, P1, 10, P2, RTNONE);
                 },
                 40, 20, 20, 20},
        PickCase{"point", [] { return tcutBuildList(RTDXF0, "POINT", 10, P2, RTNONE); }, 40, 40, 30, 30},
        PickCase{"ellipse",
                 [] {
                   double axis[3] = {20, 0, 0};
                   return tcutBuildList(RTDXF0, "ELLIPSE", 10, P0, 11, axis, 40, 0.5, 41, 0.0, 42, 6.283185307179586,
                                        RTNONE);
                 },
                 0, 10, 0, 0}),
    [](const testing::TestParamInfo<PickCase>& i) {
      std::string n = i.param.name;
      for (char& ch : n) if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST_F(EditorTest, WindowSelectionJudgesTheWholeArc) {
  make(tcutBuildList(RTDXF0, "ARC", 10, P0, 40, 10.0, 50, 0.0, 51, 180.0, RTNONE));
  double a[3] = {-11, -1, 0}, b[3] = {11, 5, 0};  // holds both ends, not the top of the arc
  tc_name ss;
  EXPECT_EQ(tcedSSGet("W", a, b, nullptr, ss), RTERROR);
  ASSERT_EQ(tcedSSGet("C", a, b, nullptr, ss), RTNORM);
  tcedSSFree(ss);
}

int dragCalls = 0;
double dragX = 0;
int moveTo(tc_point pt, tc_matrix m) {
  ++dragCalls;
  dragX = pt[0];
  m[0][3] = pt[0];
  m[1][3] = pt[1];
  return RTNORM;
}

TEST_F(EditorTest, DragTakesTheNextPointCallsBackAndLeavesTheDrawing) {
  tc_name e, ss;
  line(0, 0, 10, 0, "0", 256, e);
  tcedSSAdd(e, nullptr, ss);
  tc_point p;
  reply("bad 7,3 ^C\n");
  dragCalls = 0;
  ASSERT_EQ(tcedDragGen(ss, "Where: ", 0, moveTo, p), RTNORM);
  EXPECT_EQ(dragCalls, 1);
  EXPECT_EQ(dragX, 7);
  EXPECT_EQ(p[1], 3);
  EXPECT_EQ(session.editor().display().drags, 1);
  EXPECT_EQ(groupReal(e, 10), 0);  // the line has not moved
  EXPECT_EQ(tcedDragGen(ss, "Where: ", 0, moveTo, p), RTCAN);
  tcedInitGet(0, "Base");
  reply("B\n");
  EXPECT_EQ(tcedDragGen(ss, "Where: ", 0, moveTo, p), RTKWORD);
  EXPECT_EQ(dragCalls, 1);
  tcedSSFree(ss);
  EXPECT_EQ(tcedDragGen(ss, "Where: ", 0, moveTo, p), RTERROR);  // a freed set
}

TEST_F(EditorTest, TemporaryVectorsAndRedrawsAreRecorded) {
  tc_point a = {0, 0, 0}, b = {1, 2, 0};
  EXPECT_EQ(tcedGrDraw(a, b, 1, 0), RTNORM);
  tc_matrix shift = {{1, 0, 0, 10}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  resbuf* vecs = tcutBuildList(RTSHORT, -3, RTPOINT, a, RTPOINT, b, RTNONE);
  EXPECT_EQ(tcedGrVecs(vecs, shift), RTNORM);
  tcutRelRb(vecs);
  auto& d = session.editor().display();
  ASSERT_EQ(d.vectors.size(), 2u);
  EXPECT_EQ(d.vectors[1].from.x, 10);
  EXPECT_EQ(d.vectors[1].colour, 3);
  EXPECT_TRUE(d.vectors[1].highlighted);
  resbuf* lone = tcutBuildList(RTSHORT, 1, RTPOINT, a, RTNONE);
  EXPECT_EQ(tcedGrVecs(lone, nullptr), RTERROR);
  tcutRelRb(lone);
  EXPECT_EQ(d.vectors.size(), 2u);  // a bad list draws nothing
  tc_name e;
  line(0, 0, 5, 0, "0", 256, e);
  EXPECT_EQ(tcedRedraw(e, 3), RTNORM);
  EXPECT_EQ(d.highlighted.size(), 1u);
  EXPECT_EQ(tcedRedraw(e, 4), RTNORM);
  EXPECT_TRUE(d.highlighted.empty());
  EXPECT_EQ(tcedRedraw(e, 7), RTERROR);
  EXPECT_EQ(tcedRedraw(nullptr, 1), RTNORM);
  EXPECT_TRUE(d.vectors.empty());
  EXPECT_EQ(d.redraws.size(), 3u);
}

TEST_F(EditorTest, XformSSMovesMembersAndRefusesWhatCannotFollow) {
  tc_name l, c, ss;
  line(0, 0, 10, 0, "0", 256, l);
  make(tcutBuildList(RTDXF0, "CIRCLE", 10, P2, 40, 1.0, RTNONE));
  lastName(c);
  tcedSSAdd(l, nullptr, ss);
  tcedSSAdd(c, ss, ss);
  tc_matrix move = {{1, 0, 0, 5}, {0, 1, 0, 1}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ASSERT_EQ(tcedXformSS(ss, move), RTNORM);
  EXPECT_EQ(groupReal(l, 10, 0), 5);
  EXPECT_EQ(groupReal(l, 11, 1), 1);
  EXPECT_EQ(groupReal(c, 10, 0), 45);
  tc_matrix uneven = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  EXPECT_EQ(tcedXformSS(ss, uneven), RTERROR);
  EXPECT_EQ(groupReal(l, 11, 0), 15);  // nothing changed, the line neither
  tc_matrix projective = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 1}};
  EXPECT_EQ(tcedXformSS(ss, projective), RTERROR);
  tcedSSFree(ss);
}

TEST_F(EditorTest, XformSSLeavesLockedLayers) {
  tc_name l, ss;
  line(0, 0, 10, 0, "FIXED", 256, l);
  tc_name layerName;
  ASSERT_EQ(tcdbTblObjName("LAYER", "FIXED", layerName), RTNORM);
  resbuf* layer = tcdbEntGet(layerName);
  for (resbuf* rb = layer; rb; rb = rb->rbnext)
    if (rb->restype == 70) rb->resval.rint |= 4;
  ASSERT_EQ(tcdbEntMod(layer), RTNORM);
  tcutRelRb(layer);
  tcedSSAdd(l, nullptr, ss);
  tc_matrix move = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  EXPECT_EQ(tcedXformSS(ss, move), RTNORM);
  EXPECT_EQ(groupReal(l, 10, 0), 0);
  tcedSSFree(ss);
}

struct ColourCase {
  const char* replies;
  int allowMeta;
  int expected;
  bool complained;
};

class ColourReplies : public EditorTest, public testing::WithParamInterface<ColourCase> {};

TEST_P(ColourReplies, IndexNameOrRgb) {
  auto c = GetParam();
  reply(c.replies);
  int colour = 42;
  ASSERT_EQ(tcedSetColorDialog(&colour, c.allowMeta, 7), RTNORM) << transcript();
  EXPECT_EQ(colour, c.expected);
  EXPECT_EQ(transcript().find("Requires a colour number") != std::string::npos, c.complained) << transcript();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ColourReplies,
    testing::Values(ColourCase{"3\n", 0, 3, false}, ColourCase{"bylayer\n", 1, 256, false},
                    ColourCase{"ByBlock\n", 1, 0, false}, ColourCase{"bylayer 5\n", 0, 5, true},
                    ColourCase{"0 256 7\n", 0, 7, true}, ColourCase{"Red\n", 0, 1, false},
                    ColourCase{"255,0,0\n", 0, 1, false}, ColourCase{"255,127,127\n", 0, 11, false},
                    ColourCase{"300,0,0 1,2\n4\n", 0, 4, true}, ColourCase{"\n", 0, 42, false}));

TEST_F(EditorTest, ColourDialogCancels) {
  int colour = 1;
  reply("^C\n");
  EXPECT_EQ(tcedSetColorDialog(&colour, 1, 7), RTCAN);
  EXPECT_EQ(colour, 1);
}

TEST(ColourIndices, RgbOfTheStandardIndices) {
  struct { int index, r, g, b; } known[] = {{1, 255, 0, 0},      {5, 0, 0, 255},     {7, 255, 255, 255},
                                           {10, 255, 0, 0},     {11, 255, 127, 127}, {14, 153, 0, 0},
                                           {20, 255, 63, 0},    {50, 255, 255, 0},  {100, 0, 255, 63},
                                           {250, 51, 51, 51},   {255, 255, 255, 255}};
  for (auto k : known) {
    int r, g, b;
    ASSERT_EQ(tcedGetRGB(k.index, &r, &g, &b), RTNORM) << k.index;
    EXPECT_EQ(r, k.r) << k.index;
    EXPECT_EQ(g, k.g) << k.index;
    EXPECT_EQ(b, k.b) << k.index;
  }
  int r, g, b;
  EXPECT_EQ(tcedGetRGB(0, &r, &g, &b), RTERROR);
  EXPECT_EQ(tcedGetRGB(256, &r, &g, &b), RTERROR);
}

class Files : public EditorTest {
 protected:
  void SetUp() override {
    // A folder of each test's own: CTest runs these tests at the same time.
    dir = fs::path(testing::TempDir()) /
          ("editor_files_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
           "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "support");
    std::ofstream(dir / "styles.dim") << "x\n";
    std::ofstream(dir / "support" / "breaks.lin") << "x\n";
  }
  void TearDown() override {
    tarn::host::setSysVar("SUPPORTPATH", tarn::host::textValue(""));
    unsetenv("TARNCAD_SUPPORT");
    std::error_code ec;
    fs::remove_all(dir, ec);
    EditorTest::TearDown();
  }
  fs::path dir;
};

TEST_F(Files, OpenTakesAnExistingFileAddingTheExtension) {
  std::string missing = (dir / "nothere").string(), given = (dir / "styles").string();
  reply(missing + "\n" + given + "\n");
  resbuf result;
  ASSERT_EQ(tcedGetFileD("Dimension style file", nullptr, "dim;txt", 0, &result), RTNORM);
  EXPECT_EQ(std::string(result.resval.rstring), given + ".dim");
  std::free(result.resval.rstring);
  EXPECT_NE(transcript().find("File not found: " + missing + ".dim"), std::string::npos);
}

TEST_F(Files, EnterTakesTheDefaultAndCancelCancels) {
  std::string fallback = (dir / "styles.dim").string();
  reply("\n^C\n");
  resbuf* chain = nullptr;
  ASSERT_EQ(tcedGetFileNavDialog("Open", fallback.c_str(), "dim", "", 0, &chain), RTNORM);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(std::string(chain->resval.rstring), fallback);
  tcutRelRb(chain);
  EXPECT_EQ(tcedGetFileNavDialog("Open", fallback.c_str(), "dim", "", 0, &chain), RTCAN);
  EXPECT_EQ(chain, nullptr);
}

TEST_F(Files, SavingOverAFileNeedsYes) {
  std::string existing = (dir / "styles.dim").string(), fresh = (dir / "new.dim").string();
  reply(existing + "\n\n" + fresh + "\n" + existing + "\nyes\n");
  resbuf result;
  ASSERT_EQ(tcedGetFileD("Save as", nullptr, "dim", 1, &result), RTNORM);
  EXPECT_EQ(std::string(result.resval.rstring), fresh);  // Enter said No to replacing
  std::free(result.resval.rstring);
  ASSERT_EQ(tcedGetFileD("Save as", nullptr, "dim", 1, &result), RTNORM);
  EXPECT_EQ(std::string(result.resval.rstring), existing);
  std::free(result.resval.rstring);
}

TEST_F(Files, FindFileSearchesTheSupportPathInOrder) {
  char found[512];
  EXPECT_EQ(tcedFindFile("breaks.lin", found, sizeof found), RTERROR);
  tarn::host::setSysVar("SUPPORTPATH", tarn::host::textValue((dir / "support").string()));
  ASSERT_EQ(tcedFindFile("breaks.lin", found, sizeof found), RTNORM);
  EXPECT_EQ(std::string(found), (dir / "support" / "breaks.lin").string());
  tarn::host::setSysVar("SUPPORTPATH", tarn::host::textValue(""));
  setenv("TARNCAD_SUPPORT", ("/nonexistent:" + dir.string()).c_str(), 1);
  ASSERT_EQ(tcedFindFile("styles.dim", found, sizeof found), RTNORM);
  EXPECT_EQ(std::string(found), (dir / "styles.dim").string());
  EXPECT_EQ(tcedFindFile((dir / "styles.dim").c_str(), found, sizeof found), RTNORM);
  EXPECT_EQ(tcedFindFile("/nonexistent/styles.dim", found, sizeof found), RTERROR);
  char tiny[4];
  EXPECT_EQ(tcedFindFile("styles.dim", tiny, sizeof tiny), RTERROR);  // a cut path is no path
}

TEST_F(Files, EnvironmentValuesLiveInTheSettingsStore) {
  tarn::platform::RegistryStore store(dir / "config");
  tarn::editor::setEnvironmentRegistry(&store);
  char value[64];
  ASSERT_EQ(tcedGetEnv("MaxArray", value, sizeof value), RTNORM);
  EXPECT_STREQ(value, "100000");
  EXPECT_EQ(tcedGetEnv("NoSuchValue", value, sizeof value), RTERROR);
  ASSERT_EQ(tcedSetEnv("maxarray", "250"), RTNORM);
  ASSERT_EQ(tcedGetEnv("MAXARRAY", value, sizeof value), RTNORM);
  EXPECT_STREQ(value, "250");
  EXPECT_EQ(tcedSetEnv("", "1"), RTERROR);
  tarn::editor::setEnvironmentRegistry(nullptr);
}

}  // namespace
