// The compiled program against a tree-walking evaluation written here: random
// expressions (seeded, so every run sees the same ones) are read by a
// recursive-descent parser of the precedence rules and evaluated node by
// node, with their variables both read at evaluation time and folded in as
// constants.
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/parser_compiler.h"

namespace tarn::calc {
namespace {

const char* const kVariables[] = {"a", "b", "c", "d"};

// ---- the reference: grammar and tree ----
//   level0 := level1 { (> < >= <= != == & |) level1 }
//   level1 := level2 { (+ -) level2 }
//   level2 := prefix2 { (* / %) prefix2 }
//   prefix2 := "!" level2 | level3          ("!" takes the rest of the product)
//   level3 := unary { "^" unary }
//   unary  := "-" unary | "!" level2 | primary
//   primary := number | name | "[" name "]" | "(" level0 ")" | name "(" args ")"

struct Node {
    std::string op;  // operator symbol or function name; empty for a leaf
    double value = 0.0;
    int variable = -1;
    std::vector<std::unique_ptr<Node>> children;
};
using NodePtr = std::unique_ptr<Node>;

class ReferenceParser {
public:
    explicit ReferenceParser(const std::string& text) : text_(text) {}

    NodePtr Parse() {
        NodePtr root = Level0();
        Blanks();
        if (pos_ != text_.size()) throw std::runtime_error("trailing text in " + text_);
        return root;
    }

private:
    void Blanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }
    bool Take(const std::string& symbol) {
        Blanks();
        if (text_.compare(pos_, symbol.size(), symbol) != 0) return false;
        pos_ += symbol.size();
        return true;
    }
    // A binary symbol from the list; "!" must not be read as the start of "!=".
    std::string TakeAny(std::initializer_list<const char*> symbols) {
        for (const char* symbol : symbols)
            if (Take(symbol)) return symbol;
        return {};
    }
    static NodePtr Make(std::string op, NodePtr left, NodePtr right = nullptr) {
        auto node = std::make_unique<Node>();
        node->op = std::move(op);
        node->children.push_back(std::move(left));
        if (right) node->children.push_back(std::move(right));
        return node;
    }
    NodePtr Level0() {
        NodePtr left = Level1();
        for (std::string op; !(op = TakeAny({">=", "<=", "!=", "==", ">", "<", "&", "|"})).empty();)
            left = Make(op, std::move(left), Level1());
        return left;
    }
    NodePtr Level1() {
        NodePtr left = Level2();
        for (std::string op; !(op = TakeAny({"+", "-"})).empty();)
            left = Make(op, std::move(left), Level2());
        return left;
    }
    NodePtr Level2() {
        NodePtr left = Prefix2();
        for (std::string op; !(op = TakeAny({"*", "/", "%"})).empty();)
            left = Make(op, std::move(left), Prefix2());
        return left;
    }
    NodePtr Prefix2() { return Not() ? Make("!", Level2()) : Level3(); }
    bool Not() {
        Blanks();
        return text_.compare(pos_, 2, "!=") != 0 && Take("!");
    }
    NodePtr Level3() {
        NodePtr left = Unary();
        while (Take("^")) left = Make("^", std::move(left), Unary());
        return left;
    }
    NodePtr Unary() {
        if (Take("-")) return Make("neg", Unary());
        if (Not()) return Make("!", Level2());
        return Primary();
    }
    NodePtr Primary() {
        Blanks();
        auto node = std::make_unique<Node>();
        if (Take("(")) {
            node = Level0();
            Expect(")");
        } else if (Take("[")) {
            node->variable = VariableIndex(Name());
            Expect("]");
        } else if (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.') {
            std::size_t used = 0;
            node->value = std::stod(text_.substr(pos_), &used);
            pos_ += used;
        } else {
            const std::string name = Name();
            if (!Take("(")) {
                node->variable = VariableIndex(name);
                return node;
            }
            node->op = name;
            do node->children.push_back(Level0());
            while (Take(","));
            Expect(")");
        }
        return node;
    }
    std::string Name() {
        Blanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        return text_.substr(start, pos_ - start);
    }
    static int VariableIndex(const std::string& name) {
        for (int i = 0; i < 4; ++i)
            if (name == kVariables[i]) return i;
        throw std::runtime_error("unknown name " + name);
    }
    void Expect(const char* symbol) {
        if (!Take(symbol)) throw std::runtime_error(std::string("expected ") + symbol);
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

double Truth(bool b) { return b ? 1.0 : 0.0; }

double Evaluate(const Node& node, const double* variables);

std::vector<double> Arguments(const Node& node, const double* variables) {
    std::vector<double> values;
    for (const auto& child : node.children) values.push_back(Evaluate(*child, variables));
    return values;
}

double Function(const std::string& name, const std::vector<double>& v) {
    const double x = v[0];
    if (name == "sin") return std::sin(x);
    if (name == "cos") return std::cos(x);
    if (name == "tan") return std::tan(x);
    if (name == "asin") return std::asin(x);
    if (name == "acos") return std::acos(x);
    if (name == "atan") return std::atan(x);
    if (name == "sinh") return std::sinh(x);
    if (name == "cosh") return std::cosh(x);
    if (name == "tanh") return std::tanh(x);
    if (name == "sqrt") return std::sqrt(x);
    if (name == "abs") return std::fabs(x);
    if (name == "ceil") return std::ceil(x);
    if (name == "floor") return std::floor(x);
    if (name == "ln") return std::log(x);
    if (name == "log") return std::log10(x);
    if (name == "fact") {
        if (!(x >= 0)) return NAN;
        double product = 1.0;
        for (int i = 2; i <= static_cast<int>(std::min(x, 200.0)); ++i) product *= i;
        return product;
    }
    double result = name == "sum" || name == "avg" ? 0.0 : x;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (name == "sum" || name == "avg") result += v[i];
        if (name == "min" && v[i] <= result) result = v[i];
        if (name == "max" && v[i] >= result) result = v[i];
    }
    return name == "avg" ? result / static_cast<double>(v.size()) : result;
}

double Binary(const std::string& op, double x, double y) {
    if (op == "+") return x + y;
    if (op == "-") return x - y;
    if (op == "*") return x * y;
    if (op == "/") return x / y;
    if (op == "%") return std::fmod(x, y);
    if (op == "^") return std::pow(x, y);
    if (op == ">") return Truth(x > y);
    if (op == "<") return Truth(x < y);
    if (op == ">=") return Truth(x >= y);
    if (op == "<=") return Truth(x <= y);
    if (op == "!=") return Truth(x != y);
    if (op == "==") return Truth(x == y);
    if (op == "&") return Truth(x != 0 && y != 0);
    return Truth(x != 0 || y != 0);
}

double Evaluate(const Node& node, const double* variables) {
    if (node.variable >= 0) return variables[node.variable];
    if (node.op.empty()) return node.value;
    const std::vector<double> v = Arguments(node, variables);
    if (node.op == "neg") return -v[0];
    if (node.op == "!") return Truth(v[0] == 0);
    if (v.size() == 2 && !std::isalpha(static_cast<unsigned char>(node.op[0])))
        return Binary(node.op, v[0], v[1]);
    return Function(node.op, v);
}

// ---- random expressions from the grammar ----

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    // About `size` operands, nested up to four levels deep.
    std::string Expression(int size = 24) {
        budget_ = size;
        return Level(0, 4);
    }

private:
    std::size_t Pick(std::size_t n) { return random_() % n; }
    bool Chance(int percent) { return Pick(100) < static_cast<std::size_t>(percent); }
    std::string Space() { return Chance(20) ? " " : ""; }

    template <std::size_t N>
    std::string PickOf(const char* const (&options)[N]) { return options[Pick(N)]; }

    // Operators of the level joining operands of the next level; level 4 is a
    // unary chain.
    std::string Level(int level, int depth) {
        if (level == 4) return Unary(depth);
        static const char* const ops[4][8] = {{">", "<", ">=", "<=", "!=", "==", "&", "|"},
                                              {"+", "-"}, {"*", "/", "%"}, {"^"}};
        static const std::size_t counts[4] = {8, 2, 3, 1};
        std::string text = Level(level + 1, depth);
        const int more = budget_ > 0 && Chance(level == 0 ? 25 : 45) ? 1 + static_cast<int>(Pick(3)) : 0;
        for (int i = 0; i < more; ++i)
            text += Space() + ops[level][Pick(counts[level])] + Space() + Level(level + 1, depth);
        return text;
    }

    std::string Unary(int depth) {
        const std::size_t roll = Pick(100);
        if (roll < 12) return "-" + Unary(depth);
        if (roll < 18) return "!" + Level(2, depth - 1 < 0 ? 0 : depth - 1);
        return Primary(depth);
    }

    std::string Primary(int depth) {
        --budget_;
        const std::size_t roll = depth <= 0 || budget_ <= 0 ? Pick(50) : Pick(100);
        if (roll < 25) return Number();
        if (roll < 45) return kVariables[Pick(4)];
        if (roll < 50) return std::string("[") + kVariables[Pick(4)] + "]";
        if (roll < 75) return "(" + Level(0, depth - 1) + ")";
        return Call(depth - 1);
    }

    std::string Number() {
        static const char* const numbers[] = {"0", "1", "2", "3", "10", "0.5", ".25", "2.", "1.5",
                                              "100", "7", "0.001"};
        return PickOf(numbers);
    }

    std::string Call(int depth) {
        static const char* const one[] = {"sin", "cos", "tan", "asin", "acos", "atan", "sinh",
                                          "cosh", "tanh", "sqrt", "abs", "ceil", "floor", "ln",
                                          "log", "fact"};
        static const char* const many[] = {"min", "max", "sum", "avg"};
        const bool variadic = Chance(35);
        const std::string name = variadic ? PickOf(many) : PickOf(one);
        const std::size_t count = variadic ? 1 + Pick(5) : 1;
        std::string text = name + "(";
        for (std::size_t i = 0; i < count; ++i)
            text += (i ? "," + Space() : "") + Level(0, depth);
        return text + ")";
    }

    std::mt19937 random_;
    int budget_ = 0;
};

bool SameValue(double expected, double actual) {
    if (std::isnan(expected) || std::isnan(actual)) return std::isnan(expected) && std::isnan(actual);
    return expected == actual;
}

const double kValueSets[][4] = {
    {0.0, 1.0, -1.0, 2.0}, {0.5, -2.5, 3.0, 10.0}, {1e-3, 100.0, -0.25, 7.0}, {-3.0, 0.0, 0.0, -0.5}};

TEST(CompiledAgainstTreeWalk, RandomExpressionsOverRandomValues) {
    Generator generator(20240611);
    int folded = 0;
    for (int n = 0; n < 4000; ++n) {
        const std::string text = generator.Expression();
        const NodePtr tree = ReferenceParser(text).Parse();
        double variables[4] = {};
        ParserCompiler compiled;
        for (int i = 0; i < 4; ++i) compiled.DefineVariable(kVariables[i], &variables[i]);
        compiled.Compile(text);
        for (const auto& values : kValueSets) {
            std::copy(std::begin(values), std::end(values), variables);
            const double expected = Evaluate(*tree, variables);
            ASSERT_TRUE(SameValue(expected, compiled.EvaluateProgram()))
                << text << " gave " << compiled.EvaluateProgram() << ", expected " << expected;
            ParserCompiler constant;
            for (int i = 0; i < 4; ++i) constant.DefineConstant(kVariables[i], values[i]);
            constant.Compile(text);
            ASSERT_TRUE(constant.CompiledProgram().IsConstant()) << text;
            ASSERT_TRUE(SameValue(expected, constant.EvaluateProgram()))
                << text << " folded to " << constant.EvaluateProgram() << ", expected " << expected;
        }
        folded += compiled.CompiledProgram().ItemCount() == 0;
    }
    EXPECT_LT(folded, 4000) << "the expressions use their variables";
}

// One parser compiling many expressions in turn reuses its storage; every
// program must still be the one just compiled.
TEST(CompiledAgainstTreeWalk, OneParserForManyExpressions) {
    Generator generator(7);
    double variables[4] = {0.5, -2.5, 3.0, 10.0};
    ParserCompiler parser;
    for (int i = 0; i < 4; ++i) parser.DefineVariable(kVariables[i], &variables[i]);
    for (int n = 0; n < 1000; ++n) {
        const std::string text = generator.Expression();
        parser.Compile(text);
        const double expected = Evaluate(*ReferenceParser(text).Parse(), variables);
        ASSERT_TRUE(SameValue(expected, parser.EvaluateProgram())) << text;
    }
}

}  // namespace
}  // namespace tarn::calc
