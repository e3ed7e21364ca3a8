// A compiled filter: its tests and the steps that combine their answers,
// in postfix order so that neither compiling nor matching recurses.
#ifndef TARN_SELECT_FILTER_PROGRAM_H
#define TARN_SELECT_FILTER_PROGRAM_H

#include <cstdint>
#include <vector>

#include "group_test.h"
#include "select/filter.h"
#include "select/wildcard.h"

namespace tarn::select {

// -3 with application names: passes when every name matches an application
// the entity list carries extended data for.
struct XdataTest {
  std::vector<Wildcard> applications;
};

enum class StepKind : std::uint8_t { Group, Xdata, All, Any, ExactlyOne, Negate };

struct Step {
  StepKind kind;
  std::uint32_t argument;  // test index for Group and Xdata, operand count otherwise
};

// The filter's top-level operands (an implied AND) are kept apart, each
// a run of steps ending at `operandEnds[i]`, so that matching stops at the
// first operand that fails.
struct Filter::Program {
  std::vector<Step> steps;
  std::vector<std::uint32_t> operandEnds;
  std::vector<GroupTest> groups;
  std::vector<XdataTest> xdata;
  std::size_t stackDepth = 0;  // answers held at most while matching
};

// Builds the program of a filter list; on error fills `why` and returns false.
bool compileProgram(const resbuf* filterList, Filter::Program& program, FilterDiagnostic& why);

}  // namespace tarn::select

#endif
