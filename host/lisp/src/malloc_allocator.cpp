// Result buffers from malloc, counted, released with their strings and
// binary chunks.
#include <cstdlib>

#include "lisp/resbuf_bridge.h"
#include "tarnsdk/groupcodes.h"

namespace tarn::lisp {

resbuf* MallocResbufAllocator::newBuffer(short type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb == nullptr) return nullptr;
  rb->restype = type;
  ++live_;
  return rb;
}

char* MallocResbufAllocator::newBytes(std::size_t n) { return static_cast<char*>(std::malloc(n == 0 ? 1 : n)); }

void MallocResbufAllocator::releaseChain(resbuf* chain) {
  while (chain != nullptr) {
    resbuf* next = chain->rbnext;
    enum tc_value_kind kind = tcValueKind(chain->restype);
    if (kind == TC_KIND_STRING) std::free(chain->resval.rstring);
    if (kind == TC_KIND_BINARY) std::free(chain->resval.rbinary.buf);
    std::free(chain);
    --live_;
    chain = next;
  }
}

}  // namespace tarn::lisp
