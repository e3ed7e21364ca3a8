// Numbers, points and angles from typed text. Only the whole reply counts:
// "12abc" is no number.
#include "editor/reply_values.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <numbers>
#include <string>

namespace tarn::editor {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<db::Point3> polar(std::string_view text) {
  size_t lt = text.find('<');
  auto dist = parseReal(text.substr(0, lt));
  auto ang = parseAngleDegrees(text.substr(lt + 1));
  if (!dist || !ang) return std::nullopt;
  return db::Point3{*dist * std::cos(*ang), *dist * std::sin(*ang), 0};
}

std::optional<TypedPoint> coordinates(std::string_view text) {
  TypedPoint p;
  double* xyz[3] = {&p.point.x, &p.point.y, &p.point.z};
  int n = 0;
  for (;;) {
    size_t comma = text.find(',');
    if (n == 3) return std::nullopt;
    auto v = parseReal(text.substr(0, comma));
    if (!v) return std::nullopt;
    *xyz[n++] = *v;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (n < 2) return std::nullopt;
  p.hasZ = n == 3;
  return p;
}

}  // namespace

std::optional<double> parseReal(std::string_view text) {
  text = trim(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long> parseInteger(std::string_view text) {
  text = trim(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

std::optional<double> parseAngleDegrees(std::string_view text) {
  auto deg = parseReal(text);
  if (!deg) return std::nullopt;
  return *deg * std::numbers::pi / 180.0;
}

std::optional<TypedPoint> parsePoint(std::string_view text, const db::Point3& last) {
  text = trim(text);
  bool relative = text.starts_with('@');
  if (relative) text.remove_prefix(1);
  std::optional<TypedPoint> p;
  if (relative && text.empty()) p = TypedPoint{};  // "@" alone is the last point
  else if (text.find('<') != std::string_view::npos) {
    if (auto q = polar(text)) p = TypedPoint{*q, false};
  } else {
    p = coordinates(text);
  }
  if (!p) return std::nullopt;
  if (relative) {
    p->point = {last.x + p->point.x, last.y + p->point.y, last.z + p->point.z};
    p->hasZ = true;
  }
  return p;
}

std::string replyNumber(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

}  // namespace tarn::editor
