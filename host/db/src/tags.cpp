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

// Appends a tag's head and payload in one step (no zero fill of the payload).
static void append(std::vector<uint8_t>& out, int code, TagKind kind, const void* payload, size_t n,
                   const void* extra = nullptr, size_t extraSize = 0) {
  uint8_t head[3];
  int16_t c = int16_t(code);
  std::memcpy(head, &c, 2);
  head[2] = uint8_t(kind);
  out.insert(out.end(), head, head + 3);
  const auto* p = static_cast<const uint8_t*>(payload);
  out.insert(out.end(), p, p + n);
  if (extraSize) {
    const auto* e = static_cast<const uint8_t*>(extra);
    out.insert(out.end(), e, e + extraSize);
  }
}

void encodeString(std::vector<uint8_t>& out, int code, std::string_view v) {
  uint32_t n = uint32_t(v.size());
  append(out, code, TagKind::String, &n, 4, v.data(), v.size());
}
void encodeReal(std::vector<uint8_t>& out, int code, double v) { append(out, code, TagKind::Real, &v, 8); }
void encodePoint(std::vector<uint8_t>& out, int code, const double* xyz, bool is3d) {
  append(out, code, is3d ? TagKind::Point3 : TagKind::Point2, xyz, is3d ? 24 : 16);
}
void encodeInt(std::vector<uint8_t>& out, int code, int64_t v) { append(out, code, TagKind::Int, &v, 8); }
void encodeHandle(std::vector<uint8_t>& out, int code, uint64_t h) { append(out, code, TagKind::Handle, &h, 8); }

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
