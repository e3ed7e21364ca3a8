// Result-buffer chains for the tests, allocated node by node with malloc as
// the host's list operations will, and released when the Chain goes.
#ifndef TARN_TESTS_SELECT_CHAIN_H
#define TARN_TESTS_SELECT_CHAIN_H

#include <cstdlib>
#include <cstring>

#include "tarnsdk/groupcodes.h"

class Chain {
 public:
  Chain() = default;
  Chain(const Chain&) = delete;
  Chain& operator=(const Chain&) = delete;
  ~Chain() {
    while (head_) {
      resbuf* next = head_->rbnext;
      if (ownsString(head_->restype)) std::free(head_->resval.rstring);
      std::free(head_);
      head_ = next;
    }
  }

  Chain& text(short code, const char* value) {
    resbuf* rb = add(code);
    rb->resval.rstring = value ? strdup(value) : nullptr;
    return *this;
  }
  Chain& op(const char* word) { return text(-4, word); }
  Chain& integer(short code, short value) {
    add(code)->resval.rint = value;
    return *this;
  }
  Chain& longint(short code, int value) {
    add(code)->resval.rlong = value;
    return *this;
  }
  Chain& real(short code, double value) {
    add(code)->resval.rreal = value;
    return *this;
  }
  Chain& point(short code, double x, double y, double z) {
    resbuf* rb = add(code);
    rb->resval.rpoint[0] = x;
    rb->resval.rpoint[1] = y;
    rb->resval.rpoint[2] = z;
    return *this;
  }
  Chain& name(short code, int first, int second) {
    resbuf* rb = add(code);
    rb->resval.rlname[0] = first;
    rb->resval.rlname[1] = second;
    return *this;
  }
  // A node without a value, such as -3 or a list bracket.
  Chain& marker(short code) {
    add(code);
    return *this;
  }

  const resbuf* head() const { return head_; }

 private:
  static bool ownsString(short code) { return tcValueKind(code) == TC_KIND_STRING; }
  resbuf* add(short code) {
    auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    rb->restype = code;
    if (tail_) {
      tail_->rbnext = rb;
    } else {
      head_ = rb;
    }
    tail_ = rb;
    return rb;
  }

  resbuf* head_ = nullptr;
  resbuf* tail_ = nullptr;
};

#endif
