// Builtins by group: arithmetic (with integer overflow becoming real),
// comparison, lists, strings, and reading, evaluating and printing.
#include <gtest/gtest.h>

#include "lisp_fixture.h"

namespace tarn::lisp {
namespace {

using testing::Case;
using testing::LispSession;

class BuiltinCases : public ::testing::TestWithParam<Case> {};

TEST_P(BuiltinCases, Evaluate) {
  LispSession s;
  EXPECT_EQ(s.run(GetParam().source), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, BuiltinCases,
    ::testing::Values(Case{"(+ 1 2 3)", "6"}, Case{"(+ 1 2.0)", "3.0"}, Case{"(+)", "0"}, Case{"(- 10 4 1)", "5"},
                      Case{"(- 5)", "-5"}, Case{"(- 2.5)", "-2.5"}, Case{"(* 2 3 4)", "24"}, Case{"(*)", "0"},
                      Case{"(/ 7 2)", "3"}, Case{"(/ -7 2)", "-3"}, Case{"(/ 7 2.0)", "3.5"}, Case{"(/ 9)", "9"},
                      Case{"(rem 7 3)", "1"}, Case{"(rem -7 3)", "-1"}, Case{"(rem 7.5 2)", "1.5"},
                      Case{"(1+ 1)", "2"}, Case{"(1- 1.5)", "0.5"}, Case{"(abs -3)", "3"}, Case{"(abs -3.5)", "3.5"},
                      Case{"(min 3 1 2)", "1"}, Case{"(max 3 1.0 2)", "3.0"}, Case{"(max)", "0"},
                      Case{"(sqrt 16)", "4.0"}, Case{"(sin 0)", "0.0"}, Case{"(cos 0)", "1.0"},
                      Case{"(atan 1 1)", "0.785398"}, Case{"(atan 1)", "0.785398"}, Case{"(exp 1)", "2.71828"},
                      Case{"(log 1)", "0.0"}, Case{"(expt 2 10)", "1024"}, Case{"(expt 2.0 0.5)", "1.41421"},
                      Case{"(expt 2 -1)", "0"}, Case{"(expt -1 2147483647)", "-1"}, Case{"(fix 3.7)", "3"},
                      Case{"(fix -3.7)", "-3"}, Case{"(float 3)", "3.0"}, Case{"(gcd 12 18)", "6"},
                      Case{"(gcd -12 0)", "12"}));

// 32-bit integers that would wrap round become reals instead.
INSTANTIATE_TEST_SUITE_P(
    IntegerOverflow, BuiltinCases,
    ::testing::Values(Case{"(+ 2147483647 1)", "2.14748e+09"}, Case{"(* 65536 65536)", "4.29497e+09"},
                      Case{"(- -2147483648 1)", "-2.14748e+09"}, Case{"(- -2147483648)", "2.14748e+09"},
                      Case{"(abs -2147483648)", "2.14748e+09"}, Case{"(/ -2147483648 -1)", "2.14748e+09"},
                      Case{"(1+ 2147483647)", "2.14748e+09"}, Case{"(expt 2 31)", "2.14748e+09"},
                      Case{"(expt -2 31)", "-2147483648"}, Case{"(rem -2147483648 -1)", "0"},
                      Case{"(type (+ 2147483647 1))", "REAL"}));

INSTANTIATE_TEST_SUITE_P(
    Comparison, BuiltinCases,
    ::testing::Values(Case{"(= 1 1.0)", "T"}, Case{"(= 1 1 2)", "nil"}, Case{"(= \"a\" \"a\")", "T"},
                      Case{"(= 1 \"1\")", "nil"}, Case{"(/= 1 2)", "T"}, Case{"(/= 1 1)", "nil"},
                      Case{"(< 1 2 3)", "T"}, Case{"(< 1 3 2)", "nil"}, Case{"(> 3 2.5)", "T"},
                      Case{"(<= 1 1 2)", "T"}, Case{"(>= 1 2)", "nil"}, Case{"(< \"abc\" \"abd\")", "T"},
                      Case{"(eq 'a 'a)", "T"}, Case{"(eq \"a\" \"a\")", "nil"}, Case{"(setq l '(1)) (eq l l)", "T"},
                      Case{"(eq '(1) '(1))", "nil"}, Case{"(equal '(1 (2 \"x\")) '(1 (2 \"x\")))", "T"},
                      Case{"(equal 1.0 1.05 0.1)", "T"}, Case{"(equal 1.0 1.5 0.1)", "nil"},
                      Case{"(equal '(1 2) '(1 2 3))", "nil"}, Case{"(not nil)", "T"}, Case{"(null 0)", "nil"},
                      Case{"(minusp -0.5)", "T"}, Case{"(zerop 0.0)", "T"}, Case{"(numberp \"1\")", "nil"},
                      Case{"(listp nil)", "T"}, Case{"(listp 'a)", "nil"}, Case{"(atom '(1))", "nil"},
                      Case{"(atom nil)", "T"}));

INSTANTIATE_TEST_SUITE_P(
    Lists, BuiltinCases,
    ::testing::Values(Case{"(car '(1 2))", "1"}, Case{"(cdr '(1 2))", "(2)"}, Case{"(car nil)", "nil"},
                      Case{"(cadr '(1 2 3))", "2"}, Case{"(caddr '(1 2 3))", "3"}, Case{"(cddr '(1 2 3))", "(3)"},
                      Case{"(caar '((1) 2))", "1"}, Case{"(cdar '((1 . 5)))", "5"},
                      Case{"(cadr '(10 1.0 2.0))", "1.0"}, Case{"(cons 1 '(2))", "(1 2)"}, Case{"(cons 1 2)", "(1 . 2)"},
                      Case{"(list 1 \"a\" 'b)", "(1 \"a\" B)"}, Case{"(list)", "nil"},
                      Case{"(append '(1) '(2 3) nil '(4))", "(1 2 3 4)"}, Case{"(append)", "nil"},
                      Case{"(length '(1 2 3))", "3"}, Case{"(length nil)", "0"}, Case{"(nth 1 '(a b c))", "B"},
                      Case{"(nth 5 '(a))", "nil"}, Case{"(nth -1 '(a))", "nil"}, Case{"(reverse '(1 2 3))", "(3 2 1)"},
                      Case{"(member 2 '(1 2 3))", "(2 3)"}, Case{"(member \"b\" '(\"a\" \"b\"))", "(\"b\")"},
                      Case{"(member 9 '(1))", "nil"}, Case{"(assoc 8 '((0 . \"LINE\") (8 . \"0\")))", "(8 . \"0\")"},
                      Case{"(assoc 10 '(1 (10 1.0 2.0)))", "(10 1.0 2.0)"}, Case{"(assoc 9 '((1 . 2)))", "nil"},
                      Case{"(last '(1 2 3))", "3"}, Case{"(last nil)", "nil"},
                      Case{"(subst 'qq 'b '(a b (c b) b))", "(A QQ (C B) QQ)"},
                      Case{"(subst '(8 . \"NEW\") (assoc 8 '((0 . \"C\") (8 . \"OLD\"))) '((0 . \"C\") (8 . \"OLD\")))",
                           "((0 . \"C\") (8 . \"NEW\"))"},
                      Case{"(mapcar '1+ '(1 2 3))", "(2 3 4)"}, Case{"(mapcar '+ '(1 2 3) '(10 20))", "(11 22)"},
                      Case{"(mapcar '(lambda (x) (* x x)) '(2 3))", "(4 9)"}, Case{"(apply '+ '(1 2 3))", "6"},
                      Case{"(apply 'max '(4 9 2))", "9"}, Case{"(apply (lambda (a b) (list b a)) '(1 2))", "(2 1)"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, BuiltinCases,
    ::testing::Values(Case{"(strcat \"ab\" \"\" \"cd\")", "\"abcd\""}, Case{"(strcat)", "\"\""},
                      Case{"(strlen \"hello\")", "5"}, Case{"(strlen \"ab\" \"c\")", "3"}, Case{"(strlen)", "0"},
                      Case{"(strlen \"\xE4\xB8\xAD\xE6\x96\x87\")", "2"}, Case{"(substr \"hello\" 2 3)", "\"ell\""},
                      Case{"(substr \"hello\" 3)", "\"llo\""}, Case{"(substr \"hello\" 9)", "\"\""},
                      Case{"(substr \"hello\" 4 99)", "\"lo\""},
                      Case{"(substr \"a\xE4\xB8\xAD\xE6\x96\x87z\" 2 2)", "\"\xE4\xB8\xAD\xE6\x96\x87\""},
                      Case{"(strcase \"Mixed 1\")", "\"MIXED 1\""}, Case{"(strcase \"Mixed\" t)", "\"mixed\""},
                      Case{"(atoi \" 42abc\")", "42"}, Case{"(atoi \"-7\")", "-7"}, Case{"(atoi \"x\")", "0"},
                      Case{"(atoi \"99999999999\")", "2147483647"}, Case{"(atof \"2.5e1x\")", "25.0"},
                      Case{"(atof \"abc\")", "0.0"}, Case{"(atof \"nan\")", "0.0"}, Case{"(itoa -15)", "\"-15\""}));

INSTANTIATE_TEST_SUITE_P(
    ReadEvalTypes, BuiltinCases,
    ::testing::Values(Case{"(read \"(a . 1)\")", "(A . 1)"}, Case{"(read \"1 2\")", "1"}, Case{"(read \"\")", "nil"},
                      Case{"(eval '(+ 1 2))", "3"}, Case{"(eval (read \"(* 2 3)\"))", "6"},
                      Case{"(type 1)", "INT"}, Case{"(type 1.0)", "REAL"}, Case{"(type \"s\")", "STR"},
                      Case{"(type 'a)", "SYM"}, Case{"(type '(1))", "LIST"}, Case{"(type nil)", "nil"},
                      Case{"(type car)", "SUBR"}, Case{"(type if)", "SUBR"}, Case{"(defun f ()) (type f)", "USUBR"},
                      Case{"(boundp 'zz)", "nil"}, Case{"(setq zz 1) (boundp 'zz)", "T"},
                      Case{"(set 'q 5) q", "5"}, Case{"(set (read \"w\") 6) w", "6"}, Case{"car", "#<SUBR CAR>"},
                      Case{"(defun sq (x) x) sq", "#<USUBR SQ>"}, Case{"(lambda (x) x)", "#<USUBR lambda>"}));

class BuiltinErrors : public ::testing::TestWithParam<Case> {};

TEST_P(BuiltinErrors, AbortWithTheMessage) {
  LispSession s;
  EXPECT_EQ(s.run(GetParam().source), std::string("error: ") + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BuiltinErrors,
    ::testing::Values(Case{"(+ 1 \"a\")", "bad argument type: numberp: \"a\""}, Case{"(/ 1 0)", "divide by zero"},
                      Case{"(/ 1.0 0.0)", "divide by zero"}, Case{"(rem 1 0)", "divide by zero"},
                      Case{"(expt 0 -1)", "divide by zero"}, Case{"(sqrt -1)", "function undefined for argument: -1"},
                      Case{"(log 0)", "function undefined for argument: 0"},
                      Case{"(exp 1000)", "floating-point overflow"}, Case{"(* 1e300 1e300)", "floating-point overflow"},
                      Case{"(fix 1e20)", "integer overflow: fix: 1.0e+20"}, Case{"(gcd 1.5 2)", "bad argument type: fixnump: 1.5"},
                      Case{"(< 1 \"a\")", "bad argument type: numberp: \"a\""}, Case{"(zerop 'a)", "bad argument type: numberp: A"},
                      Case{"(car 5)", "bad argument type: consp: 5"}, Case{"(cadr '(1 . 2))", "bad argument type: consp: 2"},
                      Case{"(length '(1 . 2))", "bad list: (1 . 2)"}, Case{"(length 5)", "bad argument type: listp: 5"},
                      Case{"(append '(1 . 2) nil)", "bad list: (1 . 2)"}, Case{"(nth 1.0 '(1))", "bad argument type: fixnump: 1.0"},
                      Case{"(mapcar 'nothing '(1))", "bad function: NOTHING"}, Case{"(apply 'if '(t 1))", "bad function: IF"},
                      Case{"(cons 1)", "too few arguments"}, Case{"(car '(1) '(2))", "too many arguments"},
                      Case{"(strcat \"a\" 1)", "bad argument type: stringp: 1"},
                      Case{"(substr \"abc\" 0)", "bad argument value: substr: 0"},
                      Case{"(substr \"abc\" 1 -1)", "bad argument value: substr: -1"},
                      Case{"(itoa 1.5)", "bad argument type: fixnump: 1.5"},
                      Case{"(read \"(1\")", "malformed list on input: missing right paren for the list opened here at line 1, column 1"},
                      Case{"(set 1 2)", "bad argument type: symbolp: 1"}, Case{"(set 'while 2)", "attempt to redefine a special form: WHILE"},
                      Case{"(boundp 1)", "bad argument type: symbolp: 1"}));

TEST(PrintBuiltins, WriteTheFormsToTheCommandLine) {
  LispSession s;
  EXPECT_EQ(s.run("(princ \"a\\nb\") (prin1 \"q\") (print '(1 \"x\")) (terpri) (prompt \"P>\") (princ 2.0)"), "2.0");
  EXPECT_EQ(s.host.output, "a\nb\"q\"\n(1 \"x\") \nP>2.0");
}

TEST(PrintBuiltins, PrincWithoutArgumentReturnsTheQuietValue) {
  LispSession s;
  Outcome r = s.lisp.evaluate("(defun c:quiet () (princ))");
  ASSERT_TRUE(r.ok());
  Outcome q = s.lisp.callFunction("c:quiet", {});
  ASSERT_TRUE(q.ok());
  EXPECT_EQ(toString(q.value(), PrintStyle::Princ), "");
  EXPECT_TRUE(s.host.output.empty());
}

}  // namespace
}  // namespace tarn::lisp
