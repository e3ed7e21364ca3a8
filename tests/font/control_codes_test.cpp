// %% control codes and \U+ escapes of single-line text strings.
#include <gtest/gtest.h>

#include "font/control_codes.h"

namespace tarn::font {
namespace {

struct CodeCase {
  const char* input;
  const char* plain;  // UTF-8
};

class PercentCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(PercentCodes, DecodeToTheirCharacters) { EXPECT_EQ(plainTextString(GetParam().input), GetParam().plain); }

INSTANTIATE_TEST_SUITE_P(
    Codes, PercentCodes,
    ::testing::Values(CodeCase{"%%c50", "\u220550"}, CodeCase{"%%C50", "\u220550"}, CodeCase{"45%%d", "45\u00b0"},
                      CodeCase{"%%p0.1", "\u00b10.1"}, CodeCase{"100%%%", "100%"}, CodeCase{"%%176", "\u00b0"},
                      CodeCase{"%%065%%066", "AB"}, CodeCase{"%%uUnder%%u", "Under"},
                      CodeCase{"%%oOver", "Over"},
                      // Not codes: shown as written.
                      CodeCase{"%%x", "%%x"}, CodeCase{"%%12", "%%12"}, CodeCase{"50%", "50%"},
                      CodeCase{"%%", "%%"}, CodeCase{"%", "%"}, CodeCase{"%%%%", "%%"},
                      // \U+ escapes.
                      CodeCase{"\\U+00B0C", "\u00b0C"}, CodeCase{"\\u+2205", "\u2205"},
                      CodeCase{"\\U+12", "\\U+12"}, CodeCase{"\\U+D800", "\ufffd"},
                      CodeCase{"a\\b", "a\\b"},
                      // Bytes that are not UTF-8.
                      CodeCase{"a\xff", "a\ufffd"}, CodeCase{"\xc0\xaf", "\ufffd\ufffd"}));

TEST(Decorations, UnderlineAndOverlineToggleForTheCharactersAfterThem) {
  DecodedText d = decodeTextString("a%%ub%%oc%%ud%%o");
  ASSERT_EQ(d.chars, U"abcd");
  EXPECT_EQ(d.decorations, (std::vector<uint8_t>{0, kUnderline, kUnderline | kOverline, kOverline}));
}

TEST(Decorations, OneEntryPerCharacter) {
  for (const char* s : {"", "%%u", "%%c%%d%%p", "\\U+0041x", "\xe4\xb8\xad"}) {
    DecodedText d = decodeTextString(s);
    EXPECT_EQ(d.chars.size(), d.decorations.size()) << s;
  }
}

}  // namespace
}  // namespace tarn::font
