// Building result-buffer chains inside the host.
#include <cstring>

#include <tarnsdk/tcutapi.h>

#include "api/resbuf_util.h"

namespace tarn::host {

ChainBuilder::~ChainBuilder() { tcutRelRb(head_); }

struct resbuf* ChainBuilder::add(int type) {
  struct resbuf* rb = tcutNewRb(type);
  *tail_ = rb;
  tail_ = &rb->rbnext;
  return rb;
}
void ChainBuilder::addText(int type, std::string_view s) { add(type)->resval.rstring = copyText(s); }
void ChainBuilder::addReal(int type, double v) { add(type)->resval.rreal = v; }
void ChainBuilder::addPoint(int type, double x, double y, double z) {
  struct resbuf* rb = add(type);
  rb->resval.rpoint[0] = x;
  rb->resval.rpoint[1] = y;
  rb->resval.rpoint[2] = z;
}
void ChainBuilder::addShort(int type, int v) { add(type)->resval.rint = short(v); }
void ChainBuilder::addLong(int type, int32_t v) { add(type)->resval.rlong = v; }
void ChainBuilder::addName(int type, const tc_name n) {
  struct resbuf* rb = add(type);
  rb->resval.rlname[0] = n[0];
  rb->resval.rlname[1] = n[1];
}

}  // namespace tarn::host
