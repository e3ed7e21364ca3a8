// Texts of the resource module by string id.
#include <tarnsdk/tcplatform.h>

#include "frame/command_environment.h"
#include "frame/module_state.h"

namespace tarn::frame {
namespace {

// The text, or nothing when the id has none.
bool LoadText(uint32_t id, std::string& text) {
    text.clear();
    tcpl_module module = ResourceModule();
    if (module == nullptr) return false;
    const int length = tcplLoadString(module, id, nullptr, 0);
    if (length <= 0) return false;
    text.resize(static_cast<size_t>(length) + 1);
    const int copied = tcplLoadString(module, id, text.data(), text.size());
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return copied > 0;
}

}  // namespace

std::string LoadResString(uint32_t id) {
    std::string text;
    LoadText(id, text);
    return text;
}

std::string LoadResStringWarn(uint32_t id) {
    std::string text;
    if (!LoadText(id, text))
        tcplMessageBox("loadstring error! check string id is right!", "TarnExtend",
                       TCPL_MB_OK | TCPL_MB_ICONWARNING);
    return text;
}

}  // namespace tarn::frame
