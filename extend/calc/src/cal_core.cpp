// The CAL calculator's rules: argument types, the prompt, the help text, the
// integer-or-real result and the two ways of reporting a bad expression.
#include "calc/cal_core.h"

#include <cmath>
#include <limits>
#include <optional>

#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

constexpr double kIntegerTolerance = 1e-10;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Only ASCII letters change, so UTF-8 sequences pass through untouched and an
// error still names the character the user typed.
std::string Lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

void ReturnResult(double value, CalHost& host) {
    const CalResult result = ClassifyCalResult(value);
    if (!result.isInteger) {
        host.ReturnReal(result.real);
        return;
    }
    resbuf integer{};
    integer.restype = RTLONG;
    integer.resval.rlong = result.integer;
    host.ReturnValue(integer);
}

void ShowHelp(CalHost& host) {
    host.TextScreen();
    host.Print(host.LoadText(kCalHelpId));
    host.ReturnVoid();
}

// Evaluates the expression and returns its value. A bad expression gives nil
// when it came from LISP; typed, it gives the message and, on the next line,
// what is wrong and at which column, so the user can mend it.
void Calculate(std::string_view expression, bool typed, CalHost& host) {
    const std::string_view trimmed = Trimmed(expression);
    if (trimmed.empty() || trimmed == "?") {
        ShowHelp(host);
        return;
    }
    std::optional<double> value;
    std::string problem;
    try {
        value = EvaluateCalExpression(expression);
    } catch (const ParserException<ParsingErrorData>& error) {
        problem = error.what();
    } catch (const ParserException<DefinitionErrorData>& error) {
        problem = error.what();
    }
    if (value) {
        ReturnResult(*value, host);
    } else if (typed) {
        host.Print(host.LoadText(kCalErrorId));
        host.Print("\n" + problem);
        host.ReturnVoid();
    } else {
        host.ReturnNil();
    }
}

void AskAndCalculate(CalHost& host) {
    std::string reply = "?";
    if (host.GetString(host.LoadText(kCalPromptId), reply) != RTNORM) {
        host.ReturnVoid();
        return;
    }
    Calculate(reply, true, host);
}

}  // namespace

// A value outside the 32-bit range, infinite or not a number stays a real:
// truncating it to an integer would give a wrong number.
CalResult ClassifyCalResult(double value) {
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    const double truncated = std::trunc(value);
    if (!(truncated >= kLowest && truncated <= kHighest)) return {false, 0, value};
    if (std::fabs(value - truncated) > kIntegerTolerance) return {false, 0, value};
    return {true, static_cast<std::int32_t>(truncated), value};
}

double EvaluateCalExpression(std::string_view expression) {
    ParserCompiler parser;
    parser.DefineConstant("pi", kCalPi);
    parser.DefineConstant("e", kCalE);
    // Blanks around the expression are skipped by the compiler, and keeping
    // them keeps the columns of an error those of the text the user typed.
    parser.Compile(Lowered(expression));
    return parser.EvaluateProgram();
}

int RunCal(const resbuf* args, CalHost& host) {
    if (args == nullptr) {
        AskAndCalculate(host);
        return RTNORM;
    }
    switch (args->restype) {
    case RTREAL: host.ReturnValue(*args); break;
    case RTSHORT: host.ReturnInt(args->resval.rint); break;
    case RTLONG: host.ReturnInt(args->resval.rlong); break;
    case RTSTR: {
        const char* text = args->resval.rstring != nullptr ? args->resval.rstring : "";
        Calculate(text, false, host);
        break;
    }
    default: host.ReturnNil(); break;
    }
    return RTNORM;
}

}  // namespace tarn::calc
