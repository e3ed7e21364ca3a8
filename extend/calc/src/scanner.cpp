// Reading the tokens of an expression.
#include "scanner.h"

#include <charconv>
#include <limits>
#include <string>

namespace tarn::calc::detail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Bytes of one character, so an error names a whole UTF-8 sequence.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end - at;
}

// A literal too large for a double is infinite and one too small is 0, as
// the C library reads them.
double ReadDecimal(std::string_view digits) {
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    if (error != std::errc::result_out_of_range) return value;
    const std::size_t point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const bool large = whole.find_first_not_of('0') != std::string_view::npos;
    return large ? std::numeric_limits<double>::infinity() : 0.0;
}

}  // namespace

void ThrowParsingError(ParsingError error, std::size_t position, std::string_view item, int line) {
    throw ParserException<ParsingErrorData>({error, position, std::string(item)}, "ParserCompiler",
                                            line);
}

Scanner::Scanner(std::string_view text, const ParserRegistrar& registrar)
    : text_(text), registrar_(registrar), syntax_(registrar.Syntax()) {}

void Scanner::Fail(ParsingError error, std::size_t position, std::size_t length, int line) const {
    ThrowParsingError(error, position, text_.substr(position, length), line);
}

void Scanner::SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

bool Scanner::NextIsOpen() {
    SkipBlanks();
    return pos_ < text_.size() && text_[pos_] == '(';
}

Token Scanner::Next(bool operandExpected) {
    SkipBlanks();
    const std::size_t start = pos_;
    if (pos_ == text_.size()) return {TokenKind::End, start, {}, 0.0, nullptr};
    const char c = text_[pos_];
    const bool pointThenDigit = c == syntax_.decimalPoint && pos_ + 1 < text_.size() &&
                                IsDigit(text_[pos_ + 1]);
    if (IsDigit(c) || pointThenDigit) return ReadNumber();
    if (IsNameStart(c)) return ReadName();
    if (c == syntax_.variableOpen) return ReadBracketedName();
    TokenKind kind = TokenKind::End;
    if (c == '(') kind = TokenKind::Open;
    if (c == ')') kind = TokenKind::Close;
    if (c == syntax_.argumentSeparator) kind = TokenKind::Separator;
    if (kind == TokenKind::End) return ReadOperator(operandExpected);
    ++pos_;
    return {kind, start, text_.substr(start, 1), 0.0, nullptr};
}

// Digits with at most one decimal point; no exponent, as "e" is a name. The
// registrar's decimal point is always ".", which is what from_chars reads.
Token Scanner::ReadNumber() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == syntax_.decimalPoint) {
        ++pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    }
    const std::string_view literal = text_.substr(start, pos_ - start);
    return {TokenKind::Number, start, literal, ReadDecimal(literal), nullptr};
}

Token Scanner::ReadName() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    return {TokenKind::Name, start, text_.substr(start, pos_ - start), 0.0, nullptr};
}

Token Scanner::ReadBracketedName() {
    const std::size_t start = pos_++;
    SkipBlanks();
    const bool named = pos_ < text_.size() && IsNameStart(text_[pos_]);
    const Token name = named ? ReadName() : Token{};
    SkipBlanks();
    if (!named || pos_ == text_.size() || text_[pos_] != syntax_.variableClose)
        Fail(ParsingError::UnclosedVariable, start, 1, __LINE__);
    ++pos_;
    return {TokenKind::BracketedName, start, name.text, 0.0, nullptr};
}

// An operator of the wrong kind for the place names the missing part: "*2"
// lacks an operand, "2!" lacks an operator.
Token Scanner::ReadOperator(bool operandExpected) {
    const std::size_t start = pos_;
    const std::string_view rest = text_.substr(pos_);
    if (const OperatorEntry* op = registrar_.MatchOperator(rest, operandExpected)) {
        pos_ += op->symbol.size();
        return {TokenKind::Operator, start, op->symbol, 0.0, op};
    }
    if (const OperatorEntry* other = registrar_.MatchOperator(rest, !operandExpected)) {
        const auto error = operandExpected ? ParsingError::MissingOperand : ParsingError::MissingOperator;
        Fail(error, start, other->symbol.size(), __LINE__);
    }
    Fail(ParsingError::UnexpectedCharacter, start, CharacterLength(text_, start), __LINE__);
}

}  // namespace tarn::calc::detail
