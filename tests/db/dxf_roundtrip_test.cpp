// Every drawing under tests/data/dxf: read, written, read again: the same
// objects, handles and structure, and a second save gives the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"

using namespace tarn::db;

namespace {

std::vector<std::string> corpus() {
  std::vector<std::string> files;
  for (auto& e : std::filesystem::directory_iterator(TARN_TEST_DATA "/dxf"))
    if (e.path().extension() == ".dxf") files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Live objects by type, and their handles.
struct Census {
  std::map<std::string, int> types;
  std::set<uint64_t> handles;
  size_t blocks = 0, tables = 0, objects = 0;
  bool operator==(const Census&) const = default;
};

Census census(const Database& db) {
  Census c;
  for (uint32_t id = 0; id < db.objectCount(); ++id) {
    if (db.isErased(id)) continue;
    c.types[std::string(db.typeOf(id))]++;
    if (db.object(id).handle) c.handles.insert(db.object(id).handle);
  }
  c.blocks = db.blocks().size();
  c.tables = db.tables().size();
  c.objects = db.objectsSection().size();
  return c;
}

class Roundtrip : public testing::TestWithParam<std::string> {};

TEST_P(Roundtrip, KeepsEverythingAndIsStable) {
  Database first;
  DxfResult r = readDxfFile(std::string(TARN_TEST_DATA "/dxf/") + GetParam(), first);
  ASSERT_TRUE(r.ok()) << r.message;
  std::string saved = writeDxfString(first);
  Database second;
  r = readDxfBuffer(saved, second, "saved");
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_TRUE(census(first) == census(second));
  EXPECT_EQ(writeDxfString(second), saved) << "saving the saved drawing changed it";
}

INSTANTIATE_TEST_SUITE_P(Corpus, Roundtrip, testing::ValuesIn(corpus()), [](const auto& p) {
  std::string n = p.param;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(Roundtrip, EveryHandleOfTheFileSurvivesAndEveryObjectHasOne) {
  Database db;
  ASSERT_TRUE(readDxfFile(TARN_TEST_DATA "/dxf/r12-crlf-padded-no-handles.dxf", db).ok());
  for (uint32_t id = 0; id < db.objectCount(); ++id) {
    if (db.isErased(id)) continue;
    EXPECT_NE(db.object(id).handle, 0u) << db.typeOf(id);
  }
  Database r12;
  ASSERT_TRUE(readDxfFile(TARN_TEST_DATA "/dxf/ezdxf-r12.dxf", r12).ok());
  EXPECT_NE(r12.findHandle(0x18), kNoObject) << "the model-space block of the file keeps its handle";
  EXPECT_EQ(r12.blocks()[r12.modelSpace()].begin, r12.findHandle(0x18));
}

TEST(Roundtrip, NewDrawingHasTheStandardStructure) {
  Database db;
  initNewDrawing(db);
  EXPECT_NE(db.findRecord("LAYER", "0"), kNoObject);
  EXPECT_NE(db.findRecord("STYLE", "standard"), kNoObject);
  EXPECT_NE(db.findRecord("LTYPE", "Continuous"), kNoObject);
  ASSERT_NE(db.modelSpace(), kNoObject);
  ASSERT_NE(db.paperSpace(), kNoObject);
  EXPECT_NE(db.blocks()[db.modelSpace()].record, kNoObject);
  EXPECT_EQ(db.typeOf(db.rootDictionary()), "DICTIONARY");
  EXPECT_GT(db.nextHandle(), 0x2Fu);
}

}  // namespace
