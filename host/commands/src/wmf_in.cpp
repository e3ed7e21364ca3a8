// WMFIN: a Windows metafile as a new block definition ("WMF0", "WMF1" ...)
// of lines, polylines, circles, ellipses, points and texts, inserted at a
// point with X and Y scales and a rotation. The metafile's upper-left
// corner is the block's base point; one inch of the picture (by the
// placeable header) is one drawing unit.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcutapi.h>

#include "api/resbuf_util.h"
#include "command_support.h"
#include "wmf_commands.h"
#include "wmf_format.h"
#include "wmf_text.h"

namespace tarn::commands {
namespace {

constexpr double kCapToEm = 0.7;          // as WMFOUT writes fonts
constexpr double kCellToCap = 0.6;        // a font given by its cell height
constexpr double kAscent = 0.8, kDescent = 0.2;  // of the character height, for top and bottom aligned texts
constexpr double kUnitsPerInchWithoutHeader = 96;
constexpr size_t kMaxFileSize = size_t(1) << 28;

struct Point2 {
  double x = 0, y = 0;
};

// Logical units to block units.
struct Mapping {
  double originX = 0, originY = 0, perUnit = 1, ySign = 1;
  Point2 operator()(wmf::LogicalPoint p) const {
    return {(p.x - originX) / perUnit, ySign * (originY - p.y) / perUnit};
  }
};

Mapping mappingOf(const wmf::Picture& pic) {
  Mapping m;
  if (pic.placeable) {
    m.originX = pic.frame.left;
    m.originY = pic.frame.top;
    m.perUnit = pic.unitsPerInch;
  } else {
    m.originX = pic.windowOrigin.x;
    m.originY = pic.windowOrigin.y;
    m.perUnit = kUnitsPerInchWithoutHeader;
  }
  if (pic.windowExtent.y < 0) m.ySign = -1;  // logical Y upwards
  return m;
}

// The nearest colour index of a colour reference; black and white are 7.
int nearestColourIndex(uint32_t colour) {
  int r = int(colour & 0xFF), g = int(colour >> 8 & 0xFF), b = int(colour >> 16 & 0xFF);
  if ((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255)) return 7;
  int best = 7;
  long bestDistance = -1;
  for (int aci = 1; aci <= 255; ++aci) {
    int cr, cg, cb;
    if (tcedGetRGB(aci, &cr, &cg, &cb) != RTNORM) continue;
    long d = long(cr - r) * (cr - r) + long(cg - g) * (cg - g) + long(cb - b) * (cb - b);
    if (bestDistance < 0 || d < bestDistance) best = aci, bestDistance = d;
  }
  return best;
}

class BlockBuilder {
 public:
  explicit BlockBuilder(const Mapping& map) : map_(map) {}
  bool add(const wmf::Shape& s);
  size_t made() const { return made_; }

 private:
  static void begin(host::ChainBuilder& c, const char* type, uint32_t colour) {
    c.addText(RTDXF0, type);
    c.addText(8, "0");
    c.addShort(62, nearestColourIndex(colour));
  }
  bool make(host::ChainBuilder& c) {
    resbuf* list = c.take();
    int rc = tcdbEntMake(list);
    tcutRelRb(list);
    made_ += rc == RTNORM;
    return rc == RTNORM;
  }
  bool line(const wmf::Shape& s, bool closed);
  bool ellipse(const wmf::Shape& s);
  bool text(const wmf::Shape& s);

  const Mapping& map_;
  size_t made_ = 0;
};

bool BlockBuilder::line(const wmf::Shape& s, bool closed) {
  std::vector<Point2> distinct;
  for (size_t i = 0; i < s.points.size(); ++i)
    if (i == 0 || !(s.points[i] == s.points[i - 1])) distinct.push_back(map_(s.points[i]));
  if (closed && distinct.size() > 2 && s.points.front() == s.points.back()) distinct.pop_back();
  if (distinct.size() < 2) return false;
  if (distinct.size() == 2) {
    host::ChainBuilder c;
    begin(c, "LINE", s.colour);
    c.addPoint(10, distinct[0].x, distinct[0].y, 0);
    c.addPoint(11, distinct[1].x, distinct[1].y, 0);
    return make(c);
  }
  host::ChainBuilder c;
    begin(c, "LWPOLYLINE", s.colour);
  c.addText(100, "AcDbPolyline");
  c.addLong(90, int32_t(distinct.size()));
  c.addShort(70, closed ? 1 : 0);
  for (const Point2& p : distinct) c.addPoint(10, p.x, p.y, 0);
  return make(c);
}

bool BlockBuilder::ellipse(const wmf::Shape& s) {
  Point2 a = map_(s.points[0]), b = map_(s.points[1]);
  double cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2, rx = std::fabs(b.x - a.x) / 2, ry = std::fabs(b.y - a.y) / 2;
  if (rx <= 0 || ry <= 0) return false;
  if (std::fabs(rx - ry) <= 1e-9 * rx) {
    host::ChainBuilder c;
    begin(c, "CIRCLE", s.colour);
    c.addPoint(10, cx, cy, 0);
    c.addReal(40, rx);
    return make(c);
  }
  host::ChainBuilder c;
    begin(c, "ELLIPSE", s.colour);
  c.addText(100, "AcDbEllipse");
  c.addPoint(10, cx, cy, 0);
  if (rx >= ry) c.addPoint(11, rx, 0, 0);
  else c.addPoint(11, 0, ry, 0);
  c.addReal(40, std::min(rx, ry) / std::max(rx, ry));
  c.addReal(41, 0);
  c.addReal(42, 2 * std::numbers::pi);
  return make(c);
}

bool BlockBuilder::text(const wmf::Shape& s) {
  double em = std::abs(s.font.height) / map_.perUnit;
  double height = s.font.height < 0 ? em * kCapToEm : em * kCellToCap;
  if (!(height > 0)) height = 12 / map_.perUnit * kCapToEm;  // the system font's size
  double angle = s.font.escapement / 10.0 * std::numbers::pi / 180;
  Point2 at = map_(s.points[0]);
  // Move a top- or bottom-aligned reference point to the baseline.
  uint16_t vertical = s.align & wmf::kAlignBaseline;
  double down = vertical == wmf::kAlignBaseline ? 0 : vertical == wmf::kAlignBottom ? -kDescent * em : kAscent * em;
  at.x += down * std::sin(angle);
  at.y -= down * std::cos(angle);
  uint16_t horizontal = s.align & wmf::kAlignCenter;
  int justify = horizontal == wmf::kAlignCenter ? 1 : horizontal == wmf::kAlignRight ? 2 : 0;
  host::ChainBuilder c;
    begin(c, "TEXT", s.colour);
  c.addPoint(10, at.x, at.y, 0);
  c.addReal(40, height);
  c.addText(1, wmf::ansiToDrawingText(s.text));
  c.addReal(50, angle);
  if (justify) {
    c.addShort(72, justify);
    c.addPoint(11, at.x, at.y, 0);
  }
  return make(c);
}

bool BlockBuilder::add(const wmf::Shape& s) {
  switch (s.kind) {
    case wmf::ShapeKind::Polyline: return line(s, false);
    case wmf::ShapeKind::Polygon: return line(s, true);
    case wmf::ShapeKind::Ellipse: return ellipse(s);
    case wmf::ShapeKind::Text: return text(s);
    case wmf::ShapeKind::Point: {
      host::ChainBuilder c;
    begin(c, "POINT", s.colour);
      Point2 p = map_(s.points[0]);
      c.addPoint(10, p.x, p.y, 0);
      return make(c);
    }
  }
  return false;
}

std::string nextBlockName() {
  for (int n = 0;; ++n) {
    std::string name = "WMF" + std::to_string(n);
    if (drawing().findBlock(name) == db::kNoObject) return name;
  }
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size_t(size) > kMaxFileSize) return false;
  in.seekg(0);
  bytes.resize(size_t(size));
  return bool(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

// The block definition; false (and nothing left behind) when it could not be made.
bool defineBlock(const std::string& name, const wmf::Picture& pic) {
  host::ChainBuilder head;
  head.addText(RTDXF0, "BLOCK");
  head.addText(2, name);
  head.addShort(70, 0);
  head.addPoint(10, 0, 0, 0);
  resbuf* list = head.take();
  int rc = tcdbEntMake(list);
  tcutRelRb(list);
  if (rc != RTNORM) return false;
  Mapping map = mappingOf(pic);
  BlockBuilder builder(map);
  for (const wmf::Shape& s : pic.shapes) builder.add(s);
  host::ChainBuilder end;
  end.addText(RTDXF0, "ENDBLK");
  list = end.take();
  rc = tcdbEntMake(list);
  tcutRelRb(list);
  if (rc != RTNORM) tcdbEntMake(nullptr);  // drop the unfinished block
  return rc == RTNORM;
}

struct Placement {
  Point3 at;
  double xScale = 1, yScale = 1, rotation = 0;
};

// Insertion point, scales and rotation, asked as -INSERT asks them.
bool askPlacement(Placement& p) {
  if (askPoint(nullptr, "Specify insertion point: ", p.at).status != RTNORM) return false;
  tcedInitGet(2, nullptr);
  int rc = tcedGetReal("Enter X scale factor <1>: ", &p.xScale);
  if (rc == RTNONE) p.xScale = 1;
  else if (rc != RTNORM) return false;
  p.yScale = p.xScale;
  tcedInitGet(2, nullptr);
  rc = tcedGetReal("Enter Y scale factor <use X scale factor>: ", &p.yScale);
  if (rc == RTNONE) p.yScale = p.xScale;
  else if (rc != RTNORM) return false;
  Answer a = askAngle(&p.at, "Specify rotation angle <0>: ", p.rotation);
  if (a.status == RTNONE) p.rotation = 0;
  return a.status == RTNORM || a.status == RTNONE;
}

}  // namespace

int wmfinCommand() {
  resbuf chosen{};
  if (tcedGetFileD("Enter file name", "", "wmf", 0, &chosen) != RTNORM) return RTCAN;
  std::string path = chosen.resval.rstring;
  std::free(chosen.resval.rstring);
  std::vector<uint8_t> bytes;
  if (!readFile(path, bytes)) {
    print("Cannot read " + path + ".\n");
    return RTERROR;
  }
  wmf::ReadResult r = wmf::read(bytes);
  if (!r.ok) {
    print("Invalid metafile " + path + ": " + r.error + " (at byte " + std::to_string(r.offset) + ").\n");
    return RTERROR;
  }
  Placement p;
  if (!askPlacement(p)) return RTCAN;
  std::string name = nextBlockName();
  if (!defineBlock(name, r.picture)) {
    print("Cannot define block " + name + ".\n");
    return RTERROR;
  }
  Point3 xDir = ucsToWorld({1, 0, 0}), origin = ucsToWorld({0, 0, 0});
  double ucsAngle = std::atan2(xDir.y - origin.y, xDir.x - origin.x);
  host::ChainBuilder insert;
  insert.addText(RTDXF0, "INSERT");
  insert.addText(2, name);
  insert.addPoint(10, p.at.x, p.at.y, p.at.z);
  insert.addReal(41, p.xScale);
  insert.addReal(42, p.yScale);
  insert.addReal(43, p.xScale);
  insert.addReal(50, p.rotation + ucsAngle);
  resbuf* list = insert.take();
  int rc = tcdbEntMake(list);
  tcutRelRb(list);
  if (r.picture.skippedRecords)
    print(std::to_string(r.picture.skippedRecords) + " metafile records of kinds not imported were left out.\n");
  return rc == RTNORM ? RTNORM : RTERROR;
}

}  // namespace tarn::commands
