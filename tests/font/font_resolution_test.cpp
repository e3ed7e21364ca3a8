// Font resolution: the CAD font map, the pinned mode and its fallbacks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "font/face.h"
#include "font/font_resolver.h"

namespace tarn::font {
namespace {

struct MapCase {
  const char* name;
  const char* firstFamily;
};

class FontMap : public ::testing::TestWithParam<MapCase> {};

TEST_P(FontMap, NameMapsToFamilyOfMatchingLook) {
  const std::string families = mappedFamilies(GetParam().name);
  EXPECT_EQ(families.substr(0, families.find(',')), GetParam().firstFamily);
}

INSTANTIATE_TEST_SUITE_P(StrokeAndTrueTypeNames, FontMap,
                         ::testing::Values(MapCase{"txt.shx", "DejaVu Sans"}, MapCase{"SIMPLEX.SHX", "DejaVu Sans"},
                                           MapCase{"romans.shx", "DejaVu Sans"},
                                           MapCase{"romanc.shx", "DejaVu Serif"},
                                           MapCase{"monotxt.shx", "DejaVu Sans Mono"},
                                           MapCase{"gbcbig.shx", "Noto Sans CJK SC"},
                                           MapCase{"C:\\Fonts\\arial.ttf", "Arial"},
                                           MapCase{"unknown.shx", ""}, MapCase{"Arial", "Arial"}));

// Turns the pinned mode off for one test and back on after it.
class Unpinned : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv(kPinnedFontEnv); v && *v && std::string(v) != "0")
      GTEST_SKIP() << kPinnedFontEnv << " forces the pinned font in this run";
    setPinnedFontOnly(false);
  }
  void TearDown() override { setPinnedFontOnly(true); }
};

TEST_F(Unpinned, InstalledFileIsFoundByItsName) {
  ResolvedFont r = resolveFont({"DejaVuSansMono.ttf"});
  ASSERT_EQ(r.status, FontStatus::Ok);
  EXPECT_NE(r.file.find("DejaVuSansMono.ttf"), std::string::npos);
  EXPECT_FALSE(r.pinned);
}

TEST_F(Unpinned, FileNameIsMatchedWithoutRegardToCase) {
  ResolvedFont r = resolveFont({"dejavusansmono.TTF"});
  EXPECT_NE(r.file.find("DejaVuSansMono.ttf"), std::string::npos);
}

TEST_F(Unpinned, AbsolutePathIsTakenAsIs) {
  const std::string serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
  ASSERT_EQ(::access(serif.c_str(), R_OK), 0);
  EXPECT_EQ(resolveFont({serif}).file, serif);
}

TEST_F(Unpinned, PathToAFileThatIsNoFontIsNotTaken) {
  EXPECT_NE(resolveFont({"/etc/passwd"}).file, "/etc/passwd");
  EXPECT_NE(resolveFont({"../../../../../../etc/passwd"}).file.find("/fonts/"), std::string::npos);
}

TEST_F(Unpinned, EveryNameResolvesToAReadableFile) {
  for (const char* name : {"txt.shx", "gbcbig.shx", "no-such-font.ttf", "No Such Family", ""}) {
    ResolvedFont r = resolveFont({name});
    ASSERT_EQ(r.status, FontStatus::Ok) << name;
    EXPECT_EQ(::access(r.file.c_str(), R_OK), 0) << name;
  }
}

TEST(PinnedFont, EveryNameGivesThePinnedFile) {
  for (const char* name : {"txt.shx", "romanc.shx", "Arial", "DejaVuSansMono.ttf", ""}) {
    ResolvedFont r = resolveFont({name});
    EXPECT_EQ(r.file, kPinnedFontFile) << name;
    EXPECT_TRUE(r.pinned);
  }
}

TEST(PinnedFont, BoldAndItalicUseThePinnedFamilysOwnFaces) {
  EXPECT_NE(resolveFont({"txt.shx", true, false}).file.find("DejaVuSans-Bold.ttf"), std::string::npos);
  EXPECT_NE(resolveFont({"txt.shx", false, true}).file.find("DejaVuSans-Oblique.ttf"), std::string::npos);
}

TEST(PinnedFont, FaceScalesCapitalHToOne) {
  FaceResult f = loadFace({"DejaVu Sans"});
  ASSERT_EQ(f.status, FontStatus::Ok);
  EXPECT_DOUBLE_EQ(f.face->metrics(U'H').ink.max.y, 1.0);
  EXPECT_DOUBLE_EQ(f.face->metrics(U'H').ink.min.y, 0.0);
  EXPECT_LT(f.face->descender(), 0.0);
  EXPECT_TRUE(f.face->metrics(U' ').ink.empty());
  EXPECT_GT(f.face->metrics(U' ').advance, 0.0);
}

TEST(PinnedFont, FacesAreCachedPerRequest) {
  EXPECT_EQ(loadFace({"DejaVu Sans"}).face, loadFace({"DejaVu Sans"}).face);
  EXPECT_NE(loadFace({"DejaVu Sans"}).face, loadFace({"DejaVu Sans", true}).face);
}

}  // namespace
}  // namespace tarn::font
