// Paragraph-text layout: runs become units, units are wrapped into lines,
// lines are laid out and stacked with the line spacing, and the block is
// placed by its attachment point and rotation.
#include "font/mtext_layout.h"

#include <algorithm>
#include <cmath>

#include "font/control_codes.h"
#include "line_breaking.h"
#include "line_builder.h"
#include "stack_layout.h"
#include "tolerance.h"

namespace tarn::font {
namespace {

// The distance between baselines is this many line heights at spacing factor 1.
constexpr double kLinePitch = 5.0 / 3.0;

// One character or stack of a paragraph.
struct Unit {
  const MTextRun* run = nullptr;
  size_t index = 0;  // character of a Text run
  CharFormat format;
};

struct Line {
  GlyphLayout layout;
  double capHeight = 0.0;  // tallest run height on the line
  double ascent = 0.0;     // above the baseline, ink included
  double descent = 0.0;    // below the baseline (<= 0)
  double left = 0.0;       // extents along the line
  double right = 0.0;
};

CharFormat formatOf(const RunFormat& r) {
  CharFormat f;
  f.face = loadFace({r.font, r.bold, r.italic}).face;
  f.height = r.height;
  f.widthFactor = r.widthFactor;
  f.oblique = r.oblique;
  f.tracking = r.tracking;
  f.decorations = uint8_t((r.underline ? kUnderline : 0) | (r.overline ? kOverline : 0) | (r.strike ? kStrike : 0));
  return f;
}

std::vector<Unit> unitsOf(const MTextParagraph& p) {
  std::vector<Unit> units;
  for (const MTextRun& run : p.runs) {
    const CharFormat f = formatOf(run.format);
    if (run.kind == MTextRun::Stack) units.push_back({&run, 0, f});
    for (size_t i = 0; run.kind == MTextRun::Text && i < run.text.size(); ++i) units.push_back({&run, i, f});
  }
  return units;
}

StackPiece stackOf(const Unit& u) {
  return layoutStack(u.run->stackTop, u.run->stackBottom, u.run->stackType, u.format);
}

BreakUnit breakUnitOf(const Unit& u) {
  if (u.run->kind == MTextRun::Stack) return {stackOf(u).advance, false, false};
  const char32_t c = u.run->text[u.index];
  return {charAdvance(c, u.format), isBlank(c) && c != 0x00A0, isIdeograph(c)};
}

// Lays out units [begin, end) with the \A alignment of each run against the
// tallest run of the line.
Line layoutLine(const std::vector<Unit>& units, LineRange range, double emptyHeight) {
  Line line;
  for (size_t i = range.begin; i < range.end; ++i) line.capHeight = std::max(line.capHeight, units[i].format.height);
  if (range.begin == range.end) line.capHeight = emptyHeight;
  LineBuilder builder;
  for (size_t i = range.begin; i < range.end; ++i) {
    const Unit& u = units[i];
    CharFormat f = u.format;
    f.baselineShift = (line.capHeight - f.height) * 0.5 * u.run->format.alignment;
    if (u.run->kind == MTextRun::Text) {
      builder.addChar(u.run->text[u.index], f);
      continue;
    }
    StackPiece piece = stackOf(u);
    builder.addPiece(piece.layout, piece.advance, f);
  }
  line.layout = std::move(builder.layout());
  Box2 box = line.layout.inkBox();
  box.add(Point2{0.0, 0.0});
  box.add(Point2{builder.pen(), line.capHeight});
  line.ascent = box.max.y;
  line.descent = box.min.y;
  line.left = box.min.x;
  line.right = box.max.x;
  return line;
}

std::vector<Line> layoutParagraphs(const MTextDocument& doc, const MTextParams& params) {
  std::vector<Line> lines;
  for (const MTextParagraph& p : doc.paragraphs) {
    const std::vector<Unit> units = unitsOf(p);
    std::vector<BreakUnit> breakUnits;
    breakUnits.reserve(units.size());
    for (const Unit& u : units) breakUnits.push_back(breakUnitOf(u));
    const double emptyHeight = p.runs.empty() ? params.base.height : p.runs.front().format.height;
    for (LineRange range : breakLines(breakUnits, params.referenceWidth))
      lines.push_back(layoutLine(units, range, emptyHeight));
  }
  return lines;
}

double pitchBetween(const Line& a, const Line& b, const MTextParams& params) {
  const double factor = std::clamp(params.lineSpacingFactor, 0.25, 4.0);
  const double height = params.lineSpacingStyle == LineSpacingStyle::Exactly
                            ? params.base.height
                            : std::max(a.capHeight, b.capHeight);
  return kLinePitch * factor * height;
}

bool finite(Point2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

FontStatus checkParams(const MTextParams& p) {
  const RunFormat& b = p.base;
  bool ok = std::isfinite(b.height) && b.height > 0 && std::isfinite(b.widthFactor) && b.widthFactor > 0 &&
            std::isfinite(b.oblique) && std::fabs(b.oblique) <= tol::kMaxOblique &&
            std::isfinite(p.referenceWidth) && std::isfinite(p.lineSpacingFactor) && std::isfinite(p.rotation) &&
            finite(p.insertion);
  return ok ? FontStatus::Ok : FontStatus::InvalidArgument;
}

// Places the lines top-down in a block whose top-left corner is the origin;
// answers the block's width and height.
Point2 stackLines(std::vector<Line>& lines, const MTextParams& params, GlyphLayout& out, int column) {
  double width = 0.0;
  for (const Line& l : lines) width = std::max(width, l.right - l.left);
  double baseline = -lines.front().ascent;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (k) baseline -= pitchBetween(lines[k - 1], lines[k], params);
    const double lineWidth = lines[k].right - lines[k].left;
    const double x = 0.5 * column * (width - lineWidth) - lines[k].left;
    out.append(lines[k].layout, {x, baseline});
  }
  return {width, -(baseline + lines.back().descent)};
}

}  // namespace

double rotationFromDirection(Point2 d) { return (d.x == 0.0 && d.y == 0.0) ? 0.0 : std::atan2(d.y, d.x); }

MTextLayout layoutMText(std::string_view contents, const MTextParams& params) {
  MTextLayout out;
  out.status = checkParams(params);
  FaceResult baseFace = loadFace({params.base.font, params.base.bold, params.base.italic});
  if (out.status == FontStatus::Ok) out.status = baseFace.status;
  if (out.status != FontStatus::Ok) return out;
  const int attachment = (params.attachment >= 1 && params.attachment <= 9) ? params.attachment : 1;
  const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
  std::vector<Line> lines = layoutParagraphs(parseMText(contents, params.base), params);
  GlyphLayout block;
  const Point2 size = stackLines(lines, params, block, column);
  // Move the attachment point of the block to the origin.
  const Point2 shift{-0.5 * column * size.x, 0.5 * row * size.y};
  block.translate(shift);
  out.layout = std::move(block);
  out.width = size.x;
  out.height = size.y;
  out.lineCount = int(lines.size());
  const Point2 local[4] = {{shift.x, shift.y - size.y},
                           {shift.x + size.x, shift.y - size.y},
                           {shift.x + size.x, shift.y},
                           {shift.x, shift.y}};
  const double c = std::cos(params.rotation), s = std::sin(params.rotation);
  for (int k = 0; k < 4; ++k) {
    out.corners[k] = {params.insertion.x + c * local[k].x - s * local[k].y,
                      params.insertion.y + s * local[k].x + c * local[k].y};
  }
  return out;
}

}  // namespace tarn::font
