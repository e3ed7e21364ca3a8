// The DXF reader on faulty and unusual input: clear messages with the line,
// refusal of DWG files, tolerance of what programs really write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"

using namespace tarn::db;

namespace {

struct BadInput {
  const char* name;
  std::string text;
  uint64_t line;
  const char* words;  // part of the message
};

class MalformedDxf : public testing::TestWithParam<BadInput> {};

TEST_P(MalformedDxf, IsRefusedWithLineAndReason) {
  Database db;
  DxfResult r = readDxfBuffer(GetParam().text, db, "bad.dxf");
  EXPECT_EQ(r.status, DxfStatus::Malformed);
  EXPECT_EQ(r.line, GetParam().line) << r.message;
  EXPECT_NE(r.message.find("bad.dxf:" + std::to_string(GetParam().line) + ":"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find(GetParam().words), std::string::npos) << r.message;
}

const std::string kEntitiesHead = "0\nSECTION\n2\nENTITIES\n";

INSTANTIATE_TEST_SUITE_P(
    Reader, MalformedDxf,
    testing::Values(
        BadInput{"code_not_a_number", "0\nSECTION\n2\nENTITIES\nzero\nLINE\n", 5, "group code was expected"},
        BadInput{"real_not_a_number", kEntitiesHead + "0\nLINE\n10\n1,5\n", 7, "needs a number"},
        BadInput{"int_not_a_number", kEntitiesHead + "0\nLINE\n62\nred\n", 7, "needs a number"},
        BadInput{"value_missing_at_end", kEntitiesHead + "0\nLINE\n8", 7, "without its value"},
        BadInput{"section_not_closed", kEntitiesHead + "0\nLINE\n8\n0\n", 7, "not closed by ENDSEC"},
        BadInput{"no_section_start", "0\nLINE\n", 1, "0/SECTION"},
        BadInput{"section_without_name", "0\nSECTION\n8\nX\n", 3, "section name"},
        BadInput{"record_outside_table", "0\nSECTION\n2\nTABLES\n0\nLAYER\n2\nA\n0\nENDSEC\n", 5, "outside a TABLE"},
        BadInput{"entity_outside_block", "0\nSECTION\n2\nBLOCKS\n0\nLINE\n0\nENDSEC\n", 5, "outside a block"},
        BadInput{"block_not_ended", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nENDSEC\n", 9, "not closed by ENDBLK"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DxfReader, RefusesDwgFilesByTheirSignature) {
  Database db;
  DxfResult r = readDxfBuffer(std::string("AC1032\0\0\0binary", 15), db, "plan.dwg");
  EXPECT_EQ(r.status, DxfStatus::BinaryDwg);
  EXPECT_NE(r.message.find("DWG"), std::string::npos);
}

TEST(DxfReader, MissingFileIsNotFound) {
  Database db;
  DxfResult r = readDxfFile("/nonexistent/folder/plan.dxf", db);
  EXPECT_EQ(r.status, DxfStatus::NotFound);
  EXPECT_NE(r.message.find("/nonexistent/folder/plan.dxf"), std::string::npos);
}

TEST(DxfReader, ToleratesMissingEofAndOptionalSections) {
  Database db;
  ASSERT_TRUE(readDxfBuffer("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1\n20\n2\n0\nENDSEC\n", db).ok());
  ASSERT_NE(db.modelSpace(), kNoObject);
  EXPECT_EQ(db.blocks()[db.modelSpace()].entities.size(), 1u);
}

TEST(DxfReader, DecodesCodePageAndUnicodeEscapesBefore2007) {
  Database db;
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_1252\n0\nENDSEC\n" +
                     kEntitiesHead + "0\nTEXT\n1\nCaf\xe9 \\U+2205 10\n0\nENDSEC\n0\nEOF\n";
  ASSERT_TRUE(readDxfBuffer(text, db).ok());
  uint32_t id = db.blocks()[db.modelSpace()].entities.at(0);
  EXPECT_EQ(findString(db, id, 1), "Caf\xc3\xa9 \xe2\x88\x85 10");
}

TEST(DxfReader, KeepsUtf8TextFrom2007On) {
  Database db;
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n" + kEntitiesHead +
                     "0\nTEXT\n1\n\xe6\x96\x87\xe5\xad\x97\n0\nENDSEC\n";
  ASSERT_TRUE(readDxfBuffer(text, db).ok());
  EXPECT_EQ(findString(db, db.blocks()[db.modelSpace()].entities.at(0), 1), "\xe6\x96\x87\xe5\xad\x97");
}

TEST(DxfWriter, WritesTheCodePageAndEscapesWhatItCannotHoldBefore2007) {
  Database db;
  initNewDrawing(db);
  db.addObject("TEXT", {Tag::str(1, "\xc3\xa9\xe2\x88\x85")}, kEntity);
  db.appendToBlock(db.modelSpace(), db.objectCount() - 1);
  std::string out = writeDxfString(db, {DxfVersion::R2004});
  EXPECT_NE(out.find("\xe9\\U+2205"), std::string::npos) << "e-acute in code page 1252, the rest escaped";
  Database again;
  ASSERT_TRUE(readDxfBuffer(out, again).ok());
  EXPECT_EQ(findString(again, again.blocks()[again.modelSpace()].entities.at(0), 1), "\xc3\xa9\xe2\x88\x85");
  std::string utf8 = writeDxfString(db, {DxfVersion::R2018});
  EXPECT_NE(utf8.find("\xc3\xa9\xe2\x88\x85"), std::string::npos);
}

TEST(DxfWriter, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  Database db;
  initNewDrawing(db);
  std::string dir = testing::TempDir() + "tarn_save_test";
  std::filesystem::create_directories(dir);
  std::string path = dir + "/plan.dxf";
  { std::ofstream(path) << "old contents"; }
  DxfResult r = writeDxfFile(db, path, {DxfVersion::R12});
  EXPECT_FALSE(r.ok());
  std::ifstream in(path);
  std::string kept((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(kept, "old contents");
  ASSERT_TRUE(writeDxfFile(db, path).ok());
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "a temporary file was left behind";
  std::filesystem::remove_all(dir);
}

}  // namespace
