// The slot for a module's return value.
#include "lisp/return_slot.h"

#include "lisp/resbuf_bridge.h"

namespace tarn::lisp {

int ReturnSlot::setChain(const resbuf* chain) {
  Outcome converted = chainToValue(chain);
  bool ok = converted.ok();
  set(std::move(converted));
  return ok ? RTNORM : RTERROR;
}

Outcome ReturnSlot::take() {
  Outcome out = std::move(value_);
  value_ = Outcome::success(Value());
  set_ = false;
  return out;
}

}  // namespace tarn::lisp
