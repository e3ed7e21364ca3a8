// Value construction and access, and the release of long lists without deep
// recursion.
#include "lisp/value.h"

#include <utility>
#include <vector>

#include "function_object.h"
#include "heap_objects.h"

namespace tarn::lisp {

namespace {

const Value& nilValue() {
  static const Value nil;
  return nil;
}

const std::string& emptyText() {
  static const std::string empty;
  return empty;
}

}  // namespace

// A list of a million elements, or one nested a million levels deep, would
// release itself recursively and exhaust the stack. Each cell hands its
// sole-owned cons children to a work list instead, so release runs in a loop;
// a cell whose children are already taken releases nothing more.
ConsObject::~ConsObject() {
  std::vector<std::shared_ptr<const HeapObject>> pending;
  auto detach = [&pending](Value& v) {
    if (v.type_ == Type::Cons && v.heap_.use_count() == 1) pending.push_back(std::move(v.heap_));
  };
  detach(car);
  detach(cdr);
  while (!pending.empty()) {
    std::shared_ptr<const HeapObject> cell = std::move(pending.back());
    pending.pop_back();
    // The cell is sole-owned here and was never const when made.
    auto* cons = const_cast<ConsObject*>(static_cast<const ConsObject*>(cell.get()));
    detach(cons->car);
    detach(cons->cdr);
  }
}

Value Value::integer(std::int32_t v) {
  Value out;
  out.type_ = Type::Int;
  out.u_.i = v;
  return out;
}

Value Value::real(double v) {
  Value out;
  out.type_ = Type::Real;
  out.u_.r = v;
  return out;
}

Value Value::string(std::string_view text) {
  Value out;
  out.type_ = Type::String;
  out.heap_ = std::make_shared<TextObject>(std::string(text));
  return out;
}

Value Value::symbol(std::string_view name) {
  if (name == "NIL") return Value();
  Value out;
  out.type_ = Type::Symbol;
  out.heap_ = std::make_shared<TextObject>(std::string(name));
  return out;
}

Value Value::t() {
  static const Value tee = symbol("T");
  return tee;
}

Value Value::quiet() {
  static const Value q = symbol("");
  return q;
}

Value Value::cons(Value car, Value cdr) {
  Value out;
  out.type_ = Type::Cons;
  out.heap_ = std::make_shared<ConsObject>(std::move(car), std::move(cdr));
  return out;
}

Value Value::list(std::initializer_list<Value> items) {
  ListBuilder b;
  for (const Value& v : items) b.add(v);
  return b.finish();
}

Value Value::entityName(std::int32_t w0, std::int32_t w1) {
  Value out;
  out.type_ = Type::EntityName;
  out.u_.name[0] = w0;
  out.u_.name[1] = w1;
  return out;
}

Value Value::selectionSet(std::int32_t w0, std::int32_t w1) {
  Value out = entityName(w0, w1);
  out.type_ = Type::SelectionSet;
  return out;
}

Value Value::external(ExternalFunction fn) {
  auto obj = std::make_shared<FunctionObject>();
  obj->kind = FunctionKind::External;
  obj->name = fn.name;
  obj->external = std::move(fn);
  return fromFunction(std::move(obj));
}

Value Value::fromFunction(std::shared_ptr<const HeapObject> fn) {
  Value out;
  out.type_ = Type::Function;
  out.heap_ = std::move(fn);
  return out;
}

bool Value::isSymbol(std::string_view name) const {
  return type_ == Type::Symbol && text() == name;
}

const std::string& Value::text() const {
  if (type_ != Type::String && type_ != Type::Symbol) return emptyText();
  return static_cast<const TextObject*>(heap_.get())->text;
}

const Value& Value::car() const {
  if (type_ != Type::Cons) return nilValue();
  return static_cast<const ConsObject*>(heap_.get())->car;
}

const Value& Value::cdr() const {
  if (type_ != Type::Cons) return nilValue();
  return static_cast<const ConsObject*>(heap_.get())->cdr;
}

FunctionKind Value::functionKind() const {
  return static_cast<const FunctionObject*>(heap_.get())->kind;
}

const std::string& Value::functionName() const {
  if (type_ != Type::Function) return emptyText();
  return static_cast<const FunctionObject*>(heap_.get())->name;
}

const ExternalFunction* Value::externalFunction() const {
  if (type_ != Type::Function) return nullptr;
  const auto* fn = static_cast<const FunctionObject*>(heap_.get());
  return fn->kind == FunctionKind::External ? &fn->external : nullptr;
}

void ListBuilder::add(Value item) {
  Value cell = Value::cons(std::move(item), Value());
  HeapObject* raw = const_cast<HeapObject*>(cell.heap_.get());
  if (last_ == nullptr) {
    head_ = std::move(cell);
  } else {
    static_cast<ConsObject*>(last_)->cdr = std::move(cell);
  }
  last_ = raw;
}

Value ListBuilder::finish(Value tail) {
  if (last_ == nullptr) return tail;
  static_cast<ConsObject*>(last_)->cdr = std::move(tail);
  last_ = nullptr;
  return std::exchange(head_, Value());
}

bool isProperList(const Value& v) {
  const Value* cell = &v;
  while (cell->isCons()) cell = &cell->cdr();
  return cell->isNil();
}

}  // namespace tarn::lisp
