// Inquiry and display commands: LIST, ID, DIST, SELECT, REDRAW, REDRAWALL,
// REGEN and ORTHO.
#include <cmath>
#include <cstdio>
#include <numbers>

#include <tarnsdk/tceddisplay.h>

#include "command_support.h"
#include "host_command_list.h"

namespace tarn::commands {
namespace {

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

std::string handleText(uint64_t h) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
  return buf;
}

std::string tagText(const db::Tag& t) {
  switch (t.kind) {
    case db::TagKind::String: return "\"" + t.s + "\"";
    case db::TagKind::Real: return formatNumber(t.p.x);
    case db::TagKind::Point2: return formatNumber(t.p.x) + " " + formatNumber(t.p.y);
    case db::TagKind::Point3: return formatNumber(t.p.x) + " " + formatNumber(t.p.y) + " " + formatNumber(t.p.z);
    case db::TagKind::Int: return std::to_string(t.i);
    case db::TagKind::Handle: return handleText(t.asHandle());
  }
  return {};
}

void listObject(uint32_t id) {
  const db::Database& d = drawing();
  bool paper = d.object(id).block == d.paperSpace();
  print("                  " + std::string(d.typeOf(id)) + "  Layer: \"" + std::string(db::findString(d, id, 8, "0")) +
        "\"\n                            Space: " + (paper ? "Paper space" : "Model space") +
        "\n                   Handle = " + handleText(d.object(id).handle) + "\n");
  for (db::TagCursor c = d.tags(id); !c.done(); c.next()) {
    db::Tag t = c.decode();
    if (t.code == 5 || t.code == 100) continue;
    print("    (" + std::to_string(t.code) + " . " + tagText(t) + ")\n");
  }
}

}  // namespace

int listCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  for (uint32_t id : ids) listObject(id);
  return status == RTCAN ? RTCAN : RTNORM;
}

int idCommand() {
  Point3 p;
  Answer a = askPoint(nullptr, "Specify point: ", p);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  Point3 u = worldToUcs(p);
  print(formatPoint(u) + "\n");
  setPointVar("LASTPOINT", u);
  return RTNORM;
}

int distCommand() {
  Point3 a, b;
  Answer r = askPoint(nullptr, "Specify first point: ", a);
  if (r.status != RTNORM) return cancelled(r) ? RTCAN : RTNORM;
  r = askPoint(&a, "Specify second point: ", b);
  if (r.status != RTNORM) return cancelled(r) ? RTCAN : RTNORM;
  Point3 ua = worldToUcs(a), ub = worldToUcs(b);
  double dx = ub.x - ua.x, dy = ub.y - ua.y, dz = ub.z - ua.z;
  double planar = std::hypot(dx, dy), dist = std::sqrt(planar * planar + dz * dz);
  constexpr double kDeg = 180.0 / std::numbers::pi;
  double inPlane = std::atan2(dy, dx) * kDeg, fromPlane = std::atan2(dz, planar) * kDeg;
  if (inPlane < 0) inPlane += 360;
  print("Distance = " + formatNumber(dist) + ",  Angle in XY Plane = " + formatNumber(inPlane) +
        ",  Angle from XY Plane = " + formatNumber(fromPlane) + "\nDelta X = " + formatNumber(dx) +
        ",  Delta Y = " + formatNumber(dy) + ",  Delta Z = " + formatNumber(dz) + "\n");
  setRealVar("DISTANCE", dist);
  setPointVar("LASTPOINT", ub);
  return RTNORM;
}

int selectCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  // Nothing selected (everything removed again, or Enter at once) leaves an
  // empty previous set, so that a later "P" finds nothing.
  if (ids.empty()) editor::currentEditor().selections().previous = {};
  return status == RTCAN ? RTCAN : RTNORM;
}

int redrawCommand() {
  tcedRedraw(nullptr, 1);
  return RTNORM;
}

int regenCommand() {
  tcedRedraw(nullptr, 0);
  return RTNORM;
}

int orthoCommand() {
  std::string mode;
  bool on = intVar("ORTHOMODE") != 0;
  Answer a = askKeyword(std::string("Enter mode [ON/OFF] <") + (on ? "ON" : "OFF") + ">: ", "ON OFf", mode);
  if (cancelled(a)) return RTCAN;
  if (a.status == RTNORM) setIntVar("ORTHOMODE", mode == "ON" ? 1 : 0);
  return RTNORM;
}

}  // namespace tarn::commands
