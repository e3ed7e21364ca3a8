// Selection filters over entity lists: plain groups, defaults of absent
// groups, brackets and their nesting, relational tests on numbers and points,
// extended data, and filters the commands build.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "chain.h"
#include "select/filter.h"

namespace {

using tarn::select::Filter;
using tarn::select::FilterDiagnostic;

// Compiles the filter (which must be valid) and tests the entity.
bool passes(const Chain& filter, const Chain& entity) {
  Filter compiled;
  FilterDiagnostic why;
  EXPECT_EQ(Filter::compile(filter.head(), compiled, &why), RTNORM) << why.message;
  return compiled.matches(entity.head());
}

// A LINE on layer WALLS in red with one vertex at (1,2,0), thickness 2.5,
// a 32-bit group 90 of 6 and extended data of the application "TARN_DATA".
void fillLine(Chain& c) {
  c.name(-1, 7, 1).text(0, "LINE").text(5, "2A").text(8, "WALLS").integer(62, 1)
      .real(39, 2.5).integer(70, 5).longint(90, 6).point(10, 1, 2, 0).point(11, 4, 6, 0).marker(-3)
      .text(1001, "TARN_DATA").text(1000, "x");
}

// A circle on layer 0 with nothing left at its default.
void fillCircle(Chain& c) { c.text(0, "CIRCLE").text(8, "0").point(10, 0, 0, 0).real(40, 3.0); }

struct FilterCase {
  const char* label;
  std::function<void(Chain&)> build;
  bool line;    // the LINE passes
  bool circle;  // the CIRCLE passes
};

std::ostream& operator<<(std::ostream& out, const FilterCase& c) { return out << c.label; }

class FilterOnEntities : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterOnEntities, KeepsTheRightObjects) {
  Chain filter, line, circle;
  GetParam().build(filter);
  fillLine(line);
  fillCircle(circle);
  EXPECT_EQ(passes(filter, line), GetParam().line);
  EXPECT_EQ(passes(filter, circle), GetParam().circle);
}

INSTANTIATE_TEST_SUITE_P(Groups, FilterOnEntities, testing::Values(
    FilterCase{"empty filter", [](Chain&) {}, true, true},
    FilterCase{"type", [](Chain& f) { f.text(0, "LINE"); }, true, false},
    FilterCase{"type ignores case", [](Chain& f) { f.text(0, "line"); }, true, false},
    FilterCase{"type from a built list", [](Chain& f) { f.text(RTDXF0, "CIRCLE"); }, false, true},
    FilterCase{"type list", [](Chain& f) { f.text(0, "LINE,CIRCLE"); }, true, true},
    FilterCase{"type list with spaces", [](Chain& f) { f.text(0, "LINE, ARC, CIRCLE"); }, true, true},
    FilterCase{"layer wildcard", [](Chain& f) { f.text(8, "W*"); }, true, false},
    FilterCase{"layer negated", [](Chain& f) { f.text(8, "~W*"); }, false, true},
    FilterCase{"type and layer", [](Chain& f) { f.text(0, "LINE").text(8, "0"); }, false, false},
    FilterCase{"real equal", [](Chain& f) { f.real(40, 3.0); }, false, true},
    FilterCase{"short equal", [](Chain& f) { f.integer(70, 5); }, true, false},
    FilterCase{"long equal", [](Chain& f) { f.longint(90, 6); }, true, false},
    FilterCase{"point equal", [](Chain& f) { f.point(10, 1, 2, 0); }, true, false},
    FilterCase{"second point", [](Chain& f) { f.point(11, 4, 6, 0); }, true, false},
    FilterCase{"entity name", [](Chain& f) { f.name(-1, 7, 1); }, true, false},
    FilterCase{"absent group fails", [](Chain& f) { f.text(7, "*"); }, false, false},
    FilterCase{"handle", [](Chain& f) { f.text(5, "2a"); }, true, false}));

// Entity lists leave out groups at their default; a filter on the default
// must still find those objects.
INSTANTIATE_TEST_SUITE_P(Defaults, FilterOnEntities, testing::Values(
    FilterCase{"colour BYLAYER", [](Chain& f) { f.integer(62, 256); }, false, true},
    FilterCase{"colour red", [](Chain& f) { f.integer(62, 1); }, true, false},
    FilterCase{"colour below 256", [](Chain& f) { f.op("<").integer(62, 256); }, true, false},
    FilterCase{"linetype BYLAYER", [](Chain& f) { f.text(6, "bylayer"); }, true, true},
    FilterCase{"linetype wildcard", [](Chain& f) { f.text(6, "BY*"); }, true, true},
    FilterCase{"model space", [](Chain& f) { f.integer(67, 0); }, true, true},
    FilterCase{"paper space", [](Chain& f) { f.integer(67, 1); }, false, false},
    FilterCase{"world extrusion", [](Chain& f) { f.point(210, 0, 0, 1); }, true, true},
    FilterCase{"other extrusion", [](Chain& f) { f.point(210, 0, 0, -1); }, false, false},
    FilterCase{"not red", [](Chain& f) { f.op("!=").integer(62, 1); }, false, true}));

INSTANTIATE_TEST_SUITE_P(Brackets, FilterOnEntities, testing::Values(
    FilterCase{"or", [](Chain& f) { f.op("<OR").text(0, "LINE").text(0, "CIRCLE").op("OR>"); }, true, true},
    FilterCase{"or lower case", [](Chain& f) { f.op("<or").text(0, "ARC").text(0, "CIRCLE").op("or>"); }, false, true},
    FilterCase{"and", [](Chain& f) { f.op("<AND").text(0, "LINE").text(8, "WALLS").op("AND>"); }, true, false},
    FilterCase{"and fails", [](Chain& f) { f.op("<AND").text(0, "LINE").text(8, "0").op("AND>"); }, false, false},
    FilterCase{"not", [](Chain& f) { f.op("<NOT").text(0, "LINE").op("NOT>"); }, false, true},
    FilterCase{"not of absent", [](Chain& f) { f.op("<NOT").text(7, "*").op("NOT>"); }, true, true},
    FilterCase{"xor one", [](Chain& f) { f.op("<XOR").text(0, "LINE").text(8, "0").op("XOR>"); }, true, true},
    FilterCase{"xor both", [](Chain& f) { f.op("<XOR").text(0, "LINE").text(8, "WALLS").op("XOR>"); }, false, false},
    FilterCase{"or of ands", [](Chain& f) {
      f.op("<OR").op("<AND").text(0, "LINE").integer(62, 1).op("AND>")
          .op("<AND").text(0, "CIRCLE").real(40, 2.0).op("AND>").op("OR>"); }, true, false},
    FilterCase{"not inside and", [](Chain& f) {
      f.op("<AND").op("<NOT").text(0, "HATCH").op("NOT>").op("<NOT").text(0, "LINE").op("NOT>").op("AND>"); },
      false, true},
    FilterCase{"top level beside bracket", [](Chain& f) {
      f.text(8, "WALLS").op("<OR").text(0, "CIRCLE").integer(62, 1).op("OR>"); }, true, false},
    FilterCase{"bracket with spaces", [](Chain& f) { f.op(" <NOT ").text(0, "LINE").op("NOT> "); }, false, true}));

INSTANTIATE_TEST_SUITE_P(Relations, FilterOnEntities, testing::Values(
    FilterCase{"any value", [](Chain& f) { f.op("*").real(40, 99.0); }, true, true},
    FilterCase{"real greater", [](Chain& f) { f.op(">").real(40, 2.0); }, false, true},
    FilterCase{"real not greater", [](Chain& f) { f.op(">").real(40, 3.0); }, false, false},
    FilterCase{"real at least", [](Chain& f) { f.op(">=").real(40, 3.0); }, false, true},
    FilterCase{"real less", [](Chain& f) { f.op("<").real(39, 3.0); }, true, false},
    FilterCase{"real at most", [](Chain& f) { f.op("<=").real(39, 2.5); }, true, false},
    FilterCase{"real differs /=", [](Chain& f) { f.op("/=").real(40, 2.0); }, false, true},
    FilterCase{"real differs <>", [](Chain& f) { f.op("<>").real(40, 3.0); }, false, false},
    FilterCase{"real equal by =", [](Chain& f) { f.op("=").real(39, 2.5); }, true, false},
    FilterCase{"not less than a rounding above", [](Chain& f) { f.op("<").real(39, 2.5 * (1 + 1e-13)); }, false, false},
    FilterCase{"at least a rounding above", [](Chain& f) { f.op(">=").real(39, 2.5 * (1 + 1e-13)); }, true, false},
    FilterCase{"bits any", [](Chain& f) { f.op("&").integer(70, 4); }, true, false},
    FilterCase{"bits any none", [](Chain& f) { f.op("&").integer(70, 2); }, false, false},
    FilterCase{"bits all", [](Chain& f) { f.op("&=").integer(70, 5); }, true, false},
    FilterCase{"bits all missing one", [](Chain& f) { f.op("&=").integer(70, 7); }, false, false},
    FilterCase{"long bits", [](Chain& f) { f.op("&").longint(90, 2); }, true, false},
    FilterCase{"text not equal", [](Chain& f) { f.op("!=").text(8, "W*"); }, false, true},
    FilterCase{"text equal", [](Chain& f) { f.op("=").text(0, "C*"); }, false, true},
    FilterCase{"point per coordinate", [](Chain& f) { f.op(">,>,*").point(10, 0, 1, 50); }, true, false},
    FilterCase{"point all coordinates", [](Chain& f) { f.op(">=").point(10, 0, 0, 0); }, true, true},
    FilterCase{"point z only", [](Chain& f) { f.op("*,*,<").point(10, 0, 0, 1); }, true, true},
    FilterCase{"point two relations", [](Chain& f) { f.op("=,=").point(10, 1, 2, 9); }, true, false},
    FilterCase{"point differs", [](Chain& f) { f.op("!=").point(10, 1, 2, 5); }, true, true},
    FilterCase{"point same", [](Chain& f) { f.op("!=").point(10, 0, 0, 0); }, true, false},
    FilterCase{"point first coordinate differs", [](Chain& f) { f.op("!=,*,*").point(10, 1, 0, 0); }, false, true},
    FilterCase{"point with spaces", [](Chain& f) { f.op(" > , > , * ").point(10, 0, 1, 0); }, true, false}));

INSTANTIATE_TEST_SUITE_P(ExtendedData, FilterOnEntities, testing::Values(
    FilterCase{"application", [](Chain& f) { f.marker(-3).text(1001, "TARN_DATA"); }, true, false},
    FilterCase{"application wildcard", [](Chain& f) { f.marker(-3).text(1001, "tarn*"); }, true, false},
    FilterCase{"every application", [](Chain& f) { f.marker(-3).text(1001, "TARN_DATA").text(1001, "OTHER"); },
               false, false},
    FilterCase{"list brackets", [](Chain& f) { f.marker(-3).marker(RTLB).text(1001, "TARN*").marker(RTLE); }, true,
               false},
    FilterCase{"inside not", [](Chain& f) { f.op("<NOT").marker(-3).text(1001, "*").op("NOT>"); }, false, true},
    FilterCase{"beside a group", [](Chain& f) { f.marker(-3).text(1001, "TARN_DATA").text(0, "LINE"); }, true,
               false}));

TEST(Filter, AnyOccurrenceOfARepeatedGroupCounts) {
  Chain polyline, filter;
  polyline.text(0, "LWPOLYLINE").point(10, 0, 0, 0).point(10, 5, 5, 0).point(10, 9, 0, 0);
  filter.op(">,>,*").point(10, 4, 4, 0);
  EXPECT_TRUE(passes(filter, polyline));
  Chain none;
  none.op(">,*,*").point(10, 9, 0, 0);
  EXPECT_FALSE(passes(none, polyline));
}

// A normal the caller computes and the one stored in the drawing differ in
// the last bits; they are still the same direction.
TEST(Filter, ComputedNormalEqualsStoredNormal) {
  const double s = std::sqrt(0.5);
  Chain text, filter;
  text.text(0, "TEXT").integer(71, 0).point(210, s, 0, s);
  const double x = 1.0 / std::sqrt(2.0) * (1 + 1e-15);
  filter.op("<AND").text(0, "TEXT").integer(71, 0).point(210, x, 0, x).op("AND>");
  EXPECT_TRUE(passes(filter, text));
}

TEST(Filter, TextsOfCommandsSelectWhatTheySay) {
  Chain texts;
  texts.op("<or").op("<and").text(0, "TEXT").op("and>").op("<and").text(0, "MTEXT").op("and>")
      .op("<and").text(0, "ATTDEF").op("and>").op("or>");
  Chain mtext, line;
  mtext.text(0, "MTEXT").text(8, "0");
  line.text(0, "LINE").text(8, "0");
  EXPECT_TRUE(passes(texts, mtext));
  EXPECT_FALSE(passes(texts, line));
}

// Dimensions whose text the user replaced: group 1 neither "<>" nor empty.
// A list without group 1 fails both inner tests, so both NOTs pass it.
TEST(Filter, ReplacedDimensionText) {
  Chain filter;
  filter.op("<AND").text(0, "Dimension").op("<NOT").text(1, "<>").op("NOT>").op("<NOT").text(1, "")
      .op("NOT>").op("AND>");
  const char* texts[] = {"<>", "", "12 mm", nullptr};
  const bool expected[] = {false, false, true, true};
  for (int i = 0; i < 4; ++i) {
    Chain dim;
    dim.text(0, "DIMENSION");
    if (texts[i]) dim.text(1, texts[i]);
    EXPECT_EQ(passes(filter, dim), expected[i]) << (texts[i] ? texts[i] : "(no group 1)");
  }
}

TEST(Filter, DeepNestingNeedsNoRecursion) {
  constexpr int kDepth = 20000;
  Chain filter, line, circle;
  for (int i = 0; i < kDepth; ++i) filter.op("<NOT");
  filter.text(0, "LINE");
  for (int i = 0; i < kDepth; ++i) filter.op("NOT>");
  fillLine(line);
  fillCircle(circle);
  EXPECT_TRUE(passes(filter, line));
  EXPECT_FALSE(passes(filter, circle));
}

TEST(Filter, WideBracketsNeedAHeapStack) {
  Chain filter, line;
  filter.op("<AND");
  for (int i = 0; i < 500; ++i) filter.op("<OR").text(8, "WALLS").text(8, "X").op("OR>");
  filter.op("AND>");
  for (int i = 0; i < 100; ++i) filter.text(0, "LINE");
  fillLine(line);
  EXPECT_TRUE(passes(filter, line));
}

TEST(Filter, CompiledFilterDoesNotKeepTheList) {
  Filter compiled;
  {
    Chain filter;
    filter.text(8, "WALLS");
    ASSERT_EQ(Filter::compile(filter.head(), compiled), RTNORM);
  }
  Chain line;
  fillLine(line);
  EXPECT_TRUE(compiled.matches(line.head()));
  EXPECT_FALSE(compiled.empty());
}

TEST(Filter, NullStringsReadAsEmptyTexts) {
  Chain filter, entity;
  filter.text(1, nullptr);
  entity.text(0, "TEXT").text(1, nullptr);
  EXPECT_TRUE(passes(filter, entity));
}

}  // namespace
