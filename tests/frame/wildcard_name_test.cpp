// Names escaped for the host's wildcard patterns must match themselves and
// nothing else, whatever pattern characters they hold.
#include <gtest/gtest.h>

#include <string>

#include "frame/wildcard_name.h"
#include "select/wildcard.h"

namespace {

using tarn::frame::EscapeWildcardName;
using tarn::select::wildcardMatch;

class EscapedName : public testing::TestWithParam<const char*> {};

TEST_P(EscapedName, MatchesItselfIgnoringCase) {
    const std::string name = GetParam();
    const std::string pattern = EscapeWildcardName(name);
    EXPECT_TRUE(wildcardMatch(name, pattern)) << pattern;
    std::string lower = name;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(wildcardMatch(lower, pattern)) << pattern;
}

TEST_P(EscapedName, MatchesNoOtherName) {
    const std::string name = GetParam();
    const std::string pattern = EscapeWildcardName(name);
    for (const std::string& other : {name + "X", "X" + name, std::string("A1"), std::string("ABC"),
                                     std::string("-"), std::string(""), std::string("Wall")}) {
        if (other == name) continue;
        EXPECT_FALSE(wildcardMatch(other, pattern)) << other << " against " << pattern;
    }
}

TEST_P(EscapedName, AgreesWithTheHostsEscaping) {
    EXPECT_EQ(EscapeWildcardName(GetParam()), tarn::select::escapeWildcard(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(LayerAndBlockNames, EscapedName,
                         testing::Values("Wall", "A*", "*", "Level#1", "E@X", "A.B", "What?", "~Hidden",
                                         "[Door]", "Back`quote", "Plan,Section", "`", "a-b", "Étage*2",
                                         "#@.*?~[]`,"));

TEST(EscapeWildcardName, LeavesPlainNamesAsTheyAre) {
    EXPECT_EQ(EscapeWildcardName("Walls-2 Outer_Ring"), "Walls-2 Outer_Ring");
    EXPECT_EQ(EscapeWildcardName("A*B"), "A`*B");
}

}  // namespace
