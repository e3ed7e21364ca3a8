// Entity lists: make, get, modify, erase, walk; complex entities and block
// definitions made over several calls; the locked-layer refusal.
#include <cmath>

#include "host_fixture.h"

namespace {

double kOrigin[3] = {0, 0, 0};
double kP1[3] = {10, 5, 0};
double kP2[3] = {20, 15, 2};

struct TypeCase {
  const char* type;
  resbuf* (*build)();
  int checkCode;  // a group that must come back
};

resbuf* line() { return tcutBuildList(RTDXF0, "LINE", 10, kOrigin, 11, kP1, 62, 3, RTNONE); }
resbuf* circle() { return tcutBuildList(RTDXF0, "CIRCLE", 10, kP1, 40, 2.5, RTNONE); }
resbuf* arc() { return tcutBuildList(RTDXF0, "ARC", 10, kP1, 40, 2.5, 50, 0.0, 51, M_PI / 2, RTNONE); }
resbuf* text() { return tcutBuildList(RTDXF0, "TEXT", 10, kP1, 40, 2.5, 1, "note", 72, 1, 11, kP2, 73, 2, RTNONE); }
resbuf* mtext() { return tcutBuildList(RTDXF0, "MTEXT", 10, kP1, 40, 2.5, 41, 30.0, 1, "a\\Pb", RTNONE); }
resbuf* ellipse() { return tcutBuildList(RTDXF0, "ELLIPSE", 10, kP1, 11, kP2, 40, 0.5, RTNONE); }
resbuf* point() { return tcutBuildList(RTDXF0, "POINT", 10, kP2, RTNONE); }
resbuf* xline() { return tcutBuildList(RTDXF0, "XLINE", 10, kP1, 11, kP2, RTNONE); }
resbuf* solid() { return tcutBuildList(RTDXF0, "SOLID", 10, kOrigin, 11, kP1, 12, kP2, 13, kP2, RTNONE); }
resbuf* face() { return tcutBuildList(RTDXF0, "3DFACE", 10, kOrigin, 11, kP1, 12, kP2, 13, kP2, RTNONE); }

class MakeEachType : public HostTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(MakeEachType, ComesBackWithMarkersHandleOwnerAndLayer) {
  tc_name e;
  ASSERT_TRUE(make(GetParam().build(), e));
  resbuf* list = tcdbEntGet(e);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(text(list, 0), GetParam().type);
  EXPECT_EQ(text(list, 8), "0") << "the current layer";
  EXPECT_FALSE(text(list, 5).empty()) << "a handle";
  EXPECT_EQ(text(group(list, 100), 100), "AcDbEntity");
  EXPECT_NE(group(list, GetParam().checkCode), nullptr);
  const resbuf* owner = group(list, 330);
  ASSERT_NE(owner, nullptr);
  resbuf* record = tcdbEntGet(owner->resval.rlname);
  EXPECT_EQ(text(record, 0), "BLOCK_RECORD");
  EXPECT_EQ(text(record, 2), "*Model_Space");
  tcutRelRb(record);
  tcutRelRb(list);
  // The drawing with the entity is read by the reader again without fault.
  tarn::db::Database again;
  EXPECT_TRUE(tarn::db::readDxfBuffer(tarn::db::writeDxfString(db), again).ok());
}

INSTANTIATE_TEST_SUITE_P(Types, MakeEachType,
                         testing::Values(TypeCase{"LINE", line, 11}, TypeCase{"CIRCLE", circle, 40},
                                         TypeCase{"ARC", arc, 51}, TypeCase{"TEXT", text, 73},
                                         TypeCase{"MTEXT", mtext, 41}, TypeCase{"ELLIPSE", ellipse, 40},
                                         TypeCase{"POINT", point, 10}, TypeCase{"XLINE", xline, 11},
                                         TypeCase{"SOLID", solid, 13}, TypeCase{"3DFACE", face, 13}),
                         [](const auto& p) { return std::string(p.param.type[0] == '3' ? "FACE3D" : p.param.type); });

TEST_F(HostTest, MakeRefusesListsWithoutRequiredGroupsOrWithUnknownLinetype) {
  resbuf* noEnd = tcutBuildList(RTDXF0, "LINE", 10, kOrigin, RTNONE);
  EXPECT_EQ(tcdbEntMake(noEnd), RTERROR);
  tcutRelRb(noEnd);
  resbuf* badType = tcutBuildList(RTDXF0, "LINE", 10, kOrigin, 11, kP1, 6, "NO_SUCH_LTYPE", RTNONE);
  EXPECT_EQ(tcdbEntMake(badType), RTERROR);
  tcutRelRb(badType);
  resbuf* newLayer = tcutBuildList(RTDXF0, "LINE", 8, "FRESH", 10, kOrigin, 11, kP1, RTNONE);
  EXPECT_EQ(tcdbEntMake(newLayer), RTNORM) << "a missing layer is made";
  tcutRelRb(newLayer);
  EXPECT_NE(db.findRecord("LAYER", "FRESH"), tarn::db::kNoObject);
}

TEST_F(HostTest, PartialModifyChangesOnlyTheNamedGroups) {
  tc_name e;
  ASSERT_TRUE(make(line(), e));
  resbuf* change = tcutBuildList(-1, e, 8, "WALLS", 370, 50, RTNONE);
  ASSERT_EQ(tcdbEntMod(change), RTNORM);
  tcutRelRb(change);
  resbuf* list = tcdbEntGet(e);
  EXPECT_EQ(text(list, 8), "WALLS");
  EXPECT_EQ(group(list, 62)->resval.rint, 3) << "the colour stays";
  EXPECT_EQ(group(list, 11)->resval.rpoint[0], 10);
  EXPECT_EQ(count(list, 370), 1);
  tcutRelRb(list);
}

TEST_F(HostTest, FullModifyFromAGotListReplacesValuesAndKeepsTheHandle) {
  tc_name e;
  ASSERT_TRUE(make(line(), e));
  resbuf* list = tcdbEntGet(e);
  std::string handle = text(list, 5);
  resbuf* end = const_cast<resbuf*>(group(list, 11));
  end->resval.rpoint[0] = 99;
  ASSERT_EQ(tcdbEntMod(list), RTNORM);
  tcutRelRb(list);
  list = tcdbEntGet(e);
  EXPECT_EQ(group(list, 11)->resval.rpoint[0], 99);
  EXPECT_EQ(text(list, 5), handle);
  EXPECT_EQ(count(list, 100), 2) << "no markers added twice";
  tcutRelRb(list);
}

TEST_F(HostTest, AnglesAreRadiansInListsAndDegreesInTheFile) {
  tc_name e;
  ASSERT_TRUE(make(arc(), e));
  resbuf* list = tcdbEntGet(e);
  EXPECT_DOUBLE_EQ(group(list, 51)->resval.rreal, M_PI / 2);
  tcutRelRb(list);
  std::string out = tarn::db::writeDxfString(db);
  EXPECT_NE(out.find(" 51\n90.0\n"), std::string::npos) << "the file keeps degrees";
  double mtextRotation = 0.5;
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "MTEXT", 10, kP1, 40, 1.0, 1, "m", 50, mtextRotation, RTNONE), e));
  EXPECT_NE(tarn::db::writeDxfString(db).find(" 50\n28.64788975654"), std::string::npos) << "paragraph texts too";
}

TEST_F(HostTest, ModifyRefusesAChangeOfType) {
  tc_name e;
  ASSERT_TRUE(make(line(), e));
  resbuf* change = tcutBuildList(-1, e, RTDXF0, "CIRCLE", 40, 1.0, RTNONE);
  EXPECT_EQ(tcdbEntMod(change), RTERROR);
  tcutRelRb(change);
}

TEST_F(HostTest, LightweightPolylineKeepsTwoDimensionalVerticesAndBulges) {
  double v1[3] = {0, 0, 0}, v2[3] = {10, 0, 0}, v3[3] = {10, 10, 0};
  tc_name e;
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "LWPOLYLINE", 90, 3, 70, 1, 38, 2.5, 10, v1, 42, 0.5, 10, v2, 10, v3, RTNONE), e));
  resbuf* list = tcdbEntGet(e);
  EXPECT_EQ(count(list, 10), 3);
  EXPECT_DOUBLE_EQ(group(list, 42)->resval.rreal, 0.5);
  tcutRelRb(list);
  std::string out = tarn::db::writeDxfString(db);
  size_t at = out.find("AcDbPolyline");
  ASSERT_NE(at, std::string::npos);
  std::string entity = out.substr(at, out.find("  0\n", at) - at);
  EXPECT_EQ(entity.find(" 30\n"), std::string::npos) << "vertices are written without z";
}

TEST_F(HostTest, PolylineOverSeveralCallsAndTheWalkThroughItsVertices) {
  double a[3] = {0, 0, 0}, b[3] = {5, 0, 0};
  resbuf* head = tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 10, kOrigin, 70, 0, RTNONE);
  resbuf* v1 = tcutBuildList(RTDXF0, "VERTEX", 10, a, RTNONE);
  resbuf* v2 = tcutBuildList(RTDXF0, "VERTEX", 10, b, 42, 1.0, RTNONE);
  resbuf* end = tcutBuildList(RTDXF0, "SEQEND", RTNONE);
  tc_name before;
  ASSERT_TRUE(make(line(), before));
  EXPECT_EQ(tcdbEntMake(head), RTNORM);
  EXPECT_EQ(tcdbEntMake(v1), RTNORM);
  tc_name last;
  ASSERT_EQ(tcdbEntLast(last), RTNORM);
  EXPECT_TRUE(tcdbNameEqual(last, before)) << "nothing is stored before SEQEND";
  EXPECT_EQ(tcdbEntMake(v2), RTNORM);
  EXPECT_EQ(tcdbEntMake(end), RTNORM);
  for (resbuf* rb : {head, v1, v2, end}) tcutRelRb(rb);
  tc_name poly, walk;
  ASSERT_EQ(tcdbEntLast(poly), RTNORM);
  std::vector<std::string> types;
  tcdbNameSet(poly, walk);
  while (tcdbEntNext(walk, walk) == RTNORM) {
    resbuf* l = tcdbEntGet(walk);
    types.push_back(text(l, 0));
    tcutRelRb(l);
  }
  EXPECT_EQ(types, (std::vector<std::string>{"VERTEX", "VERTEX", "SEQEND"}));
  resbuf* l = tcdbEntGet(poly);
  EXPECT_EQ(text(l, 0), "POLYLINE");
  bool has2d = false;
  for (const resbuf* rb = l; rb; rb = rb->rbnext)
    has2d |= rb->restype == 100 && std::string(rb->resval.rstring) == "AcDb2dPolyline";
  EXPECT_TRUE(has2d);
  tcutRelRb(l);
}

TEST_F(HostTest, DiscardDropsAnUnfinishedComplexEntity) {
  resbuf* head = tcutBuildList(RTDXF0, "POLYLINE", 66, 1, 10, kOrigin, RTNONE);
  resbuf* v = tcutBuildList(RTDXF0, "VERTEX", 10, kP1, RTNONE);
  EXPECT_EQ(tcdbEntMake(head), RTNORM);
  EXPECT_EQ(tcdbEntMake(v), RTNORM);
  resbuf* l = line();
  EXPECT_EQ(tcdbEntMake(l), RTERROR) << "a complex entity must be finished first";
  EXPECT_EQ(tcdbEntMake(nullptr), RTNORM);
  EXPECT_EQ(tcdbEntMake(l), RTNORM);
  for (resbuf* rb : {head, v, l}) tcutRelRb(rb);
  EXPECT_EQ(tarn::db::writeDxfString(db).find("POLYLINE"), std::string::npos);
}

TEST_F(HostTest, BlockDefinitionThenReferenceWithAttributes) {
  resbuf* begin = tcutBuildList(RTDXF0, "BLOCK", 2, "DOOR", 70, 2, 10, kOrigin, RTNONE);
  resbuf* body = line();
  resbuf* attdef = tcutBuildList(RTDXF0, "ATTDEF", 10, kOrigin, 40, 1.0, 1, "", 3, "Number?", 2, "NO", 70, 0, RTNONE);
  resbuf* end = tcutBuildList(RTDXF0, "ENDBLK", RTNONE);
  for (resbuf* rb : {begin, body, attdef, end}) {
    EXPECT_EQ(tcdbEntMake(rb), RTNORM);
    tcutRelRb(rb);
  }
  resbuf* found = tcdbTblSearch("BLOCK", "door", 0);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(text(found, 2), "DOOR");
  const resbuf* first = group(found, -2);
  ASSERT_NE(first, nullptr);
  resbuf* firstList = tcdbEntGet(first->resval.rlname);
  EXPECT_EQ(text(firstList, 0), "LINE");
  tcutRelRb(firstList);
  tcutRelRb(found);

  resbuf* ref = tcutBuildList(RTDXF0, "INSERT", 2, "DOOR", 66, 1, 10, kP1, RTNONE);
  resbuf* att = tcutBuildList(RTDXF0, "ATTRIB", 10, kP1, 40, 1.0, 1, "D-7", 2, "NO", RTNONE);
  resbuf* seq = tcutBuildList(RTDXF0, "SEQEND", RTNONE);
  for (resbuf* rb : {ref, att, seq}) {
    EXPECT_EQ(tcdbEntMake(rb), RTNORM);
    tcutRelRb(rb);
  }
  tc_name insert, attrib;
  ASSERT_EQ(tcdbEntLast(insert), RTNORM);
  ASSERT_EQ(tcdbEntNext(insert, attrib), RTNORM);
  resbuf* a = tcdbEntGet(attrib);
  EXPECT_EQ(text(a, 1), "D-7");
  EXPECT_TRUE(tcdbNameEqual(group(a, 330)->resval.rlname, insert)) << "an attribute is owned by its reference";
  tcutRelRb(a);

  resbuf* again = tcutBuildList(RTDXF0, "BLOCK", 2, "DOOR", 10, kOrigin, RTNONE);
  EXPECT_EQ(tcdbEntMake(again), RTERROR) << "a block name is taken once";
  tcutRelRb(again);
  resbuf* missing = tcutBuildList(RTDXF0, "INSERT", 2, "NO_SUCH_BLOCK", 10, kP1, RTNONE);
  EXPECT_EQ(tcdbEntMake(missing), RTERROR);
  tcutRelRb(missing);
}

TEST_F(HostTest, AnonymousBlocksGetTheNextFreeName) {
  for (int i = 0; i < 2; ++i) {
    resbuf* begin = tcutBuildList(RTDXF0, "BLOCK", 2, "*U", 70, 1, 10, kOrigin, RTNONE);
    resbuf* body = circle();
    resbuf* end = tcutBuildList(RTDXF0, "ENDBLK", RTNONE);
    for (resbuf* rb : {begin, body, end}) {
      EXPECT_EQ(tcdbEntMake(rb), RTNORM);
      tcutRelRb(rb);
    }
  }
  EXPECT_NE(db.findBlock("*U0"), tarn::db::kNoObject);
  EXPECT_NE(db.findBlock("*U1"), tarn::db::kNoObject);
}

TEST_F(HostTest, EraseTogglesAndErasedEntitiesAreNeitherListedNorSaved) {
  tc_name e;
  ASSERT_TRUE(make(circle(), e));
  EXPECT_EQ(tcdbEntDel(e), RTNORM);
  EXPECT_EQ(tcdbEntGet(e), nullptr);
  EXPECT_EQ(tarn::db::writeDxfString(db).find("CIRCLE"), std::string::npos);
  tc_name first;
  EXPECT_EQ(tcdbEntNext(nullptr, first), RTERROR) << "the walk skips erased entities";
  EXPECT_EQ(tcdbEntDel(e), RTNORM);
  resbuf* back = tcdbEntGet(e);
  EXPECT_NE(back, nullptr);
  tcutRelRb(back);
  EXPECT_NE(tarn::db::writeDxfString(db).find("CIRCLE"), std::string::npos);
}

TEST_F(HostTest, LockedLayerRefusesModifyAndEraseUnlessTheCheckIsSuspended) {
  resbuf* layer = tcutBuildList(RTDXF0, "LAYER", 2, "FIXED", 70, 4, 62, 1, 6, "Continuous", RTNONE);
  ASSERT_EQ(tcdbEntMake(layer), RTNORM);
  tcutRelRb(layer);
  tc_name e;
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "LINE", 8, "FIXED", 10, kOrigin, 11, kP1, RTNONE), e));
  resbuf* change = tcutBuildList(-1, e, 62, 5, RTNONE);
  EXPECT_EQ(tcdbEntMod(change), RTERROR);
  EXPECT_EQ(tcdbEntDel(e), RTERROR);
  {
    tarn::host::LockCheckSuspension suspended;
    EXPECT_EQ(tcdbEntMod(change), RTNORM);
  }
  EXPECT_EQ(tcdbEntMod(change), RTERROR) << "the check is back";
  tcutRelRb(change);
}

TEST_F(HostTest, ExtendedDataNeedARegisteredApplicationAndAreReplacedPerApplication) {
  tc_name e;
  ASSERT_TRUE(make(line(), e));
  resbuf* withX = tcutBuildList(-1, e, -3, 1001, "TARN_NOTE", 1000, "first", 1070, 7, RTNONE);
  EXPECT_EQ(tcdbEntMod(withX), RTERROR) << "the application is not registered";
  EXPECT_EQ(tcdbRegApp("TARN_NOTE"), RTNORM);
  EXPECT_EQ(tcdbRegApp("TARN_NOTE"), RTERROR) << "registered once";
  EXPECT_EQ(tcdbEntMod(withX), RTNORM);
  tcutRelRb(withX);
  resbuf* plain = tcdbEntGet(e);
  EXPECT_EQ(group(plain, -3), nullptr) << "extended data only on request";
  tcutRelRb(plain);
  resbuf* apps = tcutBuildList(RTSTR, "tarn_note", RTNONE);
  resbuf* got = tcdbEntGetX(e, apps);
  ASSERT_NE(group(got, -3), nullptr);
  EXPECT_EQ(text(got, 1000), "first");
  EXPECT_EQ(group(got, 1070)->resval.rint, 7);
  tcutRelRb(got);
  resbuf* clear = tcutBuildList(-1, e, -3, 1001, "TARN_NOTE", RTNONE);
  EXPECT_EQ(tcdbEntMod(clear), RTNORM);
  tcutRelRb(clear);
  got = tcdbEntGetX(e, apps);
  EXPECT_EQ(group(got, -3), nullptr) << "an application given without groups loses its data";
  tcutRelRb(got);
  tcutRelRb(apps);
}

TEST_F(HostTest, HandlesFindTheirEntitiesAndNamesStayValid) {
  tc_name e;
  ASSERT_TRUE(make(line(), e));
  resbuf* l = tcdbEntGet(e);
  tc_name again;
  ASSERT_EQ(tcdbHandEnt(text(l, 5).c_str(), again), RTNORM);
  EXPECT_TRUE(tcdbNameEqual(e, again));
  tcutRelRb(l);
  EXPECT_EQ(tcdbHandEnt("ZZZ", again), RTERROR);
  EXPECT_EQ(tcdbHandEnt("FFFFFF", again), RTERROR);
  tc_name stale = {e[0], e[1] + 1000};
  EXPECT_EQ(tcdbEntGet(stale), nullptr);
}

}  // namespace
