// AREA: the area and perimeter of an object (closed or open curves: an open
// one is closed by the chord from its end to its start, as hosts measure
// it) or of the polygon through points given in the UCS. Sets AREA and
// PERIMETER.
#include <cmath>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "command_support.h"
#include "entgeom/entity_curve.h"
#include "geom/measure.h"
#include "view_commands.h"

namespace tarn::commands {
namespace {

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

void report(double area, double perimeter, const char* perimeterName) {
  setRealVar("AREA", area);
  setRealVar("PERIMETER", perimeter);
  print("Area = " + formatNumber(area) + ", " + perimeterName + " = " + formatNumber(perimeter) + "\n");
}

// An object without an area leaves AREA and PERIMETER at 0, so that a
// program summing AREA over objects does not count the previous one twice.
int noArea(const char* why) {
  setRealVar("AREA", 0);
  setRealVar("PERIMETER", 0);
  print(std::string(why) + "\n");
  return RTERROR;
}

int areaOfObject() {
  tc_name e;
  tc_point at;
  int rc = RTERROR;
  for (;;) {
    rc = tcedEntSel("Select objects: ", e, at);
    if (rc != RTERROR || intVar("ERRNO") != 7) break;
    print("No object found there.\n");
  }
  if (rc != RTNORM) return rc == RTCAN ? RTCAN : RTNORM;
  db::Database* d = nullptr;
  uint32_t id = 0;
  if (!host::resolveName(e, d, id) || d != &drawing()) return noArea("That object is not in this drawing.");
  geom::CurvePtr curve = entgeom::curveOf(*d, id);
  if (!curve) return noArea("Selected object does not have an area.");
  geom::CurveKind kind = curve->kind();
  if (kind == geom::CurveKind::Line || kind == geom::CurveKind::Ray || kind == geom::CurveKind::XLine)
    return noArea("Selected object does not have an area.");
  double area = 0, length = 0;
  if (geom::area(*curve, area) != geom::GeomStatus::Ok) return noArea("The object does not lie in one plane.");
  if (geom::curveLength(*curve, length) != geom::GeomStatus::Ok) return noArea("Selected object does not have an area.");
  const char* name = kind == geom::CurveKind::Circle ? "Circumference" : curve->isClosed() ? "Perimeter" : "Length";
  report(area, length, name);
  return RTNORM;
}

// The polygon through points (UCS), closed back to the first.
int areaOfPoints(Point3 first) {
  std::vector<Point3> pts{worldToUcs(first)};
  for (;;) {
    Point3 next, last = ucsToWorld(pts.back());
    Answer a = askPoint(&last, "Specify next point or press ENTER for total: ", next);
    if (cancelled(a)) return RTCAN;
    if (a.status != RTNORM) break;
    pts.push_back(worldToUcs(next));
  }
  double twice = 0, perimeter = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const Point3& p = pts[i];
    const Point3& q = pts[(i + 1) % pts.size()];
    twice += p.x * q.y - q.x * p.y;
    perimeter += std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + (q.z - p.z) * (q.z - p.z));
  }
  if (pts.size() < 2) perimeter = 0;
  report(std::fabs(twice) / 2, perimeter, "Perimeter");
  return RTNORM;
}

}  // namespace

int areaCommand() {
  Point3 first;
  Answer a = askPoint(nullptr, "Specify first corner point or [Object] <Object>: ", first, 0, "Object Entity");
  if (cancelled(a)) return RTCAN;
  if (a.status == RTNORM) return areaOfPoints(first);
  return areaOfObject();
}

}  // namespace tarn::commands
