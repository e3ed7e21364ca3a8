// Fuzz target: compiles arbitrary bytes as an expression and evaluates what
// compiles. A crash, a hang, an exception other than a parse error, a parse
// error pointing outside the text, or a program whose value differs from the
// same expression folded while compiling is a finding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/cal_core.h"
#include "calc/parser_compiler.h"

namespace {

using namespace tarn::calc;

constexpr double kX = 1.5, kY = -2.0;

bool SameValue(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b;
}

// The program with x and y read at evaluation time must give what the one
// with x and y folded in gives (rand draws anew, so it is left out).
void CompareWithFolded(std::string_view text, double value) {
    if (text.find("rand") != std::string_view::npos) return;
    ParserCompiler folded;
    folded.DefineConstant("pi", kCalPi);
    folded.DefineConstant("e", kCalE);
    folded.DefineConstant("x", kX);
    folded.DefineConstant("y", kY);
    folded.Compile(text);
    if (!SameValue(folded.EvaluateProgram(), value)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static double x = kX, y = kY;
    ParserCompiler parser;
    parser.DefineConstant("pi", kCalPi);
    parser.DefineConstant("e", kCalE);
    parser.DefineVariable("x", &x);
    parser.DefineVariable("y", &y);
    try {
        parser.Compile(text);
    } catch (const ParserException<ParsingErrorData>& error) {
        if (error.ErrorData().position >= size) std::abort();
        return 0;
    }
    CompareWithFolded(text, parser.EvaluateProgram());
    // CAL's own path: lowered text, fresh parser, integer or real.
    try {
        ClassifyCalResult(EvaluateCalExpression(text));
    } catch (const ParserException<ParsingErrorData>&) {
    }
    return 0;
}
