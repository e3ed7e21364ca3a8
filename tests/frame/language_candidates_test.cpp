// The language module's choice of language folders and of the file it loads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language_candidates.h"

namespace {

using tarn::uinfo::LanguageCandidates;
using tarn::uinfo::ResourceFileName;
using Folders = std::vector<std::string>;

struct LocaleCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Folders expected;
};

class LanguageFolders : public testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageFolders, TriesTheUsersLanguageThenItsBaseThenEnglish) {
    const LocaleCase& c = GetParam();
    EXPECT_EQ(LanguageCandidates(c.lcAll, c.lcMessages, c.lang), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LanguageFolders,
    testing::Values(LocaleCase{nullptr, nullptr, "de_DE.UTF-8", {"de_DE", "de", "en"}},
                    LocaleCase{"", "fr_CA.UTF-8@euro", "de_DE.UTF-8", {"fr_CA", "fr", "en"}},
                    LocaleCase{"zh_TW", "fr_FR", "de_DE", {"zh_TW", "zh", "en"}},
                    LocaleCase{nullptr, nullptr, "en_GB.UTF-8", {"en_GB", "en"}},
                    LocaleCase{nullptr, nullptr, "ja", {"ja", "en"}},
                    LocaleCase{nullptr, nullptr, "C.UTF-8", {"en"}},
                    LocaleCase{"POSIX", nullptr, "de_DE", {"en"}},
                    LocaleCase{nullptr, nullptr, nullptr, {"en"}},
                    // A setting that would lead out of the language folders is ignored.
                    LocaleCase{nullptr, nullptr, "../../tmp/x", {"en"}},
                    LocaleCase{nullptr, nullptr, "de/../..", {"en"}}));

TEST(ResourceFileName, TakesTheDesktopNameToTheSharedObject) {
    EXPECT_EQ(ResourceFileName("TarnExtendRes.dll"), "TarnExtendRes.so");
    EXPECT_EQ(ResourceFileName("TarnExtendRes.DLL"), "TarnExtendRes.so");
    EXPECT_EQ(ResourceFileName("TarnExtendRes.so"), "TarnExtendRes.so");
    EXPECT_EQ(ResourceFileName("TarnExtendRes"), "TarnExtendRes.so");
}

TEST(ResourceFileName, RefusesNamesWithAFolder) {
    EXPECT_EQ(ResourceFileName("../TarnExtendRes.dll"), "");
    EXPECT_EQ(ResourceFileName("/tmp/evil.so"), "");
    EXPECT_EQ(ResourceFileName("sub\\TarnExtendRes.dll"), "");
    EXPECT_EQ(ResourceFileName(""), "");
}

}  // namespace
