// The rectangle a text entity occupies (TEXT, ATTRIB, ATTDEF, MTEXT), in
// world coordinates, measured with the real font of its style.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "db/database.h"
#include "entgeom/status.h"
#include "font/text_box.h"
#include "geom/vec3.h"

namespace tarn::entgeom {

// What a single-line text is measured by: its groups 1, 7 (through the style's
// font), 40, 41, 51 (degrees), 71, 72 and 73 (74 for attributes).
struct TextParams {
  std::string text;
  std::string font;
  double height = 1.0;
  double widthFactor = 1.0;
  double obliqueDegrees = 0.0;
  int generation = 0;
  int horizontal = 0;
  int vertical = 0;
};

// The font of a text style record ("" when the style is missing).
std::string styleFont(const db::Database& db, std::string_view styleName);

// The box relative to group 10 in the text's unrotated frame.
font::TextBox measureText(const TextParams& params);

struct TextFrame {
  // World corners, counter-clockwise in the text's frame from the lower-left.
  std::array<geom::Vec3, 4> corners{};
  geom::Vec3 origin;             // group 10 (MTEXT: its insertion point), world
  geom::Vec3 xDir = geom::kXAxis;  // reading direction, world
  geom::Vec3 normal = geom::kZAxis;
  font::TextBox box;             // single-line texts: the box relative to origin
};

// NotGeometric for other types, FontFailure when the font cannot measure the
// text, InvalidData for a non-finite position.
EntStatus textFrameOf(const db::Database& db, uint32_t id, TextFrame& out);

}  // namespace tarn::entgeom
