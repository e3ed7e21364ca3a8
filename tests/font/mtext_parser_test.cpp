// The paragraph-text code parser on ordinary and tricky contents.
#include <gtest/gtest.h>

#include <numbers>

#include "font/mtext_parser.h"

namespace tarn::font {
namespace {

struct PlainCase {
  const char* contents;
  const char* plain;
};

class PlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, KeepsTheCharactersDropsTheCodes) { EXPECT_EQ(mtextPlainText(GetParam().contents), GetParam().plain); }

INSTANTIATE_TEST_SUITE_P(
    Contents, PlainText,
    ::testing::Values(
        PlainCase{"plain", "plain"}, PlainCase{"one\\Ptwo", "one\ntwo"}, PlainCase{"a\\~b", "a\u00a0b"},
        PlainCase{"\\\\ \\{ \\}", "\\ { }"}, PlainCase{"{\\H2x;big} small", "big small"},
        PlainCase{"{\\fArial|b1|i0|c0|p34;bold}", "bold"}, PlainCase{"\\Fromans.shx;x", "x"},
        PlainCase{"\\W0.8;\\Q15;\\T1.2;\\A1;\\C1;\\c255;x", "x"}, PlainCase{"\\Lu\\lx\\Oo\\oy\\Kk\\kz", "uxoykz"},
        PlainCase{"\\pxi-3,l3,t4;item", "item"}, PlainCase{"1\\S1/2;\"", "11/2\""},
        PlainCase{"\\S+0.1^-0.2;", "+0.1^-0.2"}, PlainCase{"\\S3#4;", "3#4"},
        PlainCase{"\\S1\\/2/3;", "1/2/3"}, PlainCase{"\\Snoseparator;", "noseparator"},
        PlainCase{"\\U+2205\\U+00b0", "\u2205\u00b0"}, PlainCase{"%%c%%d%%p", "\u2205\u00b0\u00b1"},
        PlainCase{"line\nnext", "line\nnext"}, PlainCase{"r\r\n", "r\n"},
        // Malformed: shown as far as it reads, never lost.
        PlainCase{"\\H2", ""}, PlainCase{"\\H;x", ";x"}, PlainCase{"\\Habc", "abc"}, PlainCase{"end\\", "end\\"},
        PlainCase{"\\zq", "\\zq"}, PlainCase{"}}a{{b", "ab"}, PlainCase{"\\fArial", ""}, PlainCase{"\\S1/2", "1/2"},
        PlainCase{"\\U+12G4", "\\U+12G4"}, PlainCase{"{{{{deep}}}}", "deep"}, PlainCase{"\xff", "\ufffd"}));

TEST(MTextParser, NestedGroupsRestoreTheOuterFormat) {
  RunFormat base;
  base.height = 2.0;
  const MTextDocument d = parseMText("a{\\H3x;b{\\H0.5x;c}d}e", base);
  ASSERT_EQ(d.paragraphs.size(), 1u);
  const auto& runs = d.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 5u);
  const double heights[] = {2.0, 6.0, 3.0, 6.0, 2.0};
  const char32_t* texts[] = {U"a", U"b", U"c", U"d", U"e"};
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].text, texts[i]);
    EXPECT_DOUBLE_EQ(runs[i].format.height, heights[i]) << i;
  }
}

TEST(MTextParser, AbsoluteAndRelativeHeights) {
  RunFormat base;
  base.height = 2.5;
  const auto runs = parseMText("\\H5;a\\H0.5x;b\\H-1;c\\H0;d", base).paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_DOUBLE_EQ(runs[0].format.height, 5.0);
  EXPECT_DOUBLE_EQ(runs[1].format.height, 2.5);  // negative and zero heights are ignored
  EXPECT_EQ(runs[1].text, U"bcd");
}

TEST(MTextParser, FontSwitchTakesNameAndStyleOptions) {
  const auto runs = parseMText("\\fArial|b1|i1|c0|p34;x{\\fTimes|b0;y}").paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].format.font, "Arial");
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_TRUE(runs[0].format.italic);
  EXPECT_EQ(runs[1].format.font, "Times");
  EXPECT_FALSE(runs[1].format.bold);
  EXPECT_TRUE(runs[1].format.italic);
}

TEST(MTextParser, FormatCodesSetTheirFields) {
  const auto runs = parseMText("\\W0.8;\\Q15;\\T2;\\A2;\\C3;\\c65280;\\L\\O\\K%%ux").paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 1u);
  const RunFormat& f = runs[0].format;
  EXPECT_DOUBLE_EQ(f.widthFactor, 0.8);
  EXPECT_NEAR(f.oblique, 15 * std::numbers::pi / 180, 1e-15);
  EXPECT_DOUBLE_EQ(f.tracking, 2.0);
  EXPECT_EQ(f.alignment, 2);
  EXPECT_EQ(f.colour, 3);
  EXPECT_EQ(f.trueColour, 65280);
  EXPECT_FALSE(f.underline);  // \L then %%u toggles it off again
  EXPECT_TRUE(f.overline);
  EXPECT_TRUE(f.strike);
}

struct StackCase {
  const char* contents;
  const char32_t* top;
  const char32_t* bottom;
  char32_t type;
};

class Stacks : public ::testing::TestWithParam<StackCase> {};

TEST_P(Stacks, SplitAtTheFirstUnescapedSeparator) {
  const auto runs = parseMText(GetParam().contents).paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].kind, MTextRun::Stack);
  EXPECT_EQ(runs[0].stackTop, GetParam().top);
  EXPECT_EQ(runs[0].stackBottom, GetParam().bottom);
  EXPECT_EQ(runs[0].stackType, GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Stacks,
                         ::testing::Values(StackCase{"\\S1/2;", U"1", U"2", U'/'},
                                           StackCase{"\\S+0.01^-0.02;", U"+0.01", U"-0.02", U'^'},
                                           StackCase{"\\S3#8;", U"3", U"8", U'#'},
                                           StackCase{"\\Sa\\/b/c;", U"a/b", U"c", U'/'},
                                           StackCase{"\\S1/2/3;", U"1", U"2/3", U'/'},
                                           StackCase{"\\S^x;", U"", U"x", U'^'}));

TEST(MTextParser, ParagraphsKeepTheFormatInForce) {
  RunFormat base;
  base.height = 1.0;
  const MTextDocument d = parseMText("\\H2;a\\Pb\\P\\P", base);
  ASSERT_EQ(d.paragraphs.size(), 4u);
  EXPECT_DOUBLE_EQ(d.paragraphs[1].runs[0].format.height, 2.0);
  EXPECT_TRUE(d.paragraphs[2].runs.empty());
}

}  // namespace
}  // namespace tarn::font
