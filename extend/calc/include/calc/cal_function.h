// The CAL calculator as a LISP function: "C:CAL" and "CAL" both call
// CalFunction with the argument list the interpreter passes.
#pragma once

#include "tarnsdk/tctypes.h"

namespace tarn::calc {

// Evaluates the expression given as the first argument (a string or a
// number) or, with no argument, asks for one at the command line. The
// result goes back to LISP as an integer when it is one, as a real
// otherwise, or as nil when the expression is invalid. Returns the
// status the LISP function table expects.
int CalFunction(struct resbuf* args);

}  // namespace tarn::calc
