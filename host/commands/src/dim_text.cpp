// Dimension text positions and the text entity of the geometry block.
#include "dim_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "block_support.h"
#include "db/subclasses.h"
#include "dim_overrides.h"
#include "geom/vec3.h"

namespace tarn::commands::dims {

using db::Tag;
using db::TagList;
using geom::Vec3;

namespace {

constexpr int kTypeMask = 7;
enum DimType { kRotated = 0, kAligned = 1, kAngular2Line = 2, kDiameter = 3, kRadius = 4, kAngular3Point = 5, kOrdinate = 6 };

Vec3 vec(db::Point3 p) { return {p.x, p.y, p.z}; }
db::Point3 point(Vec3 v) { return {v.x, v.y, v.z}; }

std::optional<Vec3> pointOf(const db::Database& d, uint32_t id, int code) {
  auto t = db::findTag(d, id, code);
  return t ? std::optional<Vec3>(vec(t->p)) : std::nullopt;
}

int dimType(const db::Database& d, uint32_t dim) {
  auto t = db::findTag(d, dim, 70);
  return t ? int(t->i & kTypeMask) : kRotated;
}

bool inWorldPlane(const db::Database& d, uint32_t dim) {
  auto n = db::findTag(d, dim, 210);
  return !n || (std::fabs(n->p.x) < 1e-12 && std::fabs(n->p.y) < 1e-12 && n->p.z > 0);
}

// Text readable from below or from the right: never upside down.
Vec3 readable(Vec3 dir) {
  if (dir.x < -1e-9 || (std::fabs(dir.x) <= 1e-9 && dir.y < 0)) return -dir;
  return dir;
}

double textOffset(const db::Database& d, uint32_t dim) {
  if (styleNumber(d, dim, 77, 0) == 0) return 0;  // DIMTAD 0: centred on the line
  double scale = styleNumber(d, dim, 40, 1);
  return (styleNumber(d, dim, 147, 0.625) + styleNumber(d, dim, 140, 2.5) / 2) * (scale > 0 ? scale : 1);
}

std::optional<Vec3> linearHome(const db::Database& d, uint32_t dim, int type) {
  auto p10 = pointOf(d, dim, 10), p13 = pointOf(d, dim, 13), p14 = pointOf(d, dim, 14);
  if (!p10 || !p13 || !p14) return std::nullopt;
  Vec3 dir;
  if (type == kRotated) {
    auto angle = db::findTag(d, dim, 50);
    double a = angle ? angle->asReal() * geom::kPi / 180 : 0;
    dir = {std::cos(a), std::sin(a), 0};
  } else {
    dir = (*p14 - *p13).normalized();
  }
  if (dir.lengthSquared() == 0) return std::nullopt;  // exact: coincident extension origins
  Vec3 a = *p10 + dir * (*p13 - *p10).dot(dir), b = *p10 + dir * (*p14 - *p10).dot(dir);
  Vec3 up = readable(dir);
  Vec3 normal{-up.y, up.x, 0};
  return geom::midpoint(a, b) + normal * textOffset(d, dim);
}

std::optional<Vec3> angularHome(const db::Database& d, uint32_t dim) {
  auto vertex = pointOf(d, dim, 15), p13 = pointOf(d, dim, 13), p14 = pointOf(d, dim, 14), arc = pointOf(d, dim, 10);
  if (!vertex || !p13 || !p14 || !arc) return std::nullopt;
  double r = (*arc - *vertex).length();
  auto angleOf = [&](Vec3 p) { return std::atan2(p.y - vertex->y, p.x - vertex->x); };
  double a1 = angleOf(*p13), sweep = geom::normalizeAngle(angleOf(*p14) - a1);
  // The arc from the first line to the second that holds the arc point, or the other one.
  if (geom::normalizeAngle(angleOf(*arc) - a1) > sweep) {
    a1 += sweep;
    sweep = geom::kTwoPi - sweep;
  }
  double mid = a1 + sweep / 2;
  Vec3 out{std::cos(mid), std::sin(mid), 0};
  return *vertex + out * (r + textOffset(d, dim));
}

// The numeric text of a value: DIMDEC places, trailing zeros suppressed when
// DIMZIN has bit 8, a leading zero when it has bit 4.
std::string formatValue(double v, int decimals, int zin) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals < 0 ? 0 : decimals > 8 ? 8 : decimals, v);
  std::string s = buf;
  if ((zin & 8) && s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if ((zin & 4) && s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
  if ((zin & 4) && s.size() > 2 && s[0] == '-' && s[1] == '0' && s[2] == '.') s.erase(1, 1);
  return s;
}

// The first text entity of the dimension's geometry block.
uint32_t blockText(const db::Database& d, uint32_t dim) {
  uint32_t block = d.findBlock(db::findString(d, dim, 2));
  if (block == db::kNoObject) return db::kNoObject;
  for (uint32_t id : d.blocks()[block].entities)
    if (!d.isErased(id) && (d.typeOf(id) == "MTEXT" || d.typeOf(id) == "TEXT")) return id;
  return db::kNoObject;
}

// The text the block shows for the dimension's group 1.
std::string shownText(const db::Database& d, uint32_t dim) {
  std::string text(db::findString(d, dim, 1));
  std::string measured = measurementText(d, dim);
  if (text.empty()) return measured;
  for (size_t at = text.find("<>"); at != std::string::npos; at = text.find("<>", at + measured.size()))
    text.replace(at, 2, measured);
  return text;
}

// The direction the text runs in: the dimension's text rotation when set,
// else along the dimension line (linear types) or horizontal.
Vec3 textDirection(const db::Database& d, uint32_t dim) {
  auto rotation = db::findTag(d, dim, 53);
  if (rotation && rotation->asReal() != 0) {
    double a = rotation->asReal() * geom::kPi / 180;
    return {std::cos(a), std::sin(a), 0};
  }
  int type = dimType(d, dim);
  if (type == kRotated) {
    auto angle = db::findTag(d, dim, 50);
    double a = angle ? angle->asReal() * geom::kPi / 180 : 0;
    return readable({std::cos(a), std::sin(a), 0});
  }
  auto p13 = pointOf(d, dim, 13), p14 = pointOf(d, dim, 14);
  if (type == kAligned && p13 && p14 && (*p14 - *p13).lengthSquared() > 0) return readable((*p14 - *p13).normalized());
  return geom::kXAxis;
}

void setPoint(TagList& tags, int code, Vec3 p) {
  if (Tag* t = blocks::findIn(tags, code)) t->p = point(p);
}

}  // namespace

double styleNumber(const db::Database& d, uint32_t dim, int code, double dflt) {
  if (auto o = overrideValue(readOverrides(d.tagList(dim)), code)) return o->asReal();
  uint32_t style = d.findRecord("DIMSTYLE", db::findString(d, dim, 3, "Standard"));
  if (style != db::kNoObject)
    if (auto t = db::findTag(d, style, code)) return t->asReal();
  return dflt;
}

std::optional<db::Point3> homeTextPosition(const db::Database& d, uint32_t dim) {
  if (!inWorldPlane(d, dim)) return std::nullopt;
  std::optional<Vec3> home;
  switch (int type = dimType(d, dim)) {
    case kRotated:
    case kAligned: home = linearHome(d, dim, type); break;
    case kAngular3Point: home = angularHome(d, dim); break;
    case kDiameter:
    case kRadius: {
      auto a = pointOf(d, dim, 10), b = pointOf(d, dim, 15);
      if (a && b) home = geom::midpoint(*a, *b);
      break;
    }
    case kOrdinate: home = pointOf(d, dim, 14); break;
    default: break;
  }
  return home ? std::optional<db::Point3>(point(*home)) : std::nullopt;
}

std::string measurementText(const db::Database& d, uint32_t dim) {
  auto m = db::findTag(d, dim, 42);
  if (!m) return {};
  int type = dimType(d, dim);
  int zin = int(styleNumber(d, dim, 78, 8));
  if (type == kAngular2Line || type == kAngular3Point)
    return formatValue(m->asReal() * 180 / geom::kPi, int(styleNumber(d, dim, 179, 0)), zin) + "%%d";
  double factor = styleNumber(d, dim, 144, 1);  // DIMLFAC
  std::string s = formatValue(m->asReal() * factor, int(styleNumber(d, dim, 271, 4)), zin);
  return type == kDiameter ? "%%c" + s : type == kRadius ? "R" + s : s;
}

void updateBlockText(db::Database& d, uint32_t dim) {
  uint32_t text = blockText(d, dim);
  auto position = db::findTag(d, dim, 11);
  if (text == db::kNoObject || !position) return;
  TagList tags = d.tagList(text);
  Vec3 to = vec(position->p), dir = textDirection(d, dim);
  if (d.typeOf(text) == "MTEXT") {
    std::string content(db::findString(d, text, 1));
    std::string prefix = content.rfind("\\A1;", 0) == 0 ? "\\A1;" : "";
    setPoint(tags, 10, to);
    if (Tag* t = blocks::findIn(tags, 1)) t->s = prefix + shownText(d, dim);
    std::erase_if(tags, [](const Tag& t) { return t.code == 50 || t.code == 3; });
    if (Tag* t = blocks::findIn(tags, 11)) t->p = point(dir);
    else db::insertGroup("MTEXT", tags, Tag::point(11, point(dir)));
  } else {
    auto aligned = db::findTag(d, text, 72);
    bool usesSecond = aligned && aligned->i != 0 && blocks::findIn(tags, 11);
    Vec3 from = vec(blocks::findIn(tags, usesSecond ? 11 : 10)->p);
    for (int code : {10, 11})
      if (Tag* t = blocks::findIn(tags, code)) t->p = point(vec(t->p) + (to - from));
    if (Tag* t = blocks::findIn(tags, 1)) t->s = shownText(d, dim);
    double degrees = std::atan2(dir.y, dir.x) * 180 / geom::kPi;
    if (Tag* t = blocks::findIn(tags, 50)) t->p.x = degrees;
    else if (degrees != 0) db::insertGroup("TEXT", tags, Tag::real(50, degrees));
  }
  if (tags != d.tagList(text)) d.replaceTags(text, tags);
}

}  // namespace tarn::commands::dims
