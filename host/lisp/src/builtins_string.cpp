// String builtins. Strings are UTF-8; strlen and substr count characters,
// not bytes, so texts in any script measure as the user sees them. strcase
// changes the case of ASCII letters only.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "builtin_support.h"

namespace tarn::lisp {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t characterCount(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) n += isContinuation(c) ? 0 : 1;
  return n;
}

// Byte offset of character `index` (0-based), or s.size() past the end.
std::size_t byteOffset(const std::string& s, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < index && pos < s.size(); ++k) {
    ++pos;
    while (pos < s.size() && isContinuation(s[pos])) ++pos;
  }
  return pos;
}

Outcome requireStrings(std::span<const Value> args) {
  for (const Value& v : args) {
    if (!v.isString()) return badType("stringp", v);
  }
  return Outcome::success(Value());
}

Outcome strcatFn(Machine& m, std::span<const Value> args) {
  Outcome check = requireStrings(args);
  if (!check.ok()) return check;
  std::size_t total = 0;
  for (const Value& v : args) total += v.text().size();
  if (total > m.limits().maxStringLength) return Outcome::failure("string too long: " + std::to_string(total) + " bytes");
  if (!m.charge(total / 16 + 1)) return m.stepLimitFailure();
  std::string out;
  out.reserve(total);
  for (const Value& v : args) out += v.text();
  return Outcome::success(Value::string(out));
}

Outcome strlenFn(Machine&, std::span<const Value> args) {
  Outcome check = requireStrings(args);
  if (!check.ok()) return check;
  std::size_t n = 0;
  for (const Value& v : args) n += characterCount(v.text());
  return Outcome::success(integerOrReal(static_cast<std::int64_t>(n)));
}

// (substr text start [length]): start counts from 1.
Outcome substrFn(Machine&, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (args[k].type() != Type::Int) return badType("fixnump", args[k]);
  }
  if (args[1].asInt() < 1) return badValue("substr", args[1]);
  if (args.size() == 3 && args[2].asInt() < 0) return badValue("substr", args[2]);
  const std::string& text = args[0].text();
  std::size_t begin = byteOffset(text, static_cast<std::size_t>(args[1].asInt()) - 1);
  std::size_t end = text.size();
  if (args.size() == 3) {
    std::size_t from = static_cast<std::size_t>(args[1].asInt()) - 1;
    end = byteOffset(text, from + static_cast<std::size_t>(args[2].asInt()));
  }
  return Outcome::success(Value::string(text.substr(begin, end - begin)));
}

// (strcase text [lower]): upper case unless the second argument is non-nil.
Outcome strcaseFn(Machine&, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  bool lower = args.size() == 2 && !args[1].isNil();
  std::string out = args[0].text();
  for (char& c : out) {
    if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!lower && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return Outcome::success(Value::string(out));
}

std::size_t skipBlanks(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
  return i;
}

// The leading integer of the text, 0 when there is none; values beyond 32
// bits are held at the nearest limit.
Outcome atoiFn(Machine&, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  const std::string& s = args[0].text();
  std::size_t i = skipBlanks(s);
  bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  std::int64_t v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    v = std::min<std::int64_t>(v * 10 + (s[i] - '0'), std::int64_t{1} << 32);
  }
  v = negative ? -v : v;
  v = std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  return Outcome::success(Value::integer(static_cast<std::int32_t>(v)));
}

// The leading number of the text as a real, 0.0 when there is none.
Outcome atofFn(Machine&, std::span<const Value> args) {
  if (!args[0].isString()) return badType("stringp", args[0]);
  const std::string& s = args[0].text();
  std::size_t i = skipBlanks(s);
  if (i < s.size() && s[i] == '+') ++i;
  double d = 0.0;
  auto [ptr, ec] = std::from_chars(s.data() + i, s.data() + s.size(), d);
  if (ec != std::errc() || !std::isfinite(d)) d = 0.0;
  return Outcome::success(Value::real(d));
}

Outcome itoaFn(Machine&, std::span<const Value> args) {
  if (args[0].type() != Type::Int) return badType("fixnump", args[0]);
  return Outcome::success(Value::string(std::to_string(args[0].asInt())));
}

constexpr BuiltinSpec kString[] = {
    {"STRCAT", 0, kAnyCount, strcatFn, nullptr},
    {"STRLEN", 0, kAnyCount, strlenFn, nullptr},
    {"SUBSTR", 2, 3, substrFn, nullptr},
    {"STRCASE", 1, 2, strcaseFn, nullptr},
    {"ATOI", 1, 1, atoiFn, nullptr},
    {"ATOF", 1, 1, atofFn, nullptr},
    {"ITOA", 1, 1, itoaFn, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> stringBuiltins() { return kString; }

}  // namespace tarn::lisp
