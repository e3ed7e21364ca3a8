// List builtins: the car/cdr family, construction, search, mapcar and apply.
// Every walk charges the step budget per element.
#include <string>
#include <vector>

#include "builtin_support.h"
#include "lisp/printer.h"

namespace tarn::lisp {

namespace {

// car and cdr compositions; the digits of kPath name the steps from the
// last letter to the first (1 = car, 2 = cdr): CADR is 12.
template <unsigned kPath>
Outcome cxr(Machine&, std::span<const Value> args) {
  const Value* v = &args[0];
  for (unsigned path = kPath; path != 0; path /= 10) {
    if (!v->isList()) return badType("consp", *v);
    v = path % 10 == 1 ? &v->car() : &v->cdr();
  }
  return Outcome::success(*v);
}

Outcome requireProperList(const Value& v) {
  const Value* cell = &v;
  while (cell->isCons()) cell = &cell->cdr();
  if (cell->isNil()) return Outcome::success(Value());
  return v.isCons() ? Outcome::failure("bad list: " + toShortString(v)) : badType("listp", v);
}

Outcome consFn(Machine&, std::span<const Value> args) { return Outcome::success(Value::cons(args[0], args[1])); }

Outcome listFn(Machine& m, std::span<const Value> args) {
  if (!m.charge(args.size())) return m.stepLimitFailure();
  ListBuilder b;
  for (const Value& v : args) b.add(v);
  return Outcome::success(b.finish());
}

// Copies every list but the last, which the result shares.
Outcome appendFn(Machine& m, std::span<const Value> args) {
  ListBuilder b;
  for (std::size_t k = 0; k < args.size(); ++k) {
    Outcome check = requireProperList(args[k]);
    if (!check.ok()) return check;
    if (k + 1 == args.size()) return Outcome::success(b.finish(args[k]));
    for (const Value& item : ListView(args[k])) {
      if (!m.charge()) return m.stepLimitFailure();
      b.add(item);
    }
  }
  return Outcome::success(b.finish());
}

Outcome lengthFn(Machine& m, std::span<const Value> args) {
  Outcome check = requireProperList(args[0]);
  if (!check.ok()) return check;
  std::int32_t n = 0;
  for (const Value* cell = &args[0]; cell->isCons(); cell = &cell->cdr()) ++n;
  if (!m.charge(static_cast<std::uint64_t>(n))) return m.stepLimitFailure();
  return Outcome::success(Value::integer(n));
}

Outcome nthFn(Machine& m, std::span<const Value> args) {
  if (args[0].type() != Type::Int) return badType("fixnump", args[0]);
  if (!args[1].isList()) return badType("listp", args[1]);
  const Value* cell = &args[1];
  for (std::int32_t k = args[0].asInt(); k > 0 && cell->isCons(); --k) {
    if (!m.charge()) return m.stepLimitFailure();
    cell = &cell->cdr();
  }
  if (args[0].asInt() < 0 || !cell->isCons()) return Outcome::success(Value());
  return Outcome::success(cell->car());
}

Outcome reverseFn(Machine& m, std::span<const Value> args) {
  Outcome check = requireProperList(args[0]);
  if (!check.ok()) return check;
  Value out;
  for (const Value& item : ListView(args[0])) {
    if (!m.charge()) return m.stepLimitFailure();
    out = Value::cons(item, std::move(out));
  }
  return Outcome::success(out);
}

Outcome lastFn(Machine& m, std::span<const Value> args) {
  if (!args[0].isList()) return badType("listp", args[0]);
  const Value* cell = &args[0];
  while (cell->cdr().isCons()) {
    if (!m.charge()) return m.stepLimitFailure();
    cell = &cell->cdr();
  }
  return Outcome::success(cell->car());
}

// member: the tail that starts with the item; assoc: the first element whose
// car is the key. Both compare with equal.
template <bool kByCar>
Outcome searchFn(Machine& m, std::span<const Value> args) {
  if (!args[1].isList()) return badType("listp", args[1]);
  std::string error;
  for (const Value* cell = &args[1]; cell->isCons(); cell = &cell->cdr()) {
    const Value& item = cell->car();
    if (kByCar && !item.isCons()) continue;
    bool hit = valuesEqual(m, kByCar ? item.car() : item, args[0], 0.0, error);
    if (!error.empty()) return Outcome::failure(error);
    if (hit) return Outcome::success(kByCar ? item : *cell);
  }
  return Outcome::success(Value());
}

// Replaces the top-level elements equal to the old item.
Outcome substFn(Machine& m, std::span<const Value> args) {
  if (!args[2].isList()) return badType("listp", args[2]);
  ListBuilder b;
  std::string error;
  const Value* cell = &args[2];
  for (; cell->isCons(); cell = &cell->cdr()) {
    bool hit = valuesEqual(m, cell->car(), args[1], 0.0, error);
    if (!error.empty()) return Outcome::failure(error);
    b.add(hit ? args[0] : cell->car());
  }
  return Outcome::success(b.finish(*cell));
}

// Applies the function to the first elements of every list, then the second
// ones, and so on until the shortest list ends.
Outcome mapcarFn(Machine& m, std::span<const Value> args) {
  std::vector<const Value*> cells;
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (!args[k].isList()) return badType("listp", args[k]);
    cells.push_back(&args[k]);
  }
  ListBuilder results;
  std::vector<Value> callArgs(cells.size());
  for (;;) {
    if (!m.charge()) return m.stepLimitFailure();
    for (std::size_t k = 0; k < cells.size(); ++k) {
      if (!cells[k]->isCons()) return Outcome::success(results.finish());
      callArgs[k] = cells[k]->car();
      cells[k] = &cells[k]->cdr();
    }
    Outcome r = m.callDesignator(args[0], callArgs);
    if (!r.ok()) return r;
    results.add(r.take());
  }
}

Outcome applyFn(Machine& m, std::span<const Value> args) {
  Outcome check = requireProperList(args[1]);
  if (!check.ok()) return check;
  std::vector<Value> callArgs;
  for (const Value& item : ListView(args[1])) {
    if (!m.charge()) return m.stepLimitFailure();
    callArgs.push_back(item);
  }
  return m.callDesignator(args[0], callArgs);
}

constexpr BuiltinSpec kList[] = {
    {"CAR", 1, 1, cxr<1>, nullptr},     {"CDR", 1, 1, cxr<2>, nullptr},     {"CAAR", 1, 1, cxr<11>, nullptr},
    {"CADR", 1, 1, cxr<12>, nullptr},   {"CDAR", 1, 1, cxr<21>, nullptr},   {"CDDR", 1, 1, cxr<22>, nullptr},
    {"CAAAR", 1, 1, cxr<111>, nullptr}, {"CAADR", 1, 1, cxr<112>, nullptr}, {"CADAR", 1, 1, cxr<121>, nullptr},
    {"CADDR", 1, 1, cxr<122>, nullptr}, {"CDAAR", 1, 1, cxr<211>, nullptr}, {"CDADR", 1, 1, cxr<212>, nullptr},
    {"CDDAR", 1, 1, cxr<221>, nullptr}, {"CDDDR", 1, 1, cxr<222>, nullptr},
    {"CONS", 2, 2, consFn, nullptr},
    {"LIST", 0, kAnyCount, listFn, nullptr},
    {"APPEND", 0, kAnyCount, appendFn, nullptr},
    {"LENGTH", 1, 1, lengthFn, nullptr},
    {"NTH", 2, 2, nthFn, nullptr},
    {"REVERSE", 1, 1, reverseFn, nullptr},
    {"LAST", 1, 1, lastFn, nullptr},
    {"MEMBER", 2, 2, searchFn<false>, nullptr},
    {"ASSOC", 2, 2, searchFn<true>, nullptr},
    {"SUBST", 3, 3, substFn, nullptr},
    {"MAPCAR", 2, kAnyCount, mapcarFn, nullptr},
    {"APPLY", 2, 2, applyFn, nullptr},
};

}  // namespace

std::span<const BuiltinSpec> listBuiltins() { return kList; }

}  // namespace tarn::lisp
