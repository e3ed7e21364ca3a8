// A host for tests: records what the LISP prints and the commands it issues,
// keeps system variables in a map, answers external calls through a handler
// the test sets, and formats numbers in plain decimal.
#ifndef TARN_LISP_TEST_HOST_H
#define TARN_LISP_TEST_HOST_H

#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "lisp/host.h"

namespace tarn::lisp {

class TestHost : public LispHost {
 public:
  using ExternalHandler = std::function<Outcome(const ExternalFunction&, std::span<const Value>)>;

  void print(std::string_view text) override;
  Outcome getVar(std::string_view name) override;
  Outcome setVar(std::string_view name, const Value& value) override;
  Outcome command(std::span<const Value> args) override;
  Outcome callExternal(const ExternalFunction& fn, std::span<const Value> args) override;
  // Distances: mode 1 scientific, other modes decimal; angles: mode 3
  // radians with an "r", other modes decimal degrees. Default mode 2 (0 for
  // angles) and precision 4.
  Outcome formatNumber(NumberFormat kind, double value, int mode, int precision) override;

  std::string output;                         // all printed text
  std::map<std::string, Value> variables;     // names upper case
  std::set<std::string> readOnly;             // names upper case; setvar refuses these
  std::vector<std::vector<Value>> commands;   // the arguments of each command call
  bool cancelCommands = false;                // command answers "Function cancelled"
  ExternalHandler external;                   // unset: every external call fails
};

}  // namespace tarn::lisp

#endif
