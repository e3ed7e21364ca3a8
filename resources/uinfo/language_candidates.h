// The language folders to try for the user's language, best first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarn::uinfo {

// From the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty:
// "de_DE.UTF-8@euro" gives de_DE, de, then en; "C", "POSIX", nothing, or a
// value with characters other than letters, digits, "_" and "-" gives en.
std::vector<std::string> LanguageCandidates(const char* lcAll, const char* lcMessages, const char* lang);

// "TarnExtendRes.dll" -> "TarnExtendRes.so"; empty for a name that holds a
// folder or is empty, so that no file outside the language folders is read.
std::string ResourceFileName(std::string_view requested);

}  // namespace tarn::uinfo
