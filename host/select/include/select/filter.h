// Selection filters: a filter list of DXF groups (a result-buffer chain) is
// compiled once into a Filter, which then tells quickly whether an entity list
// (another chain) passes it.
//
// A filter group passes when a group of the same code in the entity list
// matches it: texts as case-insensitive wildcard patterns, numbers and points
// by value. Groups of the filter stand side by side as an implied AND. Group
// -4 holds the operators: the brackets "<AND" "AND>", "<OR" "OR>", "<XOR" "XOR>"
// (two operands), "<NOT" "NOT>" (one operand), nested to any depth, and the
// relational tests "*" "=" "!=" "/=" "<>" "<" "<=" ">" ">=" "&" "&=" applied to
// the group that follows (for points one per coordinate, e.g. ">,>,*"). Group
// -3 followed by 1001 application names passes objects that carry extended
// data of every one of those applications.
#ifndef TARN_SELECT_FILTER_H
#define TARN_SELECT_FILTER_H

#include <cstdint>
#include <memory>
#include <string>

#include "tarnsdk/tctypes.h"

namespace tarn::select {

enum class FilterError : std::uint8_t {
  None,
  UnknownOperator,      // a -4 text that is no operator
  UnbalancedBracket,    // a closing bracket without its opening one, or of another kind
  UnclosedBracket,      // the list ends inside a bracket
  OperandCount,         // a bracket with too few or too many operands
  MissingOperand,       // a relational test with no group after it
  OperatorNotAllowed,   // a relational test that does not apply to the group's kind of value
  UnsupportedGroup,     // a group code that carries no comparable value
  MissingApplication,   // -3 without any 1001 application name after it
};

// What is wrong with a filter list and where: `item` counts the chain's
// nodes from 0. `message` is a sentence for the user.
struct FilterDiagnostic {
  FilterError error = FilterError::None;
  int item = -1;
  std::string message;
};

class Filter {
 public:
  // The empty filter, which every entity list passes.
  Filter();
  ~Filter();
  Filter(Filter&&) noexcept;
  Filter& operator=(Filter&&) noexcept;
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  // Compiles the chain (null is the empty filter). Returns RTNORM and fills
  // `out`, or RTERROR with `why` (when given) telling what is wrong; `out` is
  // then left as it was. The chain is not kept: it may be released after.
  static int compile(const resbuf* filterList, Filter& out, FilterDiagnostic* why = nullptr);

  // True when the entity list passes. Group 0 may be typed 0 or RTDXF0.
  bool matches(const resbuf* entityList) const;

  bool empty() const;

  struct Program;

 private:
  std::unique_ptr<Program> program_;
};

// The text of an error kind, without position ("unknown operator").
const char* filterErrorText(FilterError error);

}  // namespace tarn::select

#endif
