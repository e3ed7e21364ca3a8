// Speed of the expression engine beside muparser and native C++: repeated
// evaluation (as a ratio to native code), compile plus one evaluation, parser
// construction, and the calculator's whole path for one typed expression.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <muParser.h>

#include "calc/cal_core.h"
#include "calc/parser_compiler.h"

namespace {

using tarn::calc::ParserCompiler;
constexpr double kPi = 3.14159265359;
constexpr int kVariableCount = 20;
const char* const kNames[kVariableCount] = {"a", "b", "c", "d", "e0", "f", "g", "h", "i", "j",
                                            "k", "l", "m", "n", "o", "p", "q", "r", "s", "t"};

using Native = double (*)(const double* v);

struct Case {
    const char* name;
    const char* ours;
    const char* theirs;  // the same expression in muparser's language
    Native native;
    bool changing;       // the variables change before every evaluation
};

#define V(n) v[n]
const Case kCases[] = {
    {"arith3", "a+b*c", "a+b*c", [](const double* v) { return V(0) + V(1) * V(2); }, false},
    {"arith5", "(a+b)*(c-d)/e0", "(a+b)*(c-d)/e0",
     [](const double* v) { return (V(0) + V(1)) * (V(2) - V(3)) / V(4); }, false},
    {"cosines", "a*a+b*b-2*a*b*cos(c)", "a*a+b*b-2*a*b*cos(c)",
     [](const double* v) { return V(0) * V(0) + V(1) * V(1) - 2 * V(0) * V(1) * std::cos(V(2)); }, true},
    {"hypot", "sqrt(a^2+b^2)", "sqrt(a^2+b^2)",
     [](const double* v) { return std::sqrt(std::pow(V(0), 2) + std::pow(V(1), 2)); }, false},
    {"sin_sum", "sin(a)*cos(b)+cos(a)*sin(b)", "sin(a)*cos(b)+cos(a)*sin(b)",
     [](const double* v) { return std::sin(V(0)) * std::cos(V(1)) + std::cos(V(0)) * std::sin(V(1)); }, true},
    {"degrees", "atan(b/a)*180/3.14159265359", "atan(b/a)*180/3.14159265359",
     [](const double* v) { return std::atan(V(1) / V(0)) * 180 / kPi; }, false},
    {"min_max", "min(a,b)+max(c,d)", "min(a,b)+max(c,d)",
     [](const double* v) { return std::min(V(0), V(1)) + std::max(V(2), V(3)); }, false},
    {"avg5", "avg(a,b,c,d,e0)", "avg(a,b,c,d,e0)",
     [](const double* v) { return (V(0) + V(1) + V(2) + V(3) + V(4)) / 5; }, false},
    {"sum6", "sum(a,b,c,d,e0,f)", "sum(a,b,c,d,e0,f)",
     [](const double* v) { return V(0) + V(1) + V(2) + V(3) + V(4) + V(5); }, false},
    {"logic", "a>b & c<d | e0==f", "(a>b && c<d) || e0==f",
     [](const double* v) { return double((V(0) > V(1) && V(2) < V(3)) || V(4) == V(5)); }, true},
    {"select", "(a>=b)*a+(a<b)*b", "(a>=b)*a+(a<b)*b",
     [](const double* v) { return double(V(0) >= V(1)) * V(0) + double(V(0) < V(1)) * V(1); }, false},
    {"sum20", "a+b+c+d+e0+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t", "a+b+c+d+e0+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t",
     [](const double* v) {
         double s = 0;
         for (int i = 0; i < 20; ++i) s += V(i);
         return s;
     }, true},
    {"products20", "a*b+c*d+e0*f+g*h+i*j+k*l+m*n+o*p+q*r+s*t",
     "a*b+c*d+e0*f+g*h+i*j+k*l+m*n+o*p+q*r+s*t",
     [](const double* v) {
         double s = V(0) * V(1);
         for (int i = 2; i < 20; i += 2) s += V(i) * V(i + 1);
         return s;
     }, false},
    {"nest10", "((((((((((a+1)*b+1)*c+1)*d+1)*e0+1)*f+1)*g+1)*h+1)*i+1)*j+1)",
     "((((((((((a+1)*b+1)*c+1)*d+1)*e0+1)*f+1)*g+1)*h+1)*i+1)*j+1)",
     [](const double* v) {
         double s = V(0);
         for (int i = 1; i < 10; ++i) s = (s + 1) * V(i);
         return s + 1;
     }, false},
    {"folded", "2*3.14159265359*a + 1.5*3", "2*3.14159265359*a + 1.5*3",
     [](const double* v) { return 2 * kPi * V(0) + 1.5 * 3; }, false},
    {"rounding", "abs(a-b)+floor(c)+ceil(d)", "abs(a-b)+floor(c)+ceil(d)",
     [](const double* v) { return std::fabs(V(0) - V(1)) + std::floor(V(2)) + std::ceil(V(3)); }, false},
    {"logs", "ln(a)+log(b)+a^2.5", "ln(a)+log10(b)+a^2.5",
     [](const double* v) { return std::log(V(0)) + std::log10(V(1)) + std::pow(V(0), 2.5); }, false},
    {"negate", "-a^2+b", "(-a)^2+b", [](const double* v) { return std::pow(-V(0), 2) + V(1); }, true},
};
#undef V

// Expressions typed at the calculator's prompt.
const char* const kCalTexts[] = {"2*3", "1/3", "SIN(PI/4)*2", "sqrt(2)+1", "max(3,4,5)-e",
                                 "(1+2)*(3+4)^2", "fact(6)/avg(1,2,3)", "10%4+abs(-2.5)"};

struct Values {
    double v[kVariableCount];
    Values() {
        for (int i = 0; i < kVariableCount; ++i) v[i] = 0.5 + 0.1 * i;
    }
    void Change(std::int64_t n) {
        v[0] = 0.5 + 0.001 * static_cast<double>(n & 15);
        v[1] = 0.7 - 0.001 * static_cast<double>(n & 7);
    }
};

void BindOurs(ParserCompiler& parser, Values& values) {
    for (int i = 0; i < kVariableCount; ++i) parser.DefineVariable(kNames[i], &values.v[i]);
}

double Floor(double x) { return std::floor(x); }
double Ceil(double x) { return std::ceil(x); }

// muparser has no floor and ceil of its own; they are added the way its users would.
void BindTheirs(mu::Parser& parser, Values& values) {
    for (int i = 0; i < kVariableCount; ++i) parser.DefineVar(kNames[i], &values.v[i]);
    parser.DefineFun("floor", Floor);
    parser.DefineFun("ceil", Ceil);
}

void EvalNative(benchmark::State& state, const Case& c) {
    Values values;
    std::int64_t n = 0;
    for (auto _ : state) {
        if (c.changing) values.Change(++n);
        benchmark::DoNotOptimize(values.v);
        benchmark::DoNotOptimize(c.native(values.v));
    }
}

void EvalOurs(benchmark::State& state, const Case& c) {
    Values values;
    ParserCompiler parser;
    BindOurs(parser, values);
    parser.Compile(c.ours);
    std::int64_t n = 0;
    for (auto _ : state) {
        if (c.changing) values.Change(++n);
        benchmark::DoNotOptimize(values.v);
        benchmark::DoNotOptimize(parser.EvaluateProgram());
    }
}

void EvalTheirs(benchmark::State& state, const Case& c) {
    Values values;
    mu::Parser parser;
    BindTheirs(parser, values);
    parser.SetExpr(c.theirs);
    std::int64_t n = 0;
    for (auto _ : state) {
        if (c.changing) values.Change(++n);
        benchmark::DoNotOptimize(values.v);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

void CompileOurs(benchmark::State& state, const Case& c) {
    Values values;
    ParserCompiler parser;
    BindOurs(parser, values);
    for (auto _ : state) {
        parser.Compile(c.ours);
        benchmark::DoNotOptimize(parser.EvaluateProgram());
    }
}

void CompileTheirs(benchmark::State& state, const Case& c) {
    Values values;
    mu::Parser parser;
    BindTheirs(parser, values);
    for (auto _ : state) {
        parser.SetExpr(c.theirs);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

void ConstructOurs(benchmark::State& state) {
    for (auto _ : state) {
        ParserCompiler parser;
        benchmark::DoNotOptimize(&parser);
    }
}

void ConstructTheirs(benchmark::State& state) {
    for (auto _ : state) {
        mu::Parser parser;
        benchmark::DoNotOptimize(&parser);
    }
}

// What the calculator does for one typed expression: a fresh parser with pi
// and e, the text trimmed and lowered, compiled, evaluated once and sorted
// into integer or real.
void CalPath(benchmark::State& state, const char* typed) {
    for (auto _ : state) {
        const double value = tarn::calc::EvaluateCalExpression(typed);
        benchmark::DoNotOptimize(tarn::calc::ClassifyCalResult(value));
    }
}

class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // CPU time: the machine is shared, and waiting for a core is not our cost.
        for (const Run& run : runs) nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

double GeometricMean(const std::vector<double>& values) {
    double logs = 0.0;
    for (double value : values) logs += std::log(value);
    return std::exp(logs / static_cast<double>(values.size()));
}

double Max(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

bool Has(const std::map<std::string, double>& ns, const std::string& prefix) {
    const auto found = ns.lower_bound(prefix);
    return found != ns.end() && found->first.starts_with(prefix);
}

// A ratio or time per expression, for whichever benchmarks ran (a filter may
// have left some out).
std::vector<double> Collect(const std::map<std::string, double>& ns, const std::string& prefix,
                            const std::string& divisorPrefix = {}) {
    std::vector<double> values;
    for (const Case& c : kCases) {
        const auto found = ns.find(prefix + c.name);
        if (found == ns.end()) continue;
        double value = found->second;
        if (!divisorPrefix.empty()) {
            const auto divisor = ns.find(divisorPrefix + c.name);
            if (divisor == ns.end()) continue;
            value /= divisor->second;
        }
        values.push_back(value);
    }
    return values;
}

void PrintTable(const std::map<std::string, double>& ns) {
    auto at = [&](const std::string& name) {
        const auto found = ns.find(name);
        return found == ns.end() ? std::nan("") : found->second;
    };
    std::printf("\n%-12s %9s %9s %9s %8s %8s %11s %11s\n", "expression", "native", "ours", "muparser",
                "ours/x", "mu/x", "ours comp", "mu comp");
    for (const Case& c : kCases) {
        const std::string n = c.name;
        const double native = at("eval/native/" + n), ours = at("eval/ours/" + n);
        const double theirs = at("eval/muparser/" + n);
        std::printf("%-12s %7.2fns %7.2fns %7.2fns %8.2f %8.2f %9.1fns %9.1fns\n", c.name, native, ours,
                    theirs, ours / native, theirs / native, at("compile/ours/" + n),
                    at("compile/muparser/" + n));
    }
}

void Summarise(const std::map<std::string, double>& ns) {
    PrintTable(ns);
    const auto oursRatio = Collect(ns, "eval/ours/", "eval/native/");
    const auto theirsRatio = Collect(ns, "eval/muparser/", "eval/native/");
    if (!oursRatio.empty() && !theirsRatio.empty())
        std::printf("\nrepeated evaluation / native, geometric mean: ours %.2fx (target <= 2.4x), muparser %.2fx\n",
                    GeometricMean(oursRatio), GeometricMean(theirsRatio));
    const auto oursCompile = Collect(ns, "compile/ours/"), theirsCompile = Collect(ns, "compile/muparser/");
    if (!oursCompile.empty() && !theirsCompile.empty())
        std::printf("compile + one evaluation: ours %.0f ns geometric mean, %.0f ns worst (target <= 410 ns); "
                    "muparser %.0f ns, %.0f ns worst\n", GeometricMean(oursCompile), Max(oursCompile),
                    GeometricMean(theirsCompile), Max(theirsCompile));
    if (Has(ns, "construct/ours") && Has(ns, "construct/muparser"))
        std::printf("parser construction: ours %.1f ns, muparser %.1f ns\n", ns.at("construct/ours"),
                    ns.at("construct/muparser"));
    std::vector<double> cal;
    for (const char* typed : kCalTexts) {
        const auto found = ns.find(std::string("cal/") + typed);
        if (found != ns.end()) cal.push_back(found->second);
    }
    if (!cal.empty())
        std::printf("calculator path (fresh parser, pi and e, trim, lower case, compile, evaluate, "
                    "integer or real): %.0f ns geometric mean, %.0f ns worst (target < 2000 ns)\n",
                    GeometricMean(cal), Max(cal));
}

}  // namespace

int main(int argc, char** argv) {
    for (const Case& c : kCases) {
        const std::string n = c.name;
        benchmark::RegisterBenchmark(("eval/native/" + n).c_str(), EvalNative, c);
        benchmark::RegisterBenchmark(("eval/ours/" + n).c_str(), EvalOurs, c);
        benchmark::RegisterBenchmark(("eval/muparser/" + n).c_str(), EvalTheirs, c);
        benchmark::RegisterBenchmark(("compile/ours/" + n).c_str(), CompileOurs, c);
        benchmark::RegisterBenchmark(("compile/muparser/" + n).c_str(), CompileTheirs, c);
    }
    benchmark::RegisterBenchmark("construct/ours", ConstructOurs);
    benchmark::RegisterBenchmark("construct/muparser", ConstructTheirs);
    for (const char* typed : kCalTexts)
        benchmark::RegisterBenchmark((std::string("cal/") + typed).c_str(), CalPath, typed);
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    Summarise(collector.nanoseconds);
    benchmark::Shutdown();
}
