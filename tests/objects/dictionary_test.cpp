// Dictionaries, xrecords, extended data and groups, read back after a save
// and a new read of the drawing; private databases read, walked, saved and
// released.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "object_fixture.h"

namespace {

resbuf* line() { return tcutBuildList(RTDXF0, "LINE", 10, kOrigin, 11, kP1, RTNONE); }

// Opens a dictionary entry of a dictionary for read.
template <class T>
T* openEntry(TcDbDictionary* dict, const char* name) {
  TcDbObjectId id;
  T* out = nullptr;
  if (dict->getAt(name, id) == TcDb::eOk) tcdbOpenObject(out, id, TcDb::kForRead);
  return out;
}

// Stores ids in an xrecord "LIST" of a dictionary "KEEP" under the named-object dictionary.
void keepIds(TcDbDatabase* d, const TcDbObjectIdArray& ids) {
  TcDbDictionary* root = nullptr;
  ASSERT_EQ(d->getNamedObjectsDictionary(root, TcDb::kForWrite), TcDb::eOk);
  auto* keep = new TcDbDictionary();
  TcDbObjectId keepId;
  ASSERT_EQ(root->setAt("KEEP", keep, keepId), TcDb::eOk);
  TcDbDictionary other;
  TcDbObjectId ignored;
  EXPECT_EQ(root->setAt("keep", &other, ignored), TcDb::eDuplicateKey);
  root->close();
  auto* xrec = new TcDbXrecord();
  resbuf* chain = nullptr;
  resbuf** tail = &chain;
  for (TcDbObjectId id : ids) {
    tc_name n;
    tcdbGetAdsName(n, id);
    *tail = tcutBuildList(340, n, RTNONE);
    tail = &(*tail)->rbnext;
  }
  *tail = tcutBuildList(70, 7, 1, "text", RTNONE);
  EXPECT_EQ(xrec->setFromRbChain(chain), TcDb::eOk);
  tcutRelRb(chain);
  TcDbObjectId xrecId;
  ASSERT_EQ(keep->setAt("LIST", xrec, xrecId), TcDb::eOk);
  xrec->close();
  keep->close();
}

TEST_F(ObjectTest, DictionaryAndXrecordSurviveSaveAndReread) {
  TcDbObjectId a = make(line()), b = make(line());
  std::string handleA = a.handle(), handleB = b.handle();
  keepIds(tcdbWorkingDatabase(), {a, b});
  tarn::db::Database reread;
  ASSERT_TRUE(tarn::db::readDxfBuffer(tarn::db::writeDxfString(db), reread).ok());
  tarn::host::setCurrentDatabase(&reread);
  TcDbDictionary* root = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getNamedObjectsDictionary(root, TcDb::kForRead), TcDb::eOk);
  TcDbDictionary* keep = openEntry<TcDbDictionary>(root, "KEEP");
  root->close();
  ASSERT_NE(keep, nullptr);
  EXPECT_EQ(keep->numEntries(), 1u);
  TcDbXrecord* xrec = openEntry<TcDbXrecord>(keep, "LIST");
  keep->close();
  ASSERT_NE(xrec, nullptr);
  resbuf* data = xrec->rbChain();
  xrec->close();
  std::vector<std::string> handles;
  std::vector<int> codes;
  for (resbuf* rb = data; rb; rb = rb->rbnext) {
    codes.push_back(rb->restype);
    TcDbObjectId id;
    if (rb->restype == 340 && tcdbGetObjectId(id, rb->resval.rlname) == TcDb::eOk) handles.push_back(id.handle());
  }
  tcutRelRb(data);
  EXPECT_EQ(codes, (std::vector<int>{340, 340, 70, 1}));
  EXPECT_EQ(handles, (std::vector<std::string>{handleA, handleB}));
  tarn::objects::releaseObjectsOf(reread);
  tarn::host::unregisterDatabase(&reread);
  tarn::host::setCurrentDatabase(&db);
}

TEST_F(ObjectTest, RemovedAndErasedEntriesLeaveNoDanglingReference) {
  keepIds(tcdbWorkingDatabase(), {});
  TcDbDictionary* root = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getNamedObjectsDictionary(root, TcDb::kForWrite), TcDb::eOk);
  TcDbObjectId keepId;
  ASSERT_EQ(root->getAt("KEEP", keepId), TcDb::eOk);
  root->close();
  TcDbDictionary* keep = nullptr;
  ASSERT_EQ(tcdbOpenObject(keep, keepId, TcDb::kForRead), TcDb::eOk);
  TcDbObjectId xrecId;
  keep->getAt("LIST", xrecId);
  keep->close();
  TcDbObject* xrec = nullptr;
  ASSERT_EQ(tcdbOpenObject(xrec, xrecId, TcDb::kForWrite), TcDb::eOk);
  xrec->erase();
  xrec->close();
  ASSERT_EQ(tcdbOpenObject(keep, keepId, TcDb::kForWrite), TcDb::eOk);
  EXPECT_FALSE(keep->has("LIST")) << "the erased xrecord left its dictionary";
  EXPECT_EQ(keep->remove("LIST"), TcDb::eKeyNotFound);
  keep->close();
  tarn::db::Database reread;
  EXPECT_TRUE(tarn::db::readDxfBuffer(tarn::db::writeDxfString(db), reread).ok());
}

TEST_F(ObjectTest, ExtendedDataIsSetPerApplicationAndRemovedWithItsNameAlone) {
  TcDbObjectId id = make(line());
  ASSERT_EQ(tcdbRegApp("KEEPER"), RTNORM);
  TcDbEntity* e = nullptr;
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  resbuf* unknown = tcutBuildList(1001, "NOBODY", 1070, 1, RTNONE);
  EXPECT_EQ(e->setXData(unknown), TcDb::eRegappIdNotFound);
  tcutRelRb(unknown);
  resbuf* mark = tcutBuildList(1001, "KEEPER", 1070, 100, 1070, 1, RTNONE);
  EXPECT_EQ(e->setXData(mark), TcDb::eOk);
  tcutRelRb(mark);
  ASSERT_EQ(e->createExtensionDictionary(), TcDb::eOk);
  e->close();
  {
    List list(id);
    EXPECT_EQ(list.count(1070), 0) << "no application asked for";
    EXPECT_EQ(list.text(102), "{ACAD_XDICTIONARY");
  }
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_FALSE(e->extensionDictionary().isNull());
  resbuf* got = e->xData("keeper");
  ASSERT_NE(got, nullptr);
  EXPECT_STREQ(got->resval.rstring, "KEEPER");
  EXPECT_EQ(got->rbnext->resval.rint, 100);
  tcutRelRb(got);
  resbuf* clear = tcutBuildList(1001, "KEEPER", RTNONE);
  EXPECT_EQ(e->setXData(clear), TcDb::eOk);
  tcutRelRb(clear);
  EXPECT_EQ(e->xData(), nullptr);
  e->close();
}

TEST_F(ObjectTest, AnonymousGroupsTakeTheNextFreeNumberAndTieTheirMembers) {
  TcDbObjectId a = make(line()), b = make(line());
  std::vector<std::string> names;
  std::vector<TcDbObjectId> groups;
  TcDbDictionary* dict = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getGroupDictionary(dict, TcDb::kForWrite), TcDb::eOk);
  for (int i = 0; i < 3; ++i) {
    auto* g = new TcDbGroup();
    TcDbObjectId id;
    ASSERT_EQ(dict->setAt("*", g, id), TcDb::eOk);
    EXPECT_EQ(g->append({a, b}), TcDb::eOk);
    EXPECT_EQ(g->append(a), TcDb::eDuplicateKey);
    EXPECT_TRUE(g->isAnonymous());
    groups.push_back(id);
    g->close();
  }
  dict->close();
  for (TcDbObjectId id : groups) {
    TcDbGroup* g = nullptr;
    ASSERT_EQ(tcdbOpenObject(g, id, TcDb::kForRead), TcDb::eOk);
    names.push_back(g->name());
    EXPECT_EQ(g->allEntityIds(), (TcDbObjectIdArray{a, b}));
    g->close();
  }
  EXPECT_EQ(names, (std::vector<std::string>{"*U1", "*U2", "*U3"}));
  EXPECT_EQ(List(a).count(330), 4) << "owner and one reactor per group";
  // Erasing the second group frees its name and its members' reactors.
  TcDbObject* second = nullptr;
  ASSERT_EQ(tcdbOpenObject(second, groups[1], TcDb::kForWrite), TcDb::eOk);
  second->erase();
  second->close();
  EXPECT_EQ(List(a).count(330), 3);
  ASSERT_EQ(tcdbWorkingDatabase()->getGroupDictionary(dict, TcDb::kForWrite), TcDb::eOk);
  auto* next = new TcDbGroup();
  TcDbObjectId id;
  ASSERT_EQ(dict->setAt("*U", next, id), TcDb::eOk);
  next->close();
  EXPECT_EQ(dict->nameAt(id), "*U2");
  dict->close();
}

TEST_F(ObjectTest, GroupMembershipChangesMoveTheReactors) {
  TcDbObjectId a = make(line()), b = make(line());
  TcDbDictionary* dict = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getGroupDictionary(dict, TcDb::kForWrite), TcDb::eOk);
  auto* g = new TcDbGroup();
  TcDbObjectId id;
  ASSERT_EQ(dict->setAt("PAIR", g, id), TcDb::eOk);
  dict->close();
  g->append(a);
  g->setSelectable(false);
  g->setDescription("two");
  g->close();
  EXPECT_EQ(List(a).text(102), "{ACAD_REACTORS");
  ASSERT_EQ(tcdbOpenObject(g, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_FALSE(g->isAnonymous());
  EXPECT_EQ(g->name(), "PAIR");
  EXPECT_EQ(g->remove(a), TcDb::eOk);
  EXPECT_EQ(g->remove(a), TcDb::eKeyNotFound);
  g->append(b);
  g->close();
  EXPECT_EQ(List(a).count(102), 0) << "an empty reactor group is dropped";
  EXPECT_EQ(List(b).count(102), 2);
  List group(id);
  EXPECT_EQ(group.group(71)->resval.rint, 0);
  EXPECT_EQ(group.text(300), "two");
  ASSERT_EQ(tcdbOpenObject(g, id, TcDb::kForWrite), TcDb::eOk);
  g->clear();
  EXPECT_EQ(g->numEntities(), 0u);
  g->close();
  EXPECT_EQ(List(b).count(102), 0);
}

TEST_F(ObjectTest, PrivateDatabaseIsReadWalkedAndReleasedWithNothingLeft) {
  long before = tarn::host::counters().openObjects;
  TcDbObjectId kept;
  size_t walked = 0;
  {
    TcDbDatabase drawing(false);
    ASSERT_EQ(drawing.readDxfFile(TARN_TEST_DATA "/dxf/ezdxf-all-2018.dxf"), TcDb::eOk);
    EXPECT_NE(tcdbWorkingDatabase(), &drawing) << "a private database is not the working one";
    TcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(drawing.getBlockTable(blocks, TcDb::kForRead), TcDb::eOk);
    for (TcDbObjectId recordId : blocks->recordIds()) {
      TcDbBlockTableRecord* record = nullptr;
      ASSERT_EQ(tcdbOpenObject(record, recordId, TcDb::kForRead), TcDb::eOk);
      for (TcDbObjectId id : record->entityIds()) {
        TcDbEntity* e = nullptr;
        ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForRead), TcDb::eOk);
        EXPECT_EQ(e->blockId(), recordId);
        EXPECT_EQ(e->database(), &drawing);
        EXPECT_FALSE(e->layer().empty());
        e->close();
        ++walked;
      }
      record->close();
    }
    blocks->close();
    kept = drawing.modelSpaceId();
    EXPECT_TRUE(kept.isValid());
  }
  EXPECT_GT(walked, 20u);
  EXPECT_FALSE(kept.isValid()) << "the released database is gone from the host";
  EXPECT_EQ(tarn::host::counters().openObjects, before);
}

TEST_F(ObjectTest, PrivateDatabaseSavesAtomicallyAndRefusesBinaryDrawings) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tarn-objects-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    std::ofstream(dir / "fake.dwg", std::ios::binary) << "AC1032\0\0\0\0\0\x01\x02\x03";
    TcDbDatabase drawing(false);
    EXPECT_EQ(drawing.readDxfFile((dir / "fake.dwg").c_str()), TcDb::eDwgNotSupported);
    EXPECT_EQ(drawing.readDxfFile((dir / "missing.dxf").c_str()), TcDb::eFileNotFound);
    EXPECT_TRUE(drawing.modelSpaceId().isNull()) << "a failed read leaves an empty database";
  }
  {
    TcDbDatabase fresh;
    TcDbLayerTable* layers = nullptr;
    ASSERT_EQ(fresh.getLayerTable(layers, TcDb::kForWrite), TcDb::eOk);
    auto* r = new TcDbLayerTableRecord();
    r->setName("TARN_SAM");
    TcDbObjectId id;
    ASSERT_EQ(layers->add(id, r), TcDb::eOk);
    r->close();
    layers->close();
    ASSERT_EQ(fresh.saveAs((dir / "out.dxf").c_str()), TcDb::eOk);
  }
  TcDbDatabase back(false);
  ASSERT_EQ(back.readDxfFile((dir / "out.dxf").c_str()), TcDb::eOk);
  TcDbLayerTable* layers = nullptr;
  ASSERT_EQ(back.getLayerTable(layers, TcDb::kForRead), TcDb::eOk);
  EXPECT_TRUE(layers->has("TARN_SAM"));
  layers->close();
  fs::remove_all(dir);
}

}  // namespace
