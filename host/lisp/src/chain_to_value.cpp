// Result-buffer chains to LISP values: what modules return, and entity lists
// keyed by DXF group codes. A malformed chain (an unbalanced list end, a
// misplaced dotted-pair mark) is reported, never guessed at.
#include <cstdint>
#include <limits>
#include <string>

#include "builtin_support.h"
#include "lisp/resbuf_bridge.h"
#include "tarnsdk/groupcodes.h"

namespace tarn::lisp {

namespace {

Value pointList(const double* p, int n) {
  ListBuilder b;
  for (int k = 0; k < n; ++k) b.add(Value::real(p[k]));
  return b.finish();
}

Value int64Value(std::int64_t v) { return integerOrReal(v); }

Value textValue(const char* s) { return s == nullptr ? Value() : Value::string(s); }

std::string hexText(const tc_binary& bin) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (short k = 0; k < bin.clen && bin.buf != nullptr; ++k) {
    unsigned char byte = static_cast<unsigned char>(bin.buf[k]);
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 15]);
  }
  return out;
}

// The value of a buffer by the kind of value its type carries.
Value valueByKind(const resbuf& rb, enum tc_value_kind kind, int pointSize) {
  const tc_resval& v = rb.resval;
  switch (kind) {
    case TC_KIND_REAL: return Value::real(v.rreal);
    case TC_KIND_POINT: return pointList(v.rpoint, pointSize);
    case TC_KIND_SHORT: return Value::integer(v.rint);
    case TC_KIND_LONG: return Value::integer(v.rlong);
    case TC_KIND_INT64: return int64Value(v.mnInt64);
    case TC_KIND_STRING: return textValue(v.rstring);
    case TC_KIND_NAME:
      return rb.restype == RTPICKS ? Value::selectionSet(v.rlname[0], v.rlname[1])
                                   : Value::entityName(v.rlname[0], v.rlname[1]);
    case TC_KIND_BINARY: return Value::string(hexText(v.rbinary));
    case TC_KIND_NONE: return Value();
  }
  return Value();
}

class ChainReader {
 public:
  explicit ChainReader(const resbuf* chain) : rb_(chain) {}

  // Reads every item to the end of the chain.
  bool readAll(ListBuilder& items, int& count);
  std::string error;

 private:
  bool readItem(Value& out, int depth);
  bool readList(Value& out, int depth);
  bool readGroup(Value& out);
  bool readXdata(Value& out);
  bool fail(std::string message) {
    error = "malformed result-buffer list: " + std::move(message);
    return false;
  }

  const resbuf* rb_;
};

bool ChainReader::readAll(ListBuilder& items, int& count) {
  count = 0;
  while (rb_ != nullptr) {
    Value item;
    if (!readItem(item, 0)) return false;
    items.add(std::move(item));
    ++count;
  }
  return true;
}

bool ChainReader::readItem(Value& out, int depth) {
  if (depth > kMaxDataDepth) return fail("lists nested too deeply");
  const resbuf& rb = *rb_;
  if (rb.restype < 5000) return readGroup(out);
  rb_ = rb.rbnext;
  switch (rb.restype) {
    case RTLB: return readList(out, depth + 1);
    case RTLE: return fail("list end without list begin");
    case RTDOTE: return fail("dotted-pair mark outside a list");
    case RTT: out = Value::t(); return true;
    case RTNIL:
    case RTNONE: out = Value(); return true;
    case RTVOID: out = Value::quiet(); return true;
    case RTPOINT: out = pointList(rb.resval.rpoint, 2); return true;
    case RTDXF0: out = Value::cons(Value::integer(0), textValue(rb.resval.rstring)); return true;
    case RTORINT: out = Value::real(rb.resval.rreal); return true;
  }
  enum tc_value_kind kind = tcValueKind(rb.restype);
  if (kind == TC_KIND_NONE) return fail("result type " + std::to_string(rb.restype) + " has no LISP value");
  out = valueByKind(rb, kind, 3);
  return true;
}

bool ChainReader::readList(Value& out, int depth) {
  ListBuilder items;
  bool any = false;
  while (rb_ != nullptr && rb_->restype != RTLE) {
    if (rb_->restype == RTDOTE) {
      rb_ = rb_->rbnext;
      Value tail;
      if (!any || rb_ == nullptr || rb_->restype == RTLE) return fail("dotted-pair mark without two sides");
      if (!readItem(tail, depth)) return false;
      if (rb_ == nullptr || rb_->restype != RTLE) return fail("more than one item after a dotted-pair mark");
      out = items.finish(std::move(tail));
      rb_ = rb_->rbnext;
      return true;
    }
    Value item;
    if (!readItem(item, depth)) return false;
    items.add(std::move(item));
    any = true;
  }
  if (rb_ == nullptr) return fail("list begin without list end");
  rb_ = rb_->rbnext;
  out = items.finish();
  return true;
}

// (code . value), or (code x y z) for a point group.
bool ChainReader::readGroup(Value& out) {
  const resbuf& rb = *rb_;
  if (rb.restype == -3) return readXdata(out);
  rb_ = rb.rbnext;
  out = Value::cons(Value::integer(rb.restype), valueByKind(rb, tcValueKind(rb.restype), 3));
  return true;
}

// Group -3 takes the rest of the chain: each 1001 group starts an
// application's list, and the groups after it up to the next 1001 are its
// items.
bool ChainReader::readXdata(Value& out) {
  rb_ = rb_->rbnext;
  ListBuilder apps;
  while (rb_ != nullptr) {
    if (rb_->restype != 1001) return fail("extended data without an application name");
    ListBuilder app;
    app.add(textValue(rb_->resval.rstring));
    for (rb_ = rb_->rbnext; rb_ != nullptr && rb_->restype != 1001;) {
      if (rb_->restype < 1000 || rb_->restype > 1071) return fail("group " + std::to_string(rb_->restype) + " in extended data");
      Value item;
      if (!readGroup(item)) return false;
      app.add(std::move(item));
    }
    apps.add(app.finish());
  }
  out = Value::cons(Value::integer(-3), apps.finish());
  return true;
}

}  // namespace

Outcome chainToValue(const resbuf* chain) {
  ChainReader reader(chain);
  ListBuilder items;
  int count = 0;
  if (!reader.readAll(items, count)) return Outcome::failure(reader.error);
  Value list = items.finish();
  return Outcome::success(count == 1 ? list.car() : list);
}

Outcome entityChainToList(const resbuf* chain) {
  ChainReader reader(chain);
  ListBuilder items;
  int count = 0;
  if (!reader.readAll(items, count)) return Outcome::failure(reader.error);
  return Outcome::success(items.finish());
}

}  // namespace tarn::lisp
