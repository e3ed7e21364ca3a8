// Encoding and decoding of the compact tag blobs.
#include "db/tags.h"

#include <tarnsdk/groupcodes.h>

namespace tarn::db {

TagKind tagKindOfCode(int code) {
  if (code == 5 || code == 105) return TagKind::Handle;
  switch (tcValueKind(code)) {
    case TC_KIND_REAL: return TagKind::Real;
    case TC_KIND_POINT: return TagKind::Point3;
    case TC_KIND_SHORT:
    case TC_KIND_LONG:
    case TC_KIND_INT64: return TagKind::Int;
    case TC_KIND_NAME: return TagKind::Handle;
    default: return TagKind::String;
  }
}

Tag Tag::str(int code, std::string_view v) {
  Tag t; t.code = int16_t(code); t.kind = TagKind::String; t.s = v; return t;
}
Tag Tag::real(int code, double v) {
  Tag t; t.code = int16_t(code); t.kind = TagKind::Real; t.p.x = v; return t;
}
Tag Tag::point(int code, Point3 v, bool is3d) {
  Tag t; t.code = int16_t(code); t.kind = is3d ? TagKind::Point3 : TagKind::Point2; t.p = v;
  if (!is3d) t.p.z = 0;
  return t;
}
Tag Tag::integer(int code, int64_t v) {
  Tag t; t.code = int16_t(code); t.kind = TagKind::Int; t.i = v; return t;
}
Tag Tag::handle(int code, uint64_t h) {
  Tag t; t.code = int16_t(code); t.kind = TagKind::Handle; t.i = int64_t(h); return t;
}

static void putHead(std::vector<uint8_t>& out, int code, TagKind kind, size_t payload) {
  size_t at = out.size();
  out.resize(at + 3 + payload);
  int16_t c = int16_t(code);
  std::memcpy(&out[at], &c, 2);
  out[at + 2] = uint8_t(kind);
}

void encodeString(std::vector<uint8_t>& out, int code, std::string_view v) {
  size_t at = out.size();
  putHead(out, code, TagKind::String, 4 + v.size());
  uint32_t n = uint32_t(v.size());
  std::memcpy(&out[at + 3], &n, 4);
  if (n) std::memcpy(&out[at + 7], v.data(), n);
}
void encodeReal(std::vector<uint8_t>& out, int code, double v) {
  size_t at = out.size();
  putHead(out, code, TagKind::Real, 8);
  std::memcpy(&out[at + 3], &v, 8);
}
void encodePoint(std::vector<uint8_t>& out, int code, const double* xyz, bool is3d) {
  size_t at = out.size();
  size_t n = is3d ? 24 : 16;
  putHead(out, code, is3d ? TagKind::Point3 : TagKind::Point2, n);
  std::memcpy(&out[at + 3], xyz, n);
}
void encodeInt(std::vector<uint8_t>& out, int code, int64_t v) {
  size_t at = out.size();
  putHead(out, code, TagKind::Int, 8);
  std::memcpy(&out[at + 3], &v, 8);
}
void encodeHandle(std::vector<uint8_t>& out, int code, uint64_t h) {
  size_t at = out.size();
  putHead(out, code, TagKind::Handle, 8);
  std::memcpy(&out[at + 3], &h, 8);
}

void encodeTag(std::vector<uint8_t>& out, const Tag& t) {
  switch (t.kind) {
    case TagKind::String: encodeString(out, t.code, t.s); break;
    case TagKind::Real: encodeReal(out, t.code, t.p.x); break;
    case TagKind::Point2:
    case TagKind::Point3: {
      double xyz[3] = {t.p.x, t.p.y, t.p.z};
      encodePoint(out, t.code, xyz, t.kind == TagKind::Point3);
      break;
    }
    case TagKind::Int: encodeInt(out, t.code, t.i); break;
    case TagKind::Handle: encodeHandle(out, t.code, uint64_t(t.i)); break;
  }
}

std::vector<uint8_t> encodeTags(const TagList& tags) {
  std::vector<uint8_t> out;
  out.reserve(tags.size() * 16);
  for (const Tag& t : tags) encodeTag(out, t);
  return out;
}

uint32_t TagCursor::payloadSize() const {
  switch (kind()) {
    case TagKind::String: { uint32_t n; std::memcpy(&n, p_ + 3, 4); return 4 + n; }
    case TagKind::Point2: return 16;
    case TagKind::Point3: return 24;
    default: return 8;
  }
}

Point3 TagCursor::point() const {
  Point3 v;
  if (kind() == TagKind::Point3 || kind() == TagKind::Point2) {
    double xyz[3] = {0, 0, 0};
    std::memcpy(xyz, p_ + 3, kind() == TagKind::Point3 ? 24 : 16);
    v = {xyz[0], xyz[1], xyz[2]};
  } else {
    v.x = number();
  }
  return v;
}

Tag TagCursor::decode() const {
  Tag t;
  t.code = int16_t(code());
  t.kind = kind();
  switch (t.kind) {
    case TagKind::String: t.s = str(); break;
    case TagKind::Real: t.p.x = real(); break;
    case TagKind::Point2:
    case TagKind::Point3: t.p = point(); break;
    case TagKind::Int:
    case TagKind::Handle: t.i = integer(); break;
  }
  return t;
}

TagList decodeTags(const uint8_t* data, uint32_t size) {
  TagList out;
  for (TagCursor c(data, size); !c.done(); c.next()) out.push_back(c.decode());
  return out;
}

}  // namespace tarn::db
