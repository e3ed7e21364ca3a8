#include "language_candidates.h"

#include <algorithm>

namespace tarn::uinfo {
namespace {

constexpr std::string_view kFallback = "en";

bool IsSafeLocale(std::string_view locale) {
    return std::all_of(locale.begin(), locale.end(), [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_' ||
               ch == '-';
    });
}

std::string_view ChosenSetting(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value != nullptr && *value != '\0') return value;
    return {};
}

void AddOnce(std::vector<std::string>& list, std::string_view name) {
    if (name.empty()) return;
    if (std::find(list.begin(), list.end(), name) == list.end()) list.emplace_back(name);
}

}  // namespace

std::vector<std::string> LanguageCandidates(const char* lcAll, const char* lcMessages, const char* lang) {
    std::string_view locale = ChosenSetting(lcAll, lcMessages, lang);
    locale = locale.substr(0, locale.find_first_of(".@"));  // drop the code set and modifier
    std::vector<std::string> candidates;
    if (locale != "C" && locale != "POSIX" && IsSafeLocale(locale)) {
        AddOnce(candidates, locale);
        AddOnce(candidates, locale.substr(0, locale.find('_')));
    }
    AddOnce(candidates, kFallback);
    return candidates;
}

std::string ResourceFileName(std::string_view requested) {
    if (requested.empty() || requested.find('/') != std::string_view::npos ||
        requested.find('\\') != std::string_view::npos || requested == "." || requested == "..")
        return {};
    std::string base(requested);
    for (std::string_view extension : {".dll", ".DLL", ".so"}) {
        if (base.size() > extension.size() && base.ends_with(extension)) {
            base.resize(base.size() - extension.size());
            break;
        }
    }
    return base + ".so";
}

}  // namespace tarn::uinfo
