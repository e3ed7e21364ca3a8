// The interpreter: reads and evaluates LISP text against a host, keeps the
// global symbols, and lets modules define external functions.
#ifndef TARN_LISP_INTERPRETER_H
#define TARN_LISP_INTERPRETER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "lisp/host.h"
#include "lisp/outcome.h"
#include "lisp/reader.h"
#include "lisp/value.h"

namespace tarn::lisp {

struct InterpreterLimits {
  // Evaluation steps (one per form evaluated, plus one per element that a
  // builtin walks or makes) allowed for one top-level form; 0 = no limit. A
  // headless host has no Esc key, so a runaway loop ends with an error.
  std::uint64_t maxSteps = 50'000'000;
  int maxEvalDepth = 1000;                  // nested function calls and forms
  std::size_t maxStringLength = 16u << 20;  // bytes in one string made by a builtin
  ReaderLimits reader;
};

class Machine;

class Interpreter {
 public:
  explicit Interpreter(LispHost& host, InterpreterLimits limits = {});
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // Reads and evaluates every form of `text` in order and returns the value
  // of the last one. The first read or evaluation error stops it: the error
  // goes to the user's *error* function when one is defined, else
  // "; error: MESSAGE\n" is printed; the failure is returned either way.
  Outcome evaluate(std::string_view text);

  // Evaluates one form already read, with the same error handling.
  Outcome evaluateForm(const Value& form);

  // Calls the function bound to `name` (any case) with arguments already
  // evaluated, e.g. "C:CAL" when CAL is typed as a command.
  Outcome callFunction(std::string_view name, std::span<const Value> args);

  // True when `name` (any case) is bound to a function.
  bool isFunction(std::string_view name) const;

  Value global(std::string_view name) const;
  void setGlobal(std::string_view name, Value value);

  // Binds `name` (any case, stored upper case) to a module's function. False
  // for a name that is not a plain symbol or names a special form.
  bool defineExternal(std::string_view name, int code, std::uintptr_t owner);
  // Removes the module's definitions (all of them for code -1); returns how
  // many were removed. Names rebound since are left alone.
  int undefineExternals(std::uintptr_t owner, int code = -1);

  const InterpreterLimits& limits() const;
  void setLimits(const InterpreterLimits& limits);

 private:
  std::unique_ptr<Machine> machine_;
};

// The message a failed evaluation prints: "; error: MESSAGE\n".
std::string errorLine(const std::string& message);

}  // namespace tarn::lisp

#endif
