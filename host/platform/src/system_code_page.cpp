// The system ANSI code page of this machine, from its locale.
#include <cstdlib>
#include <string>

#include "case_fold.h"
#include "platform/code_page.h"

namespace tarn::platform {
namespace {

struct CharsetEntry {
  const char* charset;   // upper case, without '-' and '_'
  int codePage;
};

constexpr CharsetEntry kCharsets[] = {
    {"UTF8", kCodePageUtf8}, {"GB2312", 936},     {"GBK", 936},       {"GB18030", 936},
    {"EUCCN", 936},          {"CP936", 936},      {"BIG5", 950},      {"BIG5HKSCS", 950},
    {"CP950", 950},          {"SJIS", 932},       {"SHIFTJIS", 932},  {"EUCJP", 932},
    {"CP932", 932},          {"EUCKR", 949},      {"UHC", 949},       {"CP949", 949},
    {"ISO88591", 1252},      {"ISO885915", 1252}, {"CP1252", 1252},   {"ISO88592", 1250},
    {"CP1250", 1250},        {"ISO88595", 1251},  {"KOI8R", 1251},    {"KOI8U", 1251},
    {"CP1251", 1251},        {"ISO88597", 1253},  {"ISO88599", 1254}, {"ISO88598", 1255},
    {"ISO88596", 1256},      {"ISO885913", 1257}, {"TIS620", 874},    {"ANSIX3.41968", 1252},
};

struct LanguageEntry {
  const char* prefix;   // language, or language_TERRITORY
  int codePage;
};

// Windows' choice for a language when the locale names no character set.
constexpr LanguageEntry kLanguages[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936},  {"ja", 932},
    {"ko", 949},    {"ru", 1251},   {"uk", 1251},   {"be", 1251}, {"bg", 1251},
    {"mk", 1251},   {"sr", 1251},   {"pl", 1250},   {"cs", 1250}, {"sk", 1250},
    {"hu", 1250},   {"hr", 1250},   {"sl", 1250},   {"ro", 1250}, {"el", 1253},
    {"tr", 1254},   {"he", 1255},   {"ar", 1256},   {"fa", 1256}, {"lt", 1257},
    {"lv", 1257},   {"et", 1257},   {"vi", 1258},   {"th", 874},
};

std::string NormalizeCharset(std::string_view charset) {
  std::string out;
  for (char c : detail::FoldCase(charset)) {
    if (c != '-' && c != '_') out.push_back(c);
  }
  return out;
}

int CodePageOfLanguage(std::string_view language) {
  for (const LanguageEntry& entry : kLanguages) {
    const std::string_view prefix = entry.prefix;
    if (!language.starts_with(prefix)) continue;
    if (language.size() == prefix.size() || language[prefix.size()] == '_') return entry.codePage;
  }
  return kCodePageFallback;
}

const char* FirstSetLocaleVariable() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

}  // namespace

int AnsiCodePageOfLocale(std::string_view locale) {
  const size_t at = locale.find('@');
  if (at != std::string_view::npos) locale = locale.substr(0, at);
  if (locale.empty() || locale == "C" || locale == "POSIX") return kCodePageFallback;
  const size_t dot = locale.find('.');
  if (dot != std::string_view::npos) {
    const std::string charset = NormalizeCharset(locale.substr(dot + 1));
    for (const CharsetEntry& entry : kCharsets) {
      if (charset == entry.charset) return entry.codePage;
    }
    locale = locale.substr(0, dot);
  }
  return CodePageOfLanguage(locale);
}

int SystemAnsiCodePage() {
  const char* override = std::getenv("TARNCAD_ANSI_CODEPAGE");
  if (override != nullptr && *override != '\0') {
    char* end = nullptr;
    const long number = std::strtol(override, &end, 10);
    if (*end == '\0' && CodePageName(static_cast<int>(number))) return static_cast<int>(number);
    const CodePageLookup lookup = CodePageFromName(override);
    if (!lookup.fellBack) return lookup.codePage;
  }
  return AnsiCodePageOfLocale(FirstSetLocaleVariable());
}

}  // namespace tarn::platform
