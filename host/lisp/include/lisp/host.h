// What the LISP needs of the CAD host: the command line, system variables,
// host commands, functions defined by modules, and number formatting. The
// host implements this; test_host.h has a stand-in for tests.
#ifndef TARN_LISP_HOST_H
#define TARN_LISP_HOST_H

#include <span>
#include <string_view>

#include "lisp/outcome.h"
#include "lisp/value.h"

namespace tarn::lisp {

enum class NumberFormat { Distance, Angle };

class LispHost {
 public:
  virtual ~LispHost() = default;

  // Text for the command line, as it is (no line end added).
  virtual void print(std::string_view text) = 0;

  // The value of a system variable (name as typed); nil for an unknown one.
  virtual Outcome getVar(std::string_view name) = 0;

  // Sets a system variable; the value set, or an error message when the host
  // refuses (unknown, read-only, out of range).
  virtual Outcome setVar(std::string_view name, const Value& value) = 0;

  // Feeds the arguments to the host command line (strings, numbers, points as
  // lists, entity names, selection sets; "" is Enter). Nil, or an error such
  // as "Function cancelled".
  virtual Outcome command(std::span<const Value> args) = 0;

  // Calls the module that defined `fn` with the function code and the
  // arguments (as a result-buffer chain, see resbuf_bridge.h) and returns
  // what the module returned.
  virtual Outcome callExternal(const ExternalFunction& fn, std::span<const Value> args) = 0;

  // Formats a distance (rtos) or an angle in radians (angtos). mode and
  // precision are -1 for the drawing's current settings (LUNITS/LUPREC,
  // AUNITS/AUPREC). A string value, or an error.
  virtual Outcome formatNumber(NumberFormat kind, double value, int mode, int precision) = 0;
};

}  // namespace tarn::lisp

#endif
