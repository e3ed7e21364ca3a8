// WIPEOUT typed and as the text-mask command issues it: the entity as DXF
// defines it (pixel-coordinate boundary, u/v vectors, display options), the
// classes and the frames object it needs, Frames ON/OFF, and a reading of
// the written file by another DXF reader.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "db/dxf.h"

namespace {

using tarn::db::Point3;

class Wipeout : public CommandTest {
 protected:
  void SetUp() override {
    for (const char* v : {"UCSXDIR", "UCSYDIR"}) {
      saved.emplace_back();
      tarn::host::getSysVar(v, saved.back());
    }
  }
  void TearDown() override {
    const char* names[] = {"UCSXDIR", "UCSYDIR"};
    for (size_t i = 0; i < saved.size(); ++i) tarn::host::setSysVarInternal(names[i], saved[i]);
    CommandTest::TearDown();
  }
  std::vector<Point3> boundary(uint32_t id) { return points(id, 14); }
  int integer(uint32_t id, int code) {
    auto t = tarn::db::findTag(db(), id, code);
    return t ? int(t->i) : -1;
  }
  bool hasClass(const char* name) {
    for (const auto& s : db().classes())
      for (const auto& t : s.tags)
        if (t.code == 1 && t.s == name) return true;
    return false;
  }
  std::vector<tarn::host::SysVarValue> saved;
};

TEST_F(Wipeout, TypedPointsClosedByTheFirstPoint) {
  std::string before = dxf();
  ASSERT_EQ(typed("WIPEOUT", "0,0\n4,0\n4,2\n0,2\n0,0\n"), RTNORM) << transcript();
  auto w = entities("WIPEOUT");
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(points(w[0], 10)[0], (Point3{0, 0, 0}));
  EXPECT_EQ(points(w[0], 11)[0], (Point3{4, 0, 0}));
  EXPECT_EQ(points(w[0], 12)[0], (Point3{0, 2, 0}));
  EXPECT_EQ(integer(w[0], 70), 7);
  EXPECT_EQ(integer(w[0], 71), 2);
  EXPECT_EQ(integer(w[0], 91), 5);
  auto b = boundary(w[0]);
  ASSERT_EQ(b.size(), 5u);
  // Pixel coordinates: origin at the top-left, Y down, the image one pixel wide.
  EXPECT_EQ(b[0], (Point3{-0.5, 0.5, 0}));
  EXPECT_EQ(b[2], (Point3{0.5, -0.5, 0}));
  EXPECT_EQ(b[4], b[0]);
  EXPECT_TRUE(hasClass("WIPEOUT"));
  EXPECT_TRUE(hasClass("WIPEOUTVARIABLES"));
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(Wipeout, TextMaskSequenceAndEnterToEnd) {
  asModule([] {
    double c1[3] = {1, 1, 0}, c2[3] = {3, 1, 0}, c3[3] = {3, 2, 0}, c4[3] = {1, 2, 0};
    tcedCommand(RTSTR, "WipeOut", RTPOINT, c1, RTPOINT, c2, RTPOINT, c3, RTPOINT, c4, RTPOINT, c1, RTSTR, "", RTNONE);
  });
  ASSERT_EQ(typed("_.WIPEOUT", "10,10\n12,10\n11,12\n\n"), RTNORM) << transcript();
  auto w = entities("WIPEOUT");
  ASSERT_EQ(w.size(), 2u) << transcript();
  EXPECT_EQ(integer(w[0], 91), 5);
  EXPECT_EQ(integer(w[1], 91), 4);
  EXPECT_EQ(typed("WIPEOUT", "0,0\n1,1\n\n"), RTERROR);  // two points enclose nothing
  EXPECT_EQ(entities("WIPEOUT").size(), 2u);
}

TEST_F(Wipeout, FramesOnAndOffAndUndo) {
  std::string before = dxf();
  ASSERT_EQ(typed("WIPEOUT", "_F\n_ON\n"), RTNORM) << transcript();
  std::string on = dxf();
  EXPECT_NE(on.find("WIPEOUTVARIABLES\n  5\n"), std::string::npos);
  EXPECT_NE(on.find("AcDbWipeoutVariables\n 70\n1\n"), std::string::npos);
  EXPECT_NE(on.find("ACAD_WIPEOUT_VARS"), std::string::npos);
  ASSERT_EQ(typed("WIPEOUT", "F\nOFF\n"), RTNORM);
  EXPECT_NE(dxf().find("AcDbWipeoutVariables\n 70\n0\n"), std::string::npos);
  undo();
  EXPECT_EQ(dxf(), on);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(Wipeout, TiltedUcsPutsTheVectorsAlongItsAxes) {
  tarn::host::setSysVarInternal("UCSXDIR", tarn::host::pointValue({0, 1, 0}));
  tarn::host::setSysVarInternal("UCSYDIR", tarn::host::pointValue({0, 0, 1}));
  ASSERT_EQ(typed("WIPEOUT", "0,0\n2,0\n2,3\n\n"), RTNORM) << transcript();
  uint32_t w = entities("WIPEOUT").at(0);
  EXPECT_EQ(points(w, 11)[0], (Point3{0, 2, 0}));
  EXPECT_EQ(points(w, 12)[0], (Point3{0, 0, 3}));
}

// Another DXF reader opens the file, finds no errors, and places the
// boundary where the points were given.
TEST_F(Wipeout, AnotherReaderReadsWhatIsWritten) {
  ASSERT_EQ(typed("WIPEOUT", "0,0\n4,0\n4,2\n0,2\n0,0\n"), RTNORM);
  ASSERT_EQ(typed("WIPEOUT", "_F\n_ON\n"), RTNORM);
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tarn-wipeout-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string file = (dir / "wipeout.dxf").string(), script = (dir / "check.py").string();
  ASSERT_TRUE(tarn::db::writeDxfFile(db(), file).ok());
  std::ofstream(script) << "import sys\n"
                           "try:\n    import ezdxf\nexcept ImportError:\n    print('ezdxf is missing'); sys.exit(3)\n"
                           "doc = ezdxf.readfile(sys.argv[1])\n"
                           "a = doc.audit()\n"
                           "if a.has_errors: print('audit errors', [str(e) for e in a.errors]); sys.exit(1)\n"
                           "w = doc.modelspace().query('WIPEOUT')[0]\n"
                           "pts = [(round(p.x, 9), round(p.y, 9)) for p in w.boundary_path_wcs()]\n"
                           "want = [(0, 0), (4, 0), (4, 2), (0, 2), (0, 0)]\n"
                           "if pts != want: print('boundary', pts); sys.exit(1)\n"
                           "if doc.rootdict['ACAD_WIPEOUT_VARS'].dxf.frame != 1: print('frame'); sys.exit(1)\n"
                           "print('ok')\n";
  int rc = -1;
  std::string out = runPython(script, file, rc);
  fs::remove_all(dir);
  ASSERT_EQ(rc, 0) << "the interop check failed (python3 with ezdxf is required): " << out;
  EXPECT_NE(out.find("ok"), std::string::npos) << out;
}

}  // namespace
