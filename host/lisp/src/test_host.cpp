// The test host: a recording stand-in for the CAD host.
#include "lisp/test_host.h"

#include <cstdio>
#include <numbers>

namespace tarn::lisp {

namespace {

std::string upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

void TestHost::print(std::string_view text) { output.append(text); }

Outcome TestHost::getVar(std::string_view name) {
  auto it = variables.find(upper(name));
  return Outcome::success(it == variables.end() ? Value() : it->second);
}

Outcome TestHost::setVar(std::string_view name, const Value& value) {
  std::string key = upper(name);
  if (readOnly.count(key) != 0) return Outcome::failure("system variable setting rejected: " + key);
  if (variables.count(key) == 0) return Outcome::failure("unknown system variable: " + key);
  variables[key] = value;
  return Outcome::success(value);
}

Outcome TestHost::command(std::span<const Value> args) {
  commands.emplace_back(args.begin(), args.end());
  if (cancelCommands) return Outcome::failure("Function cancelled");
  return Outcome::success(Value());
}

Outcome TestHost::callExternal(const ExternalFunction& fn, std::span<const Value> args) {
  if (!external) return Outcome::failure("no function definition: " + fn.name);
  return external(fn, args);
}

Outcome TestHost::formatNumber(NumberFormat kind, double value, int mode, int precision) {
  if (precision < 0) precision = 4;
  char text[512];
  if (kind == NumberFormat::Distance) {
    std::snprintf(text, sizeof text, mode == 1 ? "%.*E" : "%.*f", precision, value);
  } else if (mode == 3) {
    std::snprintf(text, sizeof text, "%.*fr", precision, value);
  } else {
    std::snprintf(text, sizeof text, "%.*f", precision, value * 180.0 / std::numbers::pi);
  }
  return Outcome::success(Value::string(text));
}

}  // namespace tarn::lisp
