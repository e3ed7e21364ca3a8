// The table of code pages: numbers, the names drawings use, iconv names.
#ifndef TARN_PLATFORM_SRC_CODE_PAGE_TABLE_H
#define TARN_PLATFORM_SRC_CODE_PAGE_TABLE_H

#include <string_view>

namespace tarn::platform::detail {

struct CodePageInfo {
  int codePage;
  const char* name;        // as a drawing names it
  const char* iconvName;
  bool asciiCompatible;    // bytes 0x00-0x7F are ASCII both ways
  bool c1Holes;            // Windows single-byte: undefined 0x80-0x9F are C1 controls
};

// The entry of a code page number, or null.
const CodePageInfo* FindCodePage(int codePage);
// The entry of a drawing's name (or an alias such as "GB2312"), or null.
const CodePageInfo* FindCodePageByName(std::string_view name);

}  // namespace tarn::platform::detail

#endif
