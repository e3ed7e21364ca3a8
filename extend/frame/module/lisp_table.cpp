// The LISP function table: the row's position is the function code the host
// calls back with. CAL works both as a typed command ("C:CAL") and as a
// LISP function with an expression argument ("CAL").
#include "module_tables.h"

#if __has_include("calc/cal_function.h") && !defined(TARN_FRAME_WITHOUT_CAL)
#include "calc/cal_function.h"
#define TARN_FRAME_HAS_CAL 1
#else
#define TARN_FRAME_HAS_CAL 0
#endif

namespace tarn::frame {
namespace {

#if TARN_FRAME_HAS_CAL
constexpr LispFunctionRow kLispFunctions[] = {
    {"C:CAL", 6120, &tarn::calc::CalFunction},
    {"CAL", 6121, &tarn::calc::CalFunction},
};
#endif

}  // namespace

std::span<const LispFunctionRow> LispFunctions() {
#if TARN_FRAME_HAS_CAL
    return kLispFunctions;
#else
    return {};
#endif
}

}  // namespace tarn::frame
