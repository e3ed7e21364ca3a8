// One iconv handle per code page and direction, opened on first use and kept
// for the life of the thread (iconv handles are not shared between threads).
#ifndef TARN_PLATFORM_SRC_ICONV_CACHE_H
#define TARN_PLATFORM_SRC_ICONV_CACHE_H

#include <iconv.h>

#include "code_page_table.h"

namespace tarn::platform::detail {

enum class IconvDirection { kDecode, kEncode, kEncodeBestFit };

// The handle with its shift state reset, or null when iconv lacks the code
// page. Owned by the cache.
iconv_t CachedIconv(const CodePageInfo& info, IconvDirection direction);

}  // namespace tarn::platform::detail

#endif
