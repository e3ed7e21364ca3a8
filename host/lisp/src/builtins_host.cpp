// Builtins that go to the host: system variables, host commands, and number
// formatting (rtos, angtos).
#include <string>

#include "builtin_support.h"

namespace tarn::lisp {

namespace {

Outcome getvarFn(Machine& m, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  return m.host().getVar(args[0].text());
}

Outcome setvarFn(Machine& m, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  return m.host().setVar(args[0].text(), args[1]);
}

Outcome commandFn(Machine& m, std::span<const Value> args) {
  for (const Value& v : args) {
    if (v.isFunction()) return badType("command argument", v);
  }
  Outcome r = m.host().command(args);
  return r.ok() ? Outcome::success(Value()) : r;
}

// (rtos number [mode [precision]]) and (angtos angle [mode [precision]]);
// mode and precision default to the drawing's settings.
template <NumberFormat kKind>
Outcome formatFn(Machine& m, std::span<const Value> args) {
  static constexpr int kMaxMode = kKind == NumberFormat::Distance ? 5 : 4;
  static constexpr int kMinMode = kKind == NumberFormat::Distance ? 1 : 0;
  static constexpr const char* kName = kKind == NumberFormat::Distance ? "rtos" : "angtos";
  if (!args[0].isNumber()) return badType("numberp", args[0]);
  int settings[2] = {-1, -1};
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (args[k].isNil()) continue;
    if (args[k].type() != Type::Int) return badType("fixnump", args[k]);
    settings[k - 1] = args[k].asInt();
  }
  if (settings[0] != -1 && (settings[0] < kMinMode || settings[0] > kMaxMode)) return badValue(kName, args[1]);
  if (settings[1] != -1 && (settings[1] < 0 || settings[1] > 8)) return badValue(kName, args[2]);
  return m.host().formatNumber(kKind, args[0].asNumber(), settings[0], settings[1]);
}

constexpr BuiltinSpec kHost[] = {
    {"GETVAR", 1, 1, getvarFn, nullptr},
    {"SETVAR", 2, 2, setvarFn, nullptr},
    {"COMMAND", 0, kAnyCount, commandFn, nullptr},
    {"RTOS", 1, 3, formatFn<NumberFormat::Distance>, nullptr},
    {"ANGTOS", 1, 3, formatFn<NumberFormat::Angle>, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> hostBuiltins() { return kHost; }

}  // namespace tarn::lisp
