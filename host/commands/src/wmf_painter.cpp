// Entities into metafile records: colours by entity, block and layer,
// curves flattened in logical units, fills for solids and solid hatches,
// texts as fonts and text records or as glyph outlines.
#include "wmf_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <tarnsdk/tcedapi.h>

#include "entgeom/entity_shape.h"
#include "entgeom/entity_curve.h"
#include "entgeom/explode.h"
#include "entgeom/extents.h"
#include "entgeom/text_frame.h"
#include "font/glyph_outlines.h"
#include "wmf_text.h"

namespace tarn::commands::wmf {

using geom::Matrix4;
using geom::Vec3;

namespace {

constexpr int kMaxDepth = 32;          // nesting of block references
constexpr size_t kMaxCells = 4096;     // cells of a MINSERT drawn
constexpr double kChordError = 0.5;    // logical units
constexpr double kCapToEm = 0.7;       // a text height (capitals) to the font's character height
constexpr double kJoin = 1.0;          // logical units between hatch edges that join
constexpr double kLogicalLimit = 32000;

uint32_t aciColour(int aci) {
  int r = 0, g = 0, b = 0;
  // Colour 7 shows white on a dark screen and black on paper: a metafile is paper.
  if (aci == 7 || tcedGetRGB(aci, &r, &g, &b) != RTNORM) return colourRef(0, 0, 0);
  return colourRef(r, g, b);
}

struct EntityLook {
  std::string layer = "0";
  int colour = 256;
  std::optional<int64_t> trueColour;
  bool invisible = false;
};

EntityLook lookOf(const db::Database& db, uint32_t id) {
  EntityLook look;
  for (db::TagCursor c = db.tags(id); !c.done(); c.next()) {
    int code = c.code();
    if (code == 8 && c.kind() == db::TagKind::String) look.layer = std::string(c.str());
    else if (code == 62) look.colour = int(c.number());
    else if (code == 420) look.trueColour = int64_t(c.number());
    else if (code == 60) look.invisible = c.number() != 0;
    else if (code == 100 && c.kind() == db::TagKind::String && c.str() != "AcDbEntity") break;  // the type's own groups
  }
  return look;
}

Vec3 apply(const Matrix4& m, const Vec3& p) { return m.transformPoint(p); }
double dist2d(const Vec3& a, const Vec3& b) { return std::hypot(a.x - b.x, a.y - b.y); }
bool inside(const Vec3& p, double w, double h) { return p.x >= 0 && p.y >= 0 && p.x <= w && p.y <= h; }

LogicalPoint rounded(const Vec3& p) {
  auto c = [](double v) { return int16_t(std::lround(std::clamp(v, -kLogicalLimit, kLogicalLimit))); };
  return {c(p.x), c(p.y)};
}

std::vector<LogicalPoint> roundedRun(const std::vector<Vec3>& pts) {
  std::vector<LogicalPoint> out;
  for (const Vec3& p : pts) {
    LogicalPoint q = rounded(p);
    if (out.empty() || !(out.back() == q)) out.push_back(q);
  }
  return out;
}

void refine(const geom::Curve& c, const Matrix4& m, double t0, const Vec3& p0, double t1, const Vec3& p1, int depth,
            std::vector<Vec3>& out) {
  double tm = (t0 + t1) / 2;
  Vec3 pm = apply(m, c.pointAt(tm));
  if (depth < 12 && dist2d(pm, (p0 + p1) / 2) > kChordError) {
    refine(c, m, t0, p0, tm, pm, depth + 1, out);
    refine(c, m, tm, pm, t1, p1, depth + 1, out);
  } else {
    out.push_back(p1);
  }
}

// Liang-Barsky: the part of segment a-b inside the frame, as parameters.
bool clipSegment(const Vec3& a, const Vec3& b, double w, double h, double& t0, double& t1) {
  t0 = 0, t1 = 1;
  double d[2] = {b.x - a.x, b.y - a.y};
  double lo[2] = {a.x, a.y}, hi[2] = {w - a.x, h - a.y};
  for (int k = 0; k < 2; ++k) {
    for (double s : {-1.0, 1.0}) {
      double p = s * d[k], q = s < 0 ? lo[k] : hi[k];
      if (p == 0) {
        if (q < 0) return false;
        continue;
      }
      double r = q / p;
      if (p < 0) t0 = std::max(t0, r);
      else t1 = std::min(t1, r);
    }
  }
  return t0 <= t1;
}

// One side of the Sutherland-Hodgman clip: keeps what has value(p) >= 0.
template <class F>
std::vector<Vec3> clipSide(const std::vector<Vec3>& in, F value) {
  std::vector<Vec3> out;
  for (size_t i = 0; i < in.size(); ++i) {
    const Vec3& a = in[i];
    const Vec3& b = in[(i + 1) % in.size()];
    double va = value(a), vb = value(b);
    if (va >= 0) out.push_back(a);
    if ((va >= 0) != (vb >= 0)) out.push_back(a + (b - a) * (va / (va - vb)));
  }
  return out;
}

}  // namespace

std::vector<Vec3> flatten(const geom::Curve& c, const Matrix4& toLogical) {
  std::vector<Vec3> out;
  if (!c.isBounded()) return out;
  std::vector<double> ts = c.sampleParams();
  if (ts.size() < 2) return out;
  Vec3 prev = apply(toLogical, c.pointAt(ts[0]));
  out.push_back(prev);
  for (size_t i = 1; i < ts.size(); ++i) {
    Vec3 next = apply(toLogical, c.pointAt(ts[i]));
    refine(c, toLogical, ts[i - 1], prev, ts[i], next, 0, out);
    prev = next;
  }
  return out;
}

std::vector<std::vector<Vec3>> clipPolyline(const std::vector<Vec3>& pts, double w, double h) {
  std::vector<std::vector<Vec3>> parts;
  bool open = false;  // the last part goes on
  for (size_t i = 1; i < pts.size(); ++i) {
    double t0, t1;
    if (!clipSegment(pts[i - 1], pts[i], w, h, t0, t1)) {
      open = false;
      continue;
    }
    Vec3 a = pts[i - 1] + (pts[i] - pts[i - 1]) * t0, b = pts[i - 1] + (pts[i] - pts[i - 1]) * t1;
    if (!open || t0 > 0) parts.push_back({a});
    parts.back().push_back(b);
    open = t1 >= 1;
  }
  return parts;
}

std::vector<Vec3> clipPolygon(const std::vector<Vec3>& pts, double w, double h) {
  std::vector<Vec3> r = clipSide(pts, [](const Vec3& p) { return p.x; });
  r = clipSide(r, [w](const Vec3& p) { return w - p.x; });
  r = clipSide(r, [](const Vec3& p) { return p.y; });
  return clipSide(r, [h](const Vec3& p) { return h - p.y; });
}

struct Painter::PlacedText {
  std::string text;
  font::TextStyle style;
  Vec3 origin, xAxis{1, 0, 0}, yAxis{0, 1, 0};  // the text's frame in block coordinates
  Vec3 at(double x, double y) const { return origin + xAxis * x + yAxis * y; }
};

Painter::Painter(const db::Database& db, const ViewMapping& view, Writer& out, bool textAsOutlines)
    : db_(db), view_(view), out_(out), textAsOutlines_(textAsOutlines) {}

bool Painter::draw(uint32_t id) { return drawEntity(id, Matrix4(), {aciColour(7), ""}, 0); }

std::optional<uint32_t> Painter::colourOf(uint32_t id, const Inherited& from, std::string& layer) const {
  EntityLook look = lookOf(db_, id);
  if (look.invisible) return std::nullopt;
  layer = look.layer == "0" && !from.layer.empty() ? from.layer : look.layer;
  uint32_t record = db_.findRecord("LAYER", layer);
  int layerColour = 7;
  if (record != db::kNoObject) {
    auto flags = db::findTag(db_, record, 70);
    auto colour = db::findTag(db_, record, 62);
    if (flags && (flags->i & 1)) return std::nullopt;  // frozen
    if (colour && colour->i < 0) return std::nullopt;  // off
    if (colour) layerColour = int(colour->i);
  }
  if (look.trueColour)
    return colourRef(int(*look.trueColour >> 16 & 0xFF), int(*look.trueColour >> 8 & 0xFF), int(*look.trueColour & 0xFF));
  if (look.colour == 0) return from.colour;
  return aciColour(look.colour >= 1 && look.colour <= 255 ? look.colour : std::abs(layerColour));
}

bool Painter::drawEntity(uint32_t id, const Matrix4& m, const Inherited& from, int depth) {
  std::string layer;
  std::optional<uint32_t> colour = colourOf(id, from, layer);
  if (!colour || depth > kMaxDepth) return false;
  std::string_view type = db_.typeOf(id);
  if (type == "INSERT") return drawInsert(id, m, {*colour, layer}, depth);
  if (type == "DIMENSION") {
    uint32_t block = db_.findBlock(db::findString(db_, id, 2));
    return block != db::kNoObject && drawBlock(block, m, {*colour, layer}, depth);
  }
  if (type == "TEXT" || type == "ATTRIB") return drawText(id, m, *colour);
  if (type == "MTEXT") return drawMText(id, m, *colour);
  if (type == "HATCH") return drawHatch(id, m, *colour);
  if (type == "ATTDEF") return false;  // shown by the references' attributes
  geom::CurvePtr curve = entgeom::curveOf(db_, id);
  if (curve) return drawCurve(*curve, m, *colour);
  return drawShape(id, m, *colour);
}

bool Painter::drawInsert(uint32_t id, const Matrix4& m, const Inherited& here, int depth) {
  uint32_t block = db::kNoObject;
  std::vector<Matrix4> cells;
  if (entgeom::insertPlacements(db_, id, block, cells, kMaxCells) != entgeom::EntStatus::Ok) return false;
  bool any = false;
  for (const Matrix4& cell : cells) any |= drawBlock(block, m * cell, here, depth);
  for (uint32_t sub : entgeom::subEntitiesOf(db_, id)) {
    auto flags = db::findTag(db_, sub, 70);
    if (db_.typeOf(sub) == "ATTRIB" && !(flags && (flags->i & 1))) any |= drawEntity(sub, m, here, depth + 1);
  }
  return any;
}

bool Painter::drawBlock(uint32_t block, const Matrix4& m, const Inherited& here, int depth) {
  if (block >= db_.blocks().size()) return false;
  bool any = false;
  for (uint32_t id : db_.blocks()[block].entities)
    if (!db_.isErased(id) && !(db_.object(id).flags & db::kSubEntity)) any |= drawEntity(id, m, here, depth + 1);
  return any;
}

bool Painter::drawCurve(const geom::Curve& c, const Matrix4& m, uint32_t colour) {
  Matrix4 toLogical = view_.worldToLogical * m;
  out_.pen(colour);
  if (c.kind() == geom::CurveKind::Circle) {
    // A circle that the view shows round and whole is an ellipse record.
    Vec3 centre = apply(toLogical, (c.pointAt(0) + c.pointAt(std::numbers::pi)) / 2);
    Vec3 a = apply(toLogical, c.pointAt(0)) - centre, b = apply(toLogical, c.pointAt(std::numbers::pi / 2)) - centre;
    double r = std::hypot(a.x, a.y), rb = std::hypot(b.x, b.y);
    bool round = std::fabs(r - rb) <= 1e-9 * r && std::fabs(a.x * b.x + a.y * b.y) <= 1e-9 * r * r;
    if (round && r >= 1 && inside(centre - Vec3{r, r, 0}, view_.width, view_.height) &&
        inside(centre + Vec3{r, r, 0}, view_.width, view_.height)) {
      out_.brush(std::nullopt);
      out_.ellipse({rounded({centre.x - r, 0, 0}).x, rounded({0, centre.y - r, 0}).y, rounded({centre.x + r, 0, 0}).x,
                    rounded({0, centre.y + r, 0}).y});
      return true;
    }
  }
  std::vector<Vec3> pts = flatten(c, toLogical);
  if (c.isClosed() && pts.size() > 2) return polygons({pts}, std::nullopt);
  return polyline(pts);
}

bool Painter::polyline(const std::vector<Vec3>& logical) {
  bool any = false;
  for (const auto& part : clipPolyline(logical, view_.width, view_.height)) {
    std::vector<LogicalPoint> run = roundedRun(part);
    if (run.size() == 1) run.push_back(run.front());  // a dot still shows
    out_.polyline(run);
    any = true;
  }
  return any;
}

// Filled rings are clipped to the frame as areas; outlines stay polygons
// when they lie wholly inside and are clipped as lines otherwise, so that
// no frame edge is drawn as part of an object.
bool Painter::polygons(const std::vector<std::vector<Vec3>>& logical, std::optional<uint32_t> fill) {
  auto whollyInside = [&](const std::vector<Vec3>& r) {
    return std::all_of(r.begin(), r.end(), [&](const Vec3& p) { return inside(p, view_.width, view_.height); });
  };
  std::vector<std::vector<LogicalPoint>> rings;
  bool any = false;
  for (const auto& ring : logical) {
    if (!fill && !whollyInside(ring)) {
      std::vector<Vec3> closed = ring;
      closed.push_back(ring.front());
      any |= polyline(closed);
      continue;
    }
    std::vector<LogicalPoint> r = roundedRun(fill ? clipPolygon(ring, view_.width, view_.height) : ring);
    if (r.size() > 1 && r.back() == r.front()) r.pop_back();
    if (r.size() >= 3) rings.push_back(std::move(r));
  }
  if (rings.empty()) return any;
  out_.brush(fill);
  out_.polyPolygon(rings);
  return true;
}

bool Painter::drawShape(uint32_t id, const Matrix4& m, uint32_t colour) {
  entgeom::Shape shape;
  if (entgeom::shapeOf(db_, id, shape) != entgeom::EntStatus::Ok) return false;
  Matrix4 toLogical = view_.worldToLogical * m;
  bool any = false;
  for (const auto& c : shape.curves) any |= drawCurve(*c, m, colour);
  for (const auto& o : shape.outlines) {
    std::vector<Vec3> ring;
    for (const Vec3& p : o.points) ring.push_back(apply(toLogical, p));
    out_.pen(colour);
    any |= polygons({ring}, o.filled ? std::optional<uint32_t>(colour) : std::nullopt);
  }
  for (const Vec3& p : shape.points) {
    Vec3 q = apply(toLogical, p);
    if (!inside(q, view_.width, view_.height)) continue;
    out_.pixel(rounded(q), colour);
    any = true;
  }
  return any;
}

// A solid hatch is its boundary loops filled; the edges of a loop are
// joined end to end. A pattern hatch shows its boundary.
bool Painter::drawHatch(uint32_t id, const Matrix4& m, uint32_t colour) {
  auto solid = db::findTag(db_, id, 70);
  if (!solid || solid->i != 1) return drawShape(id, m, colour);
  entgeom::Shape shape;
  if (entgeom::shapeOf(db_, id, shape) != entgeom::EntStatus::Ok) return false;
  Matrix4 toLogical = view_.worldToLogical * m;
  std::vector<std::vector<Vec3>> pieces, rings;
  for (const auto& c : shape.curves) pieces.push_back(flatten(*c, toLogical));
  std::erase_if(pieces, [](const auto& p) { return p.size() < 2; });
  while (!pieces.empty()) {
    std::vector<Vec3> ring = std::move(pieces.front());
    pieces.erase(pieces.begin());
    for (bool joined = true; joined && dist2d(ring.front(), ring.back()) > kJoin;) {
      joined = false;
      for (size_t i = 0; i < pieces.size() && !joined; ++i) {
        auto& p = pieces[i];
        if (dist2d(p.back(), ring.back()) <= kJoin) std::reverse(p.begin(), p.end());
        if (dist2d(p.front(), ring.back()) > kJoin) continue;
        ring.insert(ring.end(), p.begin() + 1, p.end());
        pieces.erase(pieces.begin() + long(i));
        joined = true;
      }
    }
    if (ring.size() >= 3) rings.push_back(std::move(ring));
  }
  out_.pen(colour);
  return polygons(rings, colour);
}

bool Painter::drawText(uint32_t id, const Matrix4& m, uint32_t colour) {
  entgeom::TextFrame f;
  if (entgeom::textFrameOf(db_, id, f) != entgeom::EntStatus::Ok) return false;
  PlacedText t;
  t.text = std::string(db::findString(db_, id, 1));
  t.style.font = entgeom::styleFont(db_, db::findString(db_, id, 7, "Standard"));
  auto real = [&](int code, double dflt) { auto g = db::findTag(db_, id, code); return g ? g->asReal() : dflt; };
  t.style.height = real(40, 1);
  t.style.widthFactor = real(41, 1);
  t.style.oblique = real(51, 0) * std::numbers::pi / 180;
  t.style.generation = int(real(71, 0));
  Vec3 ll{f.box.lowerLeft.x, f.box.lowerLeft.y, 0}, ur{f.box.upperRight.x, f.box.upperRight.y, 0};
  double bw = ur.x - ll.x, bh = ur.y - ll.y;
  if (bw > 1e-9 && bh > 1e-9) {
    // The frame's corners place the box: that takes justification and fitting in.
    t.xAxis = (f.corners[1] - f.corners[0]) / bw;
    t.yAxis = (f.corners[3] - f.corners[0]) / bh;
    t.origin = f.corners[0] - t.xAxis * ll.x - t.yAxis * ll.y;
  } else {
    t.xAxis = f.xDir;
    t.yAxis = f.normal.cross(f.xDir);
    t.origin = f.origin;
  }
  return writeText(t, m, colour);
}

bool Painter::drawMText(uint32_t id, const Matrix4& m, uint32_t colour) {
  entgeom::ExplodeResult lines = entgeom::explodeEntity(db_, id);
  if (!lines.ok()) return false;
  bool any = false;
  for (const auto& e : lines.entities) {
    auto real = [&](int code, double dflt) {
      for (const db::Tag& g : e.tags)
        if (g.code == code) return g.asReal();
      return dflt;
    };
    auto point = [&](int code) {
      for (const db::Tag& g : e.tags)
        if (g.code == code) return Vec3{g.p.x, g.p.y, g.p.z};
      return Vec3{};
    };
    if (e.type == "LINE") {  // underlines, overlines, fraction bars
      out_.pen(colour);
      Matrix4 toLogical = view_.worldToLogical * m;
      any |= polyline({apply(toLogical, point(10)), apply(toLogical, point(11))});
      continue;
    }
    if (e.type != "TEXT") continue;
    PlacedText t;
    for (const db::Tag& g : e.tags) {
      if (g.code == 1) t.text = g.s;
      if (g.code == 7) t.style.font = entgeom::styleFont(db_, g.s);
    }
    t.style.height = real(40, 1);
    t.style.widthFactor = real(41, 1);
    t.style.oblique = real(51, 0) * std::numbers::pi / 180;
    double rotation = real(50, 0) * std::numbers::pi / 180;
    t.origin = point(10);
    t.xAxis = {std::cos(rotation), std::sin(rotation), 0};
    t.yAxis = {-std::sin(rotation), std::cos(rotation), 0};
    any |= writeText(t, m, colour);
  }
  return any;
}

bool Painter::writeText(const PlacedText& t, const Matrix4& m, uint32_t colour) {
  Matrix4 toLogical = view_.worldToLogical * m;
  auto logical = [&](double x, double y) { return apply(toLogical, t.at(x, y)); };
  if (textAsOutlines_) {
    font::OutlineResult o = font::textOutlines(t.text, t.style, {0, 0}, 0);
    if (o.status != font::FontStatus::Ok) return false;
    std::vector<std::vector<Vec3>> rings;
    for (const font::Polyline& contour : o.contours) {
      std::vector<Vec3> ring;
      for (const font::Point2& p : contour) ring.push_back(logical(p.x, p.y));
      if (ring.size() >= 3) rings.push_back(std::move(ring));
    }
    out_.pen(colour);
    return polygons(rings, std::nullopt);
  }
  font::TextBox box = font::textBox(t.text, t.style);
  Vec3 corners[4] = {logical(box.lowerLeft.x, box.lowerLeft.y), logical(box.upperRight.x, box.lowerLeft.y),
                     logical(box.upperRight.x, box.upperRight.y), logical(box.lowerLeft.x, box.upperRight.y)};
  bool seen = !clipPolygon({corners, corners + 4}, view_.width, view_.height).empty();
  Vec3 o = logical(0, 0), up = logical(0, t.style.height) - o, along = logical(1, 0) - o;
  if (!seen || std::fabs(o.x) > kLogicalLimit || std::fabs(o.y) > kLogicalLimit) return false;
  Font f;
  f.height = int16_t(-std::clamp(std::lround(std::hypot(up.x, up.y) / kCapToEm), 1L, 32767L));
  // Logical Y runs down: an angle counter-clockwise on the page is -y.
  double angle = std::atan2(-along.y, along.x) * 1800 / std::numbers::pi;
  f.escapement = int16_t(std::lround(angle < 0 ? angle + 3600 : angle) % 3600);
  f.italic = t.style.oblique != 0;
  std::string face = t.style.font.empty() ? "Arial" : t.style.font;
  if (size_t dot = face.rfind('.'); dot != std::string::npos && face.size() - dot <= 4) face.erase(dot);
  f.face = face;
  out_.font(f, colour);
  out_.text(rounded(o), drawingTextToAnsi(t.text));
  return true;
}

}  // namespace tarn::commands::wmf
