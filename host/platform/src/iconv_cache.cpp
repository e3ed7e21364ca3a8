// One iconv handle per code page and direction, per thread.
#include "iconv_cache.h"

#include <string>
#include <vector>

namespace tarn::platform::detail {
namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

struct CacheEntry {
  int codePage;
  IconvDirection direction;
  iconv_t handle;   // kNoHandle when iconv lacks it (remembered, not retried)
};

class IconvCache {
 public:
  ~IconvCache() {
    for (const CacheEntry& entry : entries_) {
      if (entry.handle != kNoHandle) iconv_close(entry.handle);
    }
  }

  iconv_t Get(const CodePageInfo& info, IconvDirection direction) {
    for (const CacheEntry& entry : entries_) {
      if (entry.codePage == info.codePage && entry.direction == direction) return entry.handle;
    }
    entries_.push_back({info.codePage, direction, Open(info, direction)});
    return entries_.back().handle;
  }

 private:
  static iconv_t Open(const CodePageInfo& info, IconvDirection direction) {
    switch (direction) {
      case IconvDirection::kDecode:
        return iconv_open("UTF-8", info.iconvName);
      case IconvDirection::kEncode:
        return iconv_open(info.iconvName, "UTF-8");
      case IconvDirection::kEncodeBestFit:
        return iconv_open((std::string(info.iconvName) + "//TRANSLIT").c_str(), "UTF-8");
    }
    return kNoHandle;
  }

  std::vector<CacheEntry> entries_;
};

}  // namespace

iconv_t CachedIconv(const CodePageInfo& info, IconvDirection direction) {
  thread_local IconvCache cache;
  iconv_t handle = cache.Get(info, direction);
  if (handle == kNoHandle) return nullptr;
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  return handle;
}

}  // namespace tarn::platform::detail
