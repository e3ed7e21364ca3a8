// Selection sets: modes, filters, interactive options, callbacks, the set
// calls, and that every set is counted.
#include "editor_fixture.h"

#include <algorithm>
#include <set>

namespace {

class Selection : public EditorTest {
 protected:
  // Four lines: a and b on layer WALLS (b red), c on DOORS, d far away on DOORS.
  void SetUp() override {
    line(0, 0, 10, 0, "WALLS", 256, a);
    line(0, 5, 10, 5, "WALLS", 1, b);
    line(20, 0, 20, 10, "DOORS", 256, c);
    line(100, 100, 110, 100, "DOORS", 3, d);
  }

  // The members of a set, freed after.
  std::vector<std::pair<int32_t, int32_t>> members(tc_name ss) {
    int32_t n = 0;
    tcedSSLength(ss, &n);
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t i = 0; i < n; ++i) {
      tc_name e;
      tcedSSName(ss, i, e);
      out.emplace_back(e[0], e[1]);
    }
    tcedSSFree(ss);
    std::sort(out.begin(), out.end());
    return out;
  }
  static std::pair<int32_t, int32_t> key(const tc_name n) { return {n[0], n[1]}; }
  std::vector<std::pair<int32_t, int32_t>> names(std::initializer_list<const int32_t*> list) {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (auto n : list) out.emplace_back(n[0], n[1]);
    std::sort(out.begin(), out.end());
    return out;
  }

  tc_name a, b, c, d;
};

TEST_F(Selection, AllWithoutFilter) {
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, b, c, d}));
}

TEST_F(Selection, AllWithLayerTypeAndColourFilter) {
  resbuf* filter = tcutBuildList(RTDXF0, "LINE", 8, "WALLS", RTNONE);
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, b}));
  tcutRelRb(filter);
  filter = tcutBuildList(62, 256, RTNONE);  // by layer
  ASSERT_EQ(tcedSSGet("_X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, c}));
  tcutRelRb(filter);
  filter = tcutBuildList(-4, "<OR", 62, 1, 62, 3, -4, "OR>", RTNONE);
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), names({b, d}));
  tcutRelRb(filter);
}

// The type is decided once per type before the rest of the filter runs;
// the answers must be those of the whole filter.
TEST_F(Selection, TypeGateGivesWhatTheWholeFilterGives) {
  double centre[3] = {50, 50, 0};
  resbuf* made = tcutBuildList(RTDXF0, "CIRCLE", 10, centre, 40, 2.0, RTNONE);  // no 62: by layer
  ASSERT_EQ(tcdbEntMake(made), RTNORM);
  tcutRelRb(made);
  tc_name circle;
  tcdbEntLast(circle);
  struct Case {
    resbuf* filter;
    std::vector<std::pair<int32_t, int32_t>> expected;
  } cases[] = {
      {tcutBuildList(RTDXF0, "circle", RTNONE), names({circle})},
      {tcutBuildList(RTDXF0, "~LINE", RTNONE), names({circle})},
      {tcutBuildList(RTDXF0, "CIRCLE,LINE", 62, 256, RTNONE), names({a, c, circle})},
      {tcutBuildList(RTDXF0, "L*", 8, "DOORS", 62, 3, RTNONE), names({d})},
  };
  for (auto& k : cases) {
    tc_name ss;
    ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, k.filter, ss), RTNORM);
    EXPECT_EQ(members(ss), k.expected);
    tcutRelRb(k.filter);
  }
  resbuf* none = tcutBuildList(RTDXF0, "CIRCLE", 8, "WALLS", RTNONE);
  tc_name ss;
  EXPECT_EQ(tcedSSGet("X", nullptr, nullptr, none, ss), RTERROR);
  tcutRelRb(none);
}

TEST_F(Selection, WildcardLayerAndNothingFoundIsAnError) {
  resbuf* filter = tcutBuildList(8, "D*", RTNONE);
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c, d}));
  tcutRelRb(filter);
  filter = tcutBuildList(8, "NOSUCH", RTNONE);
  EXPECT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTERROR);
  tcutRelRb(filter);
}

TEST_F(Selection, BadFilterOrModeIsAnError) {
  resbuf* filter = tcutBuildList(-4, "<OR", 8, "A", RTNONE);  // unclosed
  tc_name ss;
  EXPECT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTERROR);
  tcutRelRb(filter);
  EXPECT_EQ(tcedSSGet("Q", nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_EQ(tcedSSGet(":Z", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(Selection, FilterOnExtendedDataTakesTheFullEntityList) {
  resbuf* filter = tcutBuildList(-3, 1001, "NOAPP", RTNONE);
  tc_name ss;
  EXPECT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTERROR);
  tcutRelRb(filter);
}

TEST_F(Selection, WindowTakesWhatIsInsideCrossingWhatTouches) {
  double p1[3] = {-1, -1, 0}, p2[3] = {15, 2, 0};
  tc_name ss;
  ASSERT_EQ(tcedSSGet("W", p1, p2, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a}));
  double q1[3] = {15, 1, 0}, q2[3] = {25, 6, 0};
  ASSERT_EQ(tcedSSGet("C", q1, q2, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c}));
  EXPECT_EQ(tcedSSGet("W", q1, q2, nullptr, ss), RTERROR);
}

TEST_F(Selection, PolygonsAndFenceFromPointLists) {
  double p[4][3] = {{-1, -1, 0}, {30, -1, 0}, {30, 3, 0}, {-1, 3, 0}};
  resbuf* poly = tcutBuildList(RTPOINT, p[0], RTPOINT, p[1], RTPOINT, p[2], RTPOINT, p[3], RTNONE);
  tc_name ss;
  ASSERT_EQ(tcedSSGet("WP", poly, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a}));
  ASSERT_EQ(tcedSSGet("CP", poly, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, c}));
  tcutRelRb(poly);
  double f[2][3] = {{5, -5, 0}, {5, 7, 0}};
  resbuf* fence = tcutBuildList(RTPOINT, f[0], RTPOINT, f[1], RTNONE);
  ASSERT_EQ(tcedSSGet("F", fence, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, b}));
  tcutRelRb(fence);
}

TEST_F(Selection, LastPreviousAndPickfirst) {
  tc_name ss, prev;
  ASSERT_EQ(tcedSSGet("L", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({d}));
  resbuf* filter = tcutBuildList(8, "WALLS", RTNONE);
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  tcutRelRb(filter);
  ASSERT_EQ(tcedSSGet("P", nullptr, nullptr, nullptr, prev), RTNORM);
  EXPECT_EQ(members(prev), names({a, b}));
  EXPECT_EQ(tcedSSGet("I", nullptr, nullptr, nullptr, prev), RTERROR);  // no pickfirst yet
  ASSERT_EQ(tcedSSSetFirst(ss, nullptr), RTNORM);
  tcedSSFree(ss);
  ASSERT_EQ(tcedSSGet("I", nullptr, nullptr, nullptr, prev), RTNORM);
  EXPECT_EQ(members(prev), names({a, b}));
  tcedSSSetFirst(nullptr, nullptr);
  EXPECT_EQ(tcedSSGet("I", nullptr, nullptr, nullptr, prev), RTERROR);
}

TEST_F(Selection, ErasedEntitiesLeaveTheModes) {
  tcdbEntDel(d);
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, b, c}));
}

TEST_F(Selection, InteractivePicksWindowsRemoveUndoAndEnter) {
  reply("5,0 C 15,1 25,6 R 5,0 A W -1,4 11,6 U 5,5\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c, b}));
  EXPECT_NE(transcript().find("Select objects: 5,0\n1 found\n"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Remove objects: "), std::string::npos);
  EXPECT_NE(transcript().find("1 found, 1 removed, 1 total"), std::string::npos) << transcript();
}

TEST_F(Selection, InteractiveAllLastPreviousAndHandles) {
  reply("ALL R L\n\n");
  tc_name ss, again;
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, b, c}));
  reply("P\n\n");
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, again), RTNORM);
  EXPECT_EQ(members(again), names({a, b, c}));
}

TEST_F(Selection, InteractiveFilterAndCancel) {
  resbuf* filter = tcutBuildList(8, "DOORS", RTNONE);
  reply("ALL\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c, d}));
  EXPECT_NE(transcript().find("2 were filtered out."), std::string::npos);
  reply("ALL ^C\n");
  EXPECT_EQ(tcedSSGet(nullptr, nullptr, nullptr, filter, ss), RTCAN);
  reply("\n");
  EXPECT_EQ(tcedSSGet(nullptr, nullptr, nullptr, filter, ss), RTERROR);  // nothing chosen
  tcutRelRb(filter);
}

TEST_F(Selection, InvalidOptionRepromptsWithHelp) {
  reply("bogus 5,0\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a}));
  EXPECT_NE(transcript().find("*Invalid selection*"), std::string::npos);
}

TEST_F(Selection, SingleEndsAfterTheFirstFind) {
  reply("50,50 5,5 20,5\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(":S", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({b}));
}

TEST_F(Selection, CustomPrompts) {
  const char* prompts[2] = {"Pick walls: ", "Drop walls: "};
  reply("5,0 R 5,0 A 5,5\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(":$", prompts, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({b}));
  EXPECT_NE(transcript().find("Pick walls: "), std::string::npos);
  EXPECT_NE(transcript().find("Drop walls: "), std::string::npos);
}

TEST_F(Selection, LockedLayersRefusedWithL) {
  resbuf* layer = tcdbTblSearch("LAYER", "WALLS", 0);
  ASSERT_NE(layer, nullptr);
  for (resbuf* rb = layer; rb; rb = rb->rbnext)
    if (rb->restype == 70) rb->resval.rint |= 4;
  tc_name layerName;
  ASSERT_EQ(tcdbTblObjName("LAYER", "WALLS", layerName), RTNORM);
  resbuf* list = tcdbEntGet(layerName);
  for (resbuf* rb = list; rb; rb = rb->rbnext)
    if (rb->restype == 70) rb->resval.rint |= 4;
  ASSERT_EQ(tcdbEntMod(list), RTNORM);
  tcutRelRb(list);
  tcutRelRb(layer);
  tc_name ss;
  ASSERT_EQ(tcedSSGet("X:L", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c, d}));
  reply("ALL\n\n");
  ASSERT_EQ(tcedSSGet(":L", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({c, d}));
  EXPECT_NE(transcript().find("2 were on a locked layer."), std::string::npos) << transcript();
}

tc_name callbackEntity;
resbuf* onKeyword(const char* word) {
  if (std::string(word) != "Doors") return nullptr;
  return tcutBuildList(RTSTR, "door added", RTENAME, callbackEntity, RTNONE);
}
resbuf* onOther(const char* text) { return std::string(text) == "hello" ? tcutBuildList(RTSTR, "hi", RTNONE) : nullptr; }

TEST_F(Selection, KeywordAndOtherCallbacks) {
  tcdbNameSet(c, callbackEntity);
  tcedSSSetKwordCallbackPtr(onKeyword);
  tcedSSSetOtherCallbackPtr(onOther);
  tcedInitGet(0, "Portes _Doors");
  reply("p hello nonsense 5,0\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(":K:?", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), names({a, c}));
  EXPECT_NE(transcript().find("door added"), std::string::npos);
  EXPECT_NE(transcript().find("hi\n"), std::string::npos);
  EXPECT_NE(transcript().find("*Invalid selection*"), std::string::npos);
  tcedSSCallback cb = nullptr;
  tcedSSGetKwordCallbackPtr(&cb);
  EXPECT_EQ(cb, &onKeyword);
  tcedSSSetKwordCallbackPtr(nullptr);
  tcedSSSetOtherCallbackPtr(nullptr);
}

TEST_F(Selection, MinusMTakesEveryObjectUnderThePick) {
  line(0, 0.1, 10, 0.1, "0", 256);  // lies next to a
  reply("5,0\n\n");
  tc_name ss;
  ASSERT_EQ(tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss).size(), 1u);
  reply("5,0\n\n");
  ASSERT_EQ(tcedSSGet("-M", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss).size(), 2u);
}

TEST_F(Selection, SetCallsAddDeleteMemberAndCount) {
  long before = tarn::host::counters().selectionSets;
  tc_name ss, same;
  ASSERT_EQ(tcedSSAdd(nullptr, nullptr, ss), RTNORM);  // a new empty set
  EXPECT_EQ(tarn::host::counters().selectionSets, before + 1);
  int32_t n = -1;
  tcedSSLength(ss, &n);
  EXPECT_EQ(n, 0);
  ASSERT_EQ(tcedSSAdd(a, ss, same), RTNORM);
  EXPECT_TRUE(same[0] == ss[0] && same[1] == ss[1]);
  tcedSSAdd(a, ss, same);  // twice is once
  tcedSSAdd(b, ss, same);
  tcedSSLength(ss, &n);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(tcedSSMemb(a, ss), RTNORM);
  EXPECT_EQ(tcedSSMemb(c, ss), RTERROR);
  EXPECT_EQ(tcedSSDel(a, ss), RTNORM);
  EXPECT_EQ(tcedSSDel(a, ss), RTERROR);
  tc_name e;
  EXPECT_EQ(tcedSSName(ss, 1, e), RTERROR);
  EXPECT_EQ(tcedSSName(ss, -1, e), RTERROR);
  ASSERT_EQ(tcedSSName(ss, 0, e), RTNORM);
  EXPECT_TRUE(tcdbNameEqual(e, b));
  EXPECT_EQ(tcedSSFree(ss), RTNORM);
  EXPECT_EQ(tcedSSFree(ss), RTERROR);  // a freed name is no longer a set
  EXPECT_EQ(tcedSSLength(ss, &n), RTERROR);
  EXPECT_EQ(tarn::host::counters().selectionSets, before);
  ASSERT_EQ(tcedSSAdd(c, nullptr, ss), RTNORM);  // a new set holding one entity
  EXPECT_EQ(members(ss), names({c}));
}

TEST_F(Selection, EntityNameIsNoSelectionSetName) {
  int32_t n;
  EXPECT_EQ(tcedSSLength(a, &n), RTERROR);
  EXPECT_EQ(tcedSSFree(a), RTERROR);
}

}  // namespace
