// Mapping of glyphs from cap units into a text frame, and ink boxes.
#include "font/placed_glyph.h"

#include <cmath>

namespace tarn::font {

Point2 PlacedGlyph::map(Point2 p) const {
  const double y = p.y * height;
  return {origin.x + p.x * height * widthFactor + y * std::tan(oblique), origin.y + y};
}

// With an oblique angle this is the box of the slanted upright ink box: it
// holds the glyph, and is at most the slant of its height too wide.
Box2 PlacedGlyph::inkBox() const {
  Box2 out;
  if (!face) return out;
  Box2 ink = face->metrics(ch).ink;
  if (ink.empty()) return out;
  out.add(map(ink.min));
  out.add(map(ink.max));
  out.add(map({ink.min.x, ink.max.y}));
  out.add(map({ink.max.x, ink.min.y}));
  return out;
}

Box2 GlyphLayout::inkBox() const {
  Box2 out;
  for (const PlacedGlyph& g : glyphs) out.add(g.inkBox());
  for (const Bar& b : bars) {
    out.add(Point2{b.x0, b.y0});
    out.add(Point2{b.x1, b.y1});
  }
  return out;
}

void GlyphLayout::append(const GlyphLayout& other, Point2 shift) {
  for (PlacedGlyph g : other.glyphs) {
    g.origin = {g.origin.x + shift.x, g.origin.y + shift.y};
    glyphs.push_back(g);
  }
  for (Bar b : other.bars) {
    bars.push_back({b.x0 + shift.x, b.x1 + shift.x, b.y0 + shift.y, b.y1 + shift.y});
  }
}

void GlyphLayout::translate(Point2 shift) {
  for (PlacedGlyph& g : glyphs) g.origin = {g.origin.x + shift.x, g.origin.y + shift.y};
  for (Bar& b : bars) b = {b.x0 + shift.x, b.x1 + shift.x, b.y0 + shift.y, b.y1 + shift.y};
}

}  // namespace tarn::font
