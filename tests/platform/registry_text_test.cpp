// The settings-file reader and writer: typed values, damaged lines reported
// with file and line while the rest is kept, and write-then-read identity.
#include <gtest/gtest.h>

#include "platform/registry_text.h"

namespace tarn::platform {
namespace {

TEST(RegistryTextRead, ReadsEveryValueKind) {
  const RegistryText text = ParseRegistryText(
      "; comment\r\n"
      "[Software\\Tarn\\Key]\r\n"
      "\"Flag\"=dword:0000002a\r\n"
      "\"Name\"=\"say \\\"hi\\\"\\tnow\"\r\n"
      "@=\"default\"\r\n"
      "\"Big\"=qword:0000000100000000\r\n"
      "\"Raw\"=hex:00, ff,10\r\n",
      "user.txt");
  ASSERT_TRUE(text.problems.empty()) << text.problems.front();
  ASSERT_EQ(text.keys.size(), 1u);
  const auto& values = text.keys[0].values;
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0], (RegistryValue{"Flag", ValueType::kDword, DwordBytes(42)}));
  EXPECT_EQ(values[1], (RegistryValue{"Name", ValueType::kString, "say \"hi\"\tnow"}));
  EXPECT_EQ(values[2], (RegistryValue{"", ValueType::kString, "default"}));
  EXPECT_EQ(values[3], (RegistryValue{"Big", ValueType::kQword, QwordBytes(1ULL << 32)}));
  EXPECT_EQ(values[4], (RegistryValue{"Raw", ValueType::kBinary, std::string("\x00\xff\x10", 3)}));
}

struct DamagedLine {
  const char* line;
  const char* complaint;
};

class RegistryTextDamage : public ::testing::TestWithParam<DamagedLine> {};

// The damaged line sits on line 3 between two good values; both good values
// must survive and the complaint must name the file and line 3.
TEST_P(RegistryTextDamage, ReportsLineAndKeepsTheRest) {
  const std::string input = std::string("[K]\n\"Before\"=dword:1\n") + GetParam().line +
                            "\n\"After\"=\"ok\"\n";
  const RegistryText text = ParseRegistryText(input, "settings.txt");
  ASSERT_EQ(text.problems.size(), 1u);
  EXPECT_EQ(text.problems[0].rfind("settings.txt:3: ", 0), 0u) << text.problems[0];
  EXPECT_NE(text.problems[0].find(GetParam().complaint), std::string::npos) << text.problems[0];
  ASSERT_EQ(text.keys.size(), 1u);
  ASSERT_EQ(text.keys[0].values.size(), 2u);
  EXPECT_EQ(text.keys[0].values[1].data, "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegistryTextDamage,
    ::testing::Values(DamagedLine{"garbage", "not a key"},
                      DamagedLine{"\"Flag\"=dword:123456789", "1 to 8"},
                      DamagedLine{"\"Flag\"=dword:", "1 to 8"},
                      DamagedLine{"\"Flag\"=dword:zz", "1 to 8"},
                      DamagedLine{"\"Q\"=qword:12345678901234567", "1 to 16"},
                      DamagedLine{"\"Raw\"=hex:1,xyz", "two-digit"},
                      DamagedLine{"\"Text\"=\"unterminated", "quoted"},
                      DamagedLine{"\"Text\"=\"a\" trailing", "quoted"},
                      DamagedLine{"\"Bad\\q\"=\"x\"", "name not properly quoted"},
                      DamagedLine{"\"NoEquals\" \"x\"", "expected '='"},
                      DamagedLine{"\"Kind\"=float:1.5", "unknown kind"}));

TEST(RegistryTextRead, ValuesOfABadKeyAreSkippedWithOneComplaint) {
  const RegistryText text =
      ParseRegistryText("[A\\\\B]\n\"x\"=dword:1\n\"y\"=dword:2\n[Good]\n\"z\"=dword:3\n", "f");
  ASSERT_EQ(text.problems.size(), 1u);
  EXPECT_EQ(text.problems[0].rfind("f:1: ", 0), 0u);
  ASSERT_EQ(text.keys.size(), 1u);
  EXPECT_EQ(text.keys[0].path, "Good");
}

TEST(RegistryTextRead, ValueBeforeAnyKeyIsReported) {
  const RegistryText text = ParseRegistryText("\"x\"=dword:1\n", "f");
  ASSERT_EQ(text.problems.size(), 1u);
  EXPECT_TRUE(text.keys.empty());
}

TEST(RegistryTextRead, ComplaintsAreCappedForHugeGarbage) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += "junk\n";
  const RegistryText text = ParseRegistryText(garbage, "f");
  EXPECT_LE(text.problems.size(), 101u);
  EXPECT_NE(text.problems.back().find("further problems"), std::string::npos);
}

TEST(RegistryTextRead, ByteOrderMarkIsIgnored) {
  const RegistryText text = ParseRegistryText("\xEF\xBB\xBF[K]\n", "f");
  EXPECT_TRUE(text.problems.empty());
  ASSERT_EQ(text.keys.size(), 1u);
}

class RegistryTextRoundTrip : public ::testing::TestWithParam<std::string> {};

// Whatever text a value holds, writing and reading gives it back.
TEST_P(RegistryTextRoundTrip, TextValuesAndNamesSurvive) {
  const std::vector<RegistryKeyRecord> keys{
      {"Software\\Tarn\\Schlüssel", {{GetParam(), ValueType::kString, GetParam()},
                                    {"", ValueType::kDword, DwordBytes(0xFFFFFFFF)},
                                    {"b", ValueType::kBinary, ""}}},
      {"Software\\Tarn\\Empty", {}}};
  const RegistryText text = ParseRegistryText(FormatRegistryText(keys, "HKEY_CURRENT_USER"), "f");
  EXPECT_TRUE(text.problems.empty());
  EXPECT_EQ(text.keys, keys);
}

INSTANTIATE_TEST_SUITE_P(Texts, RegistryTextRoundTrip,
                         ::testing::Values("plain", "with \"quotes\" and \\back\\slashes\\",
                                           "line\nbreak\r\ttab", std::string("nul\0byte", 8),
                                           "漢字 and é", "bad utf8 \xC3\x28 \xFF",
                                           "ends with backslash\\", "[looks like a key]",
                                           "; looks like a comment", "=", "@"));

struct PathCase {
  std::string path;
  bool valid;
};

class KeyPathValidity : public ::testing::TestWithParam<PathCase> {};

TEST_P(KeyPathValidity, Classified) { EXPECT_EQ(IsValidKeyPath(GetParam().path), GetParam().valid); }

std::string DeepPath(size_t depth) {
  std::string path = "k";
  for (size_t i = 1; i < depth; ++i) path += "\\k";
  return path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, KeyPathValidity,
    ::testing::Values(PathCase{"", true}, PathCase{"Software\\Tarn", true},
                      PathCase{"App Paths\\excel.exe", true}, PathCase{"\\Lead", false},
                      PathCase{"Trail\\", false}, PathCase{"Two\\\\Seps", false},
                      PathCase{"Tab\there", false}, PathCase{std::string(255, 'a'), true},
                      PathCase{std::string(256, 'a'), false}, PathCase{DeepPath(512), true},
                      PathCase{DeepPath(513), false}, PathCase{"bad\xFFutf8", false}));

}  // namespace
}  // namespace tarn::platform
