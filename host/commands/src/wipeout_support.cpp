// Wipeout entities, their classes and the WIPEOUTVARIABLES object.
#include "wipeout_support.h"

#include <algorithm>
#include <cmath>

#include "block_support.h"
#include "command_support.h"
#include "geom/coord_system.h"

namespace tarn::commands::wipeout {

using db::Tag;
using db::TagList;

namespace {

constexpr const char* kVarsKey = "ACAD_WIPEOUT_VARS";

struct ClassRow {
  const char* name;
  const char* cppName;
  int proxyFlags;
  int isEntity;
};
constexpr ClassRow kClasses[] = {{"WIPEOUT", "AcDbWipeout", 127, 1}, {"WIPEOUTVARIABLES", "AcDbWipeoutVariables", 0, 0}};

bool hasClass(const db::Database& d, std::string_view name) {
  for (const db::RawSection& s : d.classes())
    for (size_t i = 0; i + 1 < s.tags.size(); ++i)
      if (s.tags[i].code == 0 && s.tags[i].s == "CLASS" && s.tags[i + 1].code == 1 && s.tags[i + 1].s == name)
        return true;
  return false;
}

void ensureClasses(db::Database& d) {
  for (const ClassRow& c : kClasses) {
    if (hasClass(d, c.name)) continue;
    std::vector<db::RawSection>& sections = d.classes();
    if (sections.empty()) sections.push_back({"CLASSES", {}});
    TagList& tags = sections.front().tags;
    TagList row = {Tag::str(0, "CLASS"),          Tag::str(1, c.name),         Tag::str(2, c.cppName),
                   Tag::str(3, "WipeOut"),        Tag::integer(90, c.proxyFlags), Tag::integer(91, 0),
                   Tag::integer(280, 0),          Tag::integer(281, c.isEntity)};
    tags.insert(tags.end(), row.begin(), row.end());
  }
}

// The WIPEOUTVARIABLES object the named-object dictionary points at.
uint32_t variablesObject(const db::Database& d) {
  uint32_t root = d.rootDictionary();
  if (root == db::kNoObject) return db::kNoObject;
  bool next = false;
  for (db::TagCursor c = d.tags(root); !c.done(); c.next()) {
    if (c.code() == 3) next = c.str() == kVarsKey;
    else if (next && (c.code() == 350 || c.code() == 360)) {
      uint32_t id = d.findHandle(c.handle());
      return id != db::kNoObject && !d.isErased(id) && d.typeOf(id) == "WIPEOUTVARIABLES" ? id : db::kNoObject;
    }
  }
  return db::kNoObject;
}

uint32_t ensureVariables(db::Database& d) {
  uint32_t found = variablesObject(d);
  uint32_t root = d.rootDictionary();
  if (found != db::kNoObject || root == db::kNoObject) return found;
  ensureClasses(d);
  uint64_t rootHandle = d.object(root).handle, handle = d.allocateHandle();
  TagList tags = {Tag::handle(5, handle),       Tag::str(102, "{ACAD_REACTORS"), Tag::handle(330, rootHandle),
                  Tag::str(102, "}"),           Tag::handle(330, rootHandle),    Tag::str(100, "AcDbWipeoutVariables"),
                  Tag::integer(70, 0)};
  uint32_t id = d.addObject("WIPEOUTVARIABLES", tags, 0);
  d.objectsSection().push_back(id);
  TagList rootTags = d.tagList(root);
  // Dictionary entries sit before any extended data.
  auto at = std::find_if(rootTags.begin(), rootTags.end(), [](const Tag& t) { return t.code >= 1000; });
  at = rootTags.insert(at, Tag::str(3, kVarsKey));
  rootTags.insert(at + 1, Tag::handle(350, handle));
  d.replaceTags(root, rootTags);
  return id;
}

geom::Vec3 vec(db::Point3 p) { return {p.x, p.y, p.z}; }
db::Point3 point(geom::Vec3 v) { return {v.x, v.y, v.z}; }

double signedArea(const std::vector<db::Point3>& p) {
  double a = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const db::Point3& q = p[i];
    const db::Point3& r = p[(i + 1) % p.size()];
    a += q.x * r.y - r.x * q.y;
  }
  return a / 2;
}

}  // namespace

bool addWipeout(db::Database& d, const std::vector<db::Point3>& ucs) {
  if (ucs.size() < 3) return false;
  double minX = ucs[0].x, maxX = minX, minY = ucs[0].y, maxY = minY;
  for (const db::Point3& p : ucs) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  double w = maxX - minX, h = maxY - minY;
  double size = std::max(w, h);
  if (!(size > 0) || !std::isfinite(size) || std::fabs(signedArea(ucs)) <= 1e-12 * size * size) return false;
  geom::Matrix4 toWorld = blocks::ucsToWorldMatrix();
  geom::Vec3 insert = toWorld.transformPoint({minX, minY, ucs[0].z});
  geom::Vec3 u = toWorld.transformVector({w, 0, 0}), v = toWorld.transformVector({0, h, 0});
  // Pixel coordinates of an image of one pixel: the centre of the pixel at
  // the origin, Y pointing down from the image's top edge.
  TagList body = {Tag::integer(90, 0),         Tag::point(10, point(insert)), Tag::point(11, point(u)),
                  Tag::point(12, point(v)),    Tag::point(13, {1, 1, 0}, false), Tag::handle(340, 0),
                  Tag::integer(70, kNewWipeoutDisplay), Tag::integer(280, 1),   Tag::integer(281, 50),
                  Tag::integer(282, 50),       Tag::integer(283, 0),          Tag::handle(360, 0),
                  Tag::integer(71, 2),         Tag::integer(91, int64_t(ucs.size() + 1))};
  for (size_t i = 0; i <= ucs.size(); ++i) {
    const db::Point3& p = ucs[i % ucs.size()];
    double px = w > 0 ? (p.x - minX) / w - 0.5 : 0, py = h > 0 ? 0.5 - (p.y - minY) / h : 0;
    body.push_back(Tag::point(14, {px, py, 0}, false));
  }
  body.push_back(Tag::integer(290, 0));
  ensureClasses(d);
  ensureVariables(d);
  addEntity("WIPEOUT", "AcDbWipeout", body);
  return true;
}

bool polylineBoundary(const db::Database& d, uint32_t id, std::vector<db::Point3>& ucs) {
  if (d.isErased(id) || d.typeOf(id) != "LWPOLYLINE") return false;
  auto flags = db::findTag(d, id, 70);
  if (!flags || !(flags->i & 1)) return false;
  geom::Vec3 normal = geom::kZAxis;
  double elevation = 0;
  std::vector<geom::Vec3> ocs;
  for (db::TagCursor c = d.tags(id); !c.done(); c.next()) {
    if (c.code() == 42 && c.real() != 0) return false;  // exact: any bulge is an arc
    if (c.code() == 38) elevation = c.real();
    if (c.code() == 210) normal = vec(c.point());
    if (c.code() == 10) ocs.push_back(vec(c.point()));
  }
  geom::Matrix4 toWorld = geom::ocsToWorld(normal), toUcs = blocks::worldToUcsMatrix();
  ucs.clear();
  for (geom::Vec3 p : ocs) ucs.push_back(point(toUcs.transformPoint(toWorld.transformPoint({p.x, p.y, elevation}))));
  return ucs.size() >= 3;
}

bool framesShown(const db::Database& d) {
  uint32_t id = variablesObject(d);
  auto flag = id == db::kNoObject ? std::nullopt : db::findTag(d, id, 70);
  return flag && flag->i != 0;
}

void setFramesShown(db::Database& d, bool on) {
  uint32_t id = ensureVariables(d);
  if (id == db::kNoObject) return;
  TagList tags = d.tagList(id);
  db::Tag* flag = blocks::findIn(tags, 70);
  if (flag && flag->i == (on ? 1 : 0)) return;
  if (flag) flag->i = on ? 1 : 0;
  else tags.push_back(Tag::integer(70, on ? 1 : 0));
  d.replaceTags(id, tags);
}

}  // namespace tarn::commands::wipeout
