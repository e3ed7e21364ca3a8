// Escaping names into patterns: an escaped name matches itself, whatever
// characters it holds, and no other name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "select/wildcard.h"

namespace {

using tarn::select::escapeWildcard;
using tarn::select::hasWildcardCharacters;
using tarn::select::Wildcard;

const std::vector<std::string> kTrickyNames{
    "A#1", "E.LIGHT", "A01", "E-LIGHT", "A11", "E_LIGHT", "*", "**", "?", "X", "a,b", "a", "b",
    "`", "``", "~X", "~", "[X]", "X]", "[X", "@home", "1home", "A?B", "AxB", "-", "#", "",
    "\xC3\xA9t\xC3\xA9", "\xE6\x97\xA5*", "\xE6\x97\xA5x", "a\xFF", "a\xFE", " lead", "lead"};

class EscapedName : public testing::TestWithParam<std::string> {};

TEST_P(EscapedName, MatchesItselfOnly) {
  const std::string& name = GetParam();
  const Wildcard pattern = Wildcard::compile(escapeWildcard(name));
  EXPECT_TRUE(pattern.matches(name)) << escapeWildcard(name);
  for (const std::string& other : kTrickyNames) {
    if (other == name) continue;
    EXPECT_FALSE(pattern.matches(other)) << "pattern " << escapeWildcard(name) << " took " << other;
  }
}

INSTANTIATE_TEST_SUITE_P(Tricky, EscapedName, testing::ValuesIn(kTrickyNames));

TEST(EscapeWildcard, QuotesEachWildcardCharacter) {
  EXPECT_EQ(escapeWildcard("A#1"), "A`#1");
  EXPECT_EQ(escapeWildcard("#@.*?~[]`,"), "`#`@`.`*`?`~`[`]```,");
  EXPECT_EQ(escapeWildcard("E-LIGHT"), "E-LIGHT");
  EXPECT_EQ(escapeWildcard("\xC3\xA9"), "\xC3\xA9");
}

TEST(HasWildcardCharacters, FindsThemAnywhere) {
  EXPECT_FALSE(hasWildcardCharacters("E-LIGHT"));
  EXPECT_FALSE(hasWildcardCharacters(""));
  EXPECT_TRUE(hasWildcardCharacters("E.LIGHT"));
  EXPECT_TRUE(hasWildcardCharacters("LINE,ARC"));
  EXPECT_TRUE(hasWildcardCharacters("x`"));
}

}  // namespace
