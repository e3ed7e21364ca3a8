// WMFOUT and WMFIN: the file on disk is a placeable metafile of the view,
// texts follow the "TextFill" setting, and a metafile read back through
// WMFIN at scale 2 from the view's upper-left corner gives the geometry
// that was written, as the module's text explode relies on. Malformed files
// are refused with the byte offset of the fault and change nothing.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "editor/host_files.h"
#include "platform/registry.h"

namespace {

namespace fs = std::filesystem;
using tarn::db::Point3;

std::vector<uint8_t> fileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::vector<uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t u32(const std::vector<uint8_t>& b, size_t at) { return u16(b, at) | uint32_t(u16(b, at + 2)) << 16; }

// The record functions of a placeable metafile, walked independently of
// the host's reader; empty when a size does not fit.
std::vector<uint16_t> recordFunctions(const std::vector<uint8_t>& b) {
  std::vector<uint16_t> out;
  for (size_t at = 22 + 18; at + 6 <= b.size();) {
    uint32_t words = u32(b, at);
    if (words < 3 || at + words * 2 > b.size()) return {};
    out.push_back(u16(b, at + 4));
    if (out.back() == 0) break;
    at += words * 2;
  }
  return out;
}

size_t count(const std::vector<uint16_t>& v, uint16_t f) { return size_t(std::count(v.begin(), v.end(), f)); }

class Metafiles : public CommandTest {
 protected:
  void SetUp() override {
    dir = fs::path(testing::TempDir()) /
          ("wmf-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
           std::to_string(getpid()));
    fs::create_directories(dir);
    store = std::make_unique<tarn::platform::RegistryStore>(dir / "config");
    tarn::editor::setEnvironmentRegistry(store.get());
    // The view: 100 x 50 units around (50,25); its upper-left corner is (0,50).
    tarn::host::setSysVarInternal("VIEWCTR", tarn::host::pointValue({50, 25, 0}));
    tarn::host::setSysVarInternal("VIEWSIZE", tarn::host::realValue(50));
    tarn::host::setSysVarInternal("SCREENSIZE", tarn::host::pointValue({800, 400, 0}));
  }
  void TearDown() override {
    tarn::editor::setEnvironmentRegistry(nullptr);
    store.reset();
    fs::remove_all(dir);
    CommandTest::TearDown();
  }

  void wmfout(const fs::path& file) {
    std::string name = file.string();
    asModule([&] { tcedCommand(RTSTR, "_.WMFOUT", RTSTR, name.c_str(), RTSTR, "ALL", RTSTR, "", RTNONE); });
  }
  // WMFIN as the module's text explode drives it: the view's upper-left
  // corner, scale "2.0" typed as text, the rotation as a real.
  void wmfinAtCorner(const fs::path& file) {
    std::string name = file.string();
    double corner[3] = {0, 50, 0};
    asModule([&] {
      tcedCommand(RTSTR, "_.WMFIN", RTSTR, name.c_str(), RTPOINT, corner, RTSTR, "2.0", RTSTR, "2.0", RTREAL, 360.0,
                  RTNONE);
    });
  }
  // The entities of a block definition of the drawing, by type.
  std::vector<uint32_t> blockEntities(std::string_view block, std::string_view type) {
    std::vector<uint32_t> out;
    uint32_t b = db().findBlock(block);
    if (b == tarn::db::kNoObject) return out;
    for (uint32_t id : db().blocks()[b].entities)
      if (db().typeOf(id) == type) out.push_back(id);
    return out;
  }
  // A block point as the reference at (0,50) with scale 2 places it.
  static Point3 placed(Point3 p) { return {2 * p.x, 50 + 2 * p.y, 0}; }

  fs::path dir;
  std::unique_ptr<tarn::platform::RegistryStore> store;
};

constexpr double kTol = 0.005;  // a logical unit of this view is 1/300 of a drawing unit

#define EXPECT_POINT(p, ex, ey)        \
  do {                                 \
    EXPECT_NEAR((p).x, ex, kTol);      \
    EXPECT_NEAR((p).y, ey, kTol);      \
  } while (0)

TEST_F(Metafiles, PlaceableHeaderDescribesTheViewAndRecordsEndTheFile) {
  makeLine(10, 10, 90, 40);
  wmfout(dir / "view.wmf");
  std::vector<uint8_t> b = fileBytes(dir / "view.wmf");
  ASSERT_GT(b.size(), 40u) << transcript();
  EXPECT_EQ(u32(b, 0), 0x9AC6CDD7u);
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= u16(b, i);
  EXPECT_EQ(u16(b, 20), sum) << "checksum";
  // 100 x 50 units at 300 logical units each; 600 per inch: half scale.
  EXPECT_EQ(u16(b, 10) - u16(b, 6), 30000);
  EXPECT_EQ(u16(b, 12) - u16(b, 8), 15000);
  EXPECT_EQ(u16(b, 14), 600);
  EXPECT_EQ(u16(b, 22), 1);
  EXPECT_EQ(u16(b, 24), 9);
  EXPECT_EQ(u32(b, 28) * 2 + 22, b.size()) << "size in words of header and records";
  std::vector<uint16_t> f = recordFunctions(b);
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.back(), 0) << "META_EOF last";
  EXPECT_EQ(count(f, 0x0325), 1u) << "one POLYLINE";
  EXPECT_EQ(count(f, 0x02FA), 1u) << "one pen";
  for (const auto& e : fs::directory_iterator(dir))  // no temporary file left beside it
    EXPECT_NE(e.path().filename().string().rfind("view.wmf.", 0), 0u) << e.path();
}

TEST_F(Metafiles, GeometryComesBackWhereItWasAtScaleTwoFromTheViewCorner) {
  makeLine(10, 10, 90, 40);
  typed("CIRCLE", "20,30\n3\n");
  typed("PLINE", "40,10\n60,10\nA\n60,30\n\n");
  typed("POINT", "70,45\n");
  std::string out = (dir / "geo.wmf").string();
  wmfout(out);
  wmfinAtCorner(out);
  ASSERT_EQ(entities("INSERT").size(), 1u) << transcript();
  auto lines = blockEntities("WMF0", "LINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_POINT(placed(points(lines[0], 10)[0]), 10, 10);
  EXPECT_POINT(placed(points(lines[0], 11)[0]), 90, 40);
  auto circles = blockEntities("WMF0", "CIRCLE");
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_POINT(placed(points(circles[0], 10)[0]), 20, 30);
  EXPECT_NEAR(2 * real(circles[0], 40), 3, kTol);
  auto plines = blockEntities("WMF0", "LWPOLYLINE");
  ASSERT_EQ(plines.size(), 1u);
  std::vector<Point3> v = points(plines[0], 10);
  ASSERT_GT(v.size(), 8u) << "the arc is flattened";
  EXPECT_POINT(placed(v.front()), 40, 10);
  EXPECT_POINT(placed(v.back()), 60, 30);
  for (size_t i = 2; i < v.size(); ++i) {  // the arc: centre (60,20), radius 10
    Point3 p = placed(v[i]);
    EXPECT_NEAR(std::hypot(p.x - 60, p.y - 20), 10, 0.02);
  }
  auto pts = blockEntities("WMF0", "POINT");
  ASSERT_EQ(pts.size(), 1u);
  EXPECT_POINT(placed(points(pts[0], 10)[0]), 70, 45);
}

TEST_F(Metafiles, ObjectsOutsideTheViewAreLeftOutAndCrossingOnesClipped) {
  makeLine(500, 500, 600, 600);
  makeLine(-50, 10, 50, 10);
  std::string out = (dir / "clip.wmf").string();
  wmfout(out);
  EXPECT_NE(transcript().find("1 of 2 objects were outside the view"), std::string::npos) << transcript();
  wmfinAtCorner(out);
  auto lines = blockEntities("WMF0", "LINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_POINT(placed(points(lines[0], 10)[0]), 0, 10);
  EXPECT_POINT(placed(points(lines[0], 11)[0]), 50, 10);
}

TEST_F(Metafiles, TextFillOnWritesFontsAndTextsThatReadBackAsTexts) {
  typed("TEXT", "30,30\n2.5\n0\nAB\n");
  std::string out = (dir / "text.wmf").string();
  wmfout(out);
  std::vector<uint16_t> f = recordFunctions(fileBytes(out));
  EXPECT_EQ(count(f, 0x0A32), 1u) << "EXTTEXTOUT";
  EXPECT_EQ(count(f, 0x02FB), 1u) << "CREATEFONTINDIRECT";
  wmfinAtCorner(out);
  auto texts = blockEntities("WMF0", "TEXT");
  ASSERT_EQ(texts.size(), 1u) << transcript();
  EXPECT_EQ(tarn::db::findString(db(), texts[0], 1), "AB");
  EXPECT_POINT(placed(points(texts[0], 10)[0]), 30, 30);
  EXPECT_NEAR(2 * real(texts[0], 40), 2.5, 0.01);
}

TEST_F(Metafiles, TextFillOffWritesGlyphOutlinesThatReadBackAsClosedPolylines) {
  ASSERT_EQ(tcedSetEnv("TextFill", "0"), RTNORM);
  typed("TEXT", "30,30\n2.5\n0\nAB\n");
  std::string out = (dir / "outline.wmf").string();
  wmfout(out);
  std::vector<uint16_t> f = recordFunctions(fileBytes(out));
  EXPECT_EQ(count(f, 0x0A32), 0u) << "no text record";
  EXPECT_GE(count(f, 0x0324) + count(f, 0x0538), 1u) << "polygons";
  wmfinAtCorner(out);
  auto contours = blockEntities("WMF0", "LWPOLYLINE");
  ASSERT_GE(contours.size(), 3u) << "A has two contours, B three";
  for (uint32_t c : contours) {
    EXPECT_EQ(tarn::db::findTag(db(), c, 70)->i & 1, 1);
    for (Point3 p : points(c, 10)) {
      Point3 q = placed(p);
      EXPECT_GT(q.x, 29.5);
      EXPECT_LT(q.x, 36);
      EXPECT_GT(q.y, 29.9);
      EXPECT_LT(q.y, 32.7);
    }
  }
  EXPECT_TRUE(blockEntities("WMF0", "TEXT").empty());
}

TEST_F(Metafiles, NestedBlocksDrawTheirContentsInByBlockAndOwnColours) {
  double o[3] = {0, 0, 0}, a[3] = {4, 0, 0}, at[3] = {5, 0, 0}, place[3] = {10, 10, 0};
  auto make = [](resbuf* list) {
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
  };
  make(tcutBuildList(RTDXF0, "BLOCK", 2, "INNER", 70, 0, 10, o, RTNONE));
  make(tcutBuildList(RTDXF0, "LINE", 8, "0", 62, 1, 10, o, 11, a, RTNONE));
  make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  make(tcutBuildList(RTDXF0, "BLOCK", 2, "OUTER", 70, 0, 10, o, RTNONE));
  make(tcutBuildList(RTDXF0, "INSERT", 8, "0", 2, "INNER", 10, at, RTNONE));
  make(tcutBuildList(RTDXF0, "CIRCLE", 8, "0", 62, 0, 10, o, 40, 1.0, RTNONE));
  make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
  make(tcutBuildList(RTDXF0, "INSERT", 8, "0", 62, 3, 2, "OUTER", 10, place, 41, 2.0, 42, 2.0, 43, 2.0, RTNONE));
  std::string out = (dir / "nested.wmf").string();
  wmfout(out);
  wmfinAtCorner(out);
  auto lines = blockEntities("WMF0", "LINE");
  ASSERT_EQ(lines.size(), 1u) << transcript();
  EXPECT_POINT(placed(points(lines[0], 10)[0]), 20, 10);
  EXPECT_POINT(placed(points(lines[0], 11)[0]), 28, 10);
  EXPECT_EQ(tarn::db::findTag(db(), lines[0], 62)->i, 1) << "red, its own colour";
  auto circles = blockEntities("WMF0", "CIRCLE");
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(tarn::db::findTag(db(), circles[0], 62)->i, 3) << "BYBLOCK takes the reference's green";
  EXPECT_NEAR(2 * real(circles[0], 40), 2, kTol);
}

TEST_F(Metafiles, LayersThatAreOffOrFrozenAreNotDrawn) {
  makeLine(10, 10, 20, 10, "SHOWN");
  makeLine(10, 20, 20, 20, "HIDDEN");
  makeLine(10, 30, 20, 30, "ICED");
  typed("-LAYER", "OFF\nHIDDEN\nF\nICED\n\n");
  std::string out = (dir / "layers.wmf").string();
  wmfout(out);
  EXPECT_EQ(count(recordFunctions(fileBytes(out)), 0x0325), 1u);
}

TEST_F(Metafiles, TypedCommandsAskForFileObjectsPointScalesAndRotation) {
  makeLine(10, 10, 30, 10);
  std::string out = (dir / "typed.wmf").string();
  typed("WMFOUT", out + "\nALL\n\n");
  ASSERT_TRUE(fs::exists(out)) << transcript();
  typed("WMFIN", out + "\n100,100\n4\n\n90\n");
  auto inserts = entities("INSERT");
  ASSERT_EQ(inserts.size(), 1u) << transcript();
  EXPECT_POINT(points(inserts[0], 10)[0], 100, 100);
  EXPECT_DOUBLE_EQ(real(inserts[0], 41), 4);
  EXPECT_DOUBLE_EQ(real(inserts[0], 42), 4) << "Enter takes the X scale";
  EXPECT_NEAR(real(inserts[0], 50), 90, 1e-9);
  EXPECT_NE(transcript().find("Enter Y scale factor <use X scale factor>: "), std::string::npos);
  // A second import makes the next block name.
  typed("WMFIN", out + "\n0,0\n\n\n\n");
  EXPECT_NE(db().findBlock("WMF1"), tarn::db::kNoObject);
}

TEST_F(Metafiles, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
  makeLine(10, 10, 30, 10);
  fs::path kept = dir / "kept.wmf", other = dir / "other.wmf";
  writeBytes(kept, {'o', 'l', 'd'});
  typed("WMFOUT", kept.string() + "\nN\n" + other.string() + "\nALL\n\n");
  EXPECT_EQ(fileBytes(kept).size(), 3u);
  EXPECT_TRUE(fs::exists(other));
  typed("WMFOUT", kept.string() + "\nY\nALL\n\n");
  EXPECT_EQ(u32(fileBytes(kept), 0), 0x9AC6CDD7u);
}

TEST_F(Metafiles, UndoAfterWmfinRestoresTheDrawingExactly) {
  makeLine(10, 10, 90, 40);
  typed("TEXT", "30,30\n2.5\n0\nAB\n");
  std::string out = (dir / "undo.wmf").string();
  wmfout(out);
  std::string before = dxf();
  wmfinAtCorner(out);
  ASSERT_NE(dxf(), before);
  undo();
  EXPECT_EQ(dxf(), before);
}

// A metafile without a placeable header: 96 logical units to the unit.
TEST_F(Metafiles, PlainMetafileWithoutPlaceableHeaderReads) {
  std::vector<uint8_t> b = {1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto rec = [&](uint16_t f, std::vector<int16_t> params) {
    uint32_t words = uint32_t(3 + params.size());
    for (int k = 0; k < 4; ++k) b.push_back(uint8_t(words >> (8 * k)));
    b.push_back(uint8_t(f)), b.push_back(uint8_t(f >> 8));
    for (int16_t p : params) b.push_back(uint8_t(p)), b.push_back(uint8_t(uint16_t(p) >> 8));
  };
  rec(0x0325, {3, 0, 0, 96, 0, 96, 96});
  rec(0, {});
  writeBytes(dir / "plain.wmf", b);
  typed("WMFIN", (dir / "plain.wmf").string() + "\n0,0\n1\n1\n0\n");
  auto plines = blockEntities("WMF0", "LWPOLYLINE");
  ASSERT_EQ(plines.size(), 1u) << transcript();
  std::vector<Point3> v = points(plines[0], 10);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_POINT(v[1], 1, 0);
  EXPECT_POINT(v[2], 1, -1);  // logical Y runs down
}

// Malformed files: each is refused naming the byte where the fault is, and
// the drawing does not change.
struct Malformed {
  const char* name;
  std::vector<uint8_t> bytes;
  size_t offset;
};

std::vector<uint8_t> header() { return {1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }
std::vector<uint8_t> with(std::vector<uint8_t> a, std::initializer_list<uint8_t> b) {
  a.insert(a.end(), b);
  return a;
}

class MalformedMetafiles : public Metafiles, public testing::WithParamInterface<Malformed> {};

TEST_P(MalformedMetafiles, AreRefusedWithTheByteOffsetAndChangeNothing) {
  makeLine(0, 0, 1, 1);
  writeBytes(dir / "bad.wmf", GetParam().bytes);
  std::string before = dxf();
  typed("WMFIN", (dir / "bad.wmf").string() + "\n0,0\n1\n1\n0\n");
  EXPECT_NE(transcript().find("(at byte " + std::to_string(GetParam().offset) + ")"), std::string::npos)
      << transcript();
  EXPECT_EQ(dxf(), before);
  EXPECT_EQ(db().findBlock("WMF0"), tarn::db::kNoObject);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedMetafiles,
    testing::Values(
        Malformed{"NotAMetafile", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!', '!', '!'}, 0},
        Malformed{"RecordLongerThanTheFile", with(header(), {200, 0, 0, 0, 0x25, 0x03, 1, 0}), 18},
        Malformed{"RecordShorterThanItsHeader", with(header(), {2, 0, 0, 0, 0x25, 0x03}), 18},
        Malformed{"PointCountPastTheRecord", with(header(), {5, 0, 0, 0, 0x25, 0x03, 100, 0, 1, 0, 3, 0, 0, 0}), 24},
        Malformed{"SelectsAMissingObject", with(header(), {4, 0, 0, 0, 0x2D, 0x01, 7, 0, 3, 0, 0, 0, 0, 0}), 24},
        Malformed{"NoEndRecord", with(header(), {6, 0, 0, 0, 0x25, 0x03, 1, 0, 1, 0, 3, 0}), 30},
        Malformed{"CutShortHeader", {1, 0, 9, 0, 0, 3}, 0},
        Malformed{"BadPlaceableChecksum",
                  with({0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 100, 0, 100, 0, 96, 0, 0, 0, 0, 0, 0x12, 0x34},
                       {1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0}),
                  20}),
    [](const testing::TestParamInfo<Malformed>& i) { return std::string(i.param.name); });

}  // namespace
