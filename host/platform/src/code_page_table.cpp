// The table of code pages and the look-ups of names and numbers.
#include "code_page_table.h"

#include <iconv.h>

#include "case_fold.h"
#include "iconv_cache.h"
#include "platform/code_page.h"

namespace tarn::platform {
namespace detail {
namespace {

constexpr CodePageInfo kCodePages[] = {
    {1252, "ANSI_1252", "CP1252", true, true},
    {1250, "ANSI_1250", "CP1250", true, true},
    {1251, "ANSI_1251", "CP1251", true, true},
    {1253, "ANSI_1253", "CP1253", true, true},
    {1254, "ANSI_1254", "CP1254", true, true},
    {1255, "ANSI_1255", "CP1255", true, true},
    {1256, "ANSI_1256", "CP1256", true, true},
    {1257, "ANSI_1257", "CP1257", true, true},
    {1258, "ANSI_1258", "CP1258", true, true},
    {874, "ANSI_874", "CP874", true, true},
    {932, "ANSI_932", "CP932", true, false},
    {936, "ANSI_936", "CP936", true, false},
    {949, "ANSI_949", "CP949", true, false},
    {950, "ANSI_950", "CP950", true, false},
    {1361, "ANSI_1361", "JOHAB", false, false},
    {437, "DOS437", "CP437", true, false},
    {850, "DOS850", "CP850", true, false},
    {852, "DOS852", "CP852", true, false},
    {855, "DOS855", "CP855", true, false},
    {857, "DOS857", "CP857", true, false},
    {860, "DOS860", "CP860", true, false},
    {861, "DOS861", "CP861", true, false},
    {863, "DOS863", "CP863", true, false},
    {864, "DOS864", "CP864", true, false},
    {865, "DOS865", "CP865", true, false},
    {866, "DOS866", "CP866", true, false},
    {869, "DOS869", "CP869", true, false},
    {10000, "MACINTOSH", "MACINTOSH", true, false},
    {28591, "ISO8859-1", "ISO-8859-1", true, false},
    {28592, "ISO8859-2", "ISO-8859-2", true, false},
    {28593, "ISO8859-3", "ISO-8859-3", true, false},
    {28594, "ISO8859-4", "ISO-8859-4", true, false},
    {28595, "ISO8859-5", "ISO-8859-5", true, false},
    {28596, "ISO8859-6", "ISO-8859-6", true, false},
    {28597, "ISO8859-7", "ISO-8859-7", true, false},
    {28598, "ISO8859-8", "ISO-8859-8", true, false},
    {28599, "ISO8859-9", "ISO-8859-9", true, false},
    {kCodePageUtf8, "UTF-8", "UTF-8", true, false},
};

struct Alias {
  const char* name;
  int codePage;
};

constexpr Alias kAliases[] = {
    {"BIG5", 950},  {"GB2312", 936}, {"KSC5601", 949}, {"JOHAB", 1361},
    {"DOS932", 932}, {"UTF8", kCodePageUtf8},
};

}  // namespace

const CodePageInfo* FindCodePage(int codePage) {
  for (const CodePageInfo& info : kCodePages) {
    if (info.codePage == codePage) return &info;
  }
  return nullptr;
}

const CodePageInfo* FindCodePageByName(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string folded = FoldCase(name);
  for (const CodePageInfo& info : kCodePages) {
    if (folded == info.name) return &info;
  }
  for (const Alias& alias : kAliases) {
    if (folded == alias.name) return FindCodePage(alias.codePage);
  }
  return nullptr;
}

}  // namespace detail

CodePageLookup CodePageFromName(std::string_view name) {
  const detail::CodePageInfo* info = detail::FindCodePageByName(name);
  if (info == nullptr) return CodePageLookup{kCodePageFallback, true};
  return CodePageLookup{info->codePage, false};
}

std::optional<std::string_view> CodePageName(int codePage) {
  const detail::CodePageInfo* info = detail::FindCodePage(codePage);
  if (info == nullptr) return std::nullopt;
  return std::string_view(info->name);
}

bool IsSupportedCodePage(int codePage) {
  const detail::CodePageInfo* info = detail::FindCodePage(codePage);
  if (info == nullptr) return false;
  if (codePage == kCodePageUtf8) return true;
  return detail::CachedIconv(*info, detail::IconvDirection::kDecode) != nullptr;
}

}  // namespace tarn::platform
