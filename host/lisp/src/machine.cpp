// The evaluator core: symbol lookup, function calls with dynamic binding,
// the step budget and the nesting limit.
#include "machine.h"

#include <memory>

#include "builtin_support.h"
#include "function_object.h"
#include "lisp/printer.h"

namespace tarn::lisp {

namespace {

class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

Outcome countFailure(std::size_t given, int minArgs) {
  return Outcome::failure(static_cast<int>(given) < minArgs ? "too few arguments" : "too many arguments");
}

bool countFits(std::size_t given, int minArgs, int maxArgs) {
  int n = static_cast<int>(given);
  return n >= minArgs && (maxArgs == kAnyCount || n <= maxArgs);
}

}  // namespace

Machine::Machine(LispHost& host, InterpreterLimits limits) : host_(host), limits_(limits) {
  for (auto group : {specialForms(), mathBuiltins(), compareBuiltins(), listBuiltins(), stringBuiltins(),
                     systemBuiltins(), hostBuiltins()}) {
    registerBuiltins(group);
  }
  globals_["T"] = Value::t();
}

void Machine::registerBuiltins(std::span<const BuiltinSpec> specs) {
  for (const BuiltinSpec& builtin : specs) {
    auto fn = std::make_shared<FunctionObject>();
    fn->kind = FunctionKind::Builtin;
    fn->name = builtin.name;
    fn->builtin = &builtin;
    globals_[builtin.name] = Value::fromFunction(std::move(fn));
  }
}

bool Machine::charge(std::uint64_t n) {
  steps_ += n;
  return limits_.maxSteps == 0 || steps_ <= limits_.maxSteps;
}

Outcome Machine::stepLimitFailure() const {
  return Outcome::failure("evaluation stopped after " + std::to_string(limits_.maxSteps) + " steps");
}

Value Machine::lookup(const std::string& name) const {
  auto it = globals_.find(name);
  return it == globals_.end() ? Value() : it->second;
}

void Machine::setGlobal(const std::string& name, Value v) {
  if (v.isNil()) {
    globals_.erase(name);
  } else {
    globals_[name] = std::move(v);
  }
}

int Machine::removeExternals(std::uintptr_t owner, int code) {
  int removed = 0;
  for (auto it = globals_.begin(); it != globals_.end();) {
    const ExternalFunction* ext = it->second.externalFunction();
    if (ext != nullptr && ext->owner == owner && (code == -1 || ext->code == code)) {
      it = globals_.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

Machine::DynamicScope::~DynamicScope() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    machine_.setGlobal(it->first, it->second ? std::move(*it->second) : Value());
  }
}

void Machine::DynamicScope::bind(const std::string& name, Value v) {
  auto it = machine_.globals_.find(name);
  saved_.emplace_back(name, it == machine_.globals_.end() ? std::nullopt : std::optional<Value>(it->second));
  machine_.setGlobal(name, std::move(v));
}

Outcome Machine::eval(const Value& form) {
  if (!charge()) return stepLimitFailure();
  switch (form.type()) {
    case Type::Symbol: return Outcome::success(lookup(form.text()));
    case Type::Cons: return evalCall(form);
    default: return Outcome::success(form);
  }
}

Outcome Machine::evalBody(const Value& forms) {
  Outcome last = Outcome::success(Value());
  for (const Value& form : ListView(forms)) {
    last = eval(form);
    if (!last.ok()) return last;
  }
  return last;
}

Outcome Machine::evalCall(const Value& form) {
  DepthGuard guard(depth_);
  if (depth_ > limits_.maxEvalDepth) {
    return Outcome::failure("stack overflow: evaluation nested deeper than " +
                            std::to_string(limits_.maxEvalDepth) + " levels");
  }
  Value fn;
  Outcome head = functionAt(form.car(), fn);
  if (!head.ok()) return head;
  const Value& argForms = form.cdr();
  if (!isProperList(argForms)) return Outcome::failure("malformed list: " + toShortString(form));
  const BuiltinSpec* builtin = fn.functionKind() == FunctionKind::Builtin ? functionOf(fn).builtin : nullptr;
  if (builtin != nullptr && builtin->special != nullptr) {
    std::size_t count = 0;
    for (const Value* cell = &argForms; cell->isCons(); cell = &cell->cdr()) ++count;
    if (!countFits(count, builtin->minArgs, builtin->maxArgs)) return countFailure(count, builtin->minArgs);
    return builtin->special(*this, argForms);
  }
  std::vector<Value> args;
  for (const Value& argForm : ListView(argForms)) {
    Outcome arg = eval(argForm);
    if (!arg.ok()) return arg;
    args.push_back(arg.take());
  }
  return call(fn, args);
}

// The function in the head of a form: a symbol's value, or what a nested form
// (such as a lambda form) evaluates to.
Outcome Machine::functionAt(const Value& head, Value& fn) {
  if (head.isSymbol()) {
    fn = lookup(head.text());
    if (fn.isNil()) return Outcome::failure("no function definition: " + head.text());
  } else if (head.isCons()) {
    Outcome evaluated = eval(head);
    if (!evaluated.ok()) return evaluated;
    fn = evaluated.take();
  } else {
    return Outcome::failure("bad function: " + toShortString(head));
  }
  if (fn.isFunction()) return Outcome::success(Value());
  if (fn.isCons() && fn.car().isSymbol("LAMBDA")) {
    Outcome made = makeFunction("", fn.cdr().car(), fn.cdr().cdr());
    if (!made.ok()) return made;
    fn = made.take();
    return Outcome::success(Value());
  }
  return Outcome::failure("bad function: " + toShortString(fn));
}

Outcome Machine::callDesignator(const Value& designator, std::span<const Value> args) {
  Value fn = designator;
  if (designator.isSymbol()) fn = lookup(designator.text());
  if (fn.isCons() && fn.car().isSymbol("LAMBDA")) {
    Outcome made = makeFunction("", fn.cdr().car(), fn.cdr().cdr());
    if (!made.ok()) return made;
    fn = made.take();
  }
  if (!fn.isFunction()) return Outcome::failure("bad function: " + toShortString(designator));
  DepthGuard guard(depth_);
  if (depth_ > limits_.maxEvalDepth) return Outcome::failure("stack overflow: evaluation nested too deeply");
  return call(fn, args);
}

Outcome Machine::call(const Value& fn, std::span<const Value> args) {
  switch (fn.functionKind()) {
    case FunctionKind::Builtin: return callBuiltin(*functionOf(fn).builtin, args);
    case FunctionKind::User: return callUser(fn, args);
    case FunctionKind::External: return host_.callExternal(functionOf(fn).external, args);
  }
  return Outcome::failure("bad function");
}

Outcome Machine::callBuiltin(const BuiltinSpec& builtin, std::span<const Value> args) {
  if (builtin.special != nullptr) return Outcome::failure(std::string("bad function: ") + builtin.name);
  if (!countFits(args.size(), builtin.minArgs, builtin.maxArgs)) return countFailure(args.size(), builtin.minArgs);
  return builtin.fn(*this, args);
}

Outcome Machine::callUser(const Value& fn, std::span<const Value> args) {
  const FunctionObject& f = functionOf(fn);
  int count = static_cast<int>(f.params.size());
  if (!countFits(args.size(), count, count)) return countFailure(args.size(), count);
  DynamicScope scope(*this);
  for (std::size_t i = 0; i < f.params.size(); ++i) scope.bind(f.params[i], args[i]);
  for (const std::string& local : f.locals) scope.bind(local, Value());
  return evalBody(f.body);
}

Outcome Machine::makeFunction(const std::string& name, const Value& params, const Value& body) {
  if (!isProperList(params)) return badType("listp", params);
  auto fn = std::make_shared<FunctionObject>();
  fn->kind = FunctionKind::User;
  fn->name = name;
  bool afterSlash = false;
  for (const Value& p : ListView(params)) {
    if (p.isSymbol("/") && !afterSlash) {
      afterSlash = true;
      continue;
    }
    if (!p.isSymbol() || p.isT() || p.text().empty()) return badType("symbolp", p);
    (afterSlash ? fn->locals : fn->params).push_back(p.text());
  }
  fn->body = body;
  return Outcome::success(Value::fromFunction(std::move(fn)));
}

}  // namespace tarn::lisp
