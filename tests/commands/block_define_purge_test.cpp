// BLOCK and PURGE typed and in the sequences modules issue: objects move
// into a definition, a redefinition shows in every reference, a block that
// would contain itself is refused, and PURGE removes only what nothing uses
// (nested blocks, dimension styles and the protected names considered).
#include <cmath>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "entgeom/explode.h"

namespace {

using tarn::db::Point3;

class BlockDefinePurge : public CommandTest {
 protected:
  void SetUp() override {
    for (const char* v : {"UCSXDIR", "UCSYDIR", "UCSORG"}) {
      saved.emplace_back();
      tarn::host::getSysVar(v, saved.back());
    }
  }
  void TearDown() override {
    const char* names[] = {"UCSXDIR", "UCSYDIR", "UCSORG"};
    for (size_t i = 0; i < saved.size(); ++i) tarn::host::setSysVarInternal(names[i], saved[i]);
    CommandTest::TearDown();
  }
  bool blockLive(const char* n) {
    uint32_t b = db().findBlock(n);
    return b != tarn::db::kNoObject && !db().isErased(db().blocks()[b].begin);
  }
  size_t liveEntities(const char* block) {
    size_t n = 0;
    for (uint32_t id : db().blocks()[db().findBlock(block)].entities) n += !db().isErased(id);
    return n;
  }
  void insert(const char* name, double x, double y) {
    ASSERT_EQ(typed("-INSERT", std::string(name) + "\n" + std::to_string(x) + "," + std::to_string(y) + "\n1\n\n0\n"),
              RTNORM)
        << transcript();
  }
  std::vector<tarn::host::SysVarValue> saved;
};

TEST_F(BlockDefinePurge, BlockMovesTheSelectionIntoTheDefinitionAndUndoRestoresIt) {
  makeLine(0, 0, 10, 0);
  makeLine(0, 0, 0, 5);
  std::string before = dxf();
  ASSERT_EQ(typed("BLOCK", "B1\n2,3\nALL\n\n"), RTNORM) << transcript();
  EXPECT_TRUE(entities().empty());
  ASSERT_TRUE(blockLive("B1"));
  EXPECT_EQ(liveEntities("B1"), 2u);
  const auto& b1 = db().blocks()[db().findBlock("B1")];
  EXPECT_EQ(points(b1.begin, 10)[0], (Point3{2, 3, 0}));
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockDefinePurge, RedefinitionByModuleShowsInEveryReference) {
  makeLine(0, 0, 10, 0);
  ASSERT_EQ(typed("BLOCK", "B1\n0,0\nALL\n\n"), RTNORM);
  insert("B1", 0, 0);
  insert("B1", 50, 0);
  uint32_t record = db().blocks()[db().findBlock("B1")].record;
  makeLine(0, 0, 0, 7);
  uint32_t newLine = entities("LINE").back();
  std::string before = dxf();
  asModule([&] {
    tc_name e;
    name(newLine, e);
    double base[3] = {0, 0, 0};
    tcedCommand(RTSTR, "_.BLOCK", RTSTR, "B1", RTSTR, "_Y", RTPOINT, base, RTENAME, e, RTSTR, "", RTNONE);
  });
  EXPECT_EQ(db().blocks()[db().findBlock("B1")].record, record);
  EXPECT_EQ(liveEntities("B1"), 1u);
  for (uint32_t ref : entities("INSERT")) {
    auto r = tarn::entgeom::explodeEntity(db(), ref);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.entities.size(), 1u);
  }
  EXPECT_NE(transcript().find("Block \"B1\" already exists. Redefine it? [Yes/No] <N>:"), std::string::npos);
  undo();
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockDefinePurge, ABlockThatWouldContainItselfIsRefused) {
  makeLine(0, 0, 10, 0);
  ASSERT_EQ(typed("BLOCK", "B1\n0,0\nALL\n\n"), RTNORM);
  insert("B1", 0, 0);
  ASSERT_EQ(typed("BLOCK", "OUTER\n0,0\nALL\n\n"), RTNORM);
  insert("OUTER", 0, 0);
  std::string before = dxf();
  // B1 redefined from a reference to OUTER, which holds B1.
  EXPECT_EQ(typed("BLOCK", "B1\nY\n0,0\nALL\n\n"), RTERROR);
  EXPECT_NE(transcript().find("Block \"B1\" references itself"), std::string::npos) << transcript();
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockDefinePurge, BlockInATurnedUcsKeepsTheLookWhenInsertedThere) {
  makeLine(1, 1, 4, 1);
  tarn::host::setSysVarInternal("UCSXDIR", tarn::host::pointValue({0, 1, 0}));
  tarn::host::setSysVarInternal("UCSYDIR", tarn::host::pointValue({-1, 0, 0}));
  ASSERT_EQ(typed("BLOCK", "T\n0,0\nALL\n\n"), RTNORM) << transcript();
  insert("T", 0, 0);
  auto r = tarn::entgeom::explodeEntity(db(), entities("INSERT").at(0));
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_EQ(r.entities.size(), 1u);
  for (const auto& t : r.entities[0].tags) {
    if (t.code == 10) {
      EXPECT_NEAR(std::hypot(t.p.x - 1, t.p.y - 1), 0, 1e-9);
    }
    if (t.code == 11) {
      EXPECT_NEAR(std::hypot(t.p.x - 4, t.p.y - 1), 0, 1e-9);
    }
  }
}

TEST_F(BlockDefinePurge, PurgeByModuleRemovesAnUnusedBlockAndItsNestedBlocks) {
  makeLine(0, 0, 1, 0);
  ASSERT_EQ(typed("BLOCK", "INNER\n0,0\nALL\n\n"), RTNORM);
  insert("INNER", 0, 0);
  ASSERT_EQ(typed("BLOCK", "OUTER\n0,0\nALL\n\n"), RTNORM);
  makeLine(0, 0, 2, 0);
  ASSERT_EQ(typed("BLOCK", "USED\n0,0\nALL\n\n"), RTNORM);
  insert("USED", 0, 0);
  std::string before = dxf();
  asModule([] { tcedCommand(RTSTR, "_.PURGE", RTSTR, "_B", RTSTR, "*", RTSTR, "_N", RTNONE); });
  EXPECT_FALSE(blockLive("OUTER"));
  EXPECT_FALSE(blockLive("INNER"));  // freed by OUTER's purge, in the same run
  EXPECT_TRUE(blockLive("USED"));
  EXPECT_NE(transcript().find("2 blocks deleted."), std::string::npos) << transcript();
  // The name is free again.
  makeLine(0, 0, 3, 0);
  EXPECT_EQ(typed("BLOCK", "OUTER\n0,0\nALL\n\n"), RTNORM);
  EXPECT_TRUE(blockLive("OUTER"));
  undo();  // BLOCK
  undo();  // the line, made outside a command: a group of its own
  undo();  // PURGE
  EXPECT_EQ(dxf(), before);
}

TEST_F(BlockDefinePurge, PurgeKeepsArrowBlocksOfStylesAndAsksWhenVerifying) {
  makeLine(0, 0, 1, 0);
  ASSERT_EQ(typed("BLOCK", "ARROW\n0,0\nALL\n\n"), RTNORM);
  makeLine(0, 0, 1, 1);
  ASSERT_EQ(typed("BLOCK", "SPARE\n0,0\nALL\n\n"), RTNORM);
  // The standard dimension style names ARROW as its arrowhead (group 342).
  uint32_t style = db().findRecord("DIMSTYLE", "Standard");
  auto tags = db().tagList(style);
  tags.push_back(tarn::db::Tag::handle(342, db().object(db().blocks()[db().findBlock("ARROW")].record).handle));
  asModule([&] { db().replaceTags(style, tags); });
  // Verify: "No" for SPARE keeps it.
  ASSERT_EQ(typed("PURGE", "B\n*\nY\nN\n"), RTNORM) << transcript();
  EXPECT_TRUE(blockLive("SPARE"));
  EXPECT_NE(transcript().find("Purge block \"SPARE\"? [Yes/No] <N>:"), std::string::npos) << transcript();
  ASSERT_EQ(typed("PURGE", "B\nSP*\n_N\n"), RTNORM);
  EXPECT_FALSE(blockLive("SPARE"));
  EXPECT_TRUE(blockLive("ARROW"));
}

TEST_F(BlockDefinePurge, PurgeLayersKeepsProtectedAndUsedOnes) {
  makeLine(0, 0, 1, 0, "USED");
  typed("-LAYER", "N\nEMPTY,OTHER\n\n");
  typed("-LAYER", "M\nCURRENT\n\n");
  typed("-LAYER", "N\nDEFPOINTS\n\n");
  ASSERT_NE(db().findRecord("LAYER", "EMPTY"), tarn::db::kNoObject) << transcript();
  std::string before = dxf();
  ASSERT_EQ(typed("PURGE", "LA\n*\nN\n"), RTNORM);
  EXPECT_EQ(db().findRecord("LAYER", "EMPTY"), tarn::db::kNoObject);
  EXPECT_EQ(db().findRecord("LAYER", "OTHER"), tarn::db::kNoObject);
  for (const char* kept : {"0", "USED", "CURRENT", "DEFPOINTS"}) EXPECT_NE(db().findRecord("LAYER", kept), tarn::db::kNoObject) << kept;
  EXPECT_NE(transcript().find("2 layers deleted."), std::string::npos) << transcript();
  undo();
  EXPECT_EQ(dxf(), before);
}

}  // namespace
