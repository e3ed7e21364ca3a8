// Registration and look-up of operators, functions, constants and variables.
#include "calc/parser_registrar.h"

#include <algorithm>
#include <array>

#include "calc/builtin_functions.h"
#include "calc/builtin_operators.h"
#include "calc/parser_exception.h"

namespace tarn::calc {
namespace {

constexpr const char* kSource = "ParserRegistrar";

[[noreturn]] void Fail(DefinitionError error, std::string_view name, int line) {
    throw ParserException<DefinitionErrorData>({error, std::string(name)}, kSource, line);
}

std::span<const OperatorEntry> BuiltinOperatorEntries() {
    static const auto entries = [] {
        std::array<OperatorEntry, 16> table{};
        auto builtins = BuiltinOperators();
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = {builtins[i], builtins[i]->Traits().code, builtins[i]->Symbol(),
                        builtins[i]->IsUnary(), builtins[i]->Precedence()};
        return table;
    }();
    return entries;
}

std::span<const FunctionEntry> BuiltinFunctionEntries() {
    static const auto entries = [] {
        std::array<FunctionEntry, 26> table{};
        auto builtins = BuiltinFunctions();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const FunctionTraits& traits = builtins[i]->Traits();
            table[i] = {builtins[i], traits.code, traits.unary, traits.symbol,
                        traits.argumentCount};
        }
        return table;
    }();
    return entries;
}

// Names and symbols are a few characters long: comparing them in line is far
// cheaper than a library call per candidate.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

template <class Entry, class Visit>
const Entry* FindIn(std::span<const Entry> builtins, const std::vector<Entry>& added, Visit match) {
    for (const Entry& entry : builtins)
        if (match(entry)) return &entry;
    for (const Entry& entry : added)
        if (match(entry)) return &entry;
    return nullptr;
}

}  // namespace

ParserRegistrar::ParserRegistrar(const MathExpression::IMathVariableFactory& factory)
    : factory_(&factory),
      builtinOperators_(BuiltinOperatorEntries()),
      builtinFunctions_(BuiltinFunctionEntries()) {}

bool ParserRegistrar::IsValidName(std::string_view name) {
    return !name.empty() && IsNameStart(name.front()) &&
           std::all_of(name.begin(), name.end(), IsNameChar);
}

// Operator symbols are punctuation that cannot be read as the start of a
// number, a name or one of the syntax characters.
bool ParserRegistrar::IsValidSymbol(std::string_view symbol) const {
    const std::string_view reserved{"()_"};
    const std::array<char, 4> syntax{syntax_.decimalPoint, syntax_.argumentSeparator,
                                     syntax_.variableOpen, syntax_.variableClose};
    return !symbol.empty() && std::all_of(symbol.begin(), symbol.end(), [&](char c) {
        return c > ' ' && c < 127 && !IsNameChar(c) && reserved.find(c) == reserved.npos &&
               std::find(syntax.begin(), syntax.end(), c) == syntax.end();
    });
}

bool ParserRegistrar::IsNameInUse(std::string_view name) const {
    return IsFunction(name) || FindConstant(name) || FindVariable(name) != nullptr;
}

void ParserRegistrar::RegisterOperator(const IMathOperator& op) {
    if (!IsValidSymbol(op.Symbol())) Fail(DefinitionError::InvalidName, op.Symbol(), __LINE__);
    const bool clash = FindIn(builtinOperators_, operators_, [&](const OperatorEntry& e) {
        return SameText(e.symbol, op.Symbol()) && e.unary == op.IsUnary();
    });
    if (clash) Fail(DefinitionError::SymbolInUse, op.Symbol(), __LINE__);
    operators_.push_back({&op, BuiltinCode::None, op.Symbol(), op.IsUnary(), op.Precedence()});
}

void ParserRegistrar::RegisterFunction(const IMathFunction& function) {
    const std::string_view symbol = function.Symbol();
    const int count = function.ArgumentCount();
    if (!IsValidName(symbol) || count < IMathFunction::kAnyArgumentCount)
        Fail(DefinitionError::InvalidName, symbol, __LINE__);
    if (FindConstant(symbol) || FindVariable(symbol))
        Fail(DefinitionError::NameInUse, symbol, __LINE__);
    const bool clash = FindIn(builtinFunctions_, functions_, [&](const FunctionEntry& e) {
        return SameText(e.symbol, symbol) && e.argumentCount == count;
    });
    if (clash) Fail(DefinitionError::NameInUse, symbol, __LINE__);
    functions_.push_back({&function, BuiltinCode::None, nullptr, symbol, count});
}

void ParserRegistrar::DefineConstant(std::string_view name, double value) {
    if (!IsValidName(name)) Fail(DefinitionError::InvalidName, name, __LINE__);
    if (IsNameInUse(name)) Fail(DefinitionError::NameInUse, name, __LINE__);
    constants_.push_back({std::string(name), value});
}

void ParserRegistrar::DefineVariable(std::string_view name, const double* address) {
    if (!IsValidName(name)) Fail(DefinitionError::InvalidName, name, __LINE__);
    if (IsNameInUse(name)) Fail(DefinitionError::NameInUse, name, __LINE__);
    if (address == nullptr) Fail(DefinitionError::MissingAddress, name, __LINE__);
    variables_.push_back({std::string(name), factory_->MakeVariable(name, address)});
}

const OperatorEntry* ParserRegistrar::MatchOperator(std::string_view text, bool unary) const {
    const OperatorEntry* best = nullptr;
    if (text.empty()) return best;
    auto consider = [&](const OperatorEntry& entry) {
        if (entry.symbol[0] != text[0] || entry.unary != unary || !StartsWith(text, entry.symbol))
            return;
        if (best == nullptr || entry.symbol.size() > best->symbol.size()) best = &entry;
    };
    for (const OperatorEntry& entry : builtinOperators_) consider(entry);
    for (const OperatorEntry& entry : operators_) consider(entry);
    return best;
}

const FunctionEntry* ParserRegistrar::FindFunction(std::string_view symbol, int count) const {
    auto takes = [&](int wanted) {
        return FindIn(builtinFunctions_, functions_, [&](const FunctionEntry& e) {
            return e.argumentCount == wanted && SameText(e.symbol, symbol);
        });
    };
    if (const FunctionEntry* exact = takes(count)) return exact;
    return count > 0 ? takes(IMathFunction::kAnyArgumentCount) : nullptr;
}

bool ParserRegistrar::IsFunction(std::string_view symbol) const {
    return FindIn(builtinFunctions_, functions_, [&](const FunctionEntry& e) {
        return SameText(e.symbol, symbol);
    }) != nullptr;
}

std::optional<double> ParserRegistrar::FindConstant(std::string_view name) const {
    for (const NamedConstant& constant : constants_)
        if (SameText(constant.name, name)) return constant.value;
    return std::nullopt;
}

const MathExpression::IMathVariable* ParserRegistrar::FindVariable(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const NamedVariable& named : variables_)
        if (named.name[0] == name[0] && SameText(named.name, name)) return named.variable.get();
    return nullptr;
}

std::vector<const IMathOperator*> ParserRegistrar::Operators() const {
    std::vector<const IMathOperator*> all;
    for (const OperatorEntry& entry : builtinOperators_) all.push_back(entry.evaluator);
    for (const OperatorEntry& entry : operators_) all.push_back(entry.evaluator);
    return all;
}

std::vector<const IMathFunction*> ParserRegistrar::Functions() const {
    std::vector<const IMathFunction*> all;
    for (const FunctionEntry& entry : builtinFunctions_) all.push_back(entry.evaluator);
    for (const FunctionEntry& entry : functions_) all.push_back(entry.evaluator);
    return all;
}

}  // namespace tarn::calc
