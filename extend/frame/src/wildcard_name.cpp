// Escaping names for the host's wildcard patterns. The characters are the
// host's pattern characters, the "," that separates alternatives included.
#include "frame/wildcard_name.h"

namespace tarn::frame {
namespace {

constexpr std::string_view kPatternCharacters = "#@.*?~[]`,";

}  // namespace

std::string EscapeWildcardName(std::string_view name) {
    std::string escaped;
    escaped.reserve(name.size() + 4);
    for (const char ch : name) {
        if (kPatternCharacters.find(ch) != std::string_view::npos) escaped += '`';
        escaped += ch;
    }
    return escaped;
}

}  // namespace tarn::frame
