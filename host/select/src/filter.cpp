// Filter: compiling a filter list and running its program over entity lists.
#include "select/filter.h"

#include <array>
#include <memory>
#include <utility>

#include "filter_program.h"

namespace tarn::select {
namespace {

bool groupPasses(const GroupTest& test, const resbuf* entity) {
  if (test.alwaysTrue) return true;
  bool present = false;
  for (const resbuf* node = entity; node; node = node->rbnext) {
    if (groupCode(*node) != test.code) continue;
    if (test.passes(*node)) return true;
    present = true;
  }
  return !present && test.whenAbsent && test.passes(*test.whenAbsent);
}

bool carriesApplication(const Wildcard& application, const resbuf* entity) {
  const resbuf* node = entity;
  while (node && node->restype != -3) node = node->rbnext;
  for (; node; node = node->rbnext) {
    if (node->restype != 1001 || !node->resval.rstring) continue;
    if (application.matches(node->resval.rstring)) return true;
  }
  return false;
}

bool xdataPasses(const XdataTest& test, const resbuf* entity) {
  for (const Wildcard& application : test.applications)
    if (!carriesApplication(application, entity)) return false;
  return true;
}

// Replaces the top `count` answers by their combination.
void combine(StepKind kind, std::uint32_t count, bool* stack, std::size_t& top) {
  top -= count;
  std::uint32_t yes = 0;
  for (std::uint32_t i = 0; i < count; ++i) yes += stack[top + i] ? 1 : 0;
  static constexpr std::array<bool (*)(std::uint32_t, std::uint32_t), 4> kRules{
      [](std::uint32_t y, std::uint32_t n) { return y == n; },  // All
      [](std::uint32_t y, std::uint32_t) { return y > 0; },     // Any
      [](std::uint32_t y, std::uint32_t) { return y == 1; },    // ExactlyOne
      [](std::uint32_t y, std::uint32_t) { return y == 0; },    // Negate
  };
  stack[top++] = kRules[static_cast<int>(kind) - static_cast<int>(StepKind::All)](yes, count);
}

bool runOperand(const Filter::Program& program, std::size_t begin, std::size_t end, const resbuf* entity,
                bool* stack) {
  std::size_t top = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const Step& step = program.steps[i];
    if (step.kind == StepKind::Group) {
      stack[top++] = groupPasses(program.groups[step.argument], entity);
    } else if (step.kind == StepKind::Xdata) {
      stack[top++] = xdataPasses(program.xdata[step.argument], entity);
    } else {
      combine(step.kind, step.argument, stack, top);
    }
  }
  return stack[0];
}

bool runProgram(const Filter::Program& program, const resbuf* entity, bool* stack) {
  std::size_t begin = 0;
  for (const std::uint32_t end : program.operandEnds) {
    if (!runOperand(program, begin, end, entity, stack)) return false;
    begin = end;
  }
  return true;
}

constexpr std::array<const char*, 9> kErrorTexts{
    "no error",
    "unknown operator",
    "unbalanced bracket",
    "unclosed bracket",
    "wrong number of operands",
    "relational test without a group",
    "operator does not apply to this group",
    "group cannot be used in a filter",
    "extended data test without an application name",
};

}  // namespace

Filter::Filter() : program_(std::make_unique<Program>()) {}
Filter::~Filter() = default;
Filter::Filter(Filter&&) noexcept = default;
Filter& Filter::operator=(Filter&&) noexcept = default;

int Filter::compile(const resbuf* filterList, Filter& out, FilterDiagnostic* why) {
  auto program = std::make_unique<Program>();
  FilterDiagnostic diagnostic;
  if (!compileProgram(filterList, *program, diagnostic)) {
    if (why) *why = std::move(diagnostic);
    return RTERROR;
  }
  out.program_ = std::move(program);
  if (why) *why = FilterDiagnostic{};
  return RTNORM;
}

bool Filter::matches(const resbuf* entityList) const {
  if (!program_ || program_->steps.empty()) return true;
  constexpr std::size_t kLocalDepth = 64;
  if (program_->stackDepth <= kLocalDepth) {
    std::array<bool, kLocalDepth> stack{};
    return runProgram(*program_, entityList, stack.data());
  }
  auto stack = std::make_unique<bool[]>(program_->stackDepth);
  return runProgram(*program_, entityList, stack.get());
}

bool Filter::empty() const { return !program_ || program_->steps.empty(); }

const char* filterErrorText(FilterError error) {
  const auto index = static_cast<std::size_t>(error);
  return index < kErrorTexts.size() ? kErrorTexts[index] : "unknown error";
}

}  // namespace tarn::select
