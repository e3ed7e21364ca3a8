// Simplified and traditional Chinese mapping, and the 936/950 re-encoding.
#include <gtest/gtest.h>

#include "platform/chinese_script.h"

namespace tarn::platform {
namespace {

TEST(ChineseScriptTables, AreInstalled) {
  EXPECT_TRUE(FindScriptTable("s2t.json").has_value());
  EXPECT_TRUE(FindScriptTable("t2s.json").has_value());
}

struct MappingCase {
  const char* simplified;
  const char* traditional;
};

class ChineseMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(ChineseMapping, BothWays) {
  const auto toTraditional = MapChineseScript(GetParam().simplified, ChineseScript::kTraditional);
  ASSERT_TRUE(toTraditional.ok());
  EXPECT_EQ(toTraditional.value, GetParam().traditional);
  const auto toSimplified = MapChineseScript(GetParam().traditional, ChineseScript::kSimplified);
  ASSERT_TRUE(toSimplified.ok());
  EXPECT_EQ(toSimplified.value, GetParam().simplified);
}

INSTANTIATE_TEST_SUITE_P(Texts, ChineseMapping,
                         ::testing::Values(MappingCase{"汉字", "漢字"}, MappingCase{"图层", "圖層"},
                                           MappingCase{"门", "門"},
                                           MappingCase{"Layer 1: 电线", "Layer 1: 電線"},
                                           MappingCase{"Latin 123 only", "Latin 123 only"}));

TEST(ChineseMapping, EmbeddedNulDoesNotCutTheText) {
  const std::string input("汉\0汉", 7);
  const auto mapped = MapChineseScript(input, ChineseScript::kTraditional);
  ASSERT_TRUE(mapped.ok());
  EXPECT_EQ(mapped.value, std::string("漢\0漢", 7));
}

TEST(ChineseMapping, InvalidUtf8IsRefusedBeforeTheConverter) {
  EXPECT_EQ(MapChineseScript("\xE6\xB1", ChineseScript::kTraditional).status,
            Status::kInvalidParameter);
}

TEST(ChineseCodePages, GbkBytesBecomeBig5BytesOfTheTraditionalForm) {
  const EncodeResult big5 = ConvertChineseCodePage("\xBA\xBA\xD7\xD6", 936, 950);   // 汉字
  ASSERT_EQ(big5.status, Status::kOk);
  EXPECT_EQ(big5.bytes, "\xBA\x7E\xA6\x72");   // 漢字
  const EncodeResult gbk = ConvertChineseCodePage(big5.bytes, 950, 936);
  ASSERT_EQ(gbk.status, Status::kOk);
  EXPECT_EQ(gbk.bytes, "\xBA\xBA\xD7\xD6");
}

}  // namespace
}  // namespace tarn::platform
