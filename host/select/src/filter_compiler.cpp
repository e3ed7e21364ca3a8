// Compiling a filter list: one pass over the chain with a stack of the
// brackets still open; each finished bracket becomes one combining step.
#include <string>
#include <string_view>
#include <vector>

#include "filter_program.h"

namespace tarn::select {
namespace {

struct OpenBracket {
  BracketKind kind;
  int operands;
  int item;  // where it opened, for messages
};

class FilterCompiler {
 public:
  FilterCompiler(Filter::Program& program, FilterDiagnostic& why) : program_(program), why_(why) {}

  bool run(const resbuf* node);

 private:
  bool fail(FilterError error, int item, const std::string& detail);
  bool step(const resbuf*& node);
  bool operatorGroup(const resbuf*& node);
  bool openBracket(Bracket bracket);
  bool closeBracket(Bracket bracket);
  bool relationalTest(std::string_view relation, const resbuf*& node);
  bool groupTest(const resbuf& node, std::string_view relation);
  bool xdataTest(const resbuf*& node);
  void emit(StepKind kind, std::uint32_t argument, int operands);
  void countOperand();

  Filter::Program& program_;
  FilterDiagnostic& why_;
  std::vector<OpenBracket> open_;
  int item_ = 0;
  std::size_t depth_ = 0;
};

std::string_view textOf(const resbuf& node) {
  return node.resval.rstring ? std::string_view(node.resval.rstring) : std::string_view();
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// One relation, or a comma-separated relation per point coordinate.
bool isRelationList(std::string_view word) {
  std::size_t start = 0;
  for (int part = 0; part < 3; ++part) {
    const std::size_t comma = word.find(',', start);
    if (!findRelation(word.substr(start, comma == std::string_view::npos ? comma : comma - start))) return false;
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
  return false;
}

const resbuf* advance(const resbuf* node, int& item) {
  ++item;
  return node->rbnext;
}

bool FilterCompiler::run(const resbuf* node) {
  while (node)
    if (!step(node)) return false;
  if (!open_.empty()) {
    const OpenBracket& last = open_.back();
    return fail(FilterError::UnclosedBracket, last.item, "\"<" + std::string(bracketName(last.kind)) + "\" is never closed");
  }
  return true;
}

bool FilterCompiler::fail(FilterError error, int item, const std::string& detail) {
  why_.error = error;
  why_.item = item;
  why_.message = std::string(filterErrorText(error)) + " at item " + std::to_string(item) + ": " + detail;
  return false;
}

bool FilterCompiler::step(const resbuf*& node) {
  if (node->restype == -4) return operatorGroup(node);
  if (node->restype == -3) return xdataTest(node);
  if (!groupTest(*node, {})) return false;
  node = advance(node, item_);
  return true;
}

bool FilterCompiler::operatorGroup(const resbuf*& node) {
  const std::string_view word = textOf(*node);
  if (const auto bracket = findBracket(word)) {
    node = advance(node, item_);
    return bracket->opening ? openBracket(*bracket) : closeBracket(*bracket);
  }
  if (isRelationList(word)) return relationalTest(word, node);
  return fail(FilterError::UnknownOperator, item_, quoted(word) + " is no operator");
}

bool FilterCompiler::openBracket(Bracket bracket) {
  open_.push_back({bracket.kind, 0, item_ - 1});
  return true;
}

bool FilterCompiler::closeBracket(Bracket bracket) {
  const int item = item_ - 1;
  const std::string name = bracketName(bracket.kind);
  if (open_.empty() || open_.back().kind != bracket.kind)
    return fail(FilterError::UnbalancedBracket, item, quoted(name + ">") + " closes no \"<" + name + "\"");
  const int operands = open_.back().operands;
  if (operands < minimumOperands(bracket.kind) || operands > maximumOperands(bracket.kind))
    return fail(FilterError::OperandCount, item,
                quoted("<" + name) + " holds " + std::to_string(operands) + " operand(s)");
  open_.pop_back();
  static constexpr StepKind kSteps[] = {StepKind::All, StepKind::Any, StepKind::ExactlyOne, StepKind::Negate};
  emit(kSteps[static_cast<int>(bracket.kind)], static_cast<std::uint32_t>(operands), operands);
  countOperand();
  return true;
}

bool FilterCompiler::relationalTest(std::string_view relation, const resbuf*& node) {
  const int operatorItem = item_;
  node = advance(node, item_);
  if (!node || node->restype == -4 || node->restype == -3)
    return fail(FilterError::MissingOperand, operatorItem, quoted(relation) + " has no group to test");
  if (!groupTest(*node, relation)) return false;
  node = advance(node, item_);
  return true;
}

bool FilterCompiler::groupTest(const resbuf& node, std::string_view relation) {
  GroupTest test;
  const FilterError error = compileGroupTest(node, relation, test);
  if (error == FilterError::UnsupportedGroup)
    return fail(error, item_, "group " + std::to_string(node.restype) + " cannot be compared");
  if (error != FilterError::None)
    return fail(error, item_, quoted(relation) + " for group " + std::to_string(node.restype));
  program_.groups.push_back(std::move(test));
  emit(StepKind::Group, static_cast<std::uint32_t>(program_.groups.size() - 1), 0);
  countOperand();
  return true;
}

// -3 is followed by the application names (1001), which a list written in
// LISP notation may wrap in list brackets.
bool FilterCompiler::xdataTest(const resbuf*& node) {
  const int start = item_;
  XdataTest test;
  node = advance(node, item_);
  while (node && (node->restype == 1001 || node->restype == RTLB || node->restype == RTLE)) {
    if (node->restype == 1001) test.applications.push_back(Wildcard::compile(textOf(*node)));
    node = advance(node, item_);
  }
  if (test.applications.empty())
    return fail(FilterError::MissingApplication, start, "group -3 names no application (1001)");
  program_.xdata.push_back(std::move(test));
  emit(StepKind::Xdata, static_cast<std::uint32_t>(program_.xdata.size() - 1), 0);
  countOperand();
  return true;
}

// Keeps track of how many answers the matcher holds at once: a test pushes
// one, a combining step takes its operands and pushes one.
void FilterCompiler::emit(StepKind kind, std::uint32_t argument, int operands) {
  program_.steps.push_back({kind, argument});
  depth_ = depth_ - static_cast<std::size_t>(operands) + 1;
  if (depth_ > program_.stackDepth) program_.stackDepth = depth_;
}

void FilterCompiler::countOperand() {
  if (open_.empty()) {
    program_.operandEnds.push_back(static_cast<std::uint32_t>(program_.steps.size()));
    depth_ = 0;  // each top-level operand starts with an empty stack
  } else {
    ++open_.back().operands;
  }
}

}  // namespace

bool compileProgram(const resbuf* filterList, Filter::Program& program, FilterDiagnostic& why) {
  return FilterCompiler(program, why).run(filterList);
}

}  // namespace tarn::select
