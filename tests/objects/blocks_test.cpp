// Blocks: a definition walked, the attributes of a reference walked and
// changed, entities appended to a space, new blocks, block record flags,
// references, and layer freezes in a viewport.
#include <numbers>

#include "object_fixture.h"

namespace {

class BlockTest : public ObjectTest {
 protected:
  // Block "Door" (attribute definition and a line) and one reference with an
  // attribute; gives the reference.
  TcDbObjectId doorWithReference() {
    auto step = [](resbuf* list) {
      EXPECT_EQ(tcdbEntMake(list), RTNORM);
      tcutRelRb(list);
    };
    step(tcutBuildList(RTDXF0, "BLOCK", 2, "Door", 10, kOrigin, 70, 2, RTNONE));
    step(tcutBuildList(RTDXF0, "ATTDEF", 10, kP1, 40, 1.0, 1, "", 2, "WIDTH", 3, "Width?", 70, 0, RTNONE));
    step(tcutBuildList(RTDXF0, "LINE", 10, kOrigin, 11, kP1, RTNONE));
    step(tcutBuildList(RTDXF0, "ENDBLK", RTNONE));
    step(tcutBuildList(RTDXF0, "INSERT", 2, "Door", 10, kP2, 66, 1, RTNONE));
    step(tcutBuildList(RTDXF0, "ATTRIB", 10, kP2, 40, 1.0, 1, "900", 2, "WIDTH", 70, 0, RTNONE));
    step(tcutBuildList(RTDXF0, "ATTRIB", 10, kP2, 40, 1.0, 1, "hidden", 2, "NOTE", 70, 1, RTNONE));
    step(tcutBuildList(RTDXF0, "SEQEND", RTNONE));
    tc_name e;
    EXPECT_EQ(tcdbEntLast(e), RTNORM);
    TcDbObjectId id;
    tcdbGetObjectId(id, e);
    return id;
  }
};

TEST_F(BlockTest, DefinitionIsWalkedInOrderWithErasedEntitiesSkipped) {
  TcDbObjectId ref = doorWithReference();
  TcDbBlockReference* insert = nullptr;
  ASSERT_EQ(tcdbOpenObject(insert, ref, TcDb::kForRead), TcDb::eOk);
  TcDbObjectId recordId = insert->blockTableRecord();
  insert->close();
  TcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(tcdbOpenObject(record, recordId, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(record->getName(), "Door");
  EXPECT_TRUE(record->hasAttributeDefinitions());
  EXPECT_FALSE(record->isLayout());
  EXPECT_FALSE(record->isAnonymous());
  EXPECT_TRUE(record->explodable());
  TcDbBlockTableRecordIterator* it = nullptr;
  ASSERT_EQ(record->newIterator(it), TcDb::eOk);
  std::vector<std::string> types;
  TcDbObjectId first;
  for (it->start(); !it->done(); it->step()) {
    TcDbObjectId id;
    it->getEntityId(id);
    if (first.isNull()) first = id;
    TcDbEntity* e = nullptr;
    ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForRead), TcDb::eOk);
    types.push_back(e->typeName());
    EXPECT_EQ(e->blockId(), recordId);
    e->close();
  }
  delete it;
  record->close();
  EXPECT_EQ(types, (std::vector<std::string>{"ATTDEF", "LINE"}));
  TcDbObject* attdef = nullptr;
  ASSERT_EQ(tcdbOpenObject(attdef, first, TcDb::kForWrite), TcDb::eOk);
  attdef->erase();
  attdef->close();
  ASSERT_EQ(tcdbOpenObject(record, recordId, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(record->entityIds().size(), 1u);
  record->close();
}

TEST_F(BlockTest, AttributesOfAReferenceAreWalkedAndChanged) {
  TcDbObjectId ref = doorWithReference();
  TcDbBlockReference* insert = nullptr;
  ASSERT_EQ(tcdbOpenObject(insert, ref, TcDb::kForRead), TcDb::eOk);
  TcDbObjectIdArray attributes = insert->attributeIds();
  EXPECT_EQ(insert->position(), (TcGePoint3d{20, 15, 2}));
  insert->close();
  ASSERT_EQ(attributes.size(), 2u);
  std::vector<std::string> tags;
  for (TcDbObjectId id : attributes) {
    TcDbAttribute* a = nullptr;
    ASSERT_EQ(tcdbOpenObject(a, id, TcDb::kForWrite), TcDb::eOk);
    tags.push_back(a->tag());
    if (a->tag() == "WIDTH") a->setTextString("1000");
    else EXPECT_TRUE(a->isInvisible());
    a->close();
  }
  EXPECT_EQ(tags, (std::vector<std::string>{"WIDTH", "NOTE"}));
  EXPECT_EQ(List(attributes[0]).text(1), "1000");
  TcDbObject* sub = nullptr;
  ASSERT_EQ(tcdbOpenObject(sub, attributes[1], TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(sub->erase(), TcDb::eNotApplicable) << "attributes go with their reference";
  sub->close();
}

TEST_F(BlockTest, ReferencePlacementIsWrittenInTheDrawingsUnits) {
  TcDbObjectId ref = doorWithReference();
  TcDbBlockReference* insert = nullptr;
  ASSERT_EQ(tcdbOpenObject(insert, ref, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(insert->setScaleFactors({2, 3, 4}), TcDb::eOk);
  EXPECT_EQ(insert->setScaleFactors({0, 1, 1}), TcDb::eInvalidInput);
  EXPECT_EQ(insert->setRotation(std::numbers::pi), TcDb::eOk);
  EXPECT_EQ(insert->setBlockTableRecord(tcdbWorkingDatabase()->modelSpaceId()), TcDb::eInvalidInput);
  insert->close();
  List list(ref);
  EXPECT_DOUBLE_EQ(list.group(41)->resval.rreal, 2);
  EXPECT_DOUBLE_EQ(list.group(43)->resval.rreal, 4);
  EXPECT_DOUBLE_EQ(list.group(50)->resval.rreal, std::numbers::pi) << "entity lists give radians";
  EXPECT_EQ(list.text(2), "Door");
}

TEST_F(BlockTest, AppendedEntityIsTheLastOfModelSpaceWithHandleAndOwner) {
  TcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(tcdbOpenObject(space, tcdbWorkingDatabase()->modelSpaceId(), TcDb::kForWrite), TcDb::eOk);
  auto* text = new TcDbText();
  text->setTextString("added");
  text->setPosition({1, 1, 0});
  TcDbObjectId id;
  ASSERT_EQ(space->appendTcDbEntity(id, text), TcDb::eOk);
  EXPECT_TRUE(text->isWriteEnabled()) << "an appended entity is open for write";
  TcDbObjectId twice;
  EXPECT_EQ(space->appendTcDbEntity(twice, text), TcDb::eAlreadyInDb);
  text->close();
  space->close();
  tc_name last, mine;
  ASSERT_EQ(tcdbEntLast(last), RTNORM);
  tcdbGetAdsName(mine, id);
  EXPECT_TRUE(tcdbNameEqual(last, mine));
  List list(id);
  EXPECT_EQ(list.text(1), "added");
  EXPECT_EQ(list.text(8), "0");
  EXPECT_FALSE(list.text(5).empty());
  TcDbObjectId owner;
  tcdbGetObjectId(owner, list.group(330)->resval.rlname);
  EXPECT_EQ(owner, tcdbWorkingDatabase()->modelSpaceId());
}

TEST_F(BlockTest, NewAnonymousBlocksAreNumberedAndWritten) {
  TcDbBlockTable* table = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getBlockTable(table, TcDb::kForWrite), TcDb::eOk);
  std::vector<std::string> names;
  for (int i = 0; i < 2; ++i) {
    auto* record = new TcDbBlockTableRecord();
    record->setName("*U");
    record->setOrigin({1, 2, 0});
    TcDbObjectId id;
    ASSERT_EQ(table->add(id, record), TcDb::eOk);
    auto* line = new TcDbText();
    TcDbObjectId lineId;
    ASSERT_EQ(record->appendTcDbEntity(lineId, line), TcDb::eOk);
    line->close();
    EXPECT_TRUE(record->isAnonymous());
    EXPECT_EQ(record->setExplodable(false), TcDb::eOk);
    names.push_back(record->getName());
    record->close();
  }
  auto* dup = new TcDbBlockTableRecord();
  dup->setName("Door");
  TcDbObjectId id;
  EXPECT_EQ(table->add(id, dup), TcDb::eOk);
  dup->close();
  TcDbBlockTableRecord again;
  again.setName("door");
  EXPECT_EQ(table->add(id, &again), TcDb::eDuplicateKey);
  table->close();
  EXPECT_EQ(names, (std::vector<std::string>{"*U1", "*U2"}));
  resbuf* found = tcdbTblSearch("BLOCK", "*U2", 0);
  ASSERT_NE(found, nullptr);
  tcutRelRb(found);
  tarn::db::Database reread;
  ASSERT_TRUE(tarn::db::readDxfBuffer(tarn::db::writeDxfString(db), reread).ok());
  uint32_t block = reread.findBlock("*U1");
  ASSERT_NE(block, tarn::db::kNoObject);
  EXPECT_EQ(reread.blocks()[block].entities.size(), 1u);
  EXPECT_EQ(tarn::db::findTag(reread, reread.blocks()[block].record, 280)->i, 0) << "not explodable";
  EXPECT_EQ(tarn::db::findTag(reread, reread.blocks()[block].begin, 10)->p, (tarn::db::Point3{1, 2, 0}));
}

TEST_F(BlockTest, ViewportFreezesAreItsLayerReferences) {
  TcDbObjectId walls = layer("Walls"), doors = layer("Doors");
  TcDbObjectId vp = make(tcutBuildList(RTDXF0, "VIEWPORT", 67, 1, 10, kP1, 40, 50.0, 41, 30.0, 69, 2, RTNONE));
  TcDbViewport* v = nullptr;
  ASSERT_EQ(tcdbOpenObject(v, vp, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(v->freezeLayersInViewport({walls, doors, walls}), TcDb::eOk);
  EXPECT_EQ(v->freezeLayersInViewport({vp}), TcDb::eInvalidInput) << "only layers freeze";
  v->close();
  EXPECT_EQ(List(vp).count(331), 2);
  ASSERT_EQ(tcdbOpenObject(v, vp, TcDb::kForWrite), TcDb::eOk);
  EXPECT_TRUE(v->isLayerFrozenInViewport(doors));
  v->thawLayersInViewport({walls});
  EXPECT_EQ(v->frozenLayers(), TcDbObjectIdArray{doors});
  v->close();
  List list(vp);
  ASSERT_EQ(list.count(331), 1);
  TcDbObjectId frozen;
  tcdbGetObjectId(frozen, list.group(331)->resval.rlname);
  EXPECT_EQ(frozen, doors);
}

TEST_F(BlockTest, LayerTableLooksUpWithoutCaseAndAddsNewLayers) {
  TcDbLayerTable* table = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getLayerTable(table, TcDb::kForRead), TcDb::eOk);
  TcDbObjectId zero;
  EXPECT_EQ(table->getAt("0", zero), TcDb::eOk);
  EXPECT_EQ(zero, tcdbWorkingDatabase()->clayer());
  auto* layerRecord = new TcDbLayerTableRecord();
  layerRecord->setName("New");
  TcDbObjectId id;
  EXPECT_EQ(table->add(id, layerRecord), TcDb::eNotOpenForWrite);
  ASSERT_EQ(table->upgradeOpen(), TcDb::eOk);
  ASSERT_EQ(table->add(id, layerRecord), TcDb::eOk);
  layerRecord->setColorIndex(4);
  layerRecord->close();
  EXPECT_TRUE(table->has("NEW"));
  EXPECT_TRUE(table->has(id));
  EXPECT_EQ(table->recordIds().back(), id);
  table->close();
  resbuf* found = tcdbTblSearch("LAYER", "New", 0);
  ASSERT_NE(found, nullptr);
  const resbuf* color = found;
  while (color && color->restype != 62) color = color->rbnext;
  ASSERT_NE(color, nullptr);
  EXPECT_EQ(color->resval.rint, 4);
  tcutRelRb(found);
}

}  // namespace
