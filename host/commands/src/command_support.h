// What the host commands share: prompts through the SDK input calls (so
// that typed replies, scripts and program arguments all answer them),
// selections as object ids, system variables, coordinate conversion, and
// adding entities to model space.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tctypes.h>

#include "db/database.h"
#include "editor/editor.h"
#include "geom/coord_system.h"

namespace tarn::commands {

using db::Point3;

db::Database& drawing();
void print(std::string_view text);

// Input: RTNORM, RTNONE (Enter), RTKWORD (keyword in `keyword`), RTCAN or
// RTERROR. Points are typed in the current UCS and returned in the world.
struct Answer {
  int status = RTNORM;
  std::string keyword;
};
Answer askPoint(const Point3* worldBase, const std::string& prompt, Point3& world, int bits = 0,
                const char* keywords = nullptr);
Answer askKeyword(const std::string& prompt, const char* keywords, std::string& out, int bits = 0);
Answer askString(const std::string& prompt, std::string& out, bool spaces = false);
Answer askDistance(const Point3* worldBase, const std::string& prompt, double& out, int bits = 0);
Answer askAngle(const Point3* worldBase, const std::string& prompt, double& radians, int bits = 0);
Answer askInteger(const std::string& prompt, int& out, int bits = 0);

// "Select objects: " until Enter; the live main entities chosen (empty when
// none or cancelled: `status` tells).
std::vector<uint32_t> selectObjects(int& status);
// Removes objects on locked layers, saying how many there were.
std::vector<uint32_t> withoutLocked(const std::vector<uint32_t>& ids);

// System variables of the current drawing or session.
int intVar(std::string_view name, int dflt = 0);
double realVar(std::string_view name, double dflt = 0);
std::string textVar(std::string_view name);
void setIntVar(std::string_view name, int v);
void setRealVar(std::string_view name, double v);
void setTextVar(std::string_view name, std::string_view v);
void setPointVar(std::string_view name, Point3 p);

Point3 ucsToWorld(Point3 p);
Point3 worldToUcs(Point3 p);

// A new entity in model space on the current layer: `body` are the groups
// after the common ones (layer) and its subclass marker. Its id.
uint32_t addEntity(std::string_view type, std::string_view subclass, const db::TagList& body);
// Copies of an entity and its sub-entities (already transformed), with new
// handles, in the same block after the originals. The new main entity's id.
uint32_t addCopy(const std::vector<std::pair<uint32_t, db::TagList>>& objects);

// The current UCS (UCSORG, UCSXDIR, UCSYDIR) in world coordinates.
geom::Ucs currentUcs();
Point3 pointVar(std::string_view name, Point3 dflt = {});
inline geom::Vec3 toVec(Point3 p) { return {p.x, p.y, p.z}; }
inline Point3 toPoint(geom::Vec3 v) { return {v.x, v.y, v.z}; }

// Objects drawn in the current UCS: their extrusion is its Z axis, and
// planar ones (circles, arcs, texts, polylines) keep their points in the
// object system of that axis and their angles from its X axis (the
// arbitrary-axis rule). In the world UCS (or one turned about the world Z
// axis) the object system is the world and no extrusion group is written.
geom::Vec3 ucsNormal();
bool ucsTilted();
// A point given in the UCS, in the object system of the UCS's Z axis.
Point3 ucsToOcs(Point3 ucsPoint);
// A direction at `radians` from the UCS X axis, as an angle in that object system.
double ucsAngleToOcs(double radians);
// Appends (210 . the UCS's Z axis) when the UCS is tilted.
void appendExtrusion(db::TagList& body);

// A symbol-table record's tags up to and including its name (group 2),
// followed by `data`: what a redefinition keeps (handle, owner, reactors).
db::TagList recordWithData(uint32_t id, const db::TagList& data);

std::string formatNumber(double v);
std::string formatPoint(Point3 p);

}  // namespace tarn::commands
