// Outlines of laid-out text: each glyph's contours flattened in cap units,
// mapped through its size and slant into the text frame, then placed.
#include "font/glyph_outlines.h"

#include <algorithm>
#include <cmath>

#include "bezier_flatten.h"
#include "font/text_box.h"

namespace tarn::font {
namespace {

void addGlyph(std::vector<Polyline>& out, const PlacedGlyph& g, const TextPlacement& place, double tolerance) {
  if (!g.face) return;
  // The tolerance in cap units: the glyph is scaled by its height and, along
  // x, by its width factor; the larger scale governs.
  const double scale = g.height * std::max(1.0, g.widthFactor);
  for (Polyline& contour : flattenPath(g.face->outline(g.ch), tolerance / scale)) {
    for (Point2& p : contour) p = place.apply(g.map(p));
    out.push_back(std::move(contour));
  }
}

void addBar(std::vector<Polyline>& out, const Bar& b, const TextPlacement& place) {
  out.push_back({place.apply({b.x0, b.y0}), place.apply({b.x1, b.y0}), place.apply({b.x1, b.y1}),
                 place.apply({b.x0, b.y1})});
}

}  // namespace

Point2 TextPlacement::apply(Point2 p) const {
  if (mirrorX) p.x = -p.x;
  if (mirrorY) p.y = -p.y;
  const double c = std::cos(rotation), s = std::sin(rotation);
  return {origin.x + c * p.x - s * p.y, origin.y + s * p.x + c * p.y};
}

std::vector<Polyline> layoutOutlines(const GlyphLayout& layout, const TextPlacement& placement,
                                     double chordTolerance) {
  std::vector<Polyline> out;
  if (!(chordTolerance > 0.0)) return out;
  for (const PlacedGlyph& g : layout.glyphs) addGlyph(out, g, placement, chordTolerance);
  for (const Bar& b : layout.bars) addBar(out, b, placement);
  return out;
}

OutlineResult textOutlines(std::string_view text, const TextStyle& style, Point2 insertion, double rotation,
                           double relativeTolerance) {
  OutlineResult out;
  TextLineLayout line = layoutTextLine(text, style);
  out.status = line.status;
  if (out.status != FontStatus::Ok) return out;
  if (!(relativeTolerance > 0.0) || !std::isfinite(rotation)) {
    out.status = FontStatus::InvalidArgument;
    return out;
  }
  TextPlacement place{insertion, rotation, (style.generation & kTextBackwards) != 0,
                      (style.generation & kTextUpsideDown) != 0};
  out.contours = layoutOutlines(line.layout, place, relativeTolerance * style.height);
  return out;
}

OutlineResult mtextOutlines(std::string_view contents, const MTextParams& params, double relativeTolerance) {
  OutlineResult out;
  MTextLayout layout = layoutMText(contents, params);
  out.status = layout.status;
  if (out.status != FontStatus::Ok) return out;
  if (!(relativeTolerance > 0.0)) {
    out.status = FontStatus::InvalidArgument;
    return out;
  }
  TextPlacement place{params.insertion, params.rotation, false, false};
  out.contours = layoutOutlines(layout.layout, place, relativeTolerance * params.base.height);
  return out;
}

}  // namespace tarn::font
