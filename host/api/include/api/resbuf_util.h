// Small helpers for building result buffers inside the host.
#pragma once

#include <string_view>

#include <tarnsdk/tctypes.h>

namespace tarn::host {

// A copy of the text in host-allocated memory (released by tcutRelRb).
char* copyText(std::string_view s);

// Appends buffers to a chain under construction.
class ChainBuilder {
 public:
  struct resbuf* take() { struct resbuf* h = head_; head_ = nullptr; tail_ = &head_; return h; }
  struct resbuf* add(int type);
  void addText(int type, std::string_view s);
  void addReal(int type, double v);
  void addPoint(int type, double x, double y, double z);
  void addShort(int type, int v);
  void addLong(int type, int32_t v);
  void addName(int type, const tc_name n);
  ~ChainBuilder();

 private:
  struct resbuf* head_ = nullptr;
  struct resbuf** tail_ = &head_;
};

}  // namespace tarn::host
