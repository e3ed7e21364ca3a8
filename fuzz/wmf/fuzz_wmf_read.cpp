// Arbitrary bytes through the metafile reader: it must answer a fault with
// an offset inside the file, never crash or read past the end. What it
// accepts is written again and must read back with the same shapes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "wmf_format.h"

using namespace tarn::commands;

namespace {

void writeBack(const wmf::Picture& pic) {
  wmf::Writer w({0, 0, 100, 100}, 100);
  size_t expected = 0;
  for (const wmf::Shape& s : pic.shapes) {
    w.pen(s.colour);
    switch (s.kind) {
      case wmf::ShapeKind::Polyline:
        if (s.points.size() >= 2) w.polyline(s.points), ++expected;
        break;
      case wmf::ShapeKind::Polygon:
        if (s.points.size() >= 2) w.polygon(s.points), ++expected;
        break;
      case wmf::ShapeKind::Ellipse: w.ellipse({s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y}), ++expected; break;
      case wmf::ShapeKind::Point: w.pixel(s.points[0], s.colour), ++expected; break;
      case wmf::ShapeKind::Text:
        w.font(s.font, s.colour);
        w.text(s.points[0], s.text);
        ++expected;
        break;
    }
  }
  std::vector<uint8_t> bytes = w.finish();
  wmf::ReadResult again = wmf::read(bytes);
  if (!again.ok || again.picture.shapes.size() != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  wmf::ReadResult r = wmf::read(std::span<const uint8_t>(data, size));
  if (!r.ok) {
    if (r.error.empty() || r.offset > size) std::abort();
    return 0;
  }
  for (const wmf::Shape& s : r.picture.shapes) {
    size_t need = s.kind == wmf::ShapeKind::Ellipse ? 2 : 1;
    if (s.points.size() < need) std::abort();
  }
  writeBack(r.picture);
  return 0;
}
