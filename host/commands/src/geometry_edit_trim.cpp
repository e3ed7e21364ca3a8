// TRIM: cutting edges (Enter: every object is an edge), then objects
// picked at the part to remove, until Enter. EDGEMODE 1 trims to where an
// edge would run if it were extended; PROJMODE says in which plane the
// curves meet (none: in space, the UCS plane, the view plane). Options:
// Fence (trims every object the fence line crosses), Project, Edge, eRase
// and Undo (takes back the last trim of this command).
#include <algorithm>

#include "api/sysvars.h"
#include "entgeom/entity_curve.h"
#include "geom/linear_curves.h"
#include "geom/trim.h"
#include "geometry_edit_spatial.h"
#include "geometry_edit_support.h"

namespace tarn::commands {
namespace {

constexpr const char* kProjections[] = {"None", "UCS", "View"};

struct TrimSession {
  std::vector<uint32_t> edges;  // empty: every object is a cutting edge
  StepLog log;
};

geom::IntersectOptions intersectOptions() {
  geom::IntersectOptions opt;
  opt.extend = intVar("EDGEMODE") == 1 ? geom::ExtendMode::Second : geom::ExtendMode::None;
  geom::Ucs ucs = currentUcs();
  int projection = intVar("PROJMODE", 1);
  if (projection == 1) opt.projectOnto = geom::Plane{ucs.origin, ucs.zAxis().normalized()};
  if (projection == 2) {
    host::SysVarValue v;
    // VIEWDIR is given in the UCS.
    geom::Vec3 dir = ucs.zAxis();
    if (host::getSysVar("VIEWDIR", v)) dir = ucs.xAxis * v.point.x + ucs.yAxis * v.point.y + ucs.zAxis() * v.point.z;
    if (dir.length() > 0) opt.projectOnto = geom::Plane{ucs.origin, dir.normalized()};
  }
  return opt;
}

// The objects that may cut `box`: all edges when they are extended or seen
// along a view direction, otherwise those whose boxes meet it.
std::vector<uint32_t> edgeCandidates(const TrimSession& s, const geom::BoundingBox& box) {
  EntityIndex& index = EntityIndex::of(drawing());
  bool anywhere = intVar("EDGEMODE") == 1 || intVar("PROJMODE", 1) == 2;
  std::vector<uint32_t> out;
  if (s.edges.empty()) {
    if (anywhere) index.all(out);
    else index.query(box, out);
    return out;
  }
  for (uint32_t id : s.edges) {
    if (drawing().isErased(id)) continue;
    const geom::BoundingBox& b = index.boxOf(id);
    if (anywhere || !box.isBounded() || !b.isBounded() || b.intersectsXY(box)) out.push_back(id);
  }
  return out;
}

std::vector<geom::CurvePtr> cuttingCurves(const TrimSession& s, uint32_t trimmed, const geom::Curve& c) {
  std::vector<geom::CurvePtr> out;
  for (uint32_t id : edgeCandidates(s, c.boundingBox()))
    if (id != trimmed)
      if (geom::CurvePtr edge = entgeom::curveOf(drawing(), id)) out.push_back(std::move(edge));
  return out;
}

void reportFailure(geom::GeomStatus st) {
  if (st == geom::GeomStatus::NothingToTrim) print("Object does not intersect an edge.\n");
  else if (st == geom::GeomStatus::NeedTwoCuts) print("A closed object must cross the edges twice to be trimmed.\n");
  else print(std::string("Cannot trim that object (") + geom::statusName(st) + ").\n");
}

// Trims one object at the part the point lies on; true when it changed.
bool trimAt(TrimSession& s, uint32_t id, Point3 world) {
  geom::CurvePtr c = editableCurve(id, "trim");
  if (!c) return false;
  std::vector<geom::CurvePtr> edges = cuttingCurves(s, id, *c);
  std::vector<const geom::Curve*> cutters;
  for (const auto& e : edges) cutters.push_back(e.get());
  geom::EditResult r = geom::trimCurve(*c, cutters, toVec(world), intersectOptions());
  if (r.status != geom::GeomStatus::Ok) {
    reportFailure(r.status);
    return false;
  }
  s.log.begin();
  if (r.curves.empty()) {
    s.log.noteChange(id);
    drawing().setErased(id, true);
  } else {
    replaceCurve(id, *r.curves[0], &s.log);
    for (size_t i = 1; i < r.curves.size(); ++i) addCurveLike(id, *r.curves[i], &s.log);
  }
  s.log.end();
  return true;
}

void askEdgeMode() {
  std::string answer;
  bool extend = intVar("EDGEMODE") == 1;
  Answer a = askKeyword(std::string("Enter an implied edge extension mode [Extend/No extend] <") +
                            (extend ? "Extend" : "No extend") + ">: ",
                        "Extend Noextend", answer);
  if (a.status == RTNORM) setIntVar("EDGEMODE", answer == "Extend" ? 1 : 0);
}

void askProjection() {
  std::string answer;
  int current = std::clamp(intVar("PROJMODE", 1), 0, 2);
  Answer a = askKeyword(std::string("Enter a projection option [None/Ucs/View] <") + kProjections[current] + ">: ",
                        "None Ucs View", answer);
  if (a.status != RTNORM) return;
  setIntVar("PROJMODE", answer == "None" ? 0 : answer == "Ucs" ? 1 : 2);
}

void eraseSome(TrimSession& s) {
  int status = RTNORM;
  std::vector<uint32_t> ids = withoutLocked(selectObjects(status));
  if (ids.empty()) return;
  s.log.begin();
  for (uint32_t id : ids) {
    s.log.noteChange(id);
    drawing().setErased(id, true);
  }
  s.log.end();
}

// Fence: every object the chain of points crosses is trimmed where the
// fence crosses it, one crossing after another.
void fenceTrim(TrimSession& s) {
  std::vector<Point3> fence(1);
  if (askPoint(nullptr, "Specify first fence point: ", fence[0]).status != RTNORM) return;
  for (;;) {
    Point3 p;
    Answer a = askPoint(&fence.back(), "Specify next fence point or [Undo]: ", p, 0, "Undo");
    if (a.status == RTKWORD && fence.size() > 1) fence.pop_back();
    if (a.status == RTNORM) fence.push_back(p);
    if (a.status != RTNORM && a.status != RTKWORD) break;
  }
  for (size_t i = 1; i < fence.size(); ++i) {
    geom::BoundingBox box;
    box.add(toVec(fence[i - 1]));
    box.add(toVec(fence[i]));
    std::vector<uint32_t> near;
    EntityIndex::of(drawing()).query(box, near);
    geom::Line line(toVec(fence[i - 1]), toVec(fence[i]));
    geom::IntersectOptions opt = intersectOptions();
    opt.extend = geom::ExtendMode::None;
    for (uint32_t id : near) {
      geom::CurvePtr c = entgeom::curveOf(drawing(), id);
      if (!c) continue;
      // Each crossing is trimmed in turn; an object replaced by a trim is
      // trimmed no further along this fence segment.
      for (const geom::Vec3& hit : geom::intersectionPoints(*c, line, opt))
        if (drawing().isErased(id) || !trimAt(s, id, toPoint(hit))) break;
    }
  }
}

}  // namespace

int trimCommand() {
  print(std::string("Current settings: Projection=") + kProjections[std::clamp(intVar("PROJMODE", 1), 0, 2)] +
        ", Edge=" + (intVar("EDGEMODE") == 1 ? "Extend" : "None") + "\nSelect cutting edges ...\n");
  TrimSession s;
  int status = RTNORM;
  s.edges = selectObjects(status);
  if (status == RTCAN) return RTCAN;
  for (;;) {
    ObjectPick pick = pickObject("Select object to trim or [Fence/Project/Edge/eRase/Undo]: ",
                                 "Fence Project Edge eRase Undo");
    if (pick.status == RTCAN) return RTCAN;
    if (pick.status == RTNONE) return RTNORM;
    if (pick.keyword == "Edge") askEdgeMode();
    else if (pick.keyword == "Project") askProjection();
    else if (pick.keyword == "eRase") eraseSome(s);
    else if (pick.keyword == "Fence") fenceTrim(s);
    else if (pick.keyword == "Undo" && !s.log.undoLast()) print("Nothing to undo.\n");
    else if (pick.status == RTNORM && !pick.hasPoint) print("Pick the object at the part to remove.\n");
    else if (pick.status == RTNORM) trimAt(s, pick.id, pick.world);
  }
}

}  // namespace tarn::commands
