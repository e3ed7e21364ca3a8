// Conversions between UTF-8 (the host's text) and the code pages drawings
// and text files are written in: the names a drawing gives in $DWGCODEPAGE,
// the Windows code page numbers, and the system ANSI code page of this
// machine. Conversion goes through iconv with one cached handle per code
// page and direction (per thread); pure ASCII takes a fast path.
#ifndef TARN_PLATFORM_CODE_PAGE_H
#define TARN_PLATFORM_CODE_PAGE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tarn::platform {

inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageFallback = 1252;

struct CodePageLookup {
  int codePage = kCodePageFallback;
  bool fellBack = false;   // the name was empty or unknown: ANSI_1252 is used
};

// The code page a drawing names ("ANSI_936", "DOS850", "BIG5", "GB2312",
// "KSC5601", "MACINTOSH", "ISO8859-1" ...; case ignored).
CodePageLookup CodePageFromName(std::string_view name);

// The drawing's name of a code page ("ANSI_936"), or nothing.
std::optional<std::string_view> CodePageName(int codePage);

// Whether this machine can convert the code page.
bool IsSupportedCodePage(int codePage);

// How characters that the code page cannot represent are written.
enum class Unrepresentable {
  kBestFit,      // a close character where one exists (é -> e), else '?'
  kDefaultChar,  // '?', no best fit; each one is reported
  kEscape,       // \U+XXXX per UTF-16 code unit, upper-case hex; reported
  kStop,         // stop there with kNoUnicodeTranslation; reported
};

struct DecodeResult {
  Status status = Status::kOk;
  std::string text;                // UTF-8
  size_t invalidSequences = 0;     // bytes not valid in the code page: U+FFFD
  bool fellBack = false;           // see CodePageLookup
};

struct UnrepresentableChar {
  size_t offset;          // byte offset in the UTF-8 input
  char32_t codePoint;     // U+FFFD for invalid UTF-8 input
};

struct EncodeResult {
  Status status = Status::kOk;
  std::string bytes;
  // With kBestFit only those that had no close character.
  std::vector<UnrepresentableChar> unrepresentable;
  bool fellBack = false;
};

// Bytes in a code page to UTF-8. Undefined bytes 0x80-0x9F of the Windows
// single-byte code pages decode to the C1 controls, as Windows does.
DecodeResult DecodeToUtf8(std::string_view bytes, int codePage);
DecodeResult DecodeToUtf8(std::string_view bytes, std::string_view codePageName);

// UTF-8 to bytes in a code page.
EncodeResult EncodeFromUtf8(std::string_view utf8, int codePage,
                            Unrepresentable mode = Unrepresentable::kDefaultChar);
EncodeResult EncodeFromUtf8(std::string_view utf8, std::string_view codePageName,
                            Unrepresentable mode = Unrepresentable::kDefaultChar);

// The system ANSI code page, from TARNCAD_ANSI_CODEPAGE (a number or a
// drawing name) when set, else from the locale (LC_ALL, LC_CTYPE, LANG).
int SystemAnsiCodePage();

// The code page of a locale name such as "zh_CN.GBK", "de_DE@euro",
// "ja_JP.UTF-8": by its character set when it names one (a UTF-8 locale
// gives 65001), else by its language as Windows would choose; "C", "POSIX"
// and empty give 1252.
int AnsiCodePageOfLocale(std::string_view locale);

}  // namespace tarn::platform

#endif
