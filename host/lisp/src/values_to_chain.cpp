// LISP values to result-buffer chains: call arguments by result type, and
// entity lists by DXF group code.
#include <cstdint>
#include <limits>
#include <string>

#include "builtin_support.h"
#include "chain_builder.h"
#include "lisp/printer.h"
#include "lisp/resbuf_bridge.h"
#include "tarnsdk/groupcodes.h"

namespace tarn::lisp {

namespace {

constexpr const char* kNoBuffers = "out of result buffers";

bool fitsShort(std::int64_t v) {
  return v >= std::numeric_limits<short>::min() && v <= std::numeric_limits<short>::max();
}

class ArgumentWriter {
 public:
  ArgumentWriter(ChainBuilder& out, BridgeOptions options) : out_(out), options_(options) {}

  // Appends one value; false with `error` set when it cannot be passed.
  bool write(const Value& v, int depth);

  std::string error;

 private:
  bool writeList(const Value& v, int depth);
  bool writeAtom(const Value& v);
  bool fail(std::string message) {
    error = std::move(message);
    return false;
  }

  ChainBuilder& out_;
  BridgeOptions options_;
};

bool ArgumentWriter::write(const Value& v, int depth) {
  if (depth > kMaxDataDepth) return fail("list nested too deeply to pass to a module");
  return v.isCons() ? writeList(v, depth + 1) : writeAtom(v);
}

bool ArgumentWriter::writeList(const Value& v, int depth) {
  if (out_.add(RTLB) == nullptr) return fail(kNoBuffers);
  const Value* cell = &v;
  for (; cell->isCons(); cell = &cell->cdr()) {
    if (!write(cell->car(), depth)) return false;
  }
  if (!cell->isNil()) {
    if (out_.add(RTDOTE) == nullptr) return fail(kNoBuffers);
    if (!write(*cell, depth)) return false;
  }
  return out_.add(RTLE) != nullptr || fail(kNoBuffers);
}

bool ArgumentWriter::writeAtom(const Value& v) {
  resbuf* rb = nullptr;
  switch (v.type()) {
    case Type::Nil: rb = out_.add(RTNIL); break;
    case Type::Int: {
      bool asShort = options_.integers == IntegerEncoding::ShortWhenFits && fitsShort(v.asInt());
      rb = out_.add(asShort ? RTSHORT : RTLONG);
      if (rb != nullptr && asShort) rb->resval.rint = static_cast<short>(v.asInt());
      if (rb != nullptr && !asShort) rb->resval.rlong = v.asInt();
      break;
    }
    case Type::Real:
      if ((rb = out_.add(RTREAL)) != nullptr) rb->resval.rreal = v.asReal();
      break;
    case Type::String:
      if ((rb = out_.add(RTSTR)) != nullptr && (rb->resval.rstring = out_.copyText(v.text())) == nullptr) rb = nullptr;
      break;
    case Type::EntityName:
    case Type::SelectionSet:
      if ((rb = out_.add(v.type() == Type::EntityName ? RTENAME : RTPICKS)) != nullptr) {
        rb->resval.rlname[0] = v.nameWord(0);
        rb->resval.rlname[1] = v.nameWord(1);
      }
      break;
    case Type::Symbol:
      if (!v.isT() && !v.text().empty()) return fail("bad argument type: cannot pass to a module: " + toShortString(v));
      rb = out_.add(v.isT() ? RTT : RTVOID);
      break;
    default: return fail("bad argument type: cannot pass to a module: " + toShortString(v));
  }
  return rb != nullptr || fail(kNoBuffers);
}

// One (code . value) item of an entity list.
class EntityWriter {
 public:
  explicit EntityWriter(ChainBuilder& out) : out_(out) {}
  bool write(const Value& item);
  std::string error;

 private:
  bool writeValue(resbuf* rb, enum tc_value_kind kind, const Value& item);
  bool writePoint(resbuf* rb, const Value& coords);
  bool writeBinary(resbuf* rb, const Value& hex);
  bool writeXdata(const Value& apps);
  bool fail(const Value& item) {
    error = "bad entity list item: " + toShortString(item);
    return false;
  }

  ChainBuilder& out_;
};

bool EntityWriter::write(const Value& item) {
  if (!item.isCons() || item.car().type() != Type::Int || !fitsShort(item.car().asInt())) return fail(item);
  int code = item.car().asInt();
  if (code == -3) {
    if (writeXdata(item.cdr())) return true;
    return error.empty() ? fail(item) : false;
  }
  resbuf* rb = out_.add(static_cast<short>(code));
  if (rb == nullptr) {
    error = kNoBuffers;
    return false;
  }
  return writeValue(rb, tcValueKind(code), item) || fail(item);
}

bool EntityWriter::writeValue(resbuf* rb, enum tc_value_kind kind, const Value& item) {
  const Value& v = item.cdr();
  switch (kind) {
    case TC_KIND_REAL:
      if (!v.isNumber()) return false;
      rb->resval.rreal = v.asNumber();
      return true;
    case TC_KIND_POINT: return writePoint(rb, v);
    case TC_KIND_SHORT:
      if (v.type() != Type::Int || !fitsShort(v.asInt())) return false;
      rb->resval.rint = static_cast<short>(v.asInt());
      return true;
    case TC_KIND_LONG:
      if (v.type() != Type::Int) return false;
      rb->resval.rlong = v.asInt();
      return true;
    case TC_KIND_INT64:
      if (v.type() != Type::Int) return false;
      rb->resval.mnInt64 = v.asInt();
      return true;
    case TC_KIND_STRING:
      if (!v.isString()) return false;
      rb->resval.rstring = out_.copyText(v.text());
      return rb->resval.rstring != nullptr;
    case TC_KIND_NAME:
      if (v.type() != Type::EntityName && v.type() != Type::SelectionSet) return false;
      rb->resval.rlname[0] = v.nameWord(0);
      rb->resval.rlname[1] = v.nameWord(1);
      return true;
    case TC_KIND_BINARY: return writeBinary(rb, v);
    case TC_KIND_NONE: return v.isNil();
  }
  return false;
}

bool EntityWriter::writePoint(resbuf* rb, const Value& coords) {
  int n = 0;
  const Value* cell = &coords;
  for (; cell->isCons() && n < 3; cell = &cell->cdr(), ++n) {
    if (!cell->car().isNumber()) return false;
    rb->resval.rpoint[n] = cell->car().asNumber();
  }
  return cell->isNil() && n >= 2;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool EntityWriter::writeBinary(resbuf* rb, const Value& hex) {
  if (!hex.isString() || hex.text().size() % 2 != 0) return false;
  const std::string& text = hex.text();
  std::size_t n = text.size() / 2;
  if (n > static_cast<std::size_t>(std::numeric_limits<short>::max())) return false;
  char* bytes = out_.bytes(n);
  if (bytes == nullptr) return false;
  rb->resval.rbinary.buf = bytes;
  rb->resval.rbinary.clen = static_cast<short>(n);
  for (std::size_t k = 0; k < n; ++k) {
    int hi = hexDigit(text[2 * k]), lo = hexDigit(text[2 * k + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[k] = static_cast<char>(hi * 16 + lo);
  }
  return true;
}

// (-3 ("APP" (1000 . "x") ...) ...): -3, then for each application its 1001
// name and its items.
bool EntityWriter::writeXdata(const Value& apps) {
  if (out_.add(-3) == nullptr) {
    error = kNoBuffers;
    return false;
  }
  if (!isProperList(apps)) return false;
  for (const Value& app : ListView(apps)) {
    if (!app.isCons() || !app.car().isString() || !isProperList(app.cdr())) return false;
    if (!write(Value::cons(Value::integer(1001), app.car()))) return false;
    for (const Value& item : ListView(app.cdr())) {
      if (!item.isCons() || item.car().type() != Type::Int || item.car().asInt() < 1000) return fail(item);
      if (!write(item)) return false;
    }
  }
  return true;
}

}  // namespace

ChainResult argumentsToChain(std::span<const Value> args, ResbufAllocator& alloc, BridgeOptions options) {
  ChainBuilder out(alloc);
  ArgumentWriter writer(out, options);
  for (const Value& v : args) {
    if (!writer.write(v, 0)) return ChainResult{nullptr, writer.error};
  }
  return out.finish();
}

ChainResult entityListToChain(const Value& list, ResbufAllocator& alloc) {
  if (!isProperList(list)) return ChainResult{nullptr, "bad entity list: " + toShortString(list)};
  ChainBuilder out(alloc);
  EntityWriter writer(out);
  for (const Value& item : ListView(list)) {
    if (!writer.write(item)) return ChainResult{nullptr, writer.error};
  }
  return out.finish();
}

}  // namespace tarn::lisp
