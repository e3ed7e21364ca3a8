// UCS: the user coordinate system of the current drawing. World, a new
// origin, Z axis, three points, rotation about an axis, an object's own
// system, Previous, and the named UCSs of the drawing's UCS table (Save,
// Restore, Delete, ?).
#include <cmath>
#include <numbers>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "db/records.h"
#include "geom/tolerance.h"
#include "select/wildcard.h"
#include "view_commands.h"
#include "view_state.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;
using geom::Vec3;

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

void changeTo(const geom::Ucs& ucs) { makeUcsCurrent({ucs, ""}); }

// ---- the UCS of an object

Vec3 normalOf(const db::Database& d, uint32_t id) {
  auto n = db::findTag(d, id, 210);
  Vec3 v = n ? toVec(n->p) : geom::kZAxis;
  return v.length() > geom::kZeroLength ? v.normalized() : geom::kZAxis;
}

Vec3 groupPoint(const db::Database& d, uint32_t id, int code) {
  auto t = db::findTag(d, id, code);
  return t ? toVec(t->p) : Vec3{};
}

double realGroup(const db::Database& d, uint32_t id, int code) {
  auto t = db::findTag(d, id, code);
  return t ? t->asReal() : 0;
}

// The direction `dir` flattened into the plane of `normal`; `fallback` when
// nothing of it is left.
Vec3 inPlane(const Vec3& dir, const Vec3& normal, const Vec3& fallback) {
  Vec3 v = dir - normal * dir.dot(normal);
  return v.length() > geom::kZeroLength ? v.normalized() : fallback;
}

// Types whose group 10 is in their object system.
bool ocsPoints(std::string_view type) {
  for (std::string_view t : {"CIRCLE", "ARC", "TEXT", "ATTRIB", "ATTDEF", "SHAPE", "INSERT", "DIMENSION",
                             "SOLID", "TRACE", "HATCH"})
    if (t == type) return true;
  return false;
}

// What an object gives a UCS: an origin and an X axis in its plane.
struct ObjectFrame {
  Vec3 origin, xAxis;
};

// The object's own system (normal, its axes and the map to the world) and
// where it was picked (null when given by entity name).
struct ObjectPlane {
  const db::Database& d;
  uint32_t id;
  Vec3 n;
  geom::OcsAxes axes;
  geom::Matrix4 toWorld;
  const Vec3* pick;
  Vec3 flat(const Vec3& dir) const { return inPlane(dir, n, axes.x); }
};

// Lines: from the end nearest the pick, along the line.
ObjectFrame lineFrame(const ObjectPlane& o) {
  Vec3 a = groupPoint(o.d, o.id, 10), b = groupPoint(o.d, o.id, 11);
  if (o.pick && geom::distance(*o.pick, b) < geom::distance(*o.pick, a)) std::swap(a, b);
  return {a, o.flat(b - a)};
}

// Polylines: from the first vertex towards the second.
bool polylineFrame(const ObjectPlane& o, ObjectFrame& f) {
  std::vector<Vec3> verts;
  double z = realGroup(o.d, o.id, 38);
  for (db::TagCursor c = o.d.tags(o.id); !c.done(); c.next())
    if (c.code() == 10) verts.push_back(o.toWorld.transformPoint({c.point().x, c.point().y, z}));
  if (verts.empty()) return false;
  f = {verts[0], verts.size() > 1 ? o.flat(verts[1] - verts[0]) : o.axes.x};
  return true;
}

// Arcs: from the centre towards the end nearest the pick (the start).
Vec3 arcDirection(const ObjectPlane& o, const Vec3& centreOcs, const Vec3& centre) {
  double r = realGroup(o.d, o.id, 40);
  auto end = [&](int code) {
    double a = realGroup(o.d, o.id, code) * std::numbers::pi / 180;
    return o.toWorld.transformPoint({centreOcs.x + r * std::cos(a), centreOcs.y + r * std::sin(a), centreOcs.z});
  };
  Vec3 s = end(50), e = end(51);
  return o.flat((o.pick && geom::distance(*o.pick, e) < geom::distance(*o.pick, s) ? e : s) - centre);
}

bool rotatedType(std::string_view t) {
  return t == "TEXT" || t == "ATTRIB" || t == "ATTDEF" || t == "INSERT" || t == "SHAPE";
}

// The origin and X axis an object gives a UCS, as desktop hosts choose
// them; objects with a point but no direction of their own keep the X axis
// of their object system.
bool objectFrame(const ObjectPlane& o, ObjectFrame& f) {
  std::string_view type = o.d.typeOf(o.id);
  if (type == "LINE") {
    f = lineFrame(o);
    return true;
  }
  if (type == "LWPOLYLINE") return polylineFrame(o, f);
  if (!db::findTag(o.d, o.id, 10)) return false;
  Vec3 p = groupPoint(o.d, o.id, 10);
  f = {ocsPoints(type) ? o.toWorld.transformPoint(p) : p, o.axes.x};
  if (type == "CIRCLE" && o.pick) f.xAxis = o.flat(*o.pick - f.origin);
  if (type == "ARC") f.xAxis = arcDirection(o, p, f.origin);
  if (rotatedType(type)) {
    double a = realGroup(o.d, o.id, 50) * std::numbers::pi / 180;
    f.xAxis = o.axes.x * std::cos(a) + o.axes.y * std::sin(a);
  }
  if (type == "MTEXT" && db::findTag(o.d, o.id, 11)) f.xAxis = o.flat(groupPoint(o.d, o.id, 11));
  return true;
}

int ucsOfObject() {
  tc_name e;
  tc_point at;
  for (;;) {
    int rc = tcedEntSel("Select object to align UCS: ", e, at);
    if (rc == RTNORM) break;
    if (rc != RTERROR || intVar("ERRNO") != 7) return rc == RTCAN ? RTCAN : RTNORM;  // Enter ends
    print("No object found there.\n");
  }
  db::Database* d = nullptr;
  uint32_t id = 0;
  if (!host::resolveName(e, d, id) || d != &drawing()) return RTERROR;
  Vec3 n = normalOf(*d, id);
  // A typed pick is a point of the UCS; an entity name given by a program has none.
  bool picked = at[0] != 0 || at[1] != 0 || at[2] != 0;
  Vec3 pick = toVec(ucsToWorld({at[0], at[1], at[2]}));
  ObjectFrame f;
  if (!objectFrame({*d, id, n, geom::ocsAxes(n), geom::ocsToWorld(n), picked ? &pick : nullptr}, f)) {
    print("That object cannot define a UCS.\n");
    return RTERROR;
  }
  changeTo({f.origin, f.xAxis, n.cross(f.xAxis)});
  return RTNORM;
}

// ---- axes given by points

int ucsByZAxis() {
  Point3 origin, tip;
  Point3 here = ucsToWorld({0, 0, 0});
  Answer a = askPoint(nullptr, "Specify new origin point <0,0,0>: ", origin);
  if (cancelled(a)) return RTCAN;
  if (a.status != RTNORM) origin = here;
  Point3 dflt = toPoint(toVec(origin) + ucsNormal());
  a = askPoint(&origin, "Specify point on positive portion of Z-axis <" + formatPoint(worldToUcs(dflt)) + ">: ", tip);
  if (cancelled(a)) return RTCAN;
  if (a.status != RTNORM) tip = dflt;
  Vec3 z = toVec(tip) - toVec(origin);
  if (z.length() < geom::kZeroLength) {
    print("The Z axis needs two different points.\n");
    return RTERROR;
  }
  geom::OcsAxes axes = geom::ocsAxes(z.normalized());
  changeTo({toVec(origin), axes.x, axes.y});
  return RTNORM;
}

int ucsByThreePoints() {
  geom::Ucs now = currentUcs();
  Point3 origin = toPoint(now.origin), px, py;
  Answer a = askPoint(nullptr, "Specify new origin point <0,0,0>: ", origin);
  if (cancelled(a)) return RTCAN;
  if (a.status != RTNORM) origin = toPoint(now.origin);
  Point3 dx = toPoint(toVec(origin) + now.xAxis.normalized()), dy = toPoint(toVec(origin) + now.yAxis.normalized());
  if (cancelled(a = askPoint(&origin, "Specify point on positive portion of X-axis: ", px))) return RTCAN;
  if (a.status != RTNORM) px = dx;
  if (cancelled(a = askPoint(&origin, "Specify point on positive-Y portion of the UCS XY plane: ", py))) return RTCAN;
  if (a.status != RTNORM) py = dy;
  Vec3 x = toVec(px) - toVec(origin), y = toVec(py) - toVec(origin);
  if (x.cross(y).length() < geom::kZeroLength * std::max(1.0, x.length() * y.length())) {
    print("The three points must not lie in one line.\n");
    return RTERROR;
  }
  changeTo({toVec(origin), x.normalized(), x.cross(y).cross(x).normalized()});
  return RTNORM;
}

int ucsRotated(char axis) {
  double angle = std::numbers::pi / 2;
  std::string prompt = std::string("Specify rotation angle about ") + axis + " axis <90>: ";
  tcedInitGet(0, nullptr);
  Answer a = askAngle(nullptr, prompt, angle);
  if (cancelled(a)) return RTCAN;
  if (a.status != RTNORM) angle = std::numbers::pi / 2;
  geom::Ucs u = currentUcs();
  Vec3 about = axis == 'X' ? u.xAxis.normalized() : axis == 'Y' ? u.yAxis.normalized() : u.zAxis();
  geom::Matrix4 turn = geom::Matrix4::rotation(angle, about);
  changeTo({u.origin, turn.transformVector(u.xAxis), turn.transformVector(u.yAxis)});
  return RTNORM;
}

// ---- named UCSs

bool validName(const std::string& name) {
  if (name.empty() || name.size() > 255) return false;
  return name.find_first_of("<>/\\\":;?*|,=`") == std::string::npos;
}

TagList recordData(const geom::Ucs& u) {
  return {Tag::integer(70, 0), Tag::point(10, toPoint(u.origin)), Tag::point(11, toPoint(u.xAxis.normalized())),
          Tag::point(12, toPoint(u.yAxis.normalized())), Tag::integer(79, 0), Tag::real(146, 0.0)};
}

int ucsSave() {
  std::string name;
  for (;;) {
    Answer a = askString("Enter name to save current UCS or [?]: ", name);
    if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
    if (name == "?") { listUcs("*"); continue; }
    if (validName(name)) break;
    print("Invalid UCS name \"" + name + "\".\n");
  }
  db::Database& d = drawing();
  uint32_t id = d.findRecord("UCS", name);
  NamedUcs now = currentNamedUcs();
  if (id != db::kNoObject) {
    std::string answer;
    Answer a = askKeyword("UCS " + name + " already exists.  Replace it? <N>: ", "Yes No", answer);
    if (cancelled(a)) return RTCAN;
    if (answer != "Yes") return RTNORM;
    name = std::string(db::findString(d, id, 2));
    d.replaceTags(id, recordWithData(id, recordData(now.ucs)));
  } else if (db::addTableRecord(d, "UCS", name, recordData(now.ucs)) == db::kNoObject) {
    print("The drawing has no UCS table.\n");
    return RTERROR;
  }
  setTextVar("UCSNAME", name);
  return RTNORM;
}

int ucsRestore() {
  std::string name;
  for (;;) {
    Answer a = askString("Enter name of UCS to restore or [?]: ", name);
    if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
    if (name != "?") break;
    listUcs("*");
  }
  if (db::equalsNoCase(name, "*WORLD*")) {
    changeTo(geom::Ucs{});
    return RTNORM;
  }
  auto saved = savedUcs(name);
  if (!saved) {
    print("Cannot find UCS " + name + ".\n");
    return RTERROR;
  }
  makeUcsCurrent(*saved);
  return RTNORM;
}

int ucsDelete() {
  std::string names;
  Answer a = askString("Enter UCS name(s) to delete <none>: ", names);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  db::Database& d = drawing();
  select::Wildcard w = select::Wildcard::compile(names);
  std::string current = textVar("UCSNAME");
  int count = 0;
  std::vector<uint32_t> records = d.table("UCS") ? d.table("UCS")->records : std::vector<uint32_t>{};
  for (uint32_t id : records) {
    if (d.isErased(id) || !w.matches(db::findString(d, id, 2))) continue;
    if (db::equalsNoCase(db::findString(d, id, 2), current)) setTextVar("UCSNAME", "");  // stays, unnamed
    d.setErased(id, true);
    ++count;
  }
  d.reindex();
  print("Deleted " + std::to_string(count) + (count == 1 ? " UCS.\n" : " UCSs.\n"));
  return RTNORM;
}

int ucsList() {
  std::string names;
  Answer a = askString("Enter UCS name(s) to list <*>: ", names);
  if (cancelled(a)) return RTCAN;
  listUcs(names.empty() ? "*" : names);
  return RTNORM;
}

int ucsPrevious() {
  auto previous = takePreviousUcs();
  if (!previous) {
    print("No previous UCS saved.\n");
    return RTERROR;
  }
  makeUcsCurrent(*previous, false);
  return RTNORM;
}

int ucsOption(const std::string& k) {
  if (k == "World") { changeTo(geom::Ucs{}); return RTNORM; }
  if (k == "Save") return ucsSave();
  if (k == "Restore") return ucsRestore();
  if (k == "Del") return ucsDelete();
  if (k == "?") return ucsList();
  if (k == "Previous") return ucsPrevious();
  if (k == "OBject" || k == "Entity") return ucsOfObject();
  if (k == "ZAxis") return ucsByZAxis();
  if (k == "3point") return ucsByThreePoints();
  if (k == "X" || k == "Y" || k == "Z") return ucsRotated(k[0]);
  return RTERROR;
}

std::string axisText(Vec3 v) { return "<" + formatNumber(v.x) + "," + formatNumber(v.y) + "," + formatNumber(v.z) + ">"; }

void printUcs(std::string_view name, const geom::Ucs& u) {
  print("\nUCS name: " + std::string(name) + "\n  Origin = " + axisText(u.origin) + ", X Axis = " +
        axisText(u.xAxis.normalized()) + "\n  Y Axis = " + axisText(u.yAxis.normalized()) + ", Z Axis = " +
        axisText(u.zAxis()) + "\n");
}

}  // namespace

void listUcs(const std::string& pattern) {
  const db::Database& d = drawing();
  std::string current = textVar("UCSNAME");
  print("Current ucs name:  " + (current.empty() ? std::string(isWorldUcs(currentUcs()) ? "*WORLD*" : "*NO NAME*") : current) +
        "\nSaved coordinate systems (world coordinates):\n");
  // A program's "_*" names all, as the global form of "*".
  select::Wildcard w = select::Wildcard::compile(pattern);
  select::Wildcard global = select::Wildcard::compile(pattern.starts_with('_') ? pattern.substr(1) : pattern);
  if (const db::SymbolTable* t = d.table("UCS"))
    for (uint32_t id : t->records)
      if (!d.isErased(id) && (w.matches(db::findString(d, id, 2)) || global.matches(db::findString(d, id, 2))))
        if (auto u = savedUcs(db::findString(d, id, 2))) printUcs(u->name, u->ucs);
}

int ucsCommand() {
  std::string current = textVar("UCSNAME");
  print("Current ucs name:  " + (current.empty() ? std::string(isWorldUcs(currentUcs()) ? "*WORLD*" : "*NO NAME*") : current) + "\n");
  Point3 origin;
  Answer a = askPoint(nullptr,
                      "Specify origin of UCS or [ZAxis/3point/OBject/Entity/Previous/Restore/Save/Del/?/World/X/Y/Z] "
                      "<World>: ",
                      origin, 0, "ZAxis 3point OBject Entity Previous Restore Save Del ? World X Y Z");
  if (cancelled(a)) return RTCAN;
  if (a.status == RTNONE) return ucsOption("World");
  if (a.status == RTKWORD) return ucsOption(a.keyword);
  geom::Ucs u = currentUcs();
  u.origin = toVec(origin);
  changeTo(u);
  return RTNORM;
}

}  // namespace tarn::commands
