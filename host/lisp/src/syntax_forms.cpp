// Special forms: the forms that receive their arguments unevaluated (quote,
// setq, defun, lambda and the control forms).
#include <string>

#include "builtin_support.h"
#include "function_object.h"

namespace tarn::lisp {

namespace {

Outcome quoteForm(Machine&, const Value& forms) { return Outcome::success(forms.car()); }

Outcome functionForm(Machine& m, const Value& forms) {
  const Value& arg = forms.car();
  if (arg.isCons() && arg.car().isSymbol("LAMBDA")) return m.makeFunction("", arg.cdr().car(), arg.cdr().cdr());
  return Outcome::success(arg);
}

Outcome setqForm(Machine& m, const Value& forms) {
  Outcome last = Outcome::success(Value());
  for (const Value* cell = &forms; cell->isCons(); cell = &cell->cdr().cdr()) {
    if (!cell->cdr().isCons()) return Outcome::failure("too few arguments");
    Outcome target = checkAssignable(m, cell->car());
    if (!target.ok()) return target;
    last = m.eval(cell->cdr().car());
    if (!last.ok()) return last;
    m.setGlobal(cell->car().text(), last.value());
  }
  return last;
}

Outcome defunForm(Machine& m, const Value& forms) {
  const Value& name = forms.car();
  Outcome target = checkAssignable(m, name);
  if (!target.ok()) return target;
  Outcome fn = m.makeFunction(name.text(), forms.cdr().car(), forms.cdr().cdr());
  if (!fn.ok()) return fn;
  m.setGlobal(name.text(), fn.take());
  return Outcome::success(name);
}

Outcome lambdaForm(Machine& m, const Value& forms) { return m.makeFunction("", forms.car(), forms.cdr()); }

Outcome ifForm(Machine& m, const Value& forms) {
  Outcome test = m.eval(forms.car());
  if (!test.ok()) return test;
  const Value& rest = forms.cdr();
  return m.eval(test.value().isNil() ? rest.cdr().car() : rest.car());
}

Outcome condForm(Machine& m, const Value& forms) {
  for (const Value& clause : ListView(forms)) {
    if (!clause.isCons()) return badType("consp", clause);
    Outcome test = m.eval(clause.car());
    if (!test.ok()) return test;
    if (test.value().isNil()) continue;
    return clause.cdr().isNil() ? test : m.evalBody(clause.cdr());
  }
  return Outcome::success(Value());
}

Outcome prognForm(Machine& m, const Value& forms) { return m.evalBody(forms); }

Outcome whileForm(Machine& m, const Value& forms) {
  Outcome last = Outcome::success(Value());
  for (;;) {
    Outcome test = m.eval(forms.car());
    if (!test.ok()) return test;
    if (test.value().isNil()) return last;
    last = m.evalBody(forms.cdr());
    if (!last.ok()) return last;
  }
}

Outcome repeatForm(Machine& m, const Value& forms) {
  Outcome count = m.eval(forms.car());
  if (!count.ok()) return count;
  if (count.value().type() != Type::Int) return badType("fixnump", count.value());
  Outcome last = Outcome::success(Value());
  for (std::int32_t i = 0; i < count.value().asInt(); ++i) {
    last = m.evalBody(forms.cdr());
    if (!last.ok()) return last;
  }
  return last;
}

Outcome foreachForm(Machine& m, const Value& forms) {
  const Value& var = forms.car();
  Outcome target = checkAssignable(m, var);
  if (!target.ok()) return target;
  Outcome items = m.eval(forms.cdr().car());
  if (!items.ok()) return items;
  if (!items.value().isList()) return badType("listp", items.value());
  Machine::DynamicScope scope(m);
  scope.bind(var.text(), Value());
  Outcome last = Outcome::success(Value());
  for (const Value& item : ListView(items.value())) {
    m.setGlobal(var.text(), item);
    last = m.evalBody(forms.cdr().cdr());
    if (!last.ok()) return last;
  }
  return last;
}

// and/or: T or nil, stopping at the first form that decides the answer.
template <bool kStopOn>
Outcome logicForm(Machine& m, const Value& forms) {
  for (const Value& form : ListView(forms)) {
    Outcome v = m.eval(form);
    if (!v.ok()) return v;
    if (!v.value().isNil() == kStopOn) return Outcome::success(truth(kStopOn));
  }
  return Outcome::success(truth(!kStopOn));
}

constexpr BuiltinSpec kSpecialForms[] = {
    {"QUOTE", 1, 1, nullptr, quoteForm},
    {"FUNCTION", 1, 1, nullptr, functionForm},
    {"SETQ", 0, kAnyCount, nullptr, setqForm},
    {"DEFUN", 2, kAnyCount, nullptr, defunForm},
    {"LAMBDA", 1, kAnyCount, nullptr, lambdaForm},
    {"IF", 2, 3, nullptr, ifForm},
    {"COND", 0, kAnyCount, nullptr, condForm},
    {"PROGN", 0, kAnyCount, nullptr, prognForm},
    {"WHILE", 1, kAnyCount, nullptr, whileForm},
    {"REPEAT", 1, kAnyCount, nullptr, repeatForm},
    {"FOREACH", 2, kAnyCount, nullptr, foreachForm},
    {"AND", 0, kAnyCount, nullptr, logicForm<false>},
    {"OR", 0, kAnyCount, nullptr, logicForm<true>},
};

}  // namespace

std::span<const BuiltinSpec> specialForms() { return kSpecialForms; }

}  // namespace tarn::lisp
