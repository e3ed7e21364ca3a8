// Builtins for reading, evaluating and printing, symbol values, types, and
// leaving an evaluation (exit/quit).
#include <string>

#include "builtin_support.h"
#include "lisp/printer.h"
#include "lisp/reader.h"

namespace tarn::lisp {

namespace {

// Prints within the string limit and charges the budget for the text made;
// a shared structure that would print enormous stops at the limit.
Outcome printTo(Machine& m, const Value& v, PrintStyle style, std::string prefix, const char* suffix) {
  PrintLimits limits;
  limits.maxChars = m.limits().maxStringLength;
  std::string text = std::move(prefix);
  bool complete = printValue(v, style, limits, text);
  if (!m.charge(text.size() / 16 + 1)) return m.stepLimitFailure();
  if (!complete) return Outcome::failure("output too long: more than " + std::to_string(limits.maxChars) + " characters");
  m.host().print(text + suffix);
  return Outcome::success(v);
}

Outcome princFn(Machine& m, std::span<const Value> args) {
  if (args.empty()) return Outcome::success(Value::quiet());
  return printTo(m, args[0], PrintStyle::Princ, "", "");
}

Outcome prin1Fn(Machine& m, std::span<const Value> args) {
  if (args.empty()) return Outcome::success(Value::quiet());
  return printTo(m, args[0], PrintStyle::Prin1, "", "");
}

Outcome printFn(Machine& m, std::span<const Value> args) {
  if (args.empty()) return Outcome::success(Value::quiet());
  return printTo(m, args[0], PrintStyle::Prin1, "\n", " ");
}

Outcome terpriFn(Machine& m, std::span<const Value>) {
  m.host().print("\n");
  return Outcome::success(Value());
}

Outcome promptFn(Machine& m, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  m.host().print(args[0].text());
  return Outcome::success(Value());
}

Outcome readFn(Machine& m, std::span<const Value> args) {
  if (args.empty()) return Outcome::success(Value());
  if (!args[0].isString()) return badType("stringp", args[0]);
  if (!m.charge(args[0].text().size() / 16 + 1)) return m.stepLimitFailure();
  Value form;
  ReadError error;
  if (readOne(args[0].text(), form, error, m.limits().reader) == ReadStatus::Error) {
    return Outcome::failure(error.describe());
  }
  return Outcome::success(form);
}

Outcome evalFn(Machine& m, std::span<const Value> args) { return m.eval(args[0]); }

Outcome typeFn(Machine&, std::span<const Value> args) {
  static constexpr const char* kTypeNames[] = {"", "INT", "REAL", "STR", "SYM", "LIST", "ENAME", "PICKSET", ""};
  static constexpr const char* kFunctionNames[] = {"SUBR", "USUBR", "EXSUBR"};
  const Value& v = args[0];
  if (v.isNil()) return Outcome::success(Value());
  if (v.isFunction()) return Outcome::success(Value::symbol(kFunctionNames[static_cast<int>(v.functionKind())]));
  return Outcome::success(Value::symbol(kTypeNames[static_cast<int>(v.type())]));
}

Outcome boundpFn(Machine& m, std::span<const Value> args) {
  if (args[0].isNil()) return Outcome::success(Value());
  if (!args[0].isSymbol()) return badType("symbolp", args[0]);
  return Outcome::success(truth(!m.lookup(args[0].text()).isNil()));
}

Outcome setFn(Machine& m, std::span<const Value> args) {
  Outcome target = checkAssignable(m, args[0]);
  if (!target.ok()) return target;
  m.setGlobal(args[0].text(), args[1]);
  return Outcome::success(args[1]);
}

Outcome exitFn(Machine&, std::span<const Value>) { return Outcome::failure("quit / exit abort"); }

constexpr BuiltinSpec kSystem[] = {
    {"PRINC", 0, 1, princFn, nullptr},
    {"PRIN1", 0, 1, prin1Fn, nullptr},
    {"PRINT", 0, 1, printFn, nullptr},
    {"TERPRI", 0, 0, terpriFn, nullptr},
    {"PROMPT", 1, 1, promptFn, nullptr},
    {"READ", 0, 1, readFn, nullptr},
    {"EVAL", 1, 1, evalFn, nullptr},
    {"TYPE", 1, 1, typeFn, nullptr},
    {"BOUNDP", 1, 1, boundpFn, nullptr},
    {"SET", 2, 2, setFn, nullptr},
    {"EXIT", 0, 0, exitFn, nullptr},
    {"QUIT", 0, 0, exitFn, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> systemBuiltins() { return kSystem; }

}  // namespace tarn::lisp
