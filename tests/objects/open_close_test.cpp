// Opening and closing: the ownership counter, one writer per object, erased
// and null ids, typed opening, names and ids, the locked-layer refusal and
// its suspension.
#include "object_fixture.h"

namespace {

resbuf* line(const char* layerName = "0") {
  return tcutBuildList(RTDXF0, "LINE", 8, layerName, 10, kOrigin, 11, kP1, RTNONE);
}

TEST_F(ObjectTest, EveryOpenIsCountedUntilItsCloseAndASecondCloseCountsNothing) {
  TcDbObjectId id = make(line());
  long before = tarn::host::counters().openObjects;
  TcDbObject* a = nullptr;
  TcDbObject* b = nullptr;
  ASSERT_EQ(tcdbOpenObject(a, id, TcDb::kForRead), TcDb::eOk);
  ASSERT_EQ(tcdbOpenObject(b, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(tarn::host::counters().openObjects, before + 2);
  EXPECT_EQ(tarn::objects::openObjectCount(), 2u);
  EXPECT_EQ(a->close(), TcDb::eOk);
  EXPECT_EQ(a->close(), TcDb::eOk);
  EXPECT_EQ(tarn::host::counters().openObjects, before + 1) << "a second close must not uncount again";
  b->close();
  EXPECT_EQ(tarn::host::counters().openObjects, before);
  tarn::objects::releaseClosedObjects();
  EXPECT_EQ(tarn::objects::openObjectCount(), 0u);
}

TEST_F(ObjectTest, ASecondWriterIsRefusedUntilTheFirstCloses) {
  TcDbObjectId id = make(line());
  TcDbObject* first = nullptr;
  TcDbObject* second = nullptr;
  ASSERT_EQ(tcdbOpenObject(first, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(tcdbOpenObject(second, id, TcDb::kForWrite), TcDb::eWasOpenedForWrite);
  EXPECT_EQ(second, nullptr);
  TcDbObject* reader = nullptr;
  ASSERT_EQ(tcdbOpenObject(reader, id, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(reader->upgradeOpen(), TcDb::eWasOpenedForWrite);
  first->close();
  EXPECT_EQ(reader->upgradeOpen(), TcDb::eOk);
  EXPECT_TRUE(reader->isWriteEnabled());
  EXPECT_EQ(tcdbOpenObject(second, id, TcDb::kForWrite), TcDb::eWasOpenedForWrite);
  reader->close();
  ASSERT_EQ(tcdbOpenObject(second, id, TcDb::kForWrite), TcDb::eOk);
  second->close();
}

TEST_F(ObjectTest, ChangesReachTheDrawingAtCloseAndReadersCannotWrite) {
  TcDbObjectId id = make(line());
  TcDbEntity* e = nullptr;
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(e->setColorIndex(1), TcDb::eNotOpenForWrite);
  e->close();
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  ASSERT_EQ(e->setColorIndex(5), TcDb::eOk);
  EXPECT_EQ(List(id).group(62), nullptr) << "stored only when closed";
  e->close();
  ASSERT_NE(List(id).group(62), nullptr);
  EXPECT_EQ(List(id).group(62)->resval.rint, 5);
  EXPECT_EQ(e->setColorIndex(6), TcDb::eNotOpenForWrite) << "a closed object changes nothing";
}

TEST_F(ObjectTest, ErasedAndNullIdsAreRefusedWithTheirOwnStatus) {
  TcDbObjectId id = make(line());
  TcDbObject* o = nullptr;
  EXPECT_EQ(tcdbOpenObject(o, TcDbObjectId(), TcDb::kForRead), TcDb::eNullObjectId);
  EXPECT_EQ(tcdbOpenObject(o, TcDbObjectId(db.serial(), 999999), TcDb::kForRead), TcDb::eInvalidInput);
  ASSERT_EQ(tcdbOpenObject(o, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(o->erase(), TcDb::eOk);
  EXPECT_TRUE(o->isErased());
  o->close();
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(List(id).head, nullptr) << "the entity list view sees the erasure";
  EXPECT_EQ(tcdbOpenObject(o, id, TcDb::kForRead), TcDb::eWasErased);
  ASSERT_EQ(tcdbOpenObject(o, id, TcDb::kForWrite, true), TcDb::eOk);
  EXPECT_EQ(o->erase(false), TcDb::eOk);
  o->close();
  EXPECT_NE(List(id).head, nullptr);
}

TEST_F(ObjectTest, TypedOpenOfAnotherClassLeavesNothingOpen) {
  TcDbObjectId id = make(line());
  long before = tarn::host::counters().openObjects;
  TcDbText* text = nullptr;
  EXPECT_EQ(tcdbOpenObject(text, id, TcDb::kForWrite), TcDb::eNotThatKindOfClass);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(tarn::host::counters().openObjects, before);
  TcDbObject* again = nullptr;
  ASSERT_EQ(tcdbOpenObject(again, id, TcDb::kForWrite), TcDb::eOk) << "the failed typed open released its writer";
  again->close();
}

TEST_F(ObjectTest, NamesAndIdsConvertBothWaysAndHashApart) {
  TcDbObjectId a = make(line()), b = make(line());
  tc_name n;
  ASSERT_EQ(tcdbGetAdsName(n, a), TcDb::eOk);
  TcDbObjectId back;
  ASSERT_EQ(tcdbGetObjectId(back, n), TcDb::eOk);
  EXPECT_EQ(back, a);
  EXPECT_NE(a, b);
  EXPECT_NE(std::hash<TcDbObjectId>()(a), std::hash<TcDbObjectId>()(b));
  EXPECT_EQ(a.handle(), List(a).text(5));
  tc_name nil = {0, 0};
  EXPECT_EQ(tcdbGetObjectId(back, nil), TcDb::eNullObjectId);
  EXPECT_TRUE(back.isNull());
  EXPECT_EQ(tcdbGetAdsName(n, TcDbObjectId()), TcDb::eNullObjectId);
  tc_name stale = {int32_t(db.serial()), 1 << 30};
  EXPECT_EQ(tcdbGetObjectId(back, stale), TcDb::eInvalidInput);
}

TEST_F(ObjectTest, LockedLayerRefusesWritersUntilTheCheckIsSuspended) {
  layer("Locked", 4);
  TcDbObjectId id = make(line("Locked"));
  TcDbEntity* e = nullptr;
  EXPECT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOnLockedLayer);
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForRead), TcDb::eOk) << "reading is allowed";
  e->close();
  {
    TcDbLockedLayerCheckSuspension suspended;
    ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  }
  // The change made under the suspension is stored although the check is back.
  EXPECT_EQ(e->setVisibility(TcDb::kInvisible), TcDb::eOk);
  e->close();
  EXPECT_EQ(List(id).group(60)->resval.rint, 1);
  EXPECT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOnLockedLayer) << "the check is restored";
  tcdbSuspendLockedLayerCheck();
  tcdbSuspendLockedLayerCheck();
  tcdbResumeLockedLayerCheck();
  EXPECT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk) << "suspensions nest";
  e->close();
  tcdbResumeLockedLayerCheck();
  tcdbResumeLockedLayerCheck();  // an unmatched resume is harmless
  EXPECT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOnLockedLayer);
}

TEST_F(ObjectTest, ProtectedObjectsCannotBeErased) {
  TcDbDatabase* d = tcdbWorkingDatabase();
  ASSERT_NE(d, nullptr);
  for (TcDbObjectId id : {d->clayer(), d->modelSpaceId(), d->layerTableId(), d->namedObjectsDictionaryId()}) {
    TcDbObject* o = nullptr;
    ASSERT_EQ(tcdbOpenObject(o, id, TcDb::kForWrite), TcDb::eOk);
    EXPECT_EQ(o->erase(), TcDb::eNotApplicable) << o->typeName();
    o->close();
  }
}

TEST_F(ObjectTest, ObjectsOfAReleasedDatabaseCloseHarmlessly) {
  long before = tarn::host::counters().openObjects;
  TcDbObject* o = nullptr;
  {
    TcDbDatabase priv;
    ASSERT_EQ(tcdbOpenObject(o, priv.layerTableId(), TcDb::kForWrite), TcDb::eOk);
  }
  EXPECT_EQ(tarn::host::counters().openObjects, before + 1) << "a leak stays visible";
  EXPECT_EQ(o->close(), TcDb::eOk);
  EXPECT_EQ(tarn::host::counters().openObjects, before);
}

}  // namespace
