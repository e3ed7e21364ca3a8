// Fuzz target: compiles arbitrary bytes as an expression and evaluates what
// compiles. A crash, a hang, an exception other than a parse error, or a parse
// error pointing outside the text is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/parser_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn::calc;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static double x = 1.5, y = -2.0;
    ParserCompiler parser;
    parser.DefineConstant("pi", 3.14159265359);
    parser.DefineConstant("e", 2.718281828459045);
    parser.DefineVariable("x", &x);
    parser.DefineVariable("y", &y);
    try {
        parser.Compile(text);
    } catch (const ParserException<ParsingErrorData>& error) {
        if (error.ErrorData().position >= size) std::abort();
        return 0;
    }
    volatile double value = parser.EvaluateProgram();
    (void)value;
    return 0;
}
