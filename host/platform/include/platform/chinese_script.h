// Mapping Chinese text between simplified and traditional characters, and
// re-encoding byte strings between code pages 936 (simplified) and 950
// (traditional) with the mapping in between.
#ifndef TARN_PLATFORM_CHINESE_SCRIPT_H
#define TARN_PLATFORM_CHINESE_SCRIPT_H

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/status.h"

namespace tarn::platform {

enum class ChineseScript { kSimplified, kTraditional };

// The conversion table file ("s2t.json", "t2s.json") in the first folder that
// has it: TARNCAD_OPENCC_DIR, /usr/share/opencc, /usr/local/share/opencc.
std::optional<std::filesystem::path> FindScriptTable(std::string_view fileName);

// Maps UTF-8 text to the target script; characters without another form
// (Latin letters, digits, most punctuation) stay. kInvalidParameter for text
// that is not valid UTF-8, kFileNotFound when the tables are missing.
Result<std::string> MapChineseScript(std::string_view utf8, ChineseScript target);

// Decodes bytes of one of the code pages 936 and 950, maps the text to the
// script of the other and encodes it there; characters the target cannot
// represent become '?' and are reported. The same code page on both sides
// maps to that code page's own script.
EncodeResult ConvertChineseCodePage(std::string_view bytes, int fromCodePage, int toCodePage);

}  // namespace tarn::platform

#endif
