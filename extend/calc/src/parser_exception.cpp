// The messages of the engine's errors.
#include "calc/parser_exception.h"

#include <array>
#include <string_view>

namespace tarn::calc {
namespace {

constexpr std::array<std::string_view, 10> kParsingTexts = {
    "Unexpected character",
    "Unknown name",
    "Missing operand near",
    "Missing operator before",
    "Closing parenthesis without opening one",
    "Parenthesis not closed",
    "Missing argument list after function",
    "Wrong number of arguments for function",
    "Argument separator outside a function call",
    "Variable not closed by ]",
};

constexpr std::array<std::string_view, 4> kDefinitionTexts = {
    "Name already defined",
    "Operator already defined",
    "Not a valid name",
    "Variable without storage",
};

}  // namespace

std::string DescribeError(const ParsingErrorData& data) {
    std::string text(kParsingTexts[static_cast<std::size_t>(data.error)]);
    text += " \"" + data.item + "\" at column " + std::to_string(data.position + 1);
    return text;
}

std::string DescribeError(const DefinitionErrorData& data) {
    std::string text(kDefinitionTexts[static_cast<std::size_t>(data.error)]);
    return text + ": \"" + data.name + "\"";
}

}  // namespace tarn::calc
