// The errors of the expression engine: what is wrong in an expression (and
// where), what conflicts in a definition, and the exception that carries them.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <utility>

namespace tarn::calc {

enum class ParsingError {
    UnexpectedCharacter,   // a character that starts no number, name or operator
    UnknownName,           // neither a constant, a variable nor a function
    MissingOperand,        // an operator or "," with nothing to apply to
    MissingOperator,       // two operands side by side
    UnmatchedClosing,      // ")" without its "("
    UnclosedParenthesis,   // "(" (or a function call) never closed
    MissingArgumentList,   // a function name not followed by "("
    WrongArgumentCount,    // no function of that name takes that many arguments
    MisplacedSeparator,    // "," outside a function's argument list
    UnclosedVariable,      // "[" without its name and "]"
};

// `position` is the 0-based offset in the expression of the offending item,
// `item` its text.
struct ParsingErrorData {
    ParsingError error;
    std::size_t position;
    std::string item;
};

enum class DefinitionError {
    NameInUse,       // a constant, variable or function already has this name
    SymbolInUse,     // an operator of the same symbol and kind is registered
    InvalidName,     // not a name the compiler can read back
    MissingAddress,  // a variable without storage
};

struct DefinitionErrorData {
    DefinitionError error;
    std::string name;
};

std::string DescribeError(const ParsingErrorData& data);
std::string DescribeError(const DefinitionErrorData& data);

// Raised by the compiler ("ParserCompiler") and the registrar
// ("ParserRegistrar"); records the source and line that raised it.
template <class Data>
class ParserException : public std::exception {
public:
    ParserException(Data data, const char* sourceFile, int sourceLine)
        : data_(std::move(data)), sourceFile_(sourceFile), sourceLine_(sourceLine),
          message_(DescribeError(data_)) {}

    const Data& ErrorData() const { return data_; }
    const char* SourceFile() const { return sourceFile_; }
    int SourceLine() const { return sourceLine_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    Data data_;
    const char* sourceFile_;
    int sourceLine_;
    std::string message_;
};

}  // namespace tarn::calc
