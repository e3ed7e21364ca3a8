// Fuzzing patterns, names and filter lists taken from bytes. The first byte
// picks what to exercise: a pattern and a name (split at the first zero
// byte), or a filter list read from a small byte code and matched against a
// few entity lists. Crashes, hangs and broken escapes are faults; refused
// filters are not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "select/filter.h"
#include "select/wildcard.h"
#include "tarnsdk/groupcodes.h"

namespace {

using tarn::select::Filter;
using tarn::select::Wildcard;

void fuzzPattern(std::string_view input) {
  const std::size_t split = input.find('\0');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const Wildcard w = Wildcard::compile(pattern);
  (void)w.matches(name);
  (void)w.matches(pattern);
  // An escaped name must match itself, whatever bytes it holds.
  if (!Wildcard::compile(tarn::select::escapeWildcard(name)).matches(name)) std::abort();
  if (!Wildcard::compile(tarn::select::escapeWildcard(pattern)).matches(pattern)) std::abort();
}

constexpr short kCodes[] = {0, 1, 2, 5, 6, 8, 10, 40, 62, 67, 70, 90, 160, 210, 310, -1, -3, -4, -4, -4, -4,
                            1001, 1000, RTLB, RTLE, RTDXF0, RTSTR, 1004};
constexpr const char* kWords[] = {"<AND", "AND>", "<OR", "OR>", "<XOR", "XOR>", "<NOT", "NOT>", "*",  "=",
                                  "!=",   "/=",   "<>",  "<",   "<=",   ">",    ">=",   "&",    "&=", ">,>,*"};

// Reads the byte code: a code selector, then a value whose form follows the
// code's kind. Texts are a length byte and that many bytes.
class ChainReader {
 public:
  explicit ChainReader(std::string_view bytes) : bytes_(bytes) {}

  resbuf* read() {
    while (at_ < bytes_.size() && nodes_.size() < 4096) readNode();
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) nodes_[i].rbnext = &nodes_[i + 1];
    return nodes_.empty() ? nullptr : &nodes_.front();
  }

 private:
  std::uint8_t byte() { return at_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[at_++]) : 0; }

  char* text() {
    const std::size_t length = byte();
    std::string& s = texts_.emplace_back(bytes_.substr(at_, length));
    at_ = std::min(bytes_.size(), at_ + length);
    return s.data();
  }

  void readNode() {
    resbuf rb{};
    const std::uint8_t selector = byte();
    rb.restype = kCodes[selector % std::size(kCodes)];
    if (rb.restype == -4 && selector >= 128) {
      rb.resval.rstring = texts_.emplace_back(kWords[byte() % std::size(kWords)]).data();
    } else {
      readValue(rb);
    }
    nodes_.push_back(rb);
  }

  std::int64_t number() { return static_cast<std::int8_t>(byte()); }

  void readValue(resbuf& rb) {
    switch (tcValueKind(rb.restype)) {
      case TC_KIND_STRING: rb.resval.rstring = text(); break;
      case TC_KIND_REAL: rb.resval.rreal = static_cast<double>(number()) / 4; break;
      case TC_KIND_POINT:
        for (double& c : rb.resval.rpoint) c = static_cast<double>(static_cast<std::int8_t>(byte()));
        break;
      case TC_KIND_BINARY:
        rb.resval.rbinary.buf = text();
        rb.resval.rbinary.clen = static_cast<short>(texts_.back().size());
        break;
      case TC_KIND_SHORT: rb.resval.rint = static_cast<short>(number()); break;
      case TC_KIND_LONG: rb.resval.rlong = static_cast<std::int32_t>(number()); break;
      case TC_KIND_INT64: rb.resval.mnInt64 = number(); break;
      case TC_KIND_NAME: rb.resval.rlname[0] = static_cast<std::int32_t>(number()); break;
      default: break;
    }
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::deque<std::string> texts_;  // stable addresses for the nodes' texts
  std::vector<resbuf> nodes_;
};

void fuzzFilter(std::string_view input) {
  ChainReader reader(input);
  const resbuf* list = reader.read();
  Filter filter;
  tarn::select::FilterDiagnostic why;
  if (Filter::compile(list, filter, &why) != RTNORM) {
    if (why.message.empty()) std::abort();  // a refusal must say why
    return;
  }
  (void)filter.matches(list);
  (void)filter.matches(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    fuzzFilter(input);
  } else {
    fuzzPattern(input);
  }
  return 0;
}
