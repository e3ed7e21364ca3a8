// Evaluator: special forms, user functions with dynamic binding, errors at
// the top level, the user's *error* function, and the limits that keep a
// runaway evaluation from hanging or crashing the host.
#include <gtest/gtest.h>

#include "lisp_fixture.h"

namespace tarn::lisp {
namespace {

using testing::Case;
using testing::LispSession;

class SpecialForms : public ::testing::TestWithParam<Case> {};

TEST_P(SpecialForms, Evaluate) {
  LispSession s;
  EXPECT_EQ(s.run(GetParam().source), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SpecialForms,
    ::testing::Values(
        Case{"(quote (a b))", "(A B)"}, Case{"'x", "X"}, Case{"(setq a 1 b (+ a 1)) (list a b)", "(1 2)"},
        Case{"(setq)", "nil"}, Case{"(defun sq (x) (* x x)) (sq 7)", "49"}, Case{"(defun f () 1)", "F"},
        Case{"(defun f ()) (f)", "nil"}, Case{"((lambda (x y) (- x y)) 5 2)", "3"},
        Case{"(setq f (lambda (x) (+ x 1))) (f 1)", "2"}, Case{"(if nil 1 2)", "2"}, Case{"(if 0 1 2)", "1"},
        Case{"(if nil 1)", "nil"}, Case{"(cond ((= 1 2) 'a) ((= 1 1) 'b) (t 'c))", "B"},
        Case{"(cond ((+ 1 2)))", "3"}, Case{"(cond (nil 1))", "nil"}, Case{"(progn 1 2 3)", "3"},
        Case{"(progn)", "nil"}, Case{"(setq i 0 s 0) (while (< i 5) (setq s (+ s i) i (1+ i))) s", "10"},
        Case{"(while nil 1)", "nil"}, Case{"(setq n 0) (repeat 4 (setq n (+ n 2)))", "8"},
        Case{"(repeat 0 1)", "nil"}, Case{"(repeat -3 1)", "nil"},
        Case{"(setq s 0) (foreach x '(1 2 3) (setq s (+ s x))) s", "6"},
        Case{"(foreach x nil x)", "nil"}, Case{"(and 1 2)", "T"}, Case{"(and 1 nil (exit))", "nil"},
        Case{"(and)", "T"}, Case{"(or nil 3)", "T"}, Case{"(or nil nil)", "nil"}, Case{"(or t (exit))", "T"},
        Case{"(or)", "nil"}, Case{"(mapcar (function (lambda (x) (* 2 x))) '(1 2))", "(2 4)"},
        Case{"(defun c:hello () (princ \"hi\") (princ))", "C:HELLO"}));

class FormErrors : public ::testing::TestWithParam<Case> {};

TEST_P(FormErrors, AbortWithTheMessage) {
  LispSession s;
  EXPECT_EQ(s.run(GetParam().source), std::string("error: ") + GetParam().expected);
  EXPECT_EQ(s.host.output, std::string("; error: ") + GetParam().expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormErrors,
    ::testing::Values(Case{"(undefined-fn 1)", "no function definition: UNDEFINED-FN"},
                      Case{"(1 2)", "bad function: 1"}, Case{"(\"s\")", "bad function: \"s\""},
                      Case{"(setq x 5) (x)", "bad function: 5"}, Case{"(setq a)", "too few arguments"},
                      Case{"(setq 1 2)", "bad argument type: symbolp: 1"},
                      Case{"(setq t 2)", "attempt to set a constant: T"},
                      Case{"(setq if 2)", "attempt to redefine a special form: IF"},
                      Case{"(if)", "too few arguments"}, Case{"(if 1 2 3 4)", "too many arguments"},
                      Case{"(quote)", "too few arguments"}, Case{"(defun f (x) x) (f)", "too few arguments"},
                      Case{"(defun f (x) x) (f 1 2)", "too many arguments"},
                      Case{"(defun f (1) 1)", "bad argument type: symbolp: 1"},
                      Case{"(repeat 2.5 1)", "bad argument type: fixnump: 2.5"},
                      Case{"(foreach x 5 x)", "bad argument type: listp: 5"},
                      Case{"(cond 5)", "bad argument type: consp: 5"},
                      Case{"(+ 1 . 2)", "malformed list: (+ 1 . 2)"}, Case{"(exit)", "quit / exit abort"},
                      Case{"(quit)", "quit / exit abort"},
                      Case{"(progn (car 1))", "bad argument type: consp: 1"},
                      Case{"(+ 1 (/ 1 0))", "divide by zero"},
                      Case{"(1 2", "malformed list on input: missing right paren for the list opened here at "
                                   "line 1, column 1"}));

TEST(Evaluator, UnboundSymbolsAreNilAndTIsItself) {
  LispSession s;
  EXPECT_EQ(s.run("never-set"), "nil");
  EXPECT_EQ(s.run("t"), "T");
}

TEST(Evaluator, ParametersAndLocalsAreRestoredAfterTheCall) {
  LispSession s;
  EXPECT_EQ(s.run("(setq x 'outer y 'outer2 z 'outer3)"
                  "(defun f (x / y) (setq y 'inner z 'changed) (list x y))"
                  "(list (f 1) x y z)"),
            "((1 INNER) OUTER OUTER2 CHANGED)");
}

TEST(Evaluator, BindingsAreDynamicSoCalleesSeeCallerLocals) {
  LispSession s;
  EXPECT_EQ(s.run("(defun inner () v) (defun outer (/ v) (setq v 42) (inner)) (list (outer) v)"), "(42 nil)");
}

TEST(Evaluator, BindingsAreRestoredWhenAnErrorUnwindsTheCall) {
  LispSession s;
  s.run("(setq x 'kept) (defun bad (x) (car x))");
  EXPECT_EQ(s.run("(bad 5)"), "error: bad argument type: consp: 5");
  EXPECT_EQ(s.run("x"), "KEPT") << "the parameter binding leaked out of the failed call";
  s.run("(foreach x '(1 2) (car x))");
  EXPECT_EQ(s.run("x"), "KEPT");
}

TEST(Evaluator, RecursionWorks) {
  LispSession s;
  EXPECT_EQ(s.run("(defun fact (n) (if (<= n 1) 1 (* n (fact (1- n))))) (fact 10)"), "3628800");
  EXPECT_EQ(s.run("(fact 13)"), "6.22702e+09");
}

TEST(Evaluator, ErrorStopsTheRestOfTheText) {
  LispSession s;
  EXPECT_EQ(s.run("(setq a 1) (car 'x) (setq a 2)"), "error: bad argument type: consp: X");
  EXPECT_EQ(s.run("a"), "1");
}

TEST(Evaluator, UserErrorFunctionReceivesTheMessageInsteadOfThePrintout) {
  LispSession s;
  s.run("(defun *error* (msg) (princ (strcat \"caught: \" msg)))");
  s.host.output.clear();
  EXPECT_EQ(s.run("(/ 1 0)"), "error: divide by zero");
  EXPECT_EQ(s.host.output, "caught: divide by zero");
}

TEST(Evaluator, FailingErrorFunctionReportsItsOwnErrorWithoutRecursing) {
  LispSession s;
  s.run("(defun *error* (msg) (car msg))");
  s.host.output.clear();
  s.run("(exit)");
  EXPECT_EQ(s.host.output, "; error: bad argument type: consp: \"quit / exit abort\"\n");
}

TEST(EvaluatorLimits, EndlessLoopStopsAtTheStepLimit) {
  InterpreterLimits limits;
  limits.maxSteps = 10000;
  LispSession s(limits);
  std::string r = s.run("(while t 1)");
  EXPECT_EQ(r, "error: evaluation stopped after 10000 steps");
  EXPECT_EQ(s.run("(+ 1 2)"), "3") << "each top-level form has its own budget";
}

TEST(EvaluatorLimits, ExponentialStructureCannotExhaustTimeThroughEqualOrPrint) {
  InterpreterLimits limits;
  limits.maxSteps = 100000;
  limits.maxStringLength = 1 << 16;
  LispSession s(limits);
  s.run("(setq x '(1) y '(1)) (repeat 60 (setq x (list x x) y (list y y)))");
  EXPECT_EQ(s.run("(equal x y)").substr(0, 27), "error: evaluation stopped a");
  EXPECT_EQ(s.run("(length x)"), "2");
  EXPECT_EQ(s.run("(prin1 x)").substr(0, 25), "error: output too long: m");
  EXPECT_EQ(s.run("(setq y \"ab\") (repeat 40 (setq y (strcat y y)))").substr(0, 23), "error: string too long:");
}

TEST(EvaluatorLimits, EndlessRecursionIsAnErrorNotACrash) {
  LispSession s;
  s.run("(defun down (n) (down (1+ n)))");
  EXPECT_EQ(s.run("(down 0)").substr(0, 22), "error: stack overflow:");
  EXPECT_EQ(s.run("(setq f '(lambda (x) (apply f (list x)))) (apply f '(1))").substr(0, 22),
            "error: stack overflow:");
}

TEST(EvaluatorLimits, MillionElementListsAreBuiltWalkedAndFreedWithoutStackTrouble) {
  LispSession s;
  EXPECT_EQ(s.run("(setq l nil) (repeat 1000000 (setq l (cons 1 l))) (length l)"), "1000000");
  EXPECT_EQ(s.run("(setq d nil) (repeat 200000 (setq d (list d))) (setq d nil l nil)"), "nil");
}

TEST(Evaluator, NestedListsDeeperThanTheWalkLimitFailCleanlyInEqual) {
  LispSession s;
  s.run("(setq a nil b nil) (repeat 6000 (setq a (list a) b (list b)))");
  EXPECT_EQ(s.run("(equal a b)"), "error: list nested too deeply");
}

}  // namespace
}  // namespace tarn::lisp
