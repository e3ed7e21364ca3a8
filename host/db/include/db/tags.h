// Tags: the (group code, value) pairs that every object of a drawing is made
// of, in the order of the file. An object keeps its tags in one compact,
// immutable blob; editing decodes them into a TagList and encodes anew.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::db {

enum class TagKind : uint8_t { String = 0, Real, Point2, Point3, Int, Handle };

// The storage kind of a group code as it stands in a file. Points are the x
// codes (10, 11 ... 1013); their y and z codes are folded into them.
TagKind tagKindOfCode(int code);

struct Point3 {
  double x = 0, y = 0, z = 0;
  bool operator==(const Point3&) const = default;
};

// One decoded tag, for building and editing.
struct Tag {
  int16_t code = 0;
  TagKind kind = TagKind::String;
  Point3 p;           // Real uses p.x; Point2/Point3 use all
  int64_t i = 0;      // Int and Handle (as the unsigned handle value)
  std::string s;      // String

  static Tag str(int code, std::string_view v);
  static Tag real(int code, double v);
  static Tag point(int code, Point3 v, bool is3d = true);
  static Tag integer(int code, int64_t v);
  static Tag handle(int code, uint64_t h);
  // A tag of the kind its code calls for, from a value of another kind where
  // that is lossless (used when building from result buffers).
  double asReal() const { return kind == TagKind::Int ? double(i) : p.x; }
  uint64_t asHandle() const { return uint64_t(i); }
  bool operator==(const Tag&) const = default;
};
using TagList = std::vector<Tag>;

// Encoding of one tag: code (int16), kind (uint8), then the payload:
// String u32 length + bytes; Real 8; Point2 16; Point3 24; Int and Handle 8.
void encodeTag(std::vector<uint8_t>& out, const Tag& t);
void encodeString(std::vector<uint8_t>& out, int code, std::string_view v);
void encodeReal(std::vector<uint8_t>& out, int code, double v);
void encodePoint(std::vector<uint8_t>& out, int code, const double* xyz, bool is3d);
void encodeInt(std::vector<uint8_t>& out, int code, int64_t v);
void encodeHandle(std::vector<uint8_t>& out, int code, uint64_t h);
std::vector<uint8_t> encodeTags(const TagList& tags);

// A read-only walk over an encoded blob.
class TagCursor {
 public:
  TagCursor() = default;
  TagCursor(const uint8_t* data, uint32_t size) : p_(data), end_(data + size) {}
  bool done() const { return p_ >= end_; }
  int code() const { int16_t c; std::memcpy(&c, p_, 2); return c; }
  TagKind kind() const { return TagKind(p_[2]); }
  std::string_view str() const {
    uint32_t n; std::memcpy(&n, p_ + 3, 4);
    return {reinterpret_cast<const char*>(p_ + 7), n};
  }
  double real() const { double v; std::memcpy(&v, p_ + 3, 8); return v; }
  Point3 point() const;
  int64_t integer() const { int64_t v; std::memcpy(&v, p_ + 3, 8); return v; }
  uint64_t handle() const { return uint64_t(integer()); }
  // The numeric value of a Real or Int tag.
  double number() const { return kind() == TagKind::Int ? double(integer()) : real(); }
  Tag decode() const;
  const uint8_t* position() const { return p_; }
  void next() { p_ += 3 + payloadSize(); }
  uint32_t payloadSize() const;

 private:
  const uint8_t* p_ = nullptr;
  const uint8_t* end_ = nullptr;
};

TagList decodeTags(const uint8_t* data, uint32_t size);

}  // namespace tarn::db
