// A test host and an interpreter over it, with a helper that evaluates text
// and gives the printed (prin1) value, or "error: MESSAGE".
#ifndef TARN_TESTS_LISP_FIXTURE_H
#define TARN_TESTS_LISP_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "lisp/interpreter.h"
#include "lisp/printer.h"
#include "lisp/test_host.h"

namespace tarn::lisp::testing {

class LispSession {
 public:
  explicit LispSession(InterpreterLimits limits = {}) : lisp(host, limits) {}

  std::string run(std::string_view text) {
    Outcome r = lisp.evaluate(text);
    return r.ok() ? toShortString(r.value(), 100000) : "error: " + r.error();
  }

  TestHost host;
  Interpreter lisp;
};

struct Case {
  const char* source;
  const char* expected;
};

inline std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.source; }

}  // namespace tarn::lisp::testing

#endif
