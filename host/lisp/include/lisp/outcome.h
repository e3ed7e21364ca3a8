// The result of evaluating LISP: a value, or the message of the error that
// stopped the evaluation.
#ifndef TARN_LISP_OUTCOME_H
#define TARN_LISP_OUTCOME_H

#include <string>
#include <utility>

#include "lisp/value.h"

namespace tarn::lisp {

class Outcome {
 public:
  static Outcome success(Value v) {
    Outcome o;
    o.value_ = std::move(v);
    return o;
  }
  static Outcome failure(std::string message) {
    Outcome o;
    o.failed_ = true;
    o.error_ = message.empty() ? "unknown error" : std::move(message);
    return o;
  }

  bool ok() const { return !failed_; }
  const Value& value() const { return value_; }
  Value take() { return std::move(value_); }
  // The message without the "; error: " that the top level puts before it.
  const std::string& error() const { return error_; }

 private:
  Value value_;
  std::string error_;
  bool failed_ = false;
};

}  // namespace tarn::lisp

#endif
