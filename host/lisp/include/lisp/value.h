// The values of the host's LISP: integers, reals, strings, symbols, cons
// cells, entity and selection-set names and functions. A Value is a small
// handle; strings, symbols, conses and functions live on the heap, shared by
// reference count. Cons cells are never changed after construction, so no
// cycle can form and counting frees everything.
#ifndef TARN_LISP_VALUE_H
#define TARN_LISP_VALUE_H

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tarn::lisp {

enum class Type : std::uint8_t {
  Nil,
  Int,
  Real,
  String,
  Symbol,
  Cons,
  EntityName,
  SelectionSet,
  Function
};

enum class FunctionKind : std::uint8_t {
  Builtin,   // a function of the interpreter itself
  User,      // made by defun or lambda
  External   // defined by a module under a function code
};

// A function defined by a module: the host calls the module back with the
// function code; `owner` is the host's tag of the module that defined it.
struct ExternalFunction {
  std::string name;
  int code = 0;
  std::uintptr_t owner = 0;
};

struct HeapObject {
  virtual ~HeapObject() = default;
};

class Value {
 public:
  Value() = default;  // nil

  static Value integer(std::int32_t v);
  static Value real(double v);
  static Value string(std::string_view text);
  static Value symbol(std::string_view name);  // the name as given (no case change)
  static Value t();                            // the symbol T
  static Value quiet();                        // the empty-named symbol that prints as nothing
  static Value cons(Value car, Value cdr);
  static Value list(std::initializer_list<Value> items);
  static Value entityName(std::int32_t w0, std::int32_t w1);
  static Value selectionSet(std::int32_t w0, std::int32_t w1);
  static Value external(ExternalFunction fn);

  Type type() const { return type_; }
  bool isNil() const { return type_ == Type::Nil; }
  bool isCons() const { return type_ == Type::Cons; }
  bool isList() const { return type_ == Type::Nil || type_ == Type::Cons; }
  bool isNumber() const { return type_ == Type::Int || type_ == Type::Real; }
  bool isSymbol() const { return type_ == Type::Symbol; }
  bool isSymbol(std::string_view name) const;
  bool isT() const { return isSymbol("T"); }
  bool isString() const { return type_ == Type::String; }
  bool isFunction() const { return type_ == Type::Function; }

  std::int32_t asInt() const { return u_.i; }
  double asReal() const { return u_.r; }
  double asNumber() const { return type_ == Type::Int ? u_.i : u_.r; }
  const std::string& text() const;        // string text or symbol name
  const Value& car() const;               // nil for nil
  const Value& cdr() const;               // nil for nil
  std::int32_t nameWord(int i) const { return u_.name[i]; }
  FunctionKind functionKind() const;
  const std::string& functionName() const;
  const ExternalFunction* externalFunction() const;  // null unless an external function

  // The heap object behind a string, symbol, cons or function: the identity
  // that eq compares for strings and conses.
  const HeapObject* heap() const { return heap_.get(); }

  // Used by the interpreter to wrap its own function objects.
  static Value fromFunction(std::shared_ptr<const HeapObject> fn);

 private:
  friend struct ConsObject;
  friend class ListBuilder;

  Type type_ = Type::Nil;
  union {
    std::int32_t i;
    double r;
    std::int32_t name[2];
  } u_{};
  std::shared_ptr<const HeapObject> heap_;
};

// Walks the cars of a list; stops at the first cdr that is not a cons.
class ListIterator {
 public:
  explicit ListIterator(const Value* cell) : cell_(cell) {}
  const Value& operator*() const { return cell_->car(); }
  ListIterator& operator++() {
    cell_ = &cell_->cdr();
    if (!cell_->isCons()) cell_ = nullptr;
    return *this;
  }
  bool operator!=(const ListIterator& other) const { return cell_ != other.cell_; }

 private:
  const Value* cell_;
};

// Holds its own reference to the list, so iterating over a temporary is safe.
class ListView {
 public:
  explicit ListView(Value list) : list_(std::move(list)) {}
  ListIterator begin() const { return ListIterator(list_.isCons() ? &list_ : nullptr); }
  ListIterator end() const { return ListIterator(nullptr); }

 private:
  Value list_;
};

// Builds a list front to back in constant time per element.
class ListBuilder {
 public:
  void add(Value item);
  // Ends the list with `tail` instead of nil (for dotted lists and append).
  Value finish(Value tail = Value());
  bool empty() const { return head_.isNil(); }

 private:
  Value head_;
  HeapObject* last_ = nullptr;
};

bool isProperList(const Value& v);

}  // namespace tarn::lisp

#endif
