// Conversion between an object's groups and result-buffer chains, for
// extended data and xrecord data.
#include <cstdlib>
#include <string>

#include <tarnsdk/groupcodes.h>

#include "api/entity_list.h"
#include "api/host_state.h"
#include "api/resbuf_util.h"
#include "object_impl.h"

namespace tarn::objects {
namespace {

using db::Tag;
using db::TagKind;

void addBinary(host::ChainBuilder& out, int code, std::string_view hex) {
  struct resbuf* rb = out.add(code);
  size_t n = hex.size() / 2;
  rb->resval.rbinary.clen = short(n);
  rb->resval.rbinary.buf = static_cast<char*>(std::malloc(n ? n : 1));
  for (size_t i = 0; i < n; ++i) rb->resval.rbinary.buf[i] = char(std::stoi(std::string(hex.substr(2 * i, 2)), nullptr, 16));
}

void addName(host::ChainBuilder& out, const db::Database* d, int code, uint64_t handle) {
  tc_name n = {0, 0};
  if (d) host::makeName(*d, d->findHandle(handle), n);
  out.addName(code, n);
}

void addInteger(host::ChainBuilder& out, int code, int64_t v) {
  switch (tcValueKind(code)) {
    case TC_KIND_LONG: out.addLong(code, int32_t(v)); return;
    case TC_KIND_INT64: out.add(code)->resval.mnInt64 = v; return;
    case TC_KIND_REAL: out.addReal(code, double(v)); return;
    default: out.addShort(code, int(v)); return;
  }
}

void addOne(host::ChainBuilder& out, const db::Database* d, const Tag& t) {
  tc_value_kind want = tcValueKind(t.code);
  switch (t.kind) {
    case TagKind::String:
      if (want == TC_KIND_BINARY) addBinary(out, t.code, t.s);
      else if (want == TC_KIND_NAME) addName(out, nullptr, t.code, 0);
      else out.addText(t.code, t.s);
      return;
    case TagKind::Real:
      if (want == TC_KIND_POINT) out.addPoint(t.code, t.p.x, 0, 0);
      else out.addReal(t.code, t.p.x);
      return;
    case TagKind::Point2:
    case TagKind::Point3: out.addPoint(t.code, t.p.x, t.p.y, t.kind == TagKind::Point2 ? 0.0 : t.p.z); return;
    case TagKind::Int: addInteger(out, t.code, t.i); return;
    case TagKind::Handle:
      if (want == TC_KIND_NAME) addName(out, d, t.code, t.asHandle());
      else out.addText(t.code, hexHandle(t.asHandle()));
      return;
  }
}

}  // namespace

struct resbuf* tagsToChain(const db::Database* d, const db::TagList& tags) {
  host::ChainBuilder out;
  for (const Tag& t : tags) addOne(out, d, t);
  return out.take();
}

bool chainToTags(const db::Database& d, const struct resbuf* chain, db::TagList& out) {
  std::string error;
  return host::listToTags(d, chain, db::kNoObject, out, error);
}

db::Database* databaseFor(const TcDbObjectImpl& o) { return o.db ? o.db : host::currentDatabase(); }

}  // namespace tarn::objects
