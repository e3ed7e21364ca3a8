// Wildcard patterns: every form alone and combined, escapes, alternatives,
// negation, character sets, letter case and UTF-8 names.
#include <gtest/gtest.h>

#include <string>

#include "select/wildcard.h"

namespace {

using tarn::select::Wildcard;
using tarn::select::wildcardMatch;

struct Case {
  const char* pattern;
  const char* name;
  bool expected;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << "pattern \"" << c.pattern << "\" name \"" << c.name << "\"";
}

class WildcardForms : public testing::TestWithParam<Case> {};

TEST_P(WildcardForms, MatchesAsDocumented) {
  const Case& c = GetParam();
  EXPECT_EQ(wildcardMatch(c.name, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Literal, WildcardForms, testing::Values(
    Case{"LINE", "LINE", true}, Case{"LINE", "line", true}, Case{"line", "LiNe", true},
    Case{"LINE", "LINES", false}, Case{"LINE", "LIN", false}, Case{"LINE", "", false},
    Case{"", "", true}, Case{"", "A", false}, Case{"A B", "a b", true}, Case{"-", "-", true}));

INSTANTIATE_TEST_SUITE_P(Classes, WildcardForms, testing::Values(
    Case{"A#", "A7", true}, Case{"A#", "AB", false}, Case{"A#", "A", false}, Case{"###", "123", true},
    Case{"@1", "x1", true}, Case{"@1", "51", false}, Case{"@1", "_1", false},
    Case{"A.B", "A-B", true}, Case{"A.B", "A B", true}, Case{"A.B", "A_B", true}, Case{"A.B", "AXB", false},
    Case{"A.B", "A5B", false}, Case{"?", "", false}, Case{"?", "x", true}, Case{"??", "x", false},
    Case{"A?C", "A.C", true}, Case{"A?C", "AC", false}));

INSTANTIATE_TEST_SUITE_P(Runs, WildcardForms, testing::Values(
    Case{"*", "", true}, Case{"*", "anything at all", true}, Case{"A*", "A", true}, Case{"A*", "ABC", true},
    Case{"A*", "BA", false}, Case{"*A", "BA", true}, Case{"*A", "AB", false}, Case{"*-*", "E-LIGHT", true},
    Case{"*-*", "ELIGHT", false}, Case{"A*B*C", "AxxBxxC", true}, Case{"A*B*C", "AxxCxxB", false},
    Case{"A**B", "AB", true}, Case{"*AB", "AAB", true}, Case{"*ABA", "ABABA", true}, Case{"*A?", "XAB", true}, Case{"*A?", "AXA", false},
    Case{"*#", "LAYER12", true}, Case{"*l#", "AL1", true}, Case{"*L#", "al1xl2", true},
    Case{"*-#", "A-B-1", true}, Case{"*-#", "A-B", false}, Case{"*L", "ABC", false}, Case{"*#", "LAYER1X", false}, Case{"A*#*@", "A 12 x", true}));

INSTANTIATE_TEST_SUITE_P(Negation, WildcardForms, testing::Values(
    Case{"~A*", "BOX", true}, Case{"~A*", "ABOX", false}, Case{"~A*", "abox", false}, Case{"~", "", false},
    Case{"~", "X", true}, Case{"A~", "A~", true}, Case{"A~", "AB", false}, Case{"~*", "X", false},
    Case{"~A*,B*", "BOX", true}, Case{"~A*,B*", "ABOX", false}, Case{"~A*,B*", "CAT", true}));

INSTANTIATE_TEST_SUITE_P(Sets, WildcardForms, testing::Values(
    Case{"[AB]1", "A1", true}, Case{"[AB]1", "b1", true}, Case{"[AB]1", "C1", false},
    Case{"[a-c]X", "BX", true}, Case{"[a-c]X", "DX", false}, Case{"[A-C]X", "bx", true},
    Case{"[~AB]1", "C1", true}, Case{"[~AB]1", "a1", false}, Case{"[~0-9]", "X", true},
    Case{"[~0-9]", "5", false}, Case{"[]]", "]", true}, Case{"[~]]", "]", false}, Case{"[~]]", "x", true},
    Case{"[A-]", "-", true}, Case{"[A-]", "A", true}, Case{"[-A]", "-", true}, Case{"[z-a]", "m", false},
    Case{"[*]", "*", true}, Case{"[*]", "x", false}, Case{"[#]", "#", true}, Case{"[#]", "1", false},
    Case{"[a,b]", "a", true}, Case{"[a,b]", ",", true}, Case{"[`]]", "]", true}, Case{"[`-x]", "-", true},
    Case{"[`-x]", "m", false}, Case{"[AB", "[AB", true}, Case{"[AB", "A", false}, Case{"A]", "A]", true},
    Case{"[]", "[]", true}));

INSTANTIATE_TEST_SUITE_P(Escapes, WildcardForms, testing::Values(
    Case{"A`#1", "A#1", true}, Case{"A`#1", "A51", false}, Case{"`*", "*", true}, Case{"`*", "x", false},
    Case{"A`,B", "A,B", true}, Case{"A`,B", "A", false}, Case{"`~A", "~A", true}, Case{"`~A", "B", false},
    Case{"E`.LIGHT", "E.LIGHT", true}, Case{"E`.LIGHT", "E-LIGHT", false}, Case{"``", "`", true},
    Case{"A`", "A`", true}, Case{"`[A]", "[A]", true}, Case{"`[A]", "A", false}, Case{"`a", "A", true}));

INSTANTIATE_TEST_SUITE_P(Alternatives, WildcardForms, testing::Values(
    Case{"LINE,ARC", "ARC", true}, Case{"LINE,ARC", "LINE", true}, Case{"LINE,ARC", "CIRCLE", false},
    Case{"A*,*B", "XB", true}, Case{"A*,*B", "XA", false}, Case{"A,", "", true}, Case{",A", "", true},
    Case{"A,", "B", false}, Case{"TEXT,MTEXT,ATTDEF,ATTRIB", "mtext", true}, Case{"#,@", "5", true},
    Case{"#,@", "-", false}));

// A non-ASCII character is one character, for "?" as for sets and classes,
// and letter case is ignored beyond ASCII too.
INSTANTIATE_TEST_SUITE_P(Utf8, WildcardForms, testing::Values(
    Case{"?", "\xC3\xA9", true}, Case{"??", "\xE6\x97\xA5\xE6\x9C\xAC", true}, Case{"?", "\xE6\x97\xA5\xE6\x9C\xAC", false},
    Case{"?", "\xF0\x9F\x98\x80", true}, Case{"\xC3\x89TAGE", "\xC3\xA9tage", true},
    Case{"\xD0\x9F\xD0\x9B\xD0\x90\xD0\x9D", "\xD0\xBF\xD0\xBB\xD0\xB0\xD0\xBD", true},
    Case{"\xCE\xA3*", "\xCF\x83\xCF\x84", true}, Case{"@", "\xC3\xA9", true}, Case{"@", "\xE6\x97\xA5", true},
    Case{".", "\xC3\xA9", false}, Case{".", "\xE2\x80\x94", true}, Case{"[\xC3\xA0-\xC3\xBF]", "\xC3\x89", true},
    Case{"[~\xC3\xA9]", "\xC3\x89", false}, Case{"*\xC3\xA9", "caf\xC3\xA9", true},
    Case{"caf?", "caf\xC3\xA9", true}, Case{"E", "\xC3\x89", false}, Case{"\xC3\xA9", "e", false},
    Case{"?", "\xFF", true}, Case{"A\xFF", "a\xFF", true}, Case{"A\xFF", "A\xFE", false},
    Case{"??", "\xC3", false}, Case{"?", "\xC3", true}));

TEST(Wildcard, DefaultMatcherMatchesOnlyTheEmptyName) {
  const Wildcard w;
  EXPECT_TRUE(w.matches(""));
  EXPECT_FALSE(w.matches("A"));
}

TEST(Wildcard, TellsLiteralPatternsApart) {
  EXPECT_TRUE(Wildcard::compile("LINE").isLiteral());
  EXPECT_TRUE(Wildcard::compile("LINE,ARC").isLiteral());
  EXPECT_TRUE(Wildcard::compile("A`*").isLiteral());
  EXPECT_FALSE(Wildcard::compile("LINE*").isLiteral());
  EXPECT_FALSE(Wildcard::compile("~LINE").isLiteral());
  EXPECT_FALSE(Wildcard::compile("[AB]").isLiteral());
}

// Patterns full of "*" against long names that almost match: a matcher that
// backtracks over every "*" would never finish.
TEST(Wildcard, ManyRunsStayLinear) {
  const std::string name(20000, 'a');
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*a";
  EXPECT_FALSE(wildcardMatch(name, pattern + "*b"));
  EXPECT_TRUE(wildcardMatch(name + "b", pattern + "*b"));
  EXPECT_TRUE(wildcardMatch(name, pattern + "*"));
  EXPECT_FALSE(wildcardMatch(std::string(100, 'a'), pattern));
}

}  // namespace
