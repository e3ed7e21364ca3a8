// Compiling an expression: operators are ordered on an operator stack
// (precedence climbing by the stack rule) and handed in postfix order to the
// program builder.
#include "calc/parser_compiler.h"

#include "program_builder.h"
#include "scanner.h"

namespace tarn::calc {
namespace {

using detail::Token;
using detail::TokenKind;

enum class Pending : std::uint8_t { Operator, Parenthesis, Function };

struct StackEntry {
    Pending kind;
    int arguments;     // separators read in a function call
    std::size_t position;
    std::string_view text;
    const OperatorEntry* op;
};

// Operators already on the stack are emitted before an incoming binary one
// when they bind at least as tightly, so equal precedences associate to the
// left. A unary operator of the same precedence on top stays: the incoming
// operator counts one level higher against it.
bool EmitsBefore(const OperatorEntry& top, const OperatorEntry& incoming) {
    const bool sameUnary = top.unary && top.precedence == incoming.precedence;
    return top.precedence >= incoming.precedence + (sameUnary ? 1 : 0);
}

class Compilation {
public:
    Compilation(std::string_view text, const ParserRegistrar& registrar, Program& program)
        : registrar_(registrar), scanner_(text, registrar), builder_(program) {}

    void Run() {
        for (Token token = Next(); token.kind != TokenKind::End; token = Next()) Take(token);
        Close();
    }

private:
    Token Next() { return scanner_.Next(operandExpected_); }

    void Take(const Token& token) {
        switch (token.kind) {
        case TokenKind::Number: Operand(token); builder_.PushConstant(token.value); break;
        case TokenKind::Name: Name(token); break;
        case TokenKind::BracketedName: Operand(token); Named(token, false); break;
        case TokenKind::Operator: Operator(token); break;
        case TokenKind::Open: Operand(token); Push(Pending::Parenthesis, token); break;
        case TokenKind::Close: CloseParenthesis(token); break;
        case TokenKind::Separator: Separator(token); break;
        case TokenKind::End: break;
        }
        last_ = token;
    }

    [[noreturn]] void Fail(ParsingError error, const Token& token, int line) {
        detail::ThrowParsingError(error, token.position, token.text, line);
    }

    // An operand (or an opening parenthesis) must follow an operator, a "("
    // or a "," or start the expression.
    void Operand(const Token& token) {
        if (!operandExpected_) Fail(ParsingError::MissingOperator, token, __LINE__);
        operandExpected_ = false;
    }

    void Name(const Token& token) {
        Operand(token);
        if (scanner_.NextIsOpen() && registrar_.IsFunction(token.text)) {
            scanner_.Next(true);  // the "("
            Push(Pending::Function, token);
            operandExpected_ = true;
            return;
        }
        Named(token, true);
    }

    void Named(const Token& token, bool mayBeFunction) {
        if (const auto value = registrar_.FindConstant(token.text)) {
            builder_.PushConstant(*value);
        } else if (const auto* variable = registrar_.FindVariable(token.text)) {
            builder_.PushVariable(*variable);
        } else if (mayBeFunction && registrar_.IsFunction(token.text)) {
            Fail(ParsingError::MissingArgumentList, token, __LINE__);
        } else {
            Fail(ParsingError::UnknownName, token, __LINE__);
        }
    }

    void Push(Pending kind, const Token& token) {
        stack_.push({kind, 0, token.position, token.text, token.op});
        operandExpected_ = true;
    }

    // A unary operator waits for its operand; a binary one first emits what
    // binds at least as tightly before it.
    void Operator(const Token& token) {
        if (!operandExpected_) {
            while (!stack_.empty() && stack_.back().kind == Pending::Operator &&
                   EmitsBefore(*stack_.back().op, *token.op))
                EmitTop();
        }
        Push(Pending::Operator, token);
    }

    void EmitTop() {
        const OperatorEntry& op = *stack_.back().op;
        const int count = op.unary ? 1 : 2;
        builder_.Apply(*op.evaluator, op.code, nullptr, count);
        stack_.pop();
    }

    // Emits the operators back to the innermost parenthesis or function call.
    void EmitGroup() {
        while (!stack_.empty() && stack_.back().kind == Pending::Operator) EmitTop();
    }


    void CloseParenthesis(const Token& token) {
        // Only "f()" may close where an operand is expected.
        const bool emptyCall = operandExpected_ && !stack_.empty() &&
                               stack_.back().kind == Pending::Function &&
                               stack_.back().arguments == 0;
        if (operandExpected_ && !emptyCall) Fail(ParsingError::MissingOperand, token, __LINE__);
        EmitGroup();
        if (stack_.empty()) Fail(ParsingError::UnmatchedClosing, token, __LINE__);
        if (stack_.back().kind == Pending::Function) Call(stack_.back(), emptyCall);
        stack_.pop();
        operandExpected_ = false;
    }

    void Call(const StackEntry& call, bool empty) {
        const int count = empty ? 0 : call.arguments + 1;
        const FunctionEntry* function = registrar_.FindFunction(call.text, count);
        if (function == nullptr) {
            detail::ThrowParsingError(ParsingError::WrongArgumentCount, call.position, call.text,
                                      __LINE__);
        }
        builder_.Apply(*function->evaluator, function->code, function->unary, count);
    }

    void Separator(const Token& token) {
        if (operandExpected_) Fail(ParsingError::MissingOperand, token, __LINE__);
        EmitGroup();
        if (stack_.empty() || stack_.back().kind != Pending::Function)
            Fail(ParsingError::MisplacedSeparator, token, __LINE__);
        ++stack_.back().arguments;
        operandExpected_ = true;
    }

    // At the end every operand is present and every parenthesis closed.
    void Close() {
        if (operandExpected_ && last_.kind != TokenKind::End)
            Fail(ParsingError::MissingOperand, last_, __LINE__);
        EmitGroup();
        if (!stack_.empty()) {
            const StackEntry& open = stack_.back();
            detail::ThrowParsingError(ParsingError::UnclosedParenthesis, open.position, open.text,
                                      __LINE__);
        }
        builder_.Finish();
    }

    const ParserRegistrar& registrar_;
    detail::Scanner scanner_;
    detail::ProgramBuilder builder_;
    detail::SmallStack<StackEntry, 32> stack_;
    Token last_{TokenKind::End, 0, {}, 0.0, nullptr};
    bool operandExpected_ = true;
};

}  // namespace

ParserCompiler::ParserCompiler(const MathExpression::IMathVariableFactory& factory)
    : registrar_(factory) {}

void ParserCompiler::DefineConstant(std::string_view name, double value) {
    registrar_.DefineConstant(name, value);
}

void ParserCompiler::DefineVariable(std::string_view name, const double* address) {
    registrar_.DefineVariable(name, address);
}

void ParserCompiler::Compile(std::string_view text) {
    try {
        Compilation(text, registrar_, program_).Run();
    } catch (...) {
        program_ = Program();
        throw;
    }
}

}  // namespace tarn::calc
