// Single-line text: layout from group 10, text box, alignment point and the
// stretching of aligned and fit texts.
#include "font/text_box.h"

#include <cmath>
#include <numbers>

#include "font/control_codes.h"
#include "line_builder.h"
#include "tolerance.h"

namespace tarn::font {
namespace {

bool positive(double v) { return std::isfinite(v) && v > 0.0; }

FontStatus checkStyle(const TextStyle& s) {
  bool obliqueOk = std::isfinite(s.oblique) && std::fabs(s.oblique) <= tol::kMaxOblique;
  return positive(s.height) && positive(s.widthFactor) && obliqueOk ? FontStatus::Ok : FontStatus::InvalidArgument;
}

// The alignment point in the unmirrored frame, from the pen advance and the
// box (ink and baseline) of the text.
Point2 alignmentPoint(Justification just, double advance, const Box2& box, double height, const Face& face) {
  static constexpr double kHorizontalFraction[] = {0.0, 0.5, 1.0, 1.0, 0.5, 1.0};
  Point2 p{advance * kHorizontalFraction[int(just.horizontal)], 0.0};
  if (just.horizontal == HorizontalJust::Middle) {
    p.y = (box.min.y + box.max.y) / 2;
  } else if (just.horizontal == HorizontalJust::Left || just.horizontal == HorizontalJust::Center ||
             just.horizontal == HorizontalJust::Right) {
    const double kVertical[] = {0.0, face.descender() * height, height / 2, height};
    p.y = kVertical[int(just.vertical)];
  }
  return p;
}

Point2 mirrored(Point2 p, int generation) {
  if (generation & kTextBackwards) p.x = -p.x;
  if (generation & kTextUpsideDown) p.y = -p.y;
  return p;
}

}  // namespace

TextLineLayout layoutTextLine(std::string_view text, const TextStyle& style) {
  TextLineLayout out;
  out.status = checkStyle(style);
  if (out.status != FontStatus::Ok) return out;
  FaceResult face = loadFace({style.font, style.bold, style.italic});
  out.status = face.status;
  if (out.status != FontStatus::Ok) return out;
  DecodedText decoded = decodeTextString(text);
  LineBuilder line;
  CharFormat format{face.face, style.height, style.widthFactor, style.oblique, 1.0, 0, 0.0};
  for (size_t i = 0; i < decoded.chars.size(); ++i) {
    format.decorations = decoded.decorations[i];
    line.addChar(decoded.chars[i], format);
  }
  out.layout = std::move(line.layout());
  out.advance = line.pen();
  return out;
}

TextBox textBox(std::string_view text, const TextStyle& style, Justification just) {
  TextBox out;
  TextLineLayout line = layoutTextLine(text, style);
  out.status = line.status;
  if (out.status != FontStatus::Ok) return out;
  Box2 box = line.layout.inkBox();
  box.add(Point2{0.0, 0.0});
  box.add(Point2{line.advance, 0.0});
  const Face& face = *loadFace({style.font, style.bold, style.italic}).face;
  Point2 align = alignmentPoint(just, line.advance, box, style.height, face);
  Box2 flipped;
  flipped.add(mirrored(box.min, style.generation));
  flipped.add(mirrored(box.max, style.generation));
  out.lowerLeft = flipped.min;
  out.upperRight = flipped.max;
  out.alignment = mirrored(align, style.generation);
  out.advance = line.advance;
  return out;
}

FittedText fitBetween(std::string_view text, const TextStyle& style, HorizontalJust just, Point2 p10,
                      Point2 p11) {
  FittedText out{FontStatus::Ok, style.height, style.widthFactor, 0.0};
  TextLineLayout line = layoutTextLine(text, style);
  out.status = line.status;
  if (out.status != FontStatus::Ok) return out;
  const double dx = p11.x - p10.x, dy = p11.y - p10.y;
  const double length = std::hypot(dx, dy);
  out.rotation = std::atan2(dy, dx);
  if (style.generation & kTextBackwards) out.rotation -= std::numbers::pi;  // the text runs against the baseline
  if (!(line.advance > tol::kRelativeZero * style.height) || !(length > tol::kRelativeZero * style.height)) {
    out.status = FontStatus::InvalidArgument;
    return out;
  }
  const double stretch = length / line.advance;
  if (just == HorizontalJust::Aligned) out.height = style.height * stretch;
  if (just == HorizontalJust::Fit) out.widthFactor = style.widthFactor * stretch;
  return out;
}

}  // namespace tarn::font
