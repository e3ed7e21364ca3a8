// The value a module returns to LISP: the host implements tcedRetVal,
// tcedRetReal, tcedRetInt, tcedRetNil and tcedRetVoid by setting it while
// the module's function runs, and hands the value to the caller afterwards.
#ifndef TARN_LISP_RETURN_SLOT_H
#define TARN_LISP_RETURN_SLOT_H

#include <cstdint>

#include "lisp/outcome.h"
#include "lisp/value.h"
#include "tarnsdk/tctypes.h"

namespace tarn::lisp {

class ReturnSlot {
 public:
  // tcedRetVal: the buffer (and, for a list, the chain from it) is converted
  // at once, so the module may release it afterwards. RTNORM, or RTERROR for
  // a malformed chain (the slot then holds the error).
  int setChain(const resbuf* chain);
  void setReal(double v) { set(Outcome::success(Value::real(v))); }
  void setInt(std::int32_t v) { set(Outcome::success(Value::integer(v))); }
  void setNil() { set(Outcome::success(Value())); }
  void setT() { set(Outcome::success(Value::t())); }
  // The function returns quietly: nothing is echoed.
  void setVoid() { set(Outcome::success(Value::quiet())); }

  bool isSet() const { return set_; }
  // The returned value (nil when the module set none); clears the slot.
  Outcome take();

 private:
  void set(Outcome o) {
    value_ = std::move(o);
    set_ = true;
  }

  Outcome value_ = Outcome::success(Value());
  bool set_ = false;
};

}  // namespace tarn::lisp

#endif
