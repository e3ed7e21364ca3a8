// -INSERT and INSERT: a block reference by block name or from a drawing file
// (which becomes a block definition first), placed in the current UCS with
// scales and rotation, with its attributes asked for as ATTREQ says; "*name"
// inserts the block's entities themselves.
#include <cmath>

#include <tarnsdk/tcedinput.h>

#include "block_import.h"
#include "block_commands.h"
#include "block_support.h"
#include "command_support.h"
#include "editor/reply_values.h"
#include "entgeom/entity_transform.h"
#include "entgeom/explode.h"
#include "entgeom/extents.h"
#include "geom/coord_system.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

constexpr int kAttConstant = 2, kAttPreset = 8;

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

std::string& lastInserted() {
  static std::string name;
  return name;
}

// What the user asked for.
struct InsertRequest {
  std::string name;
  bool exploded = false;
  Point3 point;                       // world
  double scale[3] = {1.0, 1.0, 1.0};
  bool scalePreset = false;
  double rotation = 0;                // radians, from the UCS X axis
  bool rotationPreset = false;
};

struct TypedName {
  std::string name, file;
  bool exploded = false;
};

bool endsWithNoCase(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && db::equalsNoCase(s.substr(s.size() - tail.size()), tail);
}

std::string stem(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = base.rfind('.');
  return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

// "name", "*name", "name=file", "folder/file.dxf" or "file.dxf".
TypedName parseTypedName(std::string typed) {
  TypedName t;
  if (!typed.empty() && typed.front() == '*') {
    t.exploded = true;
    typed.erase(0, 1);
  }
  size_t eq = typed.find('=');
  if (eq != std::string::npos) {
    t.name = typed.substr(0, eq);
    t.file = typed.substr(eq + 1);
    if (t.file.empty()) t.file = t.name;
  } else if (typed.find('/') != std::string::npos || endsWithNoCase(typed, ".dxf") || endsWithNoCase(typed, ".dwg")) {
    t.file = typed;
    t.name = stem(typed);
  } else {
    t.name = typed;
  }
  return t;
}

}  // namespace

namespace blocks {

void listBlocks() {
  const db::Database& d = drawing();
  print("Defined blocks.\n");
  int n = 0;
  for (const db::BlockDef& b : d.blocks()) {
    if (b.name.empty() || b.name.front() == '*' || blocks::liveBlock(d, b.name) == db::kNoObject) continue;
    print("  \"" + b.name + "\"\n");
    ++n;
  }
  print(std::to_string(n) + (n == 1 ? " user block.\n" : " user blocks.\n"));
}

bool askRedefine(const std::string& name, bool& yes) {
  std::string answer;
  Answer a = askKeyword("Block \"" + name + "\" already exists. Redefine it? [Yes/No] <N>: ", "Yes No", answer);
  if (cancelled(a.status)) return false;
  yes = a.status == RTNORM && answer == "Yes";
  return true;
}

}  // namespace blocks

namespace {

using blocks::askRedefine;
using blocks::listBlocks;

// Makes the definition from a drawing file; RTNORM when the block is there.
int defineFromFile(const TypedName& t) {
  if (!blocks::validBlockName(t.name)) {
    print("Invalid block name \"" + t.name + "\".\n");
    return RTERROR;
  }
  std::string path = blocks::findDrawingFile(t.file);
  if (path.empty()) {
    print("Cannot find the drawing file \"" + t.file + "\".\n");
    return RTERROR;
  }
  if (blocks::liveBlock(drawing(), t.name) != db::kNoObject) {
    bool redefine = false;
    if (!askRedefine(t.name, redefine)) return RTCAN;
    if (!redefine) return RTNORM;
  }
  blocks::ImportResult r = blocks::importDrawingAsBlock(drawing(), path, t.name);
  if (!r.ok) {
    print(r.message + "\n");
    return RTERROR;
  }
  return RTNORM;
}

// Asks for the block name until there is a block to insert.
int askBlock(InsertRequest& req) {
  for (;;) {
    std::string last = lastInserted(), typed;
    Answer a = askString("Enter block name or [?]" + (last.empty() ? std::string() : " <" + last + ">") + ": ", typed);
    if (cancelled(a.status)) return RTCAN;
    if (a.status == RTNONE) {
      if (last.empty()) return RTNONE;
      typed = last;
    }
    if (typed == "?" || typed == "_?") {
      listBlocks();
      continue;
    }
    TypedName t = parseTypedName(typed);
    req.exploded = t.exploded;
    req.name = t.name;
    if (blocks::isLayoutName(t.name)) {
      print("\"" + t.name + "\" is a layout, not a block.\n");
      return RTERROR;
    }
    if (t.file.empty() && blocks::liveBlock(drawing(), t.name) != db::kNoObject) return RTNORM;
    if (t.file.empty()) {
      // A name the drawing does not define: a drawing file of that name.
      if (blocks::findDrawingFile(t.name).empty()) {
        print("Block \"" + t.name + "\" is not defined, and there is no drawing file \"" + t.name + ".dxf\".\n");
        return RTERROR;
      }
      t.file = t.name;
    }
    return defineFromFile(t);
  }
}

Answer askReal(const std::string& prompt, double& out, int bits) {
  tcedInitGet(bits, nullptr);
  int rc = tcedGetReal(prompt.c_str(), &out);
  return {rc, {}};
}

// The options typed before the insertion point, then the point.
int askPointAndPresets(InsertRequest& req) {
  for (;;) {
    Point3 p;
    Answer a = askPoint(nullptr, "Specify insertion point or [Scale/X/Y/Z/Rotate]: ", p, 1, "Scale X Y Z Rotate");
    if (cancelled(a.status)) return RTCAN;
    if (a.status == RTNORM) {
      req.point = p;
      return RTNORM;
    }
    if (a.keyword == "Rotate") {
      double r = 0;
      if (askAngle(nullptr, "Specify rotation angle <0>: ", r).status == RTCAN) return RTCAN;
      req.rotation = r;
      req.rotationPreset = true;
      continue;
    }
    const char* axes = a.keyword == "Scale" ? "XYZ" : a.keyword == "X" ? "X" : a.keyword == "Y" ? "Y" : "Z";
    std::string prompt = a.keyword == "Scale" ? "Specify scale factor for XYZ axes <1>: "
                                              : "Specify " + a.keyword + " scale factor <1>: ";
    double s = 1;
    Answer b = askReal(prompt, s, 2);
    if (b.status == RTCAN) return RTCAN;
    if (b.status != RTNORM) s = 1;
    for (const char* c = axes; *c; ++c) req.scale[*c - 'X'] = s;
    req.scalePreset = true;
  }
}

// A typed number (the X scale prompt also takes points and keywords).
bool parseNumber(const std::string& text, double& out) {
  auto v = editor::parseReal(text);
  if (!v || !std::isfinite(*v)) return false;
  out = *v;
  return true;
}

int askXyz(InsertRequest& req) {
  const char* prompts[3] = {"Specify X scale factor <1>: ", "Specify Y scale factor <use X scale factor>: ",
                            "Specify Z scale factor <use X scale factor>: "};
  for (int i = 0; i < 3; ++i) {
    double s = 1;
    Answer a = askReal(prompts[i], s, 2);
    if (a.status == RTCAN) return RTCAN;
    req.scale[i] = a.status == RTNORM ? s : i == 0 ? 1.0 : req.scale[0];
  }
  return RTNORM;
}

// "Enter X scale factor ..." and the Y scale: a number, a corner, or XYZ.
int askScales(InsertRequest& req) {
  Point3 ucsBase = worldToUcs(req.point);
  for (;;) {
    Point3 corner;
    Answer a = askPoint(&req.point, "Enter X scale factor, specify opposite corner, or [Corner/XYZ] <1>: ", corner, 128,
                        "Corner XYZ");
    if (cancelled(a.status)) return RTCAN;
    double x = 1;
    if (a.status == RTKWORD && a.keyword == "XYZ") return askXyz(req);
    if (a.status == RTKWORD && a.keyword == "Corner") {
      if (cancelled(askPoint(&req.point, "Specify opposite corner: ", corner).status)) return RTCAN;
      a.status = RTNORM;
    }
    if (a.status == RTNORM) {
      Point3 c = worldToUcs(corner);
      req.scale[0] = c.x - ucsBase.x;
      req.scale[1] = req.scale[2] = c.y - ucsBase.y;
      if (req.scale[0] == 0 || req.scale[1] == 0) {  // exact: a corner on an axis gives no scale
        print("The corner must not lie on an axis through the insertion point.\n");
        continue;
      }
      req.scale[2] = req.scale[0];
      return RTNORM;
    }
    if (a.status == RTKWORD && (!parseNumber(a.keyword, x) || x == 0)) {
      print(x == 0 && parseNumber(a.keyword, x) ? "Value must be nonzero.\n" : "Requires a number, a point or a keyword.\n");
      continue;
    }
    req.scale[0] = req.scale[2] = x;
    double y = x;
    Answer b = askReal("Enter Y scale factor <use X scale factor>: ", y, 2);
    if (b.status == RTCAN) return RTCAN;
    req.scale[1] = b.status == RTNORM ? y : x;
    return RTNORM;
  }
}

int askPlacement(InsertRequest& req) {
  if (int rc = askPointAndPresets(req); rc != RTNORM) return rc;
  if (!req.scalePreset) {
    if (req.exploded) {
      double s = 1;
      Answer a = askReal("Specify scale factor for XYZ axes <1>: ", s, 2);
      if (a.status == RTCAN) return RTCAN;
      req.scale[0] = req.scale[1] = req.scale[2] = a.status == RTNORM ? s : 1.0;
    } else if (int rc = askScales(req); rc != RTNORM) {
      return rc;
    }
  }
  if (!req.rotationPreset) {
    double r = 0;
    Answer a = askAngle(&req.point, "Specify rotation angle <0>: ", r);
    if (a.status == RTCAN) return RTCAN;
    req.rotation = a.status == RTNORM ? r : 0;
  }
  return RTNORM;
}

}  // namespace

namespace blocks {

std::vector<uint32_t> attributeDefinitions(const db::Database& d, uint32_t block) {
  std::vector<uint32_t> out;
  for (uint32_t id : d.blocks()[block].entities) {
    if (d.isErased(id) || d.typeOf(id) != "ATTDEF") continue;
    auto flags = db::findTag(d, id, 70);
    if (!(flags && (flags->i & kAttConstant))) out.push_back(id);
  }
  return out;
}

}  // namespace blocks

namespace {

// The value of each attribute: asked when ATTREQ is 1 (preset ones are not),
// the default otherwise.
int askAttributeValues(const std::vector<uint32_t>& defs, std::vector<std::string>& values) {
  const db::Database& d = drawing();
  bool ask = intVar("ATTREQ", 1) != 0;
  bool announced = false;
  for (uint32_t def : defs) {
    std::string value(db::findString(d, def, 1));
    auto flags = db::findTag(d, def, 70);
    if (ask && !(flags && (flags->i & kAttPreset))) {
      if (!announced) print("Enter attribute values\n");
      announced = true;
      std::string prompt(db::findString(d, def, 3));
      if (prompt.empty()) prompt = std::string(db::findString(d, def, 2));
      std::string typed;
      Answer a = askString(prompt + " <" + value + ">: ", typed, true);
      if (cancelled(a.status)) return RTCAN;
      if (a.status == RTNORM) value = typed;
    }
    values.push_back(value);
  }
  return RTNORM;
}

// The groups that place a reference in the current UCS: insertion point in
// the object system of the UCS's Z axis, the rotation measured there.
TagList placementGroups(const InsertRequest& req, bool attributes) {
  geom::Vec3 normal = blocks::ucsZAxis();
  geom::OcsAxes ocs = geom::ocsAxes(normal);
  geom::Vec3 p{req.point.x, req.point.y, req.point.z};
  geom::Matrix4 toWorld = blocks::ucsToWorldMatrix();
  geom::Vec3 ux = toWorld.transformVector(geom::kXAxis).normalized(), uy = normal.cross(ux);
  geom::Vec3 dir = ux * std::cos(req.rotation) + uy * std::sin(req.rotation);
  double degrees = std::atan2(dir.dot(ocs.y), dir.dot(ocs.x)) * 180.0 / geom::kPi;
  if (degrees < 0) degrees += 360.0;
  if (std::fabs(degrees) < 1e-10 || std::fabs(degrees - 360.0) < 1e-10) degrees = 0;
  TagList body;
  if (attributes) body.push_back(Tag::integer(66, 1));
  body.push_back(Tag::str(2, req.name));
  body.push_back(Tag::point(10, {p.dot(ocs.x), p.dot(ocs.y), p.dot(ocs.z)}));
  for (int i = 0; i < 3; ++i)
    if (req.scale[i] != 1.0) body.push_back(Tag::real(41 + i, req.scale[i]));
  if (degrees != 0) body.push_back(Tag::real(50, degrees));
  bool tilted = std::fabs(normal.x) > 1e-12 || std::fabs(normal.y) > 1e-12 || normal.z < 0;
  if (tilted) body.push_back(Tag::point(210, {normal.x, normal.y, normal.z}));
  return body;
}

// An attribute from its definition placed by the reference: the definition's
// groups with the value, without its prompt, on the reference's layer when
// the definition is on layer "0".
TagList attributeFrom(TagList def, const std::string& value, std::string_view layer) {
  TagList out;
  bool inDefinition = false;
  for (Tag& t : def) {
    if (t.code == 100 && t.s == "AcDbAttributeDefinition") {
      t.s = "AcDbAttribute";
      inDefinition = true;
    }
    if (inDefinition && t.code == 3) continue;
    if (!inDefinition && t.code == 1) t.s = value;
    if (t.code == 8 && t.s == "0") t.s = layer;
    out.push_back(std::move(t));
  }
  return out;
}

TagList placedDefinition(uint32_t def, const geom::Matrix4& m) {
  std::vector<entgeom::TransformedObject> out;
  if (entgeom::transformEntity(drawing(), def, m, {}, out) == entgeom::EntStatus::Ok && !out.empty())
    return blocks::withoutHostGroups(out.front().tags);
  // A scale the text cannot follow: its points are placed, its shape kept.
  TagList tags = blocks::withoutHostGroups(drawing().tagList(def));
  for (Tag& t : tags)
    if ((t.code == 10 || t.code == 11) && t.kind != db::TagKind::String) {
      geom::Vec3 w = m.transformPoint({t.p.x, t.p.y, t.p.z});
      t.p = {w.x, w.y, w.z};
    }
  return tags;
}

void addAttributes(uint32_t insert, const std::vector<uint32_t>& defs, const std::vector<std::string>& values) {
  db::Database& d = drawing();
  uint32_t block;
  std::vector<geom::Matrix4> cells;
  if (entgeom::insertPlacements(d, insert, block, cells, 1) != entgeom::EntStatus::Ok || cells.empty()) return;
  std::string layer(db::findString(d, insert, 8, "0"));
  uint32_t space = d.object(insert).block;
  for (size_t i = 0; i < defs.size(); ++i)
    blocks::appendSubEntity(d, space, insert, "ATTRIB", attributeFrom(placedDefinition(defs[i], cells[0]), values[i], layer));
  blocks::appendSubEntity(d, space, insert, "SEQEND", {Tag::str(100, "AcDbEntity"), Tag::str(8, layer)});
}

// "*name": the block's entities placed, without a reference.
int insertExploded(const InsertRequest& req) {
  db::Database& d = drawing();
  uint32_t insert = addEntity("INSERT", "AcDbBlockReference", placementGroups(req, false));
  entgeom::ExplodeResult r = entgeom::explodeEntity(d, insert);
  d.setErased(insert, true);
  if (!r.ok()) {
    print(r.message + "\n");
    return RTERROR;
  }
  for (const entgeom::ExplodedEntity& e : r.entities) blocks::appendExploded(d, d.modelSpace(), e);
  return RTNORM;
}

}  // namespace

int insertCommand() {
  InsertRequest req;
  if (int rc = askBlock(req); rc != RTNORM) return rc == RTNONE ? RTNORM : rc;
  if (int rc = askPlacement(req); rc != RTNORM) return rc;
  lastInserted() = req.name;
  if (req.exploded) return insertExploded(req);
  uint32_t block = blocks::liveBlock(drawing(), req.name);
  std::vector<uint32_t> defs = blocks::attributeDefinitions(drawing(), block);
  std::vector<std::string> values;
  if (askAttributeValues(defs, values) != RTNORM) return RTCAN;
  uint32_t insert = addEntity("INSERT", "AcDbBlockReference", placementGroups(req, !defs.empty()));
  if (!defs.empty()) addAttributes(insert, defs, values);
  return RTNORM;
}

}  // namespace tarn::commands
