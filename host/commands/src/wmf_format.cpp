// Windows metafile records: writing a placeable metafile and reading one
// (placeable or not) with every size checked before it is used.
#include "wmf_format.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarn::commands::wmf {
namespace {

// Record functions of the format.
enum : uint16_t {
  kEof = 0x0000,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetPolyFillMode = 0x0106,
  kSetTextAlign = 0x012E,
  kSelectObject = 0x012D,
  kDeleteObject = 0x01F0,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kExtTextOut = 0x0A32,
  kCreatePalette = 0x00F7,
  kCreatePatternBrush = 0x01F9,
  kDibCreatePatternBrush = 0x0142,
  kCreateRegion = 0x06FF,
};

// Drawing records WMFIN does not turn into entities: arc, pie, chord, round
// rectangle, flood fills, region fills, and the bitmap transfers.
constexpr std::array<uint16_t, 17> kUnreadDrawing = {0x0817, 0x081A, 0x0830, 0x061C, 0x0419, 0x0548,
                                                     0x0228, 0x0429, 0x012B, 0x012A, 0x061D, 0x0922,
                                                     0x0940, 0x0B23, 0x0B41, 0x0F43, 0x0D33};
constexpr uint16_t kPenNull = 5, kBrushNull = 1;
constexpr uint16_t kTextOptionsWithRect = 0x0002 | 0x0004;  // ETO_OPAQUE, ETO_CLIPPED
constexpr size_t kPlaceableSize = 22, kHeaderSize = 18, kFaceSize = 32, kFontFixedSize = 18;
constexpr size_t kMaxPoints = 32767;

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, uint16_t(v & 0xFFFF));
  put16(out, uint16_t(v >> 16));
}
void putPoints(std::vector<uint8_t>& out, std::span<const LogicalPoint> points) {
  for (LogicalPoint p : points) {
    put16(out, uint16_t(p.x));
    put16(out, uint16_t(p.y));
  }
}

// At most kMaxPoints points: a longer ring keeps every n-th point.
std::vector<LogicalPoint> limited(std::span<const LogicalPoint> points) {
  if (points.size() <= kMaxPoints) return {points.begin(), points.end()};
  std::vector<LogicalPoint> out;
  size_t step = points.size() / kMaxPoints + 1;
  for (size_t i = 0; i < points.size(); i += step) out.push_back(points[i]);
  return out;
}

}  // namespace

uint32_t colourRef(int red, int green, int blue) {
  return uint32_t(red & 0xFF) | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF) << 16;
}

Writer::Writer(Rect frame, uint16_t unitsPerInch) : frame_(frame), unitsPerInch_(unitsPerInch) {
  record(kSetMapMode, {8, 0});        // anisotropic: the window below maps to the frame
  record(kSetBkMode, {1, 0});         // transparent text background
  record(kSetPolyFillMode, {1, 0});   // alternate: holes of a polygon set stay open
  record(kSetTextAlign, {uint8_t(kAlignBaseline), 0});
  std::vector<uint8_t> org, ext;
  put16(org, uint16_t(frame.top));
  put16(org, uint16_t(frame.left));
  put16(ext, uint16_t(frame.bottom - frame.top));
  put16(ext, uint16_t(frame.right - frame.left));
  record(kSetWindowOrg, org);
  record(kSetWindowExt, ext);
}

void Writer::record(uint16_t function, const std::vector<uint8_t>& params) {
  size_t padded = params.size() + (params.size() & 1);
  uint32_t words = uint32_t(3 + padded / 2);
  maxRecordWords_ = std::max(maxRecordWords_, words);
  put32(records_, words);
  put16(records_, function);
  records_.insert(records_.end(), params.begin(), params.end());
  if (params.size() & 1) records_.push_back(0);
}

int Writer::freeHandle() const {
  for (size_t i = 0; i < used_.size(); ++i)
    if (!used_[i]) return int(i);
  return int(used_.size());
}

void Writer::select(Slot& slot, uint16_t function, std::vector<uint8_t> params) {
  if (slot.handle >= 0 && slot.definition == params) return;
  int handle = freeHandle();
  if (size_t(handle) == used_.size()) used_.push_back(false);
  used_[size_t(handle)] = true;
  record(function, params);
  record(kSelectObject, {uint8_t(handle), uint8_t(handle >> 8)});
  if (slot.handle >= 0) {
    record(kDeleteObject, {uint8_t(slot.handle), uint8_t(slot.handle >> 8)});
    used_[size_t(slot.handle)] = false;
  }
  slot.handle = handle;
  slot.definition = std::move(params);
}

void Writer::pen(uint32_t colour) {
  std::vector<uint8_t> p;
  put16(p, 0);  // solid
  put32(p, 0);  // width 0: one device pixel, whatever the scale
  put32(p, colour);
  select(pen_, kCreatePenIndirect, std::move(p));
}

void Writer::brush(std::optional<uint32_t> colour) {
  std::vector<uint8_t> p;
  put16(p, colour ? 0 : kBrushNull);
  put32(p, colour.value_or(0));
  put16(p, 0);
  select(brush_, kCreateBrushIndirect, std::move(p));
}

void Writer::font(const Font& f, uint32_t colour) {
  std::vector<uint8_t> p;
  put16(p, uint16_t(f.height));
  put16(p, 0);  // width: the face's own
  put16(p, uint16_t(f.escapement));
  put16(p, uint16_t(f.escapement));  // orientation of each character
  put16(p, 400);                     // normal weight
  p.insert(p.end(), {uint8_t(f.italic), 0, 0, 0 /* ANSI */, 4 /* TrueType */, 0, 0, 0});
  std::array<uint8_t, kFaceSize> face{};
  std::copy_n(f.face.begin(), std::min(f.face.size(), kFaceSize - 1), face.begin());
  p.insert(p.end(), face.begin(), face.end());
  select(font_, kCreateFontIndirect, std::move(p));
  if (colour != textColour_) {
    std::vector<uint8_t> c;
    put32(c, colour);
    record(kSetTextColor, c);
    textColour_ = colour;
  }
}

void Writer::polyline(std::span<const LogicalPoint> points) {
  // A long polyline goes in pieces that share their end points.
  for (size_t start = 0; start + 1 < points.size(); start += kMaxPoints - 1) {
    size_t n = std::min(kMaxPoints, points.size() - start);
    std::vector<uint8_t> p;
    put16(p, uint16_t(n));
    putPoints(p, points.subspan(start, n));
    record(kPolyline, p);
  }
}

void Writer::polygon(std::span<const LogicalPoint> points) {
  if (points.size() < 2) return;
  std::vector<LogicalPoint> ring = limited(points);
  std::vector<uint8_t> p;
  put16(p, uint16_t(ring.size()));
  putPoints(p, ring);
  record(kPolygon, p);
}

void Writer::polyPolygon(std::span<const std::vector<LogicalPoint>> rings) {
  std::vector<std::vector<LogicalPoint>> kept;
  for (const auto& r : rings)
    if (r.size() >= 3 && kept.size() < kMaxPoints) kept.push_back(limited(r));
  if (kept.empty()) return;
  if (kept.size() == 1) return polygon(kept.front());
  std::vector<uint8_t> p;
  put16(p, uint16_t(kept.size()));
  for (const auto& r : kept) put16(p, uint16_t(r.size()));
  for (const auto& r : kept) putPoints(p, r);
  record(kPolyPolygon, p);
}

void Writer::ellipse(Rect box) {
  std::vector<uint8_t> p;
  for (int16_t v : {box.bottom, box.right, box.top, box.left}) put16(p, uint16_t(v));
  record(kEllipse, p);
}

void Writer::pixel(LogicalPoint at, uint32_t colour) {
  std::vector<uint8_t> p;
  put32(p, colour);
  put16(p, uint16_t(at.y));
  put16(p, uint16_t(at.x));
  record(kSetPixel, p);
}

void Writer::text(LogicalPoint at, const std::string& text) {
  if (text.empty()) return;
  std::string s = text.substr(0, 0x7FFF);
  std::vector<uint8_t> p;
  put16(p, uint16_t(at.y));
  put16(p, uint16_t(at.x));
  put16(p, uint16_t(s.size()));
  put16(p, 0);
  p.insert(p.end(), s.begin(), s.end());
  record(kExtTextOut, p);
}

std::vector<uint8_t> Writer::finish() {
  record(kEof, {});
  std::vector<uint8_t> out;
  put32(out, kPlaceableKey);
  put16(out, 0);
  for (int16_t v : {frame_.left, frame_.top, frame_.right, frame_.bottom}) put16(out, uint16_t(v));
  put16(out, unitsPerInch_);
  put32(out, 0);
  uint16_t sum = 0;
  for (size_t i = 0; i < out.size(); i += 2) sum ^= uint16_t(out[i] | out[i + 1] << 8);
  put16(out, sum);
  put16(out, 1);  // a metafile in memory (no file references)
  put16(out, 9);
  put16(out, 0x0300);
  put32(out, uint32_t(kHeaderSize / 2 + records_.size() / 2));
  put16(out, uint16_t(used_.size()));
  put32(out, maxRecordWords_);
  put16(out, 0);
  out.insert(out.end(), records_.begin(), records_.end());
  return out;
}

// ---- Reading ----

namespace {

// Little-endian reads that never pass the end they were given.
class Bytes {
 public:
  Bytes(std::span<const uint8_t> b, size_t base) : b_(b), base_(base) {}
  size_t size() const { return b_.size(); }
  size_t offset(size_t at) const { return base_ + at; }
  uint16_t u16(size_t at) const { return uint16_t(b_[at] | b_[at + 1] << 8); }
  int16_t s16(size_t at) const { return int16_t(u16(at)); }
  uint32_t u32(size_t at) const { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; }
  std::span<const uint8_t> sub(size_t at, size_t n) const { return b_.subspan(at, n); }

 private:
  std::span<const uint8_t> b_;
  size_t base_;
};

Shape makeShape(ShapeKind kind, std::vector<LogicalPoint> points, uint32_t colour) {
  Shape s;
  s.kind = kind;
  s.points = std::move(points);
  s.colour = colour;
  return s;
}

struct GdiObject {
  enum Kind { kPen, kBrush, kFont, kOther } kind = kOther;
  uint32_t colour = 0;
  bool null = false;
  Font font;
};

GdiObject gdi(GdiObject::Kind kind, uint32_t colour, bool null) {
  GdiObject o;
  o.kind = kind;
  o.colour = colour;
  o.null = null;
  return o;
}

class RecordReader {
 public:
  explicit RecordReader(ReadResult& r) : r_(r) {}
  // False with r_.error set when the record is malformed.
  bool apply(uint16_t function, const Bytes& params);
  // Ends the open MOVETO/LINETO path.
  void finish() { flushPath(); }

 private:
  bool fail(const Bytes& p, size_t at, std::string what) {
    r_.error = std::move(what);
    r_.offset = p.offset(at);
    return false;
  }
  bool need(const Bytes& p, size_t n, const char* what) {
    return n <= p.size() || fail(p, 0, std::string(what) + " record is shorter than its parameters");
  }
  bool create(GdiObject o);
  bool selectOrDelete(const Bytes& p, bool del);
  bool points(const Bytes& p, size_t at, size_t n, std::vector<LogicalPoint>& out, const char* what);
  bool poly(const Bytes& p, ShapeKind kind);
  bool polyPolygon(const Bytes& p);
  bool text(const Bytes& p, bool extended);
  bool font(const Bytes& p);
  void add(Shape s) {
    flushPath();
    r_.picture.shapes.push_back(std::move(s));
  }
  void flushPath();

  ReadResult& r_;
  std::vector<std::optional<GdiObject>> table_;
  uint32_t pen_ = 0, textColour_ = 0;
  Font font_;
  uint16_t align_ = 0;
  LogicalPoint position_;
  std::vector<LogicalPoint> path_;  // MOVETO then LINETOs
};

bool RecordReader::create(GdiObject o) {
  auto slot = std::find(table_.begin(), table_.end(), std::nullopt);
  if (slot == table_.end()) {
    if (table_.size() >= 0xFFFF) return false;
    table_.push_back(std::nullopt);
    slot = table_.end() - 1;
  }
  *slot = std::move(o);
  return true;
}

bool RecordReader::selectOrDelete(const Bytes& p, bool del) {
  if (!need(p, 2, del ? "DELETEOBJECT" : "SELECTOBJECT")) return false;
  uint16_t h = p.u16(0);
  if (h >= table_.size() || !table_[h]) return fail(p, 0, "object " + std::to_string(h) + " does not exist");
  if (del) {
    table_[h].reset();
    return true;
  }
  const GdiObject& o = *table_[h];
  if (o.kind == GdiObject::kPen) pen_ = o.colour;
  if (o.kind == GdiObject::kFont) font_ = o.font;
  return true;
}

bool RecordReader::points(const Bytes& p, size_t at, size_t n, std::vector<LogicalPoint>& out, const char* what) {
  if (!need(p, at + 4 * n, what)) return false;
  for (size_t i = 0; i < n; ++i) out.push_back({p.s16(at + 4 * i), p.s16(at + 4 * i + 2)});
  return true;
}

bool RecordReader::poly(const Bytes& p, ShapeKind kind) {
  const char* what = kind == ShapeKind::Polygon ? "POLYGON" : "POLYLINE";
  if (!need(p, 2, what)) return false;
  int16_t n = p.s16(0);
  if (n < 0) return fail(p, 0, std::string(what) + " has a negative point count");
  Shape s = makeShape(kind, {}, pen_);
  if (!points(p, 2, size_t(n), s.points, what)) return false;
  if (!s.points.empty()) add(std::move(s));
  return true;
}

bool RecordReader::polyPolygon(const Bytes& p) {
  if (!need(p, 2, "POLYPOLYGON")) return false;
  size_t rings = p.u16(0), at = 2 + 2 * rings;
  if (!need(p, at, "POLYPOLYGON")) return false;
  for (size_t i = 0; i < rings; ++i) {
    Shape s = makeShape(ShapeKind::Polygon, {}, pen_);
    size_t n = p.u16(2 + 2 * i);
    if (!points(p, at, n, s.points, "POLYPOLYGON")) return false;
    at += 4 * n;
    if (!s.points.empty()) add(std::move(s));
  }
  return true;
}

bool RecordReader::text(const Bytes& p, bool extended) {
  const char* what = extended ? "EXTTEXTOUT" : "TEXTOUT";
  Shape s = makeShape(ShapeKind::Text, {}, textColour_);
  s.font = font_;
  s.align = align_;
  if (extended) {
    if (!need(p, 8, what)) return false;
    int16_t len = p.s16(4);
    size_t at = 8 + ((p.u16(6) & kTextOptionsWithRect) ? 8 : 0);
    if (len < 0) return fail(p, 4, "EXTTEXTOUT has a negative length");
    if (!need(p, at + size_t(len), what)) return false;
    auto chars = p.sub(at, size_t(len));
    s.text.assign(chars.begin(), chars.end());
    s.points.push_back({p.s16(2), p.s16(0)});
  } else {
    if (!need(p, 2, what)) return false;
    int16_t len = p.s16(0);
    if (len < 0) return fail(p, 0, "TEXTOUT has a negative length");
    size_t padded = size_t(len) + (size_t(len) & 1);
    if (!need(p, 2 + padded + 4, what)) return false;
    auto chars = p.sub(2, size_t(len));
    s.text.assign(chars.begin(), chars.end());
    s.points.push_back({p.s16(2 + padded + 2), p.s16(2 + padded)});
  }
  s.text = s.text.substr(0, s.text.find('\0'));
  if (!s.text.empty()) add(std::move(s));
  return true;
}

bool RecordReader::font(const Bytes& p) {
  if (!need(p, kFontFixedSize, "CREATEFONTINDIRECT")) return false;
  GdiObject o;
  o.kind = GdiObject::kFont;
  o.font.height = p.s16(0);
  o.font.escapement = p.s16(4);
  o.font.italic = p.sub(10, 1)[0] != 0;
  auto face = p.sub(kFontFixedSize, std::min(kFaceSize, p.size() - kFontFixedSize));
  for (uint8_t c : face) {
    if (!c) break;
    o.font.face += char(c);
  }
  return create(std::move(o)) || fail(p, 0, "the object table is full");
}

void RecordReader::flushPath() {
  if (path_.size() >= 2) r_.picture.shapes.push_back(makeShape(ShapeKind::Polyline, std::move(path_), pen_));
  path_.clear();
}

bool RecordReader::apply(uint16_t f, const Bytes& p) {
  Picture& pic = r_.picture;
  switch (f) {
    case kSetWindowOrg:
    case kSetWindowExt: {
      if (!need(p, 4, "window")) return false;
      (f == kSetWindowOrg ? pic.windowOrigin : pic.windowExtent) = {p.s16(2), p.s16(0)};
      return true;
    }
    case kSetTextAlign: return need(p, 2, "SETTEXTALIGN") && (align_ = p.u16(0), true);
    case kSetTextColor: return need(p, 4, "SETTEXTCOLOR") && (textColour_ = p.u32(0), true);
    case kCreatePenIndirect: {
      if (!need(p, 10, "CREATEPENINDIRECT")) return false;
      return create(gdi(GdiObject::kPen, p.u32(6), p.u16(0) == kPenNull)) || fail(p, 0, "the object table is full");
    }
    case kCreateBrushIndirect: {
      if (!need(p, 8, "CREATEBRUSHINDIRECT")) return false;
      return create(gdi(GdiObject::kBrush, p.u32(2), p.u16(0) == kBrushNull)) || fail(p, 0, "the object table is full");
    }
    case kCreateFontIndirect: return font(p);
    case kCreatePalette: case kCreatePatternBrush: case kDibCreatePatternBrush: case kCreateRegion:
      return create({}) || fail(p, 0, "the object table is full");  // they take a slot all the same
    case kSelectObject: return selectOrDelete(p, false);
    case kDeleteObject: return selectOrDelete(p, true);
    case kMoveTo:
      if (!need(p, 4, "MOVETO")) return false;
      flushPath();
      position_ = {p.s16(2), p.s16(0)};
      return true;
    case kLineTo: {
      if (!need(p, 4, "LINETO")) return false;
      if (path_.empty()) path_.push_back(position_);
      position_ = {p.s16(2), p.s16(0)};
      path_.push_back(position_);
      return true;
    }
    case kPolyline: return poly(p, ShapeKind::Polyline);
    case kPolygon: return poly(p, ShapeKind::Polygon);
    case kPolyPolygon: return polyPolygon(p);
    case kRectangle: case kEllipse: {
      if (!need(p, 8, f == kEllipse ? "ELLIPSE" : "RECTANGLE")) return false;
      LogicalPoint a{p.s16(6), p.s16(4)}, b{p.s16(2), p.s16(0)};  // left-top, right-bottom
      if (f == kEllipse) add(makeShape(ShapeKind::Ellipse, {a, b}, pen_));
      else add(makeShape(ShapeKind::Polygon, {a, {b.x, a.y}, b, {a.x, b.y}}, pen_));
      return true;
    }
    case kSetPixel:
      if (!need(p, 8, "SETPIXEL")) return false;
      add(makeShape(ShapeKind::Point, {{p.s16(6), p.s16(4)}}, p.u32(0)));
      return true;
    case kTextOut: return text(p, false);
    case kExtTextOut: return text(p, true);
    default:
      // Drawing records not read here (arcs, pies, bitmaps ...) are counted;
      // state records are simply passed over.
      if (std::find(kUnreadDrawing.begin(), kUnreadDrawing.end(), f) != kUnreadDrawing.end()) ++pic.skippedRecords;
      return true;
  }
}

bool readPlaceable(const Bytes& b, ReadResult& r, size_t& at) {
  if (b.size() < 4 || b.u32(0) != kPlaceableKey) return true;
  if (b.size() < kPlaceableSize) return r.error = "the placeable header is cut short", r.offset = 0, false;
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= b.u16(i);
  if (sum != b.u16(20)) return r.error = "the placeable header's checksum is wrong", r.offset = 20, false;
  Picture& pic = r.picture;
  pic.placeable = true;
  pic.frame = {b.s16(6), b.s16(8), b.s16(10), b.s16(12)};
  pic.unitsPerInch = b.u16(14);
  if (pic.unitsPerInch == 0) return r.error = "the placeable header gives 0 units per inch", r.offset = 14, false;
  if (pic.frame.right == pic.frame.left || pic.frame.bottom == pic.frame.top)
    return r.error = "the placeable header's frame is empty", r.offset = 6, false;
  at = kPlaceableSize;
  return true;
}

bool readHeader(const Bytes& b, ReadResult& r, size_t at) {
  auto fail = [&](size_t where, const char* what) { return r.error = what, r.offset = where, false; };
  if (b.size() < at + kHeaderSize) return fail(at, "the metafile header is cut short");
  uint16_t type = b.u16(at), words = b.u16(at + 2), version = b.u16(at + 4);
  if (type != 1 && type != 2) return fail(at, "not a Windows metafile (wrong header type)");
  if (words != 9) return fail(at + 2, "the metafile header size is not 9 words");
  if (version != 0x0100 && version != 0x0300) return fail(at + 4, "unknown metafile version");
  return true;
}

}  // namespace

ReadResult read(std::span<const uint8_t> bytes) {
  ReadResult r;
  Bytes all(bytes, 0);
  size_t at = 0;
  if (!readPlaceable(all, r, at) || !readHeader(all, r, at)) return r;
  at += kHeaderSize;
  RecordReader records(r);
  while (true) {
    if (bytes.size() - at < 6) {
      r.error = at == bytes.size() ? "the metafile has no end record" : "a record header is cut short";
      r.offset = at;
      return r;
    }
    uint32_t words = all.u32(at);
    uint16_t function = all.u16(at + 4);
    if (words < 3 || words > (bytes.size() - at) / 2) {
      r.error = "record size " + std::to_string(words) + " words does not fit the file";
      r.offset = at;
      return r;
    }
    if (function == kEof) break;
    Bytes params(bytes.subspan(at + 6, size_t(words) * 2 - 6), at + 6);
    if (!records.apply(function, params)) return r;
    at += size_t(words) * 2;
  }
  records.finish();
  r.ok = true;
  return r;
}

}  // namespace tarn::commands::wmf
