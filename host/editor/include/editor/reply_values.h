// Reading numbers, points and angles out of typed replies.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/tags.h"

namespace tarn::editor {

std::optional<double> parseReal(std::string_view text);
std::optional<long> parseInteger(std::string_view text);

struct TypedPoint {
  db::Point3 point;
  bool hasZ = false;
};

// "x,y", "x,y,z", "@dx,dy[,dz]" (from `last`), "dist<angle" and
// "@dist<angle" (angle in degrees, counter-clockwise from the X axis).
std::optional<TypedPoint> parsePoint(std::string_view text, const db::Point3& last);

// A number as a reply would type it, exact to the last bit ("%.17g"), so
// that reading the reply back gives the same double.
std::string replyNumber(double v);

// An angle typed in degrees, in radians.
std::optional<double> parseAngleDegrees(std::string_view text);

}  // namespace tarn::editor
