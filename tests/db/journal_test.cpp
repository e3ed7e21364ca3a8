// The undo journal: every kind of change a command makes to a drawing is
// put back exactly (the written DXF has the same bytes as before), groups
// nest, count and mix with changes made between commands.
#include <gtest/gtest.h>

#include <filesystem>

#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "db/records.h"

using namespace tarn::db;

namespace {

uint32_t addLine(Database& db, double x, std::string_view layer = "0") {
  uint32_t model = db.modelSpace();
  uint64_t owner = db.object(db.blocks()[model].record).handle;
  TagList tags = {Tag::handle(5, db.allocateHandle()), Tag::handle(330, owner), Tag::str(100, "AcDbEntity"),
                  Tag::str(8, layer), Tag::str(100, "AcDbLine"), Tag::point(10, {x, 0, 0}),
                  Tag::point(11, {x, 1, 0})};
  uint32_t id = db.addObject("LINE", tags, kEntity);
  db.appendToBlock(model, id);
  return id;
}

void moveLine(Database& db, uint32_t id, double dx) {
  TagList tags = db.tagList(id);
  for (Tag& t : tags)
    if (t.code == 10 || t.code == 11) t.p.x += dx;
  db.replaceTags(id, tags);
}

class JournalTest : public testing::Test {
 protected:
  void SetUp() override {
    initNewDrawing(db);
    for (int i = 0; i < 5; ++i) lines.push_back(addLine(db, i));
    base = writeDxfString(db);
  }
  std::string dxf() const { return writeDxfString(db); }
  Database db;
  std::vector<uint32_t> lines;
  std::string base;
};

TEST_F(JournalTest, UndoOfAddedChangedAndErasedObjectsGivesTheSameFile) {
  db.beginCommand("EDIT");
  addLine(db, 10);
  moveLine(db, lines[1], 3);
  moveLine(db, lines[1], 4);  // a second change to the same object
  db.setErased(lines[2], true);
  db.endCommand();
  ASSERT_NE(dxf(), base);
  EXPECT_EQ(db.undo(1), std::vector<std::string>{"EDIT"});
  EXPECT_EQ(dxf(), base);
  EXPECT_EQ(db.undoDepth(), 0u);
}

TEST_F(JournalTest, UndoOfTablesBlocksHeaderAndObjectsGivesTheSameFile) {
  db.beginCommand("MANY");
  ensureLayer(db, "WALLS");
  db.setHeaderVar("$CLAYER", {Tag::str(8, "WALLS")});
  uint32_t record = addTableRecord(db, "BLOCK_RECORD", "DOOR", {});
  db.blocks().push_back({"DOOR", record, kNoObject, kNoObject, {}});
  db.reindex();
  uint32_t dict = db.addObject("XRECORD", TagList{Tag::handle(5, db.allocateHandle()), Tag::handle(330, 0)}, 0);
  db.objectsSection().push_back(dict);
  db.endCommand();
  ASSERT_NE(db.findRecord("LAYER", "WALLS"), kNoObject);
  db.undo(1);
  EXPECT_EQ(dxf(), base);
  EXPECT_EQ(db.findRecord("LAYER", "WALLS"), kNoObject);  // the name index follows
  EXPECT_EQ(db.findBlock("DOOR"), kNoObject);
}

TEST_F(JournalTest, NestedCommandsFormOneGroup) {
  db.beginCommand("MODULE");
  addLine(db, 20);
  db.beginCommand("_.ERASE");
  db.setErased(lines[0], true);
  db.endCommand();
  db.beginCommand("_.LAYER");
  ensureLayer(db, "A");
  db.endCommand();
  db.endCommand();
  EXPECT_EQ(db.undoDepth(), 1u);
  db.undo(1);
  EXPECT_EQ(dxf(), base);
}

TEST_F(JournalTest, UndoCountGoesBackThroughSeveralCommandsAndStopsAtTheStart) {
  std::vector<std::string> states = {base};
  for (int i = 0; i < 3; ++i) {
    db.beginCommand("STEP" + std::to_string(i));
    moveLine(db, lines[0], 1);
    addLine(db, 100 + i);
    db.endCommand();
    states.push_back(dxf());
  }
  db.undo(1);
  EXPECT_EQ(dxf(), states[2]);
  EXPECT_EQ(db.undo(5), (std::vector<std::string>{"STEP1", "STEP0"}));
  EXPECT_EQ(dxf(), base);
}

TEST_F(JournalTest, CommandsThatChangeNothingLeaveNoGroup) {
  db.beginCommand("ID");
  (void)db.blocks();  // a non-const look is no change
  (void)db.headerVars();
  db.endCommand();
  EXPECT_EQ(db.undoDepth(), 0u);
}

TEST_F(JournalTest, UndoInsideACommandTakesBackWhatItDidSoFar) {
  db.beginCommand("PREVIOUS");
  addLine(db, 7);
  db.endCommand();
  std::string afterPrevious = dxf();
  db.beginCommand("LAYMRG");
  moveLine(db, lines[3], 2);
  db.setErased(lines[4], true);
  EXPECT_EQ(db.undo(1), std::vector<std::string>{"LAYMRG"});
  EXPECT_EQ(dxf(), afterPrevious);
  addLine(db, 8);  // the command goes on and is undone as a group of its own
  db.endCommand();
  db.undo(1);
  EXPECT_EQ(dxf(), afterPrevious);
  db.undo(1);
  EXPECT_EQ(dxf(), base);
}

TEST_F(JournalTest, UndoInsideACommandThatChangedNothingUndoesThePreviousCommand) {
  db.beginCommand("LINE");
  addLine(db, 7);
  db.endCommand();
  db.beginCommand("U");
  EXPECT_EQ(db.undo(1), std::vector<std::string>{"LINE"});
  db.endCommand();
  EXPECT_EQ(dxf(), base);
  EXPECT_EQ(db.undoDepth(), 0u);
}

TEST_F(JournalTest, ChangesBetweenCommandsAreAGroupOfTheirOwn) {
  db.beginCommand("FIRST");
  addLine(db, 30);
  db.endCommand();
  std::string afterFirst = dxf();
  addLine(db, 31);  // e.g. a LISP expression at the command prompt
  moveLine(db, lines[0], 5);
  db.beginCommand("SECOND");
  addLine(db, 32);
  db.endCommand();
  EXPECT_EQ(db.undoDepth(), 3u);
  db.undo(2);
  EXPECT_EQ(dxf(), afterFirst);
}

// An entity appended, then the block list rewritten through blocks() within
// the same group: the copy of all blocks and the earlier append must combine.
TEST_F(JournalTest, AppendThenReorderInOneGroupIsUndoneExactly) {
  db.beginCommand("DRAWORDER");
  uint32_t extra = addLine(db, 40);
  auto& list = db.blocks()[db.modelSpace()].entities;
  list.erase(list.begin());
  list.push_back(lines[0]);
  addLine(db, 41);
  db.endCommand();
  db.undo(1);
  EXPECT_EQ(dxf(), base);
  EXPECT_TRUE(db.isErased(extra));
}

TEST_F(JournalTest, HandlesAndHandleIndexComeBack) {
  uint64_t seed = db.nextHandle();
  uint64_t handle = db.object(lines[0]).handle;
  db.beginCommand("REHANDLE");
  TagList tags = db.tagList(lines[0]);
  tags[0] = Tag::handle(5, db.allocateHandle());
  db.replaceTags(lines[0], tags);
  db.endCommand();
  db.undo(1);
  EXPECT_EQ(db.findHandle(handle), lines[0]);
  EXPECT_EQ(db.nextHandle(), seed);
  // A new object after the undo gets a live handle that finds it.
  db.beginCommand("LINE");
  uint32_t again = addLine(db, 50);
  db.endCommand();
  EXPECT_EQ(db.findHandle(db.object(again).handle), again);
}

TEST_F(JournalTest, ClearUndoMakesTheCurrentStateTheBase) {
  db.beginCommand("LINE");
  addLine(db, 60);
  db.endCommand();
  db.clearUndo();
  EXPECT_TRUE(db.undo(1).empty());
}

// Every drawing of the corpus: erase every other entity, change the rest,
// add one, set a header variable; one undo writes the same bytes.
class JournalCorpus : public testing::TestWithParam<std::string> {};

TEST_P(JournalCorpus, UndoRestoresTheFileBytes) {
  Database db;
  ASSERT_TRUE(readDxfFile(std::string(TARN_TEST_DATA "/dxf/") + GetParam(), db).ok());
  std::string before = writeDxfString(db);
  db.beginCommand("SCRAMBLE");
  std::vector<uint32_t> entities = db.blocks()[db.modelSpace()].entities;
  for (size_t i = 0; i < entities.size(); ++i) {
    if (i % 2) db.setErased(entities[i], true);
    else db.replaceTags(entities[i], db.tagList(entities[i]));
  }
  db.setHeaderVar("$TEXTSIZE", {Tag::real(40, 12.5)});
  ensureLayer(db, "JOURNAL_TEST");
  db.endCommand();
  db.undo(1);
  EXPECT_EQ(writeDxfString(db), before);
}

std::vector<std::string> corpus() {
  std::vector<std::string> files;
  for (auto& e : std::filesystem::directory_iterator(TARN_TEST_DATA "/dxf"))
    if (e.path().extension() == ".dxf") files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

INSTANTIATE_TEST_SUITE_P(Files, JournalCorpus, testing::ValuesIn(corpus()), [](const testing::TestParamInfo<std::string>& p) {
  std::string n = p.param;
  for (char& c : n)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
});

}  // namespace
