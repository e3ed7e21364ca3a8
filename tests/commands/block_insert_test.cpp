// -INSERT and INSERT typed and issued by modules: by block name and from a
// drawing file, with preset scales, rotation, a tilted UCS, attributes as
// ATTREQ says and exploded insertion; files that cannot be used change
// nothing; U restores the drawing byte for byte.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "db/dxf.h"
#include "entgeom/explode.h"

namespace {

using tarn::db::Point3;

const std::string kDoor = std::string(TARN_TEST_DATA) + "/blocks/door.dxf";

class BlockInsert : public CommandTest {
 protected:
  void SetUp() override {
    for (const char* v : {"ATTREQ", "UCSXDIR", "UCSYDIR", "UCSORG"}) {
      saved.emplace_back();
      tarn::host::getSysVar(v, saved.back());
    }
  }
  void TearDown() override {
    const char* names[] = {"ATTREQ", "UCSXDIR", "UCSYDIR", "UCSORG"};
    for (size_t i = 0; i < saved.size(); ++i) tarn::host::setSysVarInternal(names[i], saved[i]);
    CommandTest::TearDown();
  }
  // Block "B1": two lines and an attribute definition (prompt "Mark", default "M0").
  void defineB1() {
    makeLine(0, 0, 10, 0);
    makeLine(0, 0, 0, 5);
    double at[3] = {1, 1, 0};
    resbuf* list = tcutBuildList(RTDXF0, "ATTDEF", 8, "0", 10, at, 40, 1.0, 1, "M0", 3, "Mark", 2, "MARK", 70, 0, RTNONE);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    ASSERT_EQ(typed("BLOCK", "B1\n0,0\nALL\n\n"), RTNORM) << transcript();
  }
  std::vector<uint32_t> subEntities(uint32_t insert) {
    std::vector<uint32_t> out;
    const auto& ents = db().blocks()[db().modelSpace()].entities;
    for (size_t i = db().object(insert).slot + 1; i < ents.size() && (db().object(ents[i]).flags & tarn::db::kSubEntity); ++i)
      out.push_back(ents[i]);
    return out;
  }
  std::string str(uint32_t id, int code) { return std::string(tarn::db::findString(db(), id, code)); }
  std::vector<tarn::host::SysVarValue> saved;
};

TEST_F(BlockInsert, TypedWithScalesRotationAndAttributeValue) {
  defineB1();
  ASSERT_EQ(typed("-INSERT", "B1\n5,5\n2\n3\n90\nA-17\n"), RTNORM) << transcript();
  auto inserts = entities("INSERT");
  ASSERT_EQ(inserts.size(), 1u);
  uint32_t ref = inserts[0];
  EXPECT_EQ(str(ref, 2), "B1");
  EXPECT_EQ(points(ref, 10)[0], (Point3{5, 5, 0}));
  EXPECT_DOUBLE_EQ(real(ref, 41), 2);
  EXPECT_DOUBLE_EQ(real(ref, 42), 3);
  EXPECT_DOUBLE_EQ(real(ref, 50), 90);
  auto subs = subEntities(ref);
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_EQ(db().typeOf(subs[0]), "ATTRIB");
  EXPECT_EQ(str(subs[0], 1), "A-17");
  EXPECT_EQ(str(subs[0], 2), "MARK");
  // (1,1) in the block, scaled 2 x 3 and turned by 90 degrees about (5,5).
  Point3 p = points(subs[0], 10)[0];
  EXPECT_NEAR(p.x, 5 - 3, 1e-9);
  EXPECT_NEAR(p.y, 5 + 2, 1e-9);
  EXPECT_EQ(db().typeOf(subs[1]), "SEQEND");
  EXPECT_NE(transcript().find("Mark <M0>:"), std::string::npos) << transcript();
}

TEST_F(BlockInsert, ModulePresetScalesAndAttreqZeroAndUndo) {
  defineB1();
  tarn::host::setSysVarInternal("ATTREQ", tarn::host::shortValue(0));
  std::string before = dxf();
  asModule([] {
    double at[3] = {1, 2, 0};
    tcedCommand(RTSTR, "_.INSERT", RTSTR, "B1", RTSTR, "_X", RTREAL, 2.0, RTSTR, "_Y", RTREAL, 3.0, RTSTR, "_Z",
                RTREAL, 4.0, RTPOINT, at, RTREAL, 0.0, RTNONE);
  });
  auto inserts = entities("INSERT");
  ASSERT_EQ(inserts.size(), 1u) << transcript();
  EXPECT_DOUBLE_EQ(real(inserts[0], 41), 2);
  EXPECT_DOUBLE_EQ(real(inserts[0], 42), 3);
  EXPECT_DOUBLE_EQ(real(inserts[0], 43), 4);
  auto subs = subEntities(inserts[0]);
  ASSERT_FALSE(subs.empty());
  EXPECT_EQ(str(subs[0], 1), "M0");  // ATTREQ 0: the default, nothing asked
  EXPECT_EQ(transcript().find("Mark <M0>:"), std::string::npos);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockInsert, DrawingFileBecomesBlockWithItsLayersAndNestedBlocks) {
  std::string before = dxf();
  asModule([] {
    double origin[3] = {0, 0, 0};
    // The file's attribute definition is asked for (ATTREQ 1): Enter takes its default.
    tcedCommand(RTSTR, "_.-INSERT", RTSTR, kDoor.c_str(), RTPOINT, origin, RTREAL, 1.0, RTREAL, 1.0, RTREAL, 0.0,
                RTSTR, "", RTNONE);
  });
  ASSERT_NE(db().findBlock("door"), tarn::db::kNoObject) << transcript();
  EXPECT_NE(db().findRecord("LAYER", "DOORS"), tarn::db::kNoObject);
  ASSERT_NE(db().findBlock("HINGE"), tarn::db::kNoObject);
  const auto& door = db().blocks()[db().findBlock("door")];
  EXPECT_EQ(points(door.begin, 10)[0], (Point3{1, 1, 0}));  // the file's $INSBASE
  std::set<uint64_t> handles;
  size_t live = 0;
  for (uint32_t id : door.entities) {
    if (db().isErased(id)) continue;
    ++live;
    handles.insert(db().object(id).handle);
    EXPECT_EQ(db().findHandle(db().object(id).handle), id) << "a handle used twice";
  }
  EXPECT_EQ(live, 3u);  // line, nested reference, attribute definition
  EXPECT_EQ(handles.size(), live);
  ASSERT_EQ(entities("INSERT").size(), 1u);
  auto subs = subEntities(entities("INSERT")[0]);
  ASSERT_FALSE(subs.empty());
  EXPECT_EQ(str(subs[0], 1), "D1");
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockInsert, NameEqualsFileAndExplodedInsertion) {
  std::string replies = "PANEL=" + kDoor + "\n0,0\n1\n\n0\nD7\n";
  ASSERT_EQ(typed("INSERT", replies), RTNORM) << transcript();
  ASSERT_EQ(entities("INSERT").size(), 1u);
  EXPECT_EQ(str(entities("INSERT")[0], 2), "PANEL");
  // "*PANEL": the block's entities, no reference to it.
  ASSERT_EQ(typed("-INSERT", "*PANEL\n20,0\n2\n0\n"), RTNORM) << transcript();
  EXPECT_EQ(entities("INSERT").size(), 2u);  // the first reference and the nested HINGE
  auto lines = entities("LINE");
  ASSERT_EQ(lines.size(), 1u);
  // The file's line (1,1)-(11,1) with base (1,1), at (20,0), scale 2.
  EXPECT_EQ(points(lines[0], 10)[0], (Point3{20, 0, 0}));
  EXPECT_EQ(points(lines[0], 11)[0], (Point3{40, 0, 0}));
}

TEST_F(BlockInsert, TiltedUcsGivesTheNormalAndThePointInItsSystem) {
  defineB1();
  tarn::host::setSysVarInternal("UCSXDIR", tarn::host::pointValue({1, 0, 0}));
  tarn::host::setSysVarInternal("UCSYDIR", tarn::host::pointValue({0, 0, 1}));
  ASSERT_EQ(typed("-INSERT", "B1\n3,4\n1\n1\n0\n\n"), RTNORM) << transcript();
  uint32_t ref = entities("INSERT").at(0);
  auto normal = points(ref, 210);
  ASSERT_EQ(normal.size(), 1u);
  EXPECT_NEAR(normal[0].y, -1, 1e-12);
  // The block's X axis lies along the UCS X axis: exploded, the line (0,0)-(10,0) runs along world X at z = 4.
  tarn::entgeom::ExplodeResult r = tarn::entgeom::explodeEntity(db(), ref);
  ASSERT_TRUE(r.ok()) << r.message;
  bool found = false;
  for (const auto& e : r.entities)
    for (const auto& t : e.tags)
      if (e.type == "LINE" && t.code == 11 && std::abs(t.p.x - 13) < 1e-9) {
        found = true;
        EXPECT_NEAR(t.p.z, 4, 1e-9);
        EXPECT_NEAR(t.p.y, 0, 1e-9);
      }
  EXPECT_TRUE(found);
}

TEST_F(BlockInsert, FilesThatCannotBeUsedChangeNothing) {
  std::string before = dxf();
  std::string broken = std::string(TARN_TEST_DATA) + "/blocks/broken.dxf";
  std::string loop = std::string(TARN_TEST_DATA) + "/blocks/loop.dxf";
  EXPECT_EQ(typed("-INSERT", "/no/such/folder/plan.dxf\n"), RTERROR);
  EXPECT_NE(transcript().find("Cannot find the drawing file \"/no/such/folder/plan.dxf\""), std::string::npos)
      << transcript();
  EXPECT_EQ(typed("-INSERT", broken + "\n"), RTERROR);
  EXPECT_NE(transcript().find("broken.dxf:9"), std::string::npos) << transcript();
  EXPECT_EQ(typed("-INSERT", loop + "\n"), RTERROR);
  EXPECT_NE(transcript().find("would contain itself"), std::string::npos) << transcript();
  EXPECT_EQ(typed("-INSERT", "NOSUCHBLOCK\n"), RTERROR);
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockInsert, ResultBufferChainOfAModule) {
  defineB1();
  tarn::host::setSysVarInternal("ATTREQ", tarn::host::shortValue(0));
  double at[3] = {7, 8, 0};
  resbuf* args = tcutBuildList(RTSTR, "_.INSERT", RTSTR, "B1", RTSTR, "_S", RTREAL, 2.5, RTSTR, "_R", RTREAL, 45.0,
                               RTPOINT, at, RTNONE);
  asModule([&] { EXPECT_EQ(tcedCmd(args), RTNORM); });
  tcutRelRb(args);
  uint32_t ref = entities("INSERT").at(0);
  for (int code : {41, 42, 43}) EXPECT_DOUBLE_EQ(real(ref, code), 2.5);
  EXPECT_NEAR(real(ref, 50), 45, 1e-9);
  EXPECT_EQ(points(ref, 10)[0], (Point3{7, 8, 0}));
}

// Another DXF reader opens a drawing with a block from a file, attributes
// and a nested block, and its audit finds no errors.
TEST_F(BlockInsert, AnotherReaderAuditsTheResult) {
  std::string replies = kDoor + "\n0,0\n2\n\n30\nD5\n";
  ASSERT_EQ(typed("-INSERT", replies), RTNORM) << transcript();
  // A drawing with every kind of entity, its dimensions' blocks among them.
  std::string everything = "ALL=" + std::string(TARN_TEST_DATA) + "/dxf/ezdxf-all-2018.dxf\n100,0\n1\n\n0\n";
  ASSERT_EQ(typed("-INSERT", everything), RTNORM) << transcript();
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tarn-block-insert-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string file = (dir / "insert.dxf").string(), script = (dir / "check.py").string();
  ASSERT_TRUE(tarn::db::writeDxfFile(db(), file).ok());
  std::ofstream(script) << "import sys\n"
                           "try:\n    import ezdxf\nexcept ImportError:\n    print('ezdxf is missing'); sys.exit(3)\n"
                           "doc = ezdxf.readfile(sys.argv[1])\n"
                           "a = doc.audit()\n"
                           "if a.has_errors: print('audit errors', [str(e) for e in a.errors]); sys.exit(1)\n"
                           "ref = doc.modelspace().query('INSERT')[0]\n"
                           "if ref.dxf.name != 'door' or ref.get_attrib_text('NUMBER') != 'D5': print('reference'); sys.exit(1)\n"
                           "if 'HINGE' not in doc.blocks or 'DOORS' not in doc.layers: print('brought along'); sys.exit(1)\n"
                           "print('ok')\n";
  int rc = -1;
  std::string out = runPython(script, file, rc);
  fs::remove_all(dir);
  ASSERT_EQ(rc, 0) << "the interop check failed (python3 with ezdxf is required): " << out;
  EXPECT_NE(out.find("ok"), std::string::npos) << out;
}

}  // namespace
