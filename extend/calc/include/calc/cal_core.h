// The rules of the CAL calculator, apart from the host: what a call does with
// its argument, what it asks, prints and returns. CalFunction runs them
// against the SDK; tests run them against a recording host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tarnsdk/tctypes.h"

namespace tarn::calc {

// String ids of CAL's texts in the resource module.
inline constexpr std::uint32_t kCalPromptId = 3505;  // the expression prompt
inline constexpr std::uint32_t kCalHelpId = 3506;    // the help on the text screen
inline constexpr std::uint32_t kCalErrorId = 3507;   // a typed expression is invalid

// The constants every CAL evaluation knows. "pi" is the eleven-place value
// users of the calculator get, not the full double precision of pi.
inline constexpr double kCalPi = 3.14159265359;
inline constexpr double kCalE = 2.718281828459045;

// The longest expression CAL reads at its prompt, in bytes.
inline constexpr std::size_t kCalInputSize = 4096;

// Everything CAL needs of its host.
class CalHost {
public:
    virtual ~CalHost() = default;
    virtual std::string LoadText(std::uint32_t id) = 0;
    // Asks for a text that may contain spaces; a status code (RTNORM on a reply).
    virtual int GetString(const std::string& prompt, std::string& reply) = 0;
    virtual void Print(const std::string& text) = 0;
    virtual void TextScreen() = 0;
    // The value returned to LISP (one buffer, not a chain).
    virtual void ReturnValue(const resbuf& value) = 0;
    virtual void ReturnInt(int value) = 0;
    virtual void ReturnReal(double value) = 0;
    virtual void ReturnNil() = 0;
    virtual void ReturnVoid() = 0;
};

// A result as CAL hands it back: an integer when it is within 1e-10 of its
// value truncated toward zero and that value fits 32 bits, a real otherwise.
struct CalResult {
    bool isInteger;
    std::int32_t integer;
    double real;
};
CalResult ClassifyCalResult(double value);

// Lowers ASCII letters, compiles the expression in
// a fresh parser that knows "pi" and "e", and evaluates it once. Throws the
// parser's exceptions on a bad expression.
double EvaluateCalExpression(std::string_view expression);

// One CAL call with its LISP argument list (null for none). Returns RTNORM.
int RunCal(const resbuf* args, CalHost& host);

}  // namespace tarn::calc
