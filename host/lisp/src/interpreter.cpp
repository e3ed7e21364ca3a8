// The interpreter's public face: top-level evaluation of text, the error
// report ("; error: ..." or the user's *error* function), and the bindings
// that the host and modules make.
#include "lisp/interpreter.h"

#include <string>

#include "function_object.h"
#include "builtin_support.h"
#include "machine.h"

namespace tarn::lisp {

namespace {

std::string upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool isPlainSymbolName(const std::string& name) {
  if (name.empty() || name == "NIL" || name == "T") return false;
  for (char c : name) {
    if (c <= ' ' || c == '(' || c == ')' || c == '\'' || c == '"' || c == ';') return false;
  }
  Value number;
  bool outOfRange = false;
  return !parseNumber(name, number, outOfRange) && name != ".";
}

// Hands a failure to the user's *error* function when there is one (with a
// fresh budget, and without recursion if the handler fails too); else prints
// it. The failure is returned unchanged.
Outcome report(Machine& m, Outcome failure) {
  Value handler = m.lookup("*ERROR*");
  if (!handler.isFunction()) {
    m.host().print(errorLine(failure.error()));
    return failure;
  }
  m.resetBudget();
  Value message = Value::string(failure.error());
  Outcome handled = m.callDesignator(handler, std::span<const Value>(&message, 1));
  if (!handled.ok()) m.host().print(errorLine(handled.error()));
  return failure;
}

}  // namespace

std::string errorLine(const std::string& message) { return "; error: " + message + "\n"; }

Interpreter::Interpreter(LispHost& host, InterpreterLimits limits)
    : machine_(std::make_unique<Machine>(host, limits)) {}

Interpreter::~Interpreter() = default;

Outcome Interpreter::evaluate(std::string_view text) {
  Reader reader(text, machine_->limits().reader);
  Outcome last = Outcome::success(Value());
  for (;;) {
    Value form;
    ReadError error;
    ReadStatus status = reader.next(form, error);
    if (status == ReadStatus::End) return last;
    if (status == ReadStatus::Error) return report(*machine_, Outcome::failure(error.describe()));
    last = evaluateForm(form);
    if (!last.ok()) return last;
  }
}

Outcome Interpreter::evaluateForm(const Value& form) {
  machine_->resetBudget();
  Outcome result = machine_->eval(form);
  return result.ok() ? result : report(*machine_, std::move(result));
}

Outcome Interpreter::callFunction(std::string_view name, std::span<const Value> args) {
  std::string key = upper(name);
  Value fn = machine_->lookup(key);
  if (!fn.isFunction()) return report(*machine_, Outcome::failure("no function definition: " + key));
  machine_->resetBudget();
  Outcome result = machine_->callDesignator(fn, args);
  return result.ok() ? result : report(*machine_, std::move(result));
}

bool Interpreter::isFunction(std::string_view name) const { return machine_->lookup(upper(name)).isFunction(); }

Value Interpreter::global(std::string_view name) const { return machine_->lookup(upper(name)); }

void Interpreter::setGlobal(std::string_view name, Value value) { machine_->setGlobal(upper(name), std::move(value)); }

bool Interpreter::defineExternal(std::string_view name, int code, std::uintptr_t owner) {
  std::string key = upper(name);
  if (!isPlainSymbolName(key)) return false;
  Value current = machine_->lookup(key);
  if (current.isFunction() && current.functionKind() == FunctionKind::Builtin &&
      functionOf(current).builtin->special != nullptr) {
    return false;
  }
  machine_->setGlobal(key, Value::external(ExternalFunction{key, code, owner}));
  return true;
}

int Interpreter::undefineExternals(std::uintptr_t owner, int code) { return machine_->removeExternals(owner, code); }

const InterpreterLimits& Interpreter::limits() const { return machine_->limits(); }

void Interpreter::setLimits(const InterpreterLimits& limits) { machine_->setLimits(limits); }

}  // namespace tarn::lisp
