// Result buffers: allocation, release and building of chains, counted so
// that tests can see what a command left behind.
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "api/resbuf_util.h"

namespace tarn::host {

char* copyText(std::string_view s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  if (s.size()) std::memcpy(p, s.data(), s.size());
  p[s.size()] = '\0';
  return p;
}

bool ownsText(int type) {
  tc_value_kind k = tcValueKind(type);
  return k == TC_KIND_STRING;
}

}  // namespace tarn::host

using tarn::host::counters;

extern "C" {

struct resbuf* tcutNewRb(int type) {
  auto* rb = static_cast<struct resbuf*>(std::calloc(1, sizeof(struct resbuf)));
  rb->restype = short(type);
  ++counters().resbufs;
  return rb;
}

int tcutRelRb(struct resbuf* rb) {
  while (rb) {
    struct resbuf* next = rb->rbnext;
    tc_value_kind k = tcValueKind(rb->restype);
    if (k == TC_KIND_STRING) std::free(rb->resval.rstring);
    else if (k == TC_KIND_BINARY) std::free(rb->resval.rbinary.buf);
    std::free(rb);
    --counters().resbufs;
    rb = next;
  }
  return RTNORM;
}

struct resbuf* tcutBuildList(int type, ...) {
  va_list ap;
  va_start(ap, type);
  struct resbuf* head = nullptr;
  struct resbuf** tail = &head;
  bool bad = false;
  for (; type != 0 && type != RTNONE; type = va_arg(ap, int)) {
    struct resbuf* rb = tcutNewRb(type);
    *tail = rb;
    tail = &rb->rbnext;
    switch (tcValueKind(type)) {
      case TC_KIND_REAL: rb->resval.rreal = va_arg(ap, double); break;
      case TC_KIND_POINT: {
        const double* p = va_arg(ap, const double*);
        if (!p) { bad = true; break; }
        std::memcpy(rb->resval.rpoint, p, sizeof(tc_point));
        break;
      }
      case TC_KIND_SHORT: rb->resval.rint = short(va_arg(ap, int)); break;
      case TC_KIND_LONG: rb->resval.rlong = int32_t(va_arg(ap, int)); break;
      case TC_KIND_INT64: rb->resval.mnInt64 = va_arg(ap, int64_t); break;
      case TC_KIND_STRING: {
        const char* s = va_arg(ap, const char*);
        rb->resval.rstring = tarn::host::copyText(s ? s : "");
        break;
      }
      case TC_KIND_NAME: {
        const int32_t* n = va_arg(ap, const int32_t*);
        if (n) { rb->resval.rlname[0] = n[0]; rb->resval.rlname[1] = n[1]; }
        break;
      }
      case TC_KIND_BINARY: {
        int len = va_arg(ap, int);
        const char* data = va_arg(ap, const char*);
        rb->resval.rbinary.clen = short(len);
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(size_t(len > 0 ? len : 1)));
        if (len > 0 && data) std::memcpy(rb->resval.rbinary.buf, data, size_t(len));
        break;
      }
      case TC_KIND_NONE:
        // RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID and -3 carry no value.
        if (type != RTLB && type != RTLE && type != RTDOTE && type != RTNIL && type != RTT &&
            type != RTVOID && type != -3)
          bad = true;
        break;
    }
    if (bad) break;
  }
  va_end(ap);
  if (bad) {
    tcutRelRb(head);
    return nullptr;
  }
  return head;
}

void tcutPolar(const tc_point pt, tc_real angle, tc_real dist, tc_point result) {
  result[0] = pt[0] + dist * std::cos(angle);
  result[1] = pt[1] + dist * std::sin(angle);
  result[2] = pt[2];
}

tc_real tcutDistance(const tc_point p1, const tc_point p2) {
  return std::sqrt((p2[0] - p1[0]) * (p2[0] - p1[0]) + (p2[1] - p1[1]) * (p2[1] - p1[1]) +
                   (p2[2] - p1[2]) * (p2[2] - p1[2]));
}

tc_real tcutAngle(const tc_point p1, const tc_point p2) {
  double a = std::atan2(p2[1] - p1[1], p2[0] - p1[0]);
  return a < 0 ? a + 2 * M_PI : a;
}

}  // extern "C"
