// The evaluator's state and core (internal): global symbols with dynamic
// binding, the step budget, and eval/apply that builtins call back into.
#ifndef TARN_LISP_MACHINE_H
#define TARN_LISP_MACHINE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "lisp/host.h"
#include "lisp/interpreter.h"
#include "lisp/outcome.h"
#include "lisp/value.h"

namespace tarn::lisp {

struct BuiltinSpec;

class Machine {
 public:
  Machine(LispHost& host, InterpreterLimits limits);

  Outcome eval(const Value& form);
  // Evaluates each form of a list in turn; the value of the last (nil for none).
  Outcome evalBody(const Value& forms);
  // Calls a function value with evaluated arguments.
  Outcome call(const Value& fn, std::span<const Value> args);
  // Calls what a builtin such as mapcar or apply is given: a function, a
  // symbol bound to one, or a (LAMBDA ...) list.
  Outcome callDesignator(const Value& designator, std::span<const Value> args);

  // Charges n steps to the budget of the current top-level form; false once
  // it is spent (the caller then returns stepLimitFailure()).
  bool charge(std::uint64_t n = 1);
  Outcome stepLimitFailure() const;
  void resetBudget() { steps_ = 0; }

  Value lookup(const std::string& name) const;
  void setGlobal(const std::string& name, Value v);
  bool isBound(const std::string& name) const { return globals_.count(name) != 0; }
  // Unbinds the external functions of `owner` (with `code`, or all for -1).
  int removeExternals(std::uintptr_t owner, int code);

  LispHost& host() { return host_; }
  const InterpreterLimits& limits() const { return limits_; }
  void setLimits(const InterpreterLimits& limits) { limits_ = limits; }

  // Makes a user function from (params [/ locals]) and body forms.
  Outcome makeFunction(const std::string& name, const Value& params, const Value& body);

  // Rebinds symbols for a function call or foreach; restores them when it ends.
  class DynamicScope {
   public:
    explicit DynamicScope(Machine& m) : machine_(m) {}
    ~DynamicScope();
    DynamicScope(const DynamicScope&) = delete;
    DynamicScope& operator=(const DynamicScope&) = delete;
    void bind(const std::string& name, Value v);

   private:
    Machine& machine_;
    std::vector<std::pair<std::string, std::optional<Value>>> saved_;
  };

 private:
  void registerBuiltins(std::span<const BuiltinSpec> specs);
  Outcome evalCall(const Value& form);
  Outcome functionAt(const Value& head, Value& fn);
  Outcome callUser(const Value& fn, std::span<const Value> args);
  Outcome callBuiltin(const BuiltinSpec& builtin, std::span<const Value> args);

  LispHost& host_;
  InterpreterLimits limits_;
  std::unordered_map<std::string, Value> globals_;
  std::uint64_t steps_ = 0;
  int depth_ = 0;
};

}  // namespace tarn::lisp

#endif
