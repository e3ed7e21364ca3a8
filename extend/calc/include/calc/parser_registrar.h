// The registry of one parser: its operators and functions (the built-in ones
// first, in table order), its named constants and its variables.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/builtin_code.h"
#include "calc/item_evaluator.h"
#include "calc/variables.h"

namespace tarn::calc {

struct SyntaxCharacters {
    char decimalPoint = '.';
    char argumentSeparator = ',';
    char variableOpen = '[';   // a variable may be written [name]; the
    char variableClose = ']';  // brackets are optional
};

// The entries keep the evaluator's symbol and kind, so that looking up a
// symbol while compiling makes no virtual call.
struct OperatorEntry {
    const IMathOperator* evaluator;
    BuiltinCode code;
    std::string_view symbol;
    bool unary;
    int precedence;
};

struct FunctionEntry {
    const IMathFunction* evaluator;
    BuiltinCode code;
    UnaryFunction unary;
    std::string_view symbol;
    int argumentCount;
};

// Registration raises ParserException<DefinitionErrorData> on a conflict. The
// built-in items are shared static instances, so a fresh registrar allocates
// nothing until something is defined.
class ParserRegistrar {
public:
    explicit ParserRegistrar(const MathExpression::IMathVariableFactory& factory =
                                 MathExpression::MemVariableFactory::Instance());

    // The caller keeps the operator or function alive as long as the registrar.
    void RegisterOperator(const IMathOperator& op);
    void RegisterFunction(const IMathFunction& function);
    void DefineConstant(std::string_view name, double value);
    void DefineVariable(std::string_view name, const double* address);

    // The operator (unary or binary) whose symbol is the longest prefix of text.
    const OperatorEntry* MatchOperator(std::string_view text, bool unary) const;
    // A function of the symbol taking exactly `count` arguments, else one that
    // takes any positive number of them.
    const FunctionEntry* FindFunction(std::string_view symbol, int count) const;
    bool IsFunction(std::string_view symbol) const;
    std::optional<double> FindConstant(std::string_view name) const;
    const MathExpression::IMathVariable* FindVariable(std::string_view name) const;

    std::vector<const IMathOperator*> Operators() const;
    std::vector<const IMathFunction*> Functions() const;
    const SyntaxCharacters& Syntax() const { return syntax_; }

    static bool IsValidName(std::string_view name);

private:
    struct NamedConstant {
        std::string name;
        double value;
    };

    bool IsNameInUse(std::string_view name) const;
    bool IsValidSymbol(std::string_view symbol) const;

    const MathExpression::IMathVariableFactory* factory_;
    SyntaxCharacters syntax_;
    std::span<const OperatorEntry> builtinOperators_;
    std::span<const FunctionEntry> builtinFunctions_;
    std::vector<OperatorEntry> operators_;
    std::vector<FunctionEntry> functions_;
    struct NamedVariable {
        std::string name;
        std::unique_ptr<MathExpression::IMathVariable> variable;
    };

    std::vector<NamedConstant> constants_;
    std::vector<NamedVariable> variables_;
};

}  // namespace tarn::calc
