// Text frames: single-line texts by their font box placed at the insertion or
// alignment point, paragraph texts by their layout's bounding points.
#include "entgeom/text_frame.h"

#include <cmath>
#include <unordered_map>

#include "font/mtext_layout.h"
#include "geom/coord_system.h"
#include "groups.h"
#include "mtext_params.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

std::string styleFontUncached(const db::Database& db, std::string_view styleName, uint32_t& rec) {
  rec = db.findRecord("STYLE", styleName.empty() ? "Standard" : styleName);
  if (rec == db::kNoObject) return {};
  return std::string(Groups(db, rec).str(3));
}

}  // namespace

// Every text asks for its style's font; the name lookup is kept per thread,
// by drawing and style name. A hit is checked against the record's current
// blob (a change of the record replaces it), so a changed style is read anew.
std::string styleFont(const db::Database& db, std::string_view styleName) {
  struct Entry {
    uint32_t record;
    const uint8_t* blob;
    std::string font;
  };
  thread_local std::unordered_map<std::string, Entry> cache;
  thread_local std::string key;
  const uint32_t serial = db.serial();  // never reused by another drawing
  key.assign(reinterpret_cast<const char*>(&serial), sizeof serial);
  key.append(styleName);
  auto it = cache.find(key);
  if (it != cache.end()) {
    const Entry& e = it->second;
    if (db.valid(e.record) && !db.isErased(e.record) && db.object(e.record).data == e.blob) return e.font;
  }
  if (cache.size() >= 4096) cache.clear();
  uint32_t rec;
  std::string font = styleFontUncached(db, styleName, rec);
  // A missing style is not kept: it may be made later.
  if (rec != db::kNoObject) cache[key] = {rec, db.object(rec).data, font};
  return font;
}

namespace {

// Drawings repeat their texts (labels, attribute values), so boxes are kept
// per thread by everything that decides them; the cache is dropped whole
// when it grows large.
constexpr size_t kTextCacheLimit = 1 << 16;

void cacheKey(const TextParams& p, std::string& key) {
  key = p.text;
  key += '\x1f';
  key += p.font;
  double reals[] = {p.height, p.widthFactor, p.obliqueDegrees};
  int ints[] = {p.generation, p.horizontal, p.vertical};
  key.append(reinterpret_cast<const char*>(reals), sizeof reals);
  key.append(reinterpret_cast<const char*>(ints), sizeof ints);
}

font::TextBox measureUncached(const TextParams& p);

}  // namespace

font::TextBox measureText(const TextParams& p) {
  thread_local std::unordered_map<std::string, font::TextBox> cache;
  thread_local std::string key;  // kept: a hit allocates nothing
  cacheKey(p, key);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kTextCacheLimit) cache.clear();
  font::TextBox box = measureUncached(p);
  cache.emplace(key, box);
  return box;
}

namespace {

font::TextBox measureUncached(const TextParams& p) {
  font::TextStyle style;
  style.font = p.font;
  style.height = p.height;
  style.widthFactor = p.widthFactor;
  style.oblique = radians(p.obliqueDegrees);
  style.generation = p.generation;
  return font::textBox(p.text, style, font::justificationFromCodes(p.horizontal, p.vertical));
}

bool isAttribute(std::string_view type) { return type == "ATTRIB" || type == "ATTDEF"; }

TextParams singleLineParams(const db::Database& db, std::string_view type, const Groups& g) {
  TextParams p;
  p.text = std::string(type == "ATTDEF" ? g.str(2) : g.str(1));
  p.font = styleFont(db, g.str(7));
  p.height = g.real(40, 1.0);
  p.widthFactor = g.real(41, 1.0);
  p.obliqueDegrees = g.real(51, 0.0);
  p.generation = int(g.integer(71, 0));
  p.horizontal = int(g.integer(72, 0));
  p.vertical = int(g.integer(isAttribute(type) ? 74 : 73, 0));
  return p;
}

// Frame axes in world coordinates for a rotation in the OCS of `normal`.
void frameAxes(const Vec3& normal, double rotation, Vec3& x, Vec3& y) {
  geom::OcsAxes a = geom::ocsAxes(normal);
  x = a.x * std::cos(rotation) + a.y * std::sin(rotation);
  y = a.z.cross(x);
}

void placeCorners(TextFrame& f, font::Point2 ll, font::Point2 ur, const Vec3& y) {
  auto at = [&](double u, double v) { return f.origin + f.xDir * u + y * v; };
  f.corners = {at(ll.x, ll.y), at(ur.x, ll.y), at(ur.x, ur.y), at(ll.x, ur.y)};
}

EntStatus singleLineFrame(const db::Database& db, std::string_view type, const Groups& g, TextFrame& f) {
  TextParams p = singleLineParams(db, type, g);
  f.normal = g.normal();
  geom::Matrix4 toWorld = geom::ocsToWorld(f.normal);
  Vec3 p10 = g.point(10), p11 = g.has(11) ? g.point(11) : p10;
  double rotation = radians(g.real(50, 0.0));
  font::Justification just = font::justificationFromCodes(p.horizontal, p.vertical);
  bool fitted = just.horizontal == font::HorizontalJust::Aligned || just.horizontal == font::HorizontalJust::Fit;
  if (fitted && !p.text.empty()) {
    font::TextStyle style;
    style.font = p.font;
    style.height = p.height;
    style.widthFactor = p.widthFactor;
    font::FittedText fit = font::fitBetween(p.text, style, just.horizontal, {p10.x, p10.y}, {p11.x, p11.y});
    if (fit.status == font::FontStatus::Ok) {
      p.height = fit.height;
      p.widthFactor = fit.widthFactor;
      rotation = fit.rotation;
    }
  }
  f.box = measureText(p);
  if (f.box.status != font::FontStatus::Ok) return EntStatus::FontFailure;
  Vec3 y;
  frameAxes(f.normal, rotation, f.xDir, y);
  bool byAlignment = !fitted && (just.horizontal != font::HorizontalJust::Left ||
                                 just.vertical != font::VerticalJust::Baseline) && g.has(11);
  Vec3 p10w = toWorld.transformPoint(p10);
  if (byAlignment)
    p10w = toWorld.transformPoint(p11) - f.xDir * f.box.alignment.x - y * f.box.alignment.y;
  f.origin = p10w;
  if (!f.origin.isFinite() || !f.xDir.isFinite()) return EntStatus::InvalidData;
  placeCorners(f, f.box.lowerLeft, f.box.upperRight, y);
  return EntStatus::Ok;
}

EntStatus mtextFrame(const db::Database& db, const Groups& g, TextFrame& f) {
  f.normal = g.normal();
  geom::Matrix4 toOcs = geom::worldToOcs(f.normal), toWorld = geom::ocsToWorld(f.normal);
  double z = 0.0;
  font::MTextParams mp = mtextParams(db, g, toOcs, z);
  font::MTextLayout lay = font::layoutMText(mtextContents(g), mp);
  if (lay.status != font::FontStatus::Ok) return EntStatus::FontFailure;
  for (int i = 0; i < 4; ++i)
    f.corners[i] = toWorld.transformPoint({lay.corners[i].x, lay.corners[i].y, z});
  f.origin = g.point(10);
  Vec3 y;
  frameAxes(f.normal, mp.rotation, f.xDir, y);
  return f.origin.isFinite() ? EntStatus::Ok : EntStatus::InvalidData;
}

}  // namespace

std::string mtextContents(const Groups& g) {
  std::string s;
  for (size_t i = g.find(3); i < g.size(); i = g.find(3, i + 1)) s += g.at(i).str();
  s += g.str(1);
  return s;
}

font::MTextParams mtextParams(const db::Database& db, const Groups& g, const geom::Matrix4& toOcs,
                              double& insertionZ) {
  Vec3 ins = toOcs.transformPoint(g.point(10));
  insertionZ = ins.z;
  font::MTextParams mp;
  mp.base.font = styleFont(db, g.str(7));
  mp.base.height = g.real(40, 1.0);
  mp.referenceWidth = g.real(41, 0.0);
  mp.lineSpacingFactor = g.real(44, 1.0);
  mp.lineSpacingStyle = g.integer(73, 1) == 2 ? font::LineSpacingStyle::Exactly : font::LineSpacingStyle::AtLeast;
  mp.attachment = int(g.integer(71, 1));
  mp.insertion = {ins.x, ins.y};
  if (g.has(11)) {
    Vec3 d = toOcs.transformVector(g.point(11));
    mp.rotation = font::rotationFromDirection({d.x, d.y});
  } else {
    mp.rotation = radians(g.real(50, 0.0));
  }
  return mp;
}

EntStatus textFrameOf(const db::Database& db, uint32_t id, TextFrame& out) {
  if (!db.valid(id) || db.isErased(id)) return EntStatus::NotFound;
  return textFrameOf(db, db.typeOf(id), Groups(db, id), out);
}

EntStatus textFrameOf(const db::Database& db, std::string_view type, const Groups& g, TextFrame& out) {
  out = {};
  if (type == "TEXT" || isAttribute(type)) return singleLineFrame(db, type, g, out);
  if (type == "MTEXT") return mtextFrame(db, g, out);
  return EntStatus::NotGeometric;
}

}  // namespace tarn::entgeom
