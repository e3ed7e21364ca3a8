// Splits an expression into tokens: numbers, names, [variables], operators,
// parentheses and argument separators.
#pragma once

#include <cstddef>
#include <string_view>

#include "calc/parser_exception.h"
#include "calc/parser_registrar.h"

namespace tarn::calc::detail {

enum class TokenKind { End, Number, Name, BracketedName, Operator, Open, Close, Separator };

struct Token {
    TokenKind kind;
    std::size_t position;
    std::string_view text;  // the name inside brackets for BracketedName
    double value;
    const OperatorEntry* op;
};

class Scanner {
public:
    Scanner(std::string_view text, const ParserRegistrar& registrar);

    // Where an operand is expected an operator symbol reads as a unary
    // operator, elsewhere as a binary one.
    Token Next(bool operandExpected);
    // True when the next character after blanks is "(".
    bool NextIsOpen();

private:
    void SkipBlanks();
    Token ReadNumber();
    Token ReadName();
    Token ReadBracketedName();
    Token ReadOperator(bool operandExpected);
    [[noreturn]] void Fail(ParsingError error, std::size_t position, std::size_t length,
                           int line) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    const ParserRegistrar& registrar_;
    const SyntaxCharacters& syntax_;
};

[[noreturn]] void ThrowParsingError(ParsingError error, std::size_t position,
                                    std::string_view item, int line);

}  // namespace tarn::calc::detail
