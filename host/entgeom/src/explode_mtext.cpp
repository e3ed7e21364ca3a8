// Explosion of paragraph text: the layout's glyphs are cut into runs that
// share a baseline and a format, each run becomes a single-line text at its
// first glyph, and the layout's bars (underlines, fraction bars) become lines.
#include <cmath>

#include "explode_parts.h"
#include "font/mtext_layout.h"
#include "geom/coord_system.h"
#include "geom/tolerance.h"
#include "mtext_params.h"

namespace tarn::entgeom {

using db::Tag;
using db::TagList;
using geom::Vec3;

namespace {

// Glyphs closer than this fraction of their height share a baseline.
constexpr double kSameBaseline = 1e-6;

bool sameRun(const font::PlacedGlyph& a, const font::PlacedGlyph& b) {
  return a.face == b.face && a.height == b.height && a.widthFactor == b.widthFactor && a.oblique == b.oblique &&
         std::fabs(a.origin.y - b.origin.y) <= kSameBaseline * a.height && b.origin.x > a.origin.x;
}

double advance(const font::PlacedGlyph& g, char32_t c) {
  return g.face ? g.face->metrics(c).advance * g.height * g.widthFactor : 0.0;
}

void appendUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += char(c);
  } else if (c < 0x800) {
    s += char(0xC0 | (c >> 6)), s += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += char(0xE0 | (c >> 12)), s += char(0x80 | ((c >> 6) & 0x3F)), s += char(0x80 | (c & 0x3F));
  } else {
    s += char(0xF0 | (c >> 18)), s += char(0x80 | ((c >> 12) & 0x3F)), s += char(0x80 | ((c >> 6) & 0x3F));
    s += char(0x80 | (c & 0x3F));
  }
}

// Blanks leave no glyph: they come back from the room between two glyphs.
int blanksBetween(const font::PlacedGlyph& a, const font::PlacedGlyph& b) {
  const double blank = advance(a, U' ');
  const double gap = b.origin.x - a.origin.x - advance(a, a.ch);
  return blank > 0.0 && gap > 0.5 * blank ? int(std::lround(gap / blank)) : 0;
}

// A single-line text shows "%%" as the start of a control code; "%%%" is a
// percent sign.
std::string escapedPercents(const std::string& s) {
  if (s.find("%%") == std::string::npos) return s;
  std::string out;
  for (char c : s) out += c == '%' ? std::string("%%%") : std::string(1, c);
  return out;
}

struct Frame {
  geom::Matrix4 toWorld;
  double z = 0.0, rotation = 0.0;
  font::Point2 insertion;
  Vec3 normal;
  // A point of the layout in the text's object coordinates.
  Vec3 ocs(font::Point2 p) const {
    const double c = std::cos(rotation), s = std::sin(rotation);
    return {insertion.x + c * p.x - s * p.y, insertion.y + s * p.x + c * p.y, z};
  }
};

ExplodedEntity textOf(const TagList& props, const std::string& style, const Frame& f,
                      const font::PlacedGlyph& first, const std::string& text) {
  TagList g = {pointTag(10, f.ocs(first.origin)), Tag::real(40, first.height), Tag::str(1, escapedPercents(text))};
  if (f.rotation != 0.0) g.push_back(Tag::real(50, degrees(geom::normalizeAngle(f.rotation))));
  if (first.widthFactor != 1.0) g.push_back(Tag::real(41, first.widthFactor));
  if (first.oblique != 0.0) g.push_back(Tag::real(51, degrees(first.oblique)));
  g.push_back(Tag::str(7, style));
  if (!geom::pointsEqual(f.normal, geom::kZAxis)) g.push_back(pointTag(210, f.normal));
  return newEntity("TEXT", props, std::move(g));
}

void addTexts(const font::GlyphLayout& layout, const TagList& props, const std::string& style, const Frame& f,
              ExplodeResult& out) {
  const auto& glyphs = layout.glyphs;
  for (size_t i = 0; i < glyphs.size();) {
    std::string text;
    appendUtf8(text, glyphs[i].ch);
    size_t j = i + 1;
    for (; j < glyphs.size() && sameRun(glyphs[j - 1], glyphs[j]); ++j) {
      text.append(size_t(blanksBetween(glyphs[j - 1], glyphs[j])), ' ');
      appendUtf8(text, glyphs[j].ch);
    }
    out.entities.push_back(textOf(props, style, f, glyphs[i], text));
    i = j;
  }
}

void addBars(const font::GlyphLayout& layout, const TagList& props, const Frame& f, ExplodeResult& out) {
  for (const font::Bar& b : layout.bars) {
    const double y = 0.5 * (b.y0 + b.y1);
    Vec3 a = f.toWorld.transformPoint(f.ocs({b.x0, y})), e = f.toWorld.transformPoint(f.ocs({b.x1, y}));
    if (!geom::pointsEqual(a, e)) out.entities.push_back(newEntity("LINE", props, {pointTag(10, a), pointTag(11, e)}));
  }
}

}  // namespace

ExplodeResult explodeMText(const db::Database& db, uint32_t id) {
  Groups g(db, id);
  Frame f;
  f.normal = g.normal();
  f.toWorld = geom::ocsToWorld(f.normal);
  font::MTextParams mp = mtextParams(db, g, geom::worldToOcs(f.normal), f.z);
  f.insertion = mp.insertion;
  f.rotation = mp.rotation;
  font::MTextLayout lay = font::layoutMText(mtextContents(g), mp);
  if (lay.status != font::FontStatus::Ok)
    return refusal(EntStatus::FontFailure, objectLabel(db, id) + " could not be laid out with its font");
  ExplodeResult out;
  const TagList props = entityProperties(db, id);
  std::string style(g.str(7, "Standard"));
  addTexts(lay.layout, props, style, f, out);
  addBars(lay.layout, props, f, out);
  return out;
}

}  // namespace tarn::entgeom
