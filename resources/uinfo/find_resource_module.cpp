// TarnUinfo's one export: the resource module of a given name in the user's
// language, looked for in the language folders beside this module's file
// (<folder>/<language>/<name>.so).
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

#include <tarnsdk/tcplatform.h>

#include "language_candidates.h"

namespace {

std::string OwnFolder() {
    tcpl_module self = tcplModuleOfAddress(reinterpret_cast<const void*>(&OwnFolder));
    if (self == nullptr) return {};
    char path[4096];
    const size_t length = tcplModuleFileName(self, path, sizeof path);
    if (length == 0 || length >= sizeof path) return {};
    std::string file(path, length);
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) tcpl_module tcpl_ordinal_14(const char* resourceFileName) {
    const std::string file = tarn::uinfo::ResourceFileName(resourceFileName ? resourceFileName : "");
    const std::string folder = OwnFolder();
    if (file.empty() || folder.empty()) return nullptr;
    for (const std::string& language : tarn::uinfo::LanguageCandidates(
             std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))) {
        const std::string path = folder + "/" + language + "/" + file;
        if (!tcplFileExists(path.c_str())) continue;
        if (tcpl_module module = tcplLoadModule(path.c_str())) return module;
    }
    return nullptr;
}

// The export's name is fixed by the platform layer; keep them in step.
static_assert(std::string_view(TCPL_UINFO_FIND_RESOURCE) == "tcpl_ordinal_14");
static_assert(std::is_same_v<decltype(&tcpl_ordinal_14), tcplFindResourceModuleFn>);
