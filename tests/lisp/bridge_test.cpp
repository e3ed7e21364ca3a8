// The bridge to result buffers: arguments handed to a module, values a module
// returns, entity lists both ways, malformed chains, and that every buffer
// made is released through the allocator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "lisp/printer.h"
#include "lisp/reader.h"
#include "lisp/resbuf_bridge.h"
#include "lisp/return_slot.h"

namespace tarn::lisp {
namespace {

Value parse(const std::string& text) {
  Value v;
  ReadError error;
  EXPECT_EQ(readOne(text, v, error), ReadStatus::Value) << error.describe();
  return v;
}

std::vector<Value> parseAll(const std::string& text) {
  std::vector<Value> out;
  for (const Value& v : ListView(parse("(" + text + ")"))) out.push_back(v);
  return out;
}

// "RTSHORT:1 RTLB RTREAL:2.5 RTLE" and the like.
std::string describe(const resbuf* rb) {
  static const std::map<int, const char*> kNames = {
      {RTSHORT, "RTSHORT"}, {RTLONG, "RTLONG"}, {RTREAL, "RTREAL"},   {RTSTR, "RTSTR"},   {RTLB, "RTLB"},
      {RTLE, "RTLE"},       {RTDOTE, "RTDOTE"}, {RTNIL, "RTNIL"},     {RTT, "RTT"},       {RTENAME, "RTENAME"},
      {RTPICKS, "RTPICKS"}, {RTVOID, "RTVOID"}};
  std::string out;
  for (; rb != nullptr; rb = rb->rbnext) {
    auto it = kNames.find(rb->restype);
    out += it != kNames.end() ? it->second : std::to_string(rb->restype);
    switch (rb->restype) {
      case RTSHORT: out += ":" + std::to_string(rb->resval.rint); break;
      case RTLONG: out += ":" + std::to_string(rb->resval.rlong); break;
      case RTREAL: out += ":" + formatReal(rb->resval.rreal); break;
      case RTSTR: out += std::string(":") + rb->resval.rstring; break;
      case RTENAME:
      case RTPICKS: out += ":" + std::to_string(rb->resval.rlname[0]) + "," + std::to_string(rb->resval.rlname[1]); break;
      default: break;
    }
    out += rb->rbnext != nullptr ? " " : "";
  }
  return out;
}

struct ArgCase {
  const char* args;
  const char* chain;
};

class ArgumentsToModule : public ::testing::TestWithParam<ArgCase> {};

TEST_P(ArgumentsToModule, BecomeTheseResultBuffers) {
  MallocResbufAllocator alloc;
  std::vector<Value> args = parseAll(GetParam().args);
  ChainResult r = argumentsToChain(args, alloc);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(describe(r.chain), GetParam().chain);
  alloc.releaseChain(r.chain);
  EXPECT_EQ(alloc.liveBuffers(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ArgumentsToModule,
    ::testing::Values(ArgCase{"5 -32768 32767", "RTSHORT:5 RTSHORT:-32768 RTSHORT:32767"},
                      ArgCase{"32768 70000 -40000", "RTLONG:32768 RTLONG:70000 RTLONG:-40000"},
                      ArgCase{"2.5 \"text\" nil t", "RTREAL:2.5 RTSTR:text RTNIL RTT"},
                      ArgCase{"(1.0 2.0 3.0)", "RTLB RTREAL:1.0 RTREAL:2.0 RTREAL:3.0 RTLE"},
                      ArgCase{"(1 . 2)", "RTLB RTSHORT:1 RTDOTE RTSHORT:2 RTLE"},
                      ArgCase{"(1 2 . \"x\")", "RTLB RTSHORT:1 RTSHORT:2 RTDOTE RTSTR:x RTLE"},
                      ArgCase{"((0 . \"LINE\") (8 . \"0\"))",
                              "RTLB RTLB RTSHORT:0 RTDOTE RTSTR:LINE RTLE RTLB RTSHORT:8 RTDOTE RTSTR:0 RTLE RTLE"},
                      ArgCase{"(nil (nil))", "RTLB RTNIL RTLB RTNIL RTLE RTLE"}, ArgCase{"", ""}));

TEST(ArgumentsToModuleOptions, AlwaysLongGivesRtlongForSmallIntegers) {
  MallocResbufAllocator alloc;
  std::vector<Value> args = {Value::integer(5)};
  ChainResult r = argumentsToChain(args, alloc, BridgeOptions{IntegerEncoding::AlwaysLong});
  EXPECT_EQ(describe(r.chain), "RTLONG:5");
  alloc.releaseChain(r.chain);
}

TEST(ArgumentsToModuleNames, EntityAndSelectionSetNamesKeepBothWords) {
  MallocResbufAllocator alloc;
  std::vector<Value> args = {Value::entityName(7, -1), Value::selectionSet(3, 9)};
  ChainResult r = argumentsToChain(args, alloc);
  EXPECT_EQ(describe(r.chain), "RTENAME:7,-1 RTPICKS:3,9");
  alloc.releaseChain(r.chain);
}

class ArgumentsRefused : public ::testing::TestWithParam<Value> {};

TEST_P(ArgumentsRefused, FailWithoutLeavingBuffersBehind) {
  MallocResbufAllocator alloc;
  std::vector<Value> args = {Value::integer(1), Value::list({Value::real(1), GetParam()})};
  ChainResult r = argumentsToChain(args, alloc);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.chain, nullptr);
  EXPECT_NE(r.error.find("cannot pass to a module"), std::string::npos) << r.error;
  EXPECT_EQ(alloc.liveBuffers(), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, ArgumentsRefused,
                         ::testing::Values(Value::symbol("SYM"), Value::external(ExternalFunction{"F", 0, 0})));

// An allocator that runs dry after a number of buffers.
class ScarceAllocator : public MallocResbufAllocator {
 public:
  explicit ScarceAllocator(int budget) : budget_(budget) {}
  resbuf* newBuffer(short type) override { return budget_-- > 0 ? MallocResbufAllocator::newBuffer(type) : nullptr; }

 private:
  int budget_;
};

TEST(ArgumentsToModuleAllocation, RunningOutOfBuffersFailsAndReleasesThePartialChain) {
  for (int budget = 0; budget < 6; ++budget) {
    ScarceAllocator alloc(budget);
    std::vector<Value> args = parseAll("1 (2 . 3) \"s\"");
    ChainResult r = argumentsToChain(args, alloc);
    EXPECT_EQ(r.error, "out of result buffers") << budget;
    EXPECT_EQ(alloc.liveBuffers(), 0) << budget;
  }
}

class ValuesRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(ValuesRoundTrip, ToChainAndBackGivesTheSameValues) {
  MallocResbufAllocator alloc;
  std::vector<Value> args = parseAll(GetParam());
  ChainResult r = argumentsToChain(args, alloc);
  ASSERT_TRUE(r.ok());
  Outcome back = chainToValue(r.chain);
  alloc.releaseChain(r.chain);
  ASSERT_TRUE(back.ok()) << back.error();
  std::string expected = args.size() == 1 ? toString(args[0]) : "(" + std::string(GetParam()) + ")";
  EXPECT_EQ(toString(back.value()), toString(parse(expected)));
}

INSTANTIATE_TEST_SUITE_P(Values, ValuesRoundTrip,
                         ::testing::Values("42", "1.5", "\"s\"", "(1 (2 (3)) . 4)", "((10 1.0 2.0 0.0) (62 . 1))",
                                           "1 2.5 \"x\" (\"a-list\" (1 . 2))", "70000", "t"));

// Builds a chain buffer by buffer, for the conversions back to values.
class ChainMaker {
 public:
  ~ChainMaker() { alloc.releaseChain(head_); }
  ChainMaker& add(short type) {
    resbuf* rb = alloc.newBuffer(type);
    (tail_ ? tail_->rbnext : head_) = rb;
    tail_ = rb;
    return *this;
  }
  ChainMaker& str(short type, const char* s) {
    add(type);
    tail_->resval.rstring = alloc.newBytes(std::strlen(s) + 1);
    std::strcpy(tail_->resval.rstring, s);
    return *this;
  }
  ChainMaker& real(short type, double v) {
    add(type);
    tail_->resval.rreal = v;
    return *this;
  }
  ChainMaker& point(short type, double x, double y, double z) {
    add(type);
    tail_->resval.rpoint[0] = x;
    tail_->resval.rpoint[1] = y;
    tail_->resval.rpoint[2] = z;
    return *this;
  }
  ChainMaker& shortInt(short type, short v) {
    add(type);
    tail_->resval.rint = v;
    return *this;
  }
  ChainMaker& longInt(short type, int v) {
    add(type);
    tail_->resval.rlong = v;
    return *this;
  }
  ChainMaker& name(short type, int w0, int w1) {
    add(type);
    tail_->resval.rlname[0] = w0;
    tail_->resval.rlname[1] = w1;
    return *this;
  }
  ChainMaker& binary(short type, const char* bytes, short n) {
    add(type);
    tail_->resval.rbinary.buf = alloc.newBytes(static_cast<std::size_t>(n));
    std::memcpy(tail_->resval.rbinary.buf, bytes, static_cast<std::size_t>(n));
    tail_->resval.rbinary.clen = n;
    return *this;
  }
  const resbuf* chain() const { return head_; }
  MallocResbufAllocator alloc;

 private:
  resbuf* head_ = nullptr;
  resbuf* tail_ = nullptr;
};

std::string converted(const ChainMaker& c) {
  Outcome r = chainToValue(c.chain());
  return r.ok() ? toString(r.value()) : "error: " + r.error();
}

TEST(ChainToValue, SingleBuffersOfEachResultType) {
  EXPECT_EQ(converted(ChainMaker().real(RTREAL, 0.5)), "0.5");
  EXPECT_EQ(converted(ChainMaker().real(RTANG, 1.0)), "1.0");
  EXPECT_EQ(converted(ChainMaker().shortInt(RTSHORT, -3)), "-3");
  EXPECT_EQ(converted(ChainMaker().longInt(RTLONG, 100000)), "100000");
  EXPECT_EQ(converted(ChainMaker().point(RTPOINT, 1, 2, 9)), "(1.0 2.0)");
  EXPECT_EQ(converted(ChainMaker().point(RT3DPOINT, 1, 2, 3)), "(1.0 2.0 3.0)");
  EXPECT_EQ(converted(ChainMaker().str(RTSTR, "hi")), "\"hi\"");
  EXPECT_EQ(converted(ChainMaker().add(RTSTR)), "nil");
  EXPECT_EQ(converted(ChainMaker().name(RTENAME, 0x1f, 0)), "<Entity name: 1f>");
  EXPECT_EQ(converted(ChainMaker().name(RTPICKS, 2, 0)), "<Selection set: 2>");
  EXPECT_EQ(converted(ChainMaker().add(RTT)), "T");
  EXPECT_EQ(converted(ChainMaker().add(RTNIL)), "nil");
  EXPECT_EQ(converted(ChainMaker().add(RTVOID)), "");
  EXPECT_EQ(converted(ChainMaker().str(RTDXF0, "CIRCLE")), "(0 . \"CIRCLE\")");
  ChainMaker big;
  big.add(RTINT64);
  const_cast<resbuf*>(big.chain())->resval.mnInt64 = 1LL << 40;
  EXPECT_EQ(converted(big), "1.09951e+12");
}

TEST(ChainToValue, ListsAndDottedPairsNest) {
  ChainMaker c;
  c.add(RTLB).shortInt(RTSHORT, 1).add(RTLB).str(RTSTR, "a").add(RTDOTE).real(RTREAL, 2).add(RTLE).add(RTLE);
  EXPECT_EQ(converted(c), "(1 (\"a\" . 2.0))");
  ChainMaker several;
  several.shortInt(RTSHORT, 1).shortInt(RTSHORT, 2);
  EXPECT_EQ(converted(several), "(1 2)");
}

TEST(ChainToValue, EntityListBecomesPairsWithPointsBinaryAndExtendedData) {
  ChainMaker c;
  c.name(-1, 0x1f, 0).str(0, "LINE").str(8, "0").point(10, 1, 2, 0).shortInt(62, 1).binary(310, "\x0a\xff", 2);
  c.add(-3).str(1001, "APP").str(1000, "x").shortInt(1070, 5).str(1001, "B").real(1040, 2.5).point(1010, 1, 1, 1);
  Outcome r = entityChainToList(c.chain());
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(toString(r.value()),
            "((-1 . <Entity name: 1f>) (0 . \"LINE\") (8 . \"0\") (10 1.0 2.0 0.0) (62 . 1) (310 . \"0AFF\") "
            "(-3 (\"APP\" (1000 . \"x\") (1070 . 5)) (\"B\" (1040 . 2.5) (1010 1.0 1.0 1.0))))");
}

TEST(ChainToValue, EntityListOfOnePairIsStillAList) {
  ChainMaker c;
  c.str(0, "LINE");
  EXPECT_EQ(toString(entityChainToList(c.chain()).value()), "((0 . \"LINE\"))");
  EXPECT_EQ(converted(c), "(0 . \"LINE\")");
}

TEST(EntityListToChain, RoundTripsThroughGroupCodes) {
  const char* text =
      "((0 . \"LINE\") (8 . \"WALLS\") (10 1.0 2.0 0.0) (11 3 4) (40 . 2) (62 . 1) (90 . 70000) (310 . \"0AFF\") "
      "(-3 (\"APP\" (1000 . \"x\") (1002 . \"{\") (1070 . 5) (1002 . \"}\"))))";
  MallocResbufAllocator alloc;
  ChainResult r = entityListToChain(parse(text), alloc);
  ASSERT_TRUE(r.ok()) << r.error;
  std::string codes;
  for (const resbuf* rb = r.chain; rb != nullptr; rb = rb->rbnext) codes += std::to_string(rb->restype) + " ";
  EXPECT_EQ(codes, "0 8 10 11 40 62 90 310 -3 1001 1000 1002 1070 1002 ");
  Outcome back = entityChainToList(r.chain);
  alloc.releaseChain(r.chain);
  EXPECT_EQ(alloc.liveBuffers(), 0);
  ASSERT_TRUE(back.ok()) << back.error();
  EXPECT_EQ(toString(back.value()),
            "((0 . \"LINE\") (8 . \"WALLS\") (10 1.0 2.0 0.0) (11 3.0 4.0 0.0) (40 . 2.0) (62 . 1) (90 . 70000) "
            "(310 . \"0AFF\") (-3 (\"APP\" (1000 . \"x\") (1002 . \"{\") (1070 . 5) (1002 . \"}\"))))");
}

class EntityListRefused : public ::testing::TestWithParam<const char*> {};

TEST_P(EntityListRefused, NamesTheBadItemAndLeavesNothingAllocated) {
  MallocResbufAllocator alloc;
  ChainResult r = entityListToChain(parse(GetParam()), alloc);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.chain, nullptr);
  EXPECT_NE(r.error.find("bad entity"), std::string::npos) << r.error;
  EXPECT_EQ(alloc.liveBuffers(), 0);
}

INSTANTIATE_TEST_SUITE_P(Items, EntityListRefused,
                         ::testing::Values("((0 . \"LINE\") (62 . \"red\"))", "((0 . \"LINE\") (62 . 70000))",
                                           "((0 . \"LINE\") (10 1.0))", "((10 1.0 2.0 3.0 4.0))",
                                           "((310 . \"ABC\"))", "((310 . \"ZZ\"))", "((\"x\" . 1))", "(5)",
                                           "((0 . \"A\") . 5)", "((40000 . 1))", "((-3 (\"APP\" (8 . \"0\"))))",
                                           "((-3 (1000 . \"x\")))", "((-1 . 5))"));

class MalformedChains : public ::testing::TestWithParam<int> {};

TEST_P(MalformedChains, AreReportedNotGuessed) {
  ChainMaker c;
  switch (GetParam()) {
    case 0: c.add(RTLE); break;
    case 1: c.add(RTLB).shortInt(RTSHORT, 1); break;
    case 2: c.add(RTLB).add(RTDOTE).shortInt(RTSHORT, 1).add(RTLE); break;
    case 3: c.add(RTLB).shortInt(RTSHORT, 1).add(RTDOTE).shortInt(RTSHORT, 2).shortInt(RTSHORT, 3).add(RTLE); break;
    case 4: c.add(RTLB).shortInt(RTSHORT, 1).add(RTDOTE).add(RTLE); break;
    case 5: c.add(RTDOTE); break;
    case 6: c.add(-3).str(1000, "no app"); break;
    case 7: c.add(-3).str(1001, "APP").str(8, "0"); break;
    case 8: c.add(RTRESBUF); break;
  }
  EXPECT_EQ(converted(c).substr(0, 36), "error: malformed result-buffer list:");
}

INSTANTIATE_TEST_SUITE_P(Shapes, MalformedChains, ::testing::Range(0, 9));

TEST(ReturnSlotTest, HoldsTheLastValueSetAndClearsWhenTaken) {
  ReturnSlot slot;
  EXPECT_FALSE(slot.isSet());
  EXPECT_EQ(toString(slot.take().value()), "nil");
  slot.setInt(5);
  slot.setReal(2.5);
  EXPECT_TRUE(slot.isSet());
  EXPECT_EQ(toString(slot.take().value()), "2.5");
  EXPECT_FALSE(slot.isSet());
  slot.setT();
  EXPECT_EQ(toString(slot.take().value()), "T");
  slot.setVoid();
  EXPECT_EQ(toString(slot.take().value()), "");
  slot.setNil();
  EXPECT_EQ(toString(slot.take().value()), "nil");
}

TEST(ReturnSlotTest, ChainIsConvertedAtOnceSoTheModuleMayReleaseIt) {
  ReturnSlot slot;
  {
    ChainMaker c;
    c.longInt(RTLONG, 6);
    EXPECT_EQ(slot.setChain(c.chain()), RTNORM);
  }
  EXPECT_EQ(toString(slot.take().value()), "6");
  ChainMaker bad;
  bad.add(RTLE);
  EXPECT_EQ(slot.setChain(bad.chain()), RTERROR);
  EXPECT_FALSE(slot.take().ok());
}

}  // namespace
}  // namespace tarn::lisp
