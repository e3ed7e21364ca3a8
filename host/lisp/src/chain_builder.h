// Appends result buffers to a chain through the host's allocator and
// releases the partial chain if building fails (internal).
#ifndef TARN_LISP_CHAIN_BUILDER_H
#define TARN_LISP_CHAIN_BUILDER_H

#include <cstring>
#include <string>
#include <string_view>

#include "lisp/resbuf_bridge.h"

namespace tarn::lisp {

class ChainBuilder {
 public:
  explicit ChainBuilder(ResbufAllocator& alloc) : alloc_(alloc) {}
  ~ChainBuilder() {
    if (head_ != nullptr) alloc_.releaseChain(head_);
  }
  ChainBuilder(const ChainBuilder&) = delete;
  ChainBuilder& operator=(const ChainBuilder&) = delete;

  // A new buffer at the end of the chain; null when the allocator has none.
  resbuf* add(short type) {
    resbuf* rb = alloc_.newBuffer(type);
    if (rb == nullptr) return nullptr;
    rb->rbnext = nullptr;
    (tail_ == nullptr ? head_ : tail_->rbnext) = rb;
    tail_ = rb;
    return rb;
  }

  // A copy of the text, NUL-terminated, for a buffer's rstring.
  char* copyText(std::string_view text) {
    char* bytes = alloc_.newBytes(text.size() + 1);
    if (bytes == nullptr) return nullptr;
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    return bytes;
  }

  char* bytes(std::size_t n) { return alloc_.newBytes(n); }

  ChainResult finish() {
    ChainResult r;
    r.chain = head_;
    head_ = tail_ = nullptr;
    return r;
  }

 private:
  ResbufAllocator& alloc_;
  resbuf* head_ = nullptr;
  resbuf* tail_ = nullptr;
};

}  // namespace tarn::lisp

#endif
