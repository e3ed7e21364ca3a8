// Result buffers made by the frame and single fields of chains and entities,
// against the host's own result buffers and drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "editor/scenario_session.h"
#include "frame/resbuf_fields.h"

namespace {

using namespace tarn::frame;

class FrameFields : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(tarn::host::counters().resbufs, resbufsAtStart) << "result buffers leaked"; }
    tarn::editor::ScenarioSession session;
    long resbufsAtStart = tarn::host::counters().resbufs;
};

// ---- MakeResbuf

TEST_F(FrameFields, MakeResbufCopiesTheTextSoTheCallersBufferStaysTheirs) {
    char callers[] = "Layer-7";
    struct resbuf* rb = MakeResbuf(8, "rstring", callers);
    ASSERT_NE(rb, nullptr);
    ASSERT_NE(rb->resval.rstring, callers);
    std::strcpy(callers, "changed");
    EXPECT_STREQ(rb->resval.rstring, "Layer-7");
    EXPECT_EQ(rb->rbnext, nullptr);
    // The host frees the text with the buffer; under the sanitizers a text
    // the host never allocated would fail here.
    tcutRelRb(rb);
}

TEST_F(FrameFields, MakeResbufLeavesTextUnsetOnATypeWithoutText) {
    struct resbuf* rb = MakeResbuf(RTSHORT, "rstring", "12");
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(rb->resval.rstring, nullptr);
    tcutRelRb(rb);
}

TEST_F(FrameFields, MakeResbufSetsEachKindOfValue) {
    const short s = -12;
    const double r = 2.5;
    const double p[3] = {1, 2, 3};
    const int32_t l = 70000;
    const int32_t n[2] = {4, 5};
    struct resbuf* chain = nullptr;
    AppendToChain(chain, MakeResbuf(62, "RINT", &s));
    AppendToChain(chain, MakeResbuf(40, "rReal", &r));
    AppendToChain(chain, MakeResbuf(10, "rpoint", p));
    AppendToChain(chain, MakeResbuf(90, "rlong", &l));
    AppendToChain(chain, MakeResbuf(-1, "rlname", n));
    AppendToChain(chain, MakeResbuf(41, "rdouble", &r));  // unknown tag
    const struct resbuf* rb = chain;
    EXPECT_EQ(rb->resval.rint, -12);
    EXPECT_EQ((rb = rb->rbnext)->resval.rreal, 2.5);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rpoint[0], 1);
    EXPECT_EQ(rb->resval.rpoint[2], 3);
    EXPECT_EQ((rb = rb->rbnext)->resval.rlong, 70000);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rlname[0], 4);
    EXPECT_EQ(rb->resval.rlname[1], 5);
    EXPECT_EQ((rb = rb->rbnext)->resval.rreal, 0.0);
    EXPECT_EQ(rb->rbnext, nullptr);
    tcutRelRb(chain);
}

// ---- chain readers and setters

class ChainFields : public FrameFields {
protected:
    void SetUp() override {
        const tc_name owner = {7, 9};
        chain = tcutBuildList(RTDXF0, "TEXT", 8, "Notes", 62, 3, 90, 123456, 330, owner, 1, "Größe", 0);
        ASSERT_NE(chain, nullptr);
    }
    void TearDown() override {
        tcutRelRb(chain);
        FrameFields::TearDown();
    }
    struct resbuf* chain = nullptr;
};

TEST_F(ChainFields, ReadsIntegersOfShortAndLongGroups) {
    int32_t value = 0;
    EXPECT_EQ(ChainInteger(chain, 62, &value), RTNORM);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(ChainInteger(chain, 90, &value), RTNORM);
    EXPECT_EQ(value, 123456);
    EXPECT_EQ(ChainInteger(chain, 70, &value), RTERROR);
    EXPECT_EQ(ChainInteger(nullptr, 62, &value), RTERROR);
    EXPECT_EQ(ChainInteger(chain, 8, &value), RTERROR);  // a text is not an integer
}

TEST_F(ChainFields, ReadsNamesAndTexts) {
    tc_name name = {0, 0};
    EXPECT_EQ(ChainEntityName(chain, 330, name), RTNORM);
    EXPECT_EQ(name[0], 7);
    EXPECT_EQ(name[1], 9);
    char text[32] = "untouched";
    EXPECT_EQ(ChainText(chain, 7, text, sizeof text), RTERROR);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(ChainText(chain, 8, text, sizeof text), RTNORM);
    EXPECT_STREQ(text, "Notes");
}

TEST_F(ChainFields, CutsTextsToTheCapacityAtACharacterBoundary) {
    char text[6];
    ASSERT_EQ(ChainText(chain, 8, text, 4), RTNORM);
    EXPECT_STREQ(text, "Not");
    // "Größe": G r ö(2 bytes) ß(2 bytes) e; five bytes hold "Grö" and no half of "ß".
    ASSERT_EQ(ChainText(chain, 1, text, 6), RTNORM);
    EXPECT_STREQ(text, "Grö");
}

TEST_F(ChainFields, SettersReplaceTheValueTheHostReleases) {
    EXPECT_EQ(SetChainText(chain, 8, "A much longer layer name than before"), RTNORM);
    EXPECT_EQ(SetChainInteger(chain, 62, 5), RTNORM);
    EXPECT_EQ(SetChainInteger(chain, 90, -7), RTNORM);
    EXPECT_EQ(SetChainText(chain, 62, "x"), RTERROR);
    EXPECT_EQ(SetChainText(chain, 6, "x"), RTERROR);
    EXPECT_EQ(SetChainInteger(chain, 70, 1), RTERROR);
    char text[64];
    int32_t value = 0;
    ChainText(chain, 8, text, sizeof text);
    EXPECT_STREQ(text, "A much longer layer name than before");
    ChainInteger(chain, 62, &value);
    EXPECT_EQ(value, 5);
    ChainInteger(chain, 90, &value);
    EXPECT_EQ(value, -7);
}

TEST_F(FrameFields, AppendToAnEmptyChainMakesTheBufferTheChain) {
    struct resbuf* chain = nullptr;
    struct resbuf* first = tcutBuildList(RTSTR, "a", RTSTR, "b", 0);
    EXPECT_EQ(AppendToChain(chain, first), first);
    EXPECT_EQ(chain, first);
    AppendToChain(chain, tcutBuildList(RTSHORT, 1, 0));
    int count = 0;
    for (const struct resbuf* rb = chain; rb; rb = rb->rbnext) ++count;
    EXPECT_EQ(count, 3);
    tcutRelRb(chain);
}

// ---- entity readers and erasing a selection

class EntityFields : public FrameFields {
protected:
    void SetUp() override {
        const tc_point from = {1, 2, 0}, to = {4, 6, 0};
        struct resbuf* list = tcutBuildList(RTDXF0, "LINE", 8, "0", 62, 5, 10, from, 11, to, 0);
        ASSERT_EQ(tcdbEntMake(list), RTNORM);
        tcutRelRb(list);
        ASSERT_EQ(tcdbEntLast(line), RTNORM);
    }
    tc_name line = {0, 0};
};

TEST_F(EntityFields, ReadTypePointTextAndInteger) {
    char text[16] = "";
    EXPECT_EQ(EntityType(line, text, sizeof text), RTNORM);
    EXPECT_STREQ(text, "LINE");
    tc_point point = {0, 0, 0};
    EXPECT_EQ(EntityPoint(line, 11, point), RTNORM);
    EXPECT_EQ(point[0], 4);
    EXPECT_EQ(point[1], 6);
    int32_t colour = 0;
    EXPECT_EQ(EntityInteger(line, 62, &colour), RTNORM);
    EXPECT_EQ(colour, 5);
}

TEST_F(EntityFields, AnAbsentCodeAnswersNormalAndLeavesTheOutputAlone) {
    char text[16] = "kept";
    EXPECT_EQ(EntityText(line, 1, text, sizeof text), RTNORM);
    EXPECT_STREQ(text, "kept");
    int32_t value = 42;
    EXPECT_EQ(EntityInteger(line, 71, &value), RTNORM);
    EXPECT_EQ(value, 42);
    tc_point point = {9, 9, 9};
    EXPECT_EQ(EntityPoint(line, 12, point), RTNORM);
    EXPECT_EQ(point[0], 9);
}

TEST_F(EntityFields, AnUnreadableEntityAnswersError) {
    const tc_name nothing = {0, 0};
    char text[16] = "kept";
    EXPECT_EQ(EntityText(nothing, 0, text, sizeof text), RTERROR);
    EXPECT_STREQ(text, "kept");
}

TEST_F(EntityFields, EraseSelectionErasesEveryMember) {
    tc_name second = {0, 0};
    const tc_point a = {10, 10, 0}, b = {20, 10, 0};
    struct resbuf* list = tcutBuildList(RTDXF0, "LINE", 10, a, 11, b, 0);
    ASSERT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    ASSERT_EQ(tcdbEntLast(second), RTNORM);
    tc_name set = {0, 0};
    ASSERT_EQ(tcedSSAdd(line, nullptr, set), RTNORM);
    ASSERT_EQ(tcedSSAdd(second, set, set), RTNORM);
    EXPECT_EQ(EraseSelection(set), RTNORM);
    tcedSSFree(set);
    tc_name any = {0, 0};
    EXPECT_NE(tcdbEntNext(nullptr, any), RTNORM) << "the drawing still holds an object";
}

}  // namespace
