// OFFSET: a distance (or Through), then object and side point, again and
// again until Enter. The copies take the source's properties; the distance
// is kept in OFFSETDIST (negative: Through), polylines close their corner
// gaps as OFFSETGAPTYPE says.
#include <cmath>

#include <tarnsdk/tcedinput.h>

#include "entgeom/entity_curve.h"
#include "geom/offset.h"
#include "geometry_edit_support.h"

namespace tarn::commands {
namespace {

struct OffsetSettings {
  double distance = 1;
  bool through = false;
};

std::string distanceText(double stored) { return stored < 0 ? "Through" : formatNumber(stored); }

// "Specify offset distance or [Through] <current>:". False on cancel.
bool askOffsetDistance(OffsetSettings& s) {
  double stored = realVar("OFFSETDIST", -1);
  double d = 0;
  tcedInitGet(2 | 4, "Through");
  int rc = tcedGetDist(nullptr, ("Specify offset distance or [Through] <" + distanceText(stored) + ">: ").c_str(), &d);
  if (rc == RTCAN || rc == RTERROR) return false;
  if (rc == RTNORM) stored = d;
  if (rc == RTKWORD) stored = -1;
  s.through = stored < 0;
  s.distance = stored;
  setRealVar("OFFSETDIST", stored);
  return true;
}

// The side point brought into the plane the offset happens in: the curve's
// own plane, or for a straight curve the plane through it parallel to the
// current UCS.
geom::Vec3 intoPlane(const geom::Curve& c, geom::Vec3 p) {
  geom::Vec3 n;
  if (c.planeNormal(n) != geom::GeomStatus::Ok) n = currentUcs().zAxis().normalized();
  geom::Vec3 base = c.isBounded() ? c.startPoint() : c.pointAt(0);
  return p - n * (p - base).dot(n);
}

void reportFailure(geom::GeomStatus st) {
  if (st == geom::GeomStatus::OnCurve) print("The point lies on the object: no side to offset to.\n");
  else if (st == geom::GeomStatus::NegativeRadius) print("Cannot offset that object by that distance.\n");
  else print(std::string("Cannot offset that object (") + geom::statusName(st) + ").\n");
}

// One copy (or several, when a polyline's offset falls apart) beside the source.
void offsetOnce(uint32_t source, const geom::Curve& c, const OffsetSettings& s, Point3 point, StepLog& log) {
  geom::Vec3 side = intoPlane(c, toVec(point));
  double distance = s.distance;
  if (s.through) {
    geom::CurvePtr whole = c.extended();
    distance = whole->distanceTo(side);
    if (distance <= geom::scaledTolerance(geom::kEqualPoint, side.maxAbs()))
      return reportFailure(geom::GeomStatus::OnCurve);
  }
  geom::OffsetOptions options;
  options.gap = geom::GapType(std::clamp(intVar("OFFSETGAPTYPE"), 0, 2));
  geom::OffsetResult r = geom::offsetCurve(c, distance, side, options);
  if (r.status != geom::GeomStatus::Ok || r.curves.empty()) return reportFailure(r.status);
  log.begin();
  for (const geom::CurvePtr& piece : r.curves) addCurveLike(source, *piece, &log);
  log.end();
}

enum class Next { Go, Stop, Cancel };

Next undoStep(StepLog& log) {
  if (!log.undoLast()) print("Nothing to undo.\n");
  return Next::Go;
}

// One pass: the object, then the side or through point.
Next offsetStep(const OffsetSettings& s, StepLog& log) {
  ObjectPick pick = pickObject("Select object to offset or [Exit/Undo] <Exit>: ", "Exit Undo");
  if (pick.status == RTCAN) return Next::Cancel;
  if (pick.status == RTNONE || pick.keyword == "Exit") return Next::Stop;
  if (pick.keyword == "Undo") return undoStep(log);
  geom::CurvePtr c = entgeom::curveOf(drawing(), pick.id);
  if (!c) {
    print("Cannot offset that object.\n");
    return Next::Go;
  }
  Point3 point;
  Answer a = askPoint(nullptr,
                      s.through ? "Specify through point or [Exit/Undo] <Exit>: "
                                : "Specify point on side to offset or [Exit/Undo] <Exit>: ",
                      point, 0, "Exit Undo");
  if (cancelled(a)) return Next::Cancel;
  if (a.status == RTNONE || a.keyword == "Exit") return Next::Stop;
  if (a.keyword == "Undo") return undoStep(log);
  offsetOnce(pick.id, *c, s, point, log);
  return Next::Go;
}

}  // namespace

int offsetCommand() {
  print("Current settings: Erase source=No  Layer=Source  OFFSETGAPTYPE=" + std::to_string(intVar("OFFSETGAPTYPE")) +
        "\n");
  OffsetSettings s;
  if (!askOffsetDistance(s)) return RTCAN;
  StepLog log;
  for (;;) {
    Next n = offsetStep(s, log);
    if (n == Next::Cancel) return RTCAN;
    if (n == Next::Stop) return RTNORM;
  }
}

}  // namespace tarn::commands
