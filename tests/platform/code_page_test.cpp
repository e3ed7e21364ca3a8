// Code pages: names, round trips of the East Asian and Western code pages,
// characters a code page cannot represent, invalid input, and the system
// ANSI code page from the locale.
#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "scratch_folder.h"

namespace tarn::platform {
namespace {

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (char c : bytes) {
    out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
    out.push_back(kDigits[static_cast<unsigned char>(c) & 15]);
  }
  return out;
}

struct NameCase {
  const char* name;
  int codePage;
  bool fellBack;
};

class CodePageNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CodePageNames, ResolveToANumber) {
  const CodePageLookup lookup = CodePageFromName(GetParam().name);
  EXPECT_EQ(lookup.codePage, GetParam().codePage);
  EXPECT_EQ(lookup.fellBack, GetParam().fellBack);
  if (!GetParam().fellBack) {
    EXPECT_TRUE(IsSupportedCodePage(lookup.codePage));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, CodePageNames,
    ::testing::Values(NameCase{"ANSI_1252", 1252, false}, NameCase{"ANSI_936", 936, false},
                      NameCase{"ansi_950", 950, false}, NameCase{"ANSI_932", 932, false},
                      NameCase{"ANSI_949", 949, false}, NameCase{"ANSI_1250", 1250, false},
                      NameCase{" ANSI_1251 ", 1251, false}, NameCase{"DOS850", 850, false},
                      NameCase{"BIG5", 950, false}, NameCase{"GB2312", 936, false},
                      NameCase{"KSC5601", 949, false}, NameCase{"ANSI_1361", 1361, false},
                      NameCase{"MACINTOSH", 10000, false}, NameCase{"ISO8859-2", 28592, false},
                      NameCase{"", 1252, true}, NameCase{"ANSI_9999", 1252, true},
                      NameCase{"UNDEFINED", 1252, true}));

struct RoundTripCase {
  int codePage;
  const char* utf8;
  const char* hex;
};

class CodePageRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTrip, EncodesToKnownBytesAndBack) {
  const EncodeResult encoded = EncodeFromUtf8(GetParam().utf8, GetParam().codePage);
  ASSERT_EQ(encoded.status, Status::kOk);
  EXPECT_TRUE(encoded.unrepresentable.empty());
  EXPECT_EQ(Hex(encoded.bytes), GetParam().hex);
  const DecodeResult decoded = DecodeToUtf8(encoded.bytes, GetParam().codePage);
  ASSERT_EQ(decoded.status, Status::kOk);
  EXPECT_EQ(decoded.invalidSequences, 0u);
  EXPECT_EQ(decoded.text, GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageRoundTrip,
    ::testing::Values(RoundTripCase{936, "中文汉字", "d6d0cec4babad7d6"},
                      RoundTripCase{950, "中文漢字", "a4a4a4e5ba7ea672"},
                      RoundTripCase{932, "日本", "93fa967b"},
                      RoundTripCase{949, "한글", "c7d1b1db"},
                      RoundTripCase{1252, "€é", "80e9"},
                      RoundTripCase{936, "A1 汉", "413120baba"},
                      RoundTripCase{1252, "plain ASCII", "706c61696e204153434949"},
                      RoundTripCase{kCodePageUtf8, "é", "c3a9"}));

TEST(CodePageNames, FallbackIsReportedByTheConversion) {
  const DecodeResult decoded = DecodeToUtf8("caf\xE9", "");
  EXPECT_TRUE(decoded.fellBack);
  EXPECT_EQ(decoded.text, "café");
  const EncodeResult encoded = EncodeFromUtf8("café", "ANSI_1252");
  EXPECT_FALSE(encoded.fellBack);
  EXPECT_EQ(encoded.bytes, "caf\xE9");
}

struct UnrepresentableCase {
  const char* name;
  int codePage;
  Unrepresentable mode;
  const char* input;
  const char* output;
  size_t reported;
};

class Unrepresentables : public ::testing::TestWithParam<UnrepresentableCase> {};

TEST_P(Unrepresentables, WrittenAsTheModeSays) {
  const EncodeResult result = EncodeFromUtf8(GetParam().input, GetParam().codePage, GetParam().mode);
  EXPECT_EQ(result.bytes, GetParam().output);
  EXPECT_EQ(result.unrepresentable.size(), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Unrepresentables,
    ::testing::Values(
        UnrepresentableCase{"DefaultChar", 1252, Unrepresentable::kDefaultChar, "aΩb", "a?b", 1},
        UnrepresentableCase{"Escape", 1252, Unrepresentable::kEscape, "aΩb", "a\\U+03A9b", 1},
        UnrepresentableCase{"EscapeKeepsRepresentable", 1252, Unrepresentable::kEscape, "é漢",
                            "\xE9\\U+6F22", 1},
        UnrepresentableCase{"EscapeSurrogatePair", 1252, Unrepresentable::kEscape, "x😀",
                            "x\\U+D83D\\U+DE00", 1},
        UnrepresentableCase{"EscapeHangulIn936", 936, Unrepresentable::kEscape, "汉한",
                            "\xBA\xBA\\U+D55C", 1},
        UnrepresentableCase{"BestFitFindsClose", 1252, Unrepresentable::kBestFit, "ā", "a", 0},
        UnrepresentableCase{"BestFitWithoutClose", 1252, Unrepresentable::kBestFit, "Ω", "?", 1},
        UnrepresentableCase{"Stop", 1252, Unrepresentable::kStop, "abΩcd", "ab", 1},
        UnrepresentableCase{"InvalidUtf8", 1252, Unrepresentable::kDefaultChar, "a\xFF" "b",
                            "a?b", 1},
        UnrepresentableCase{"InvalidUtf8ToUtf8", kCodePageUtf8, Unrepresentable::kDefaultChar,
                            "a\xC3" "b", "a?b", 1}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Unrepresentables, StopReportsFailureAndWhere) {
  const EncodeResult result = EncodeFromUtf8("abΩcd", 1252, Unrepresentable::kStop);
  EXPECT_EQ(result.status, Status::kNoUnicodeTranslation);
  ASSERT_EQ(result.unrepresentable.size(), 1u);
  EXPECT_EQ(result.unrepresentable[0].offset, 2u);
  EXPECT_EQ(result.unrepresentable[0].codePoint, U'Ω');
}

TEST(Unrepresentables, ManyInALongTextAreAllReported) {
  std::string input;
  for (int i = 0; i < 5000; ++i) input += "ab漢";
  const EncodeResult result = EncodeFromUtf8(input, 1252, Unrepresentable::kEscape);
  EXPECT_EQ(result.unrepresentable.size(), 5000u);
  EXPECT_EQ(result.bytes.size(), 5000u * 9);
}

TEST(DecodeInvalid, UndefinedBytesBecomeReplacementCharacters) {
  const DecodeResult gbk = DecodeToUtf8("a\xFF" "b\xD6", 936);   // bad byte, truncated pair
  EXPECT_EQ(gbk.text, "a\uFFFDb\uFFFD");
  EXPECT_EQ(gbk.invalidSequences, 2u);
  const DecodeResult utf8 = DecodeToUtf8("\xE9t\xE9", kCodePageUtf8);
  EXPECT_EQ(utf8.invalidSequences, 2u);
}

// Windows maps the undefined bytes of its single-byte code pages to the C1
// controls; a drawing holding one must survive a read and a write.
TEST(DecodeInvalid, UndefinedWindowsBytesRoundTripAsControls) {
  const std::string bytes = "x\x81\x8D\x8F\x90\x9Dy";
  const DecodeResult decoded = DecodeToUtf8(bytes, 1252);
  EXPECT_EQ(decoded.invalidSequences, 0u);
  EXPECT_EQ(decoded.text, "x\u0081\u008D\u008F\u0090\u009Dy");
  EXPECT_EQ(EncodeFromUtf8(decoded.text, 1252).bytes, bytes);
}

TEST(DecodeAscii, CodePageWithoutAsciiBackslashIsNotShortcut) {
  // In JOHAB byte 0x5C is the Won sign; the ASCII fast path must not apply.
  EXPECT_EQ(DecodeToUtf8("a\\b", 1361).text, "a\u20A9b");
  EXPECT_EQ(DecodeToUtf8("a\\b", 936).text, "a\\b");
}

TEST(DecodeAscii, LongTextsMatchCharacterByCharacterConversion) {
  std::string bytes;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    bytes += (i % 7 == 0) ? "\xBA\xBA" : "x";
    expected += (i % 7 == 0) ? "汉" : "x";
  }
  EXPECT_EQ(DecodeToUtf8(bytes, 936).text, expected);
  EXPECT_EQ(EncodeFromUtf8(expected, 936).bytes, bytes);
}

// After a bad sequence the converter works in small pieces; characters of
// two or three bytes that straddle a piece's end must come through whole.
TEST(DecodeInvalid, CharactersAcrossPieceBoundariesAfterABadByte) {
  std::string bytes = "\xFFx";
  std::string text = "\uFFFDx";
  for (int i = 0; i < 300; ++i) {
    bytes += "\xBA\xBA";
    text += "汉";
  }
  EXPECT_EQ(DecodeToUtf8(bytes, 936).text, text);
  const EncodeResult encoded = EncodeFromUtf8("한x" + text.substr(4), 936);
  EXPECT_EQ(encoded.bytes, "?" + bytes.substr(1));
  EXPECT_EQ(encoded.unrepresentable.size(), 1u);
}

struct LocaleCase {
  const char* locale;
  int codePage;
};

class LocaleCodePage : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleCodePage, ChosenFromCharsetOrLanguage) {
  EXPECT_EQ(AnsiCodePageOfLocale(GetParam().locale), GetParam().codePage);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleCodePage,
    ::testing::Values(LocaleCase{"zh_CN.GBK", 936}, LocaleCase{"zh_CN.gb18030", 936},
                      LocaleCase{"zh_TW.Big5", 950}, LocaleCase{"zh_CN", 936},
                      LocaleCase{"zh_HK", 950}, LocaleCase{"ja_JP.eucJP", 932},
                      LocaleCase{"ko_KR.EUC-KR", 949}, LocaleCase{"ja_JP.UTF-8", kCodePageUtf8},
                      LocaleCase{"C.utf8", kCodePageUtf8}, LocaleCase{"C", 1252},
                      LocaleCase{"POSIX", 1252}, LocaleCase{"", 1252},
                      LocaleCase{"de_DE@euro", 1252}, LocaleCase{"de_DE.ISO-8859-15@euro", 1252},
                      LocaleCase{"ru_RU.KOI8-R", 1251}, LocaleCase{"pl_PL", 1250},
                      LocaleCase{"tr_TR.ISO-8859-9", 1254}, LocaleCase{"th_TH", 874}));

TEST(SystemCodePage, OverrideThenLocaleVariablesInOrder) {
  testing::ScopedEnv all("LC_ALL", nullptr);
  testing::ScopedEnv ctype("LC_CTYPE", "zh_TW.BIG5");
  testing::ScopedEnv lang("LANG", "zh_CN.GBK");
  testing::ScopedEnv noOverride("TARNCAD_ANSI_CODEPAGE", nullptr);
  EXPECT_EQ(SystemAnsiCodePage(), 950);
  {
    testing::ScopedEnv setAll("LC_ALL", "C.UTF-8");
    EXPECT_EQ(SystemAnsiCodePage(), kCodePageUtf8);
  }
  {
    testing::ScopedEnv overrideNumber("TARNCAD_ANSI_CODEPAGE", "936");
    EXPECT_EQ(SystemAnsiCodePage(), 936);
  }
  {
    testing::ScopedEnv overrideName("TARNCAD_ANSI_CODEPAGE", "ANSI_1250");
    EXPECT_EQ(SystemAnsiCodePage(), 1250);
  }
  testing::ScopedEnv badOverride("TARNCAD_ANSI_CODEPAGE", "nonsense");
  EXPECT_EQ(SystemAnsiCodePage(), 950);
}

}  // namespace
}  // namespace tarn::platform
