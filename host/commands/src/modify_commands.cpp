// ERASE, MOVE, COPY and MIRROR: a selection, then points; geometry follows
// the entity transformation of the entity-geometry library, and every
// change goes through the drawing database (and so its undo journal).
#include <tarnsdk/tcedinput.h>

#include "command_support.h"
#include "entgeom/entity_transform.h"
#include "host_command_list.h"
#include "journal_scope.h"

namespace tarn::commands {
namespace {

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

// The objects to work on: selected, live, not on locked layers. Empty means
// nothing to do (`status` RTCAN when the user cancelled).
std::vector<uint32_t> chooseObjects(int& status) {
  std::vector<uint32_t> ids = selectObjects(status);
  if (status == RTCAN) return {};
  status = RTNORM;
  return withoutLocked(ids);
}

// New tags of each object and the objects that go with it.
std::vector<std::pair<uint32_t, db::TagList>> transformed(uint32_t id, const geom::Matrix4& m) {
  std::vector<entgeom::TransformedObject> out;
  entgeom::TransformOptions options;
  options.mirrorText = intVar("MIRRTEXT") != 0;
  std::vector<std::pair<uint32_t, db::TagList>> result;
  if (entgeom::transformEntity(drawing(), id, m, options, out) != entgeom::EntStatus::Ok) return result;
  for (auto& o : out) result.emplace_back(o.id, std::move(o.tags));
  return result;
}

// Transforms the objects in place; how many could not follow.
int transformInPlace(const std::vector<uint32_t>& ids, const geom::Matrix4& m) {
  int failed = 0;
  for (uint32_t id : ids) {
    auto objects = transformed(id, m);
    if (objects.empty()) ++failed;
    for (auto& [object, tags] : objects) drawing().replaceTags(object, tags);
  }
  return failed;
}

int copies(const std::vector<uint32_t>& ids, const geom::Matrix4& m) {
  int failed = 0;
  for (uint32_t id : ids) {
    auto objects = transformed(id, m);
    if (objects.empty() || addCopy(objects) == db::kNoObject) ++failed;
  }
  return failed;
}

void reportFailures(int failed) {
  if (failed) print(std::to_string(failed) + " object(s) could not be transformed.\n");
}

geom::Matrix4 translation(Point3 from, Point3 to) {
  return geom::Matrix4::translation({to.x - from.x, to.y - from.y, to.z - from.z});
}

// Base point and second point as MOVE and COPY ask them; the matrix, or
// false when the user cancelled. A base point followed by Enter is a
// displacement from the origin.
bool askDisplacement(Point3& base, geom::Matrix4& m, const char* basePrompt) {
  Answer a = askPoint(nullptr, basePrompt, base, 0, "Displacement");
  if (cancelled(a)) return false;
  if (a.status != RTNORM) {  // Displacement or Enter
    Point3 d;
    Answer b = askPoint(nullptr, "Specify displacement <0.0000, 0.0000, 0.0000>: ", d);
    if (cancelled(b)) return false;
    if (b.status != RTNORM) d = {};
    base = ucsToWorld({0, 0, 0});
    m = translation(base, d);
    return true;
  }
  Point3 second;
  a = askPoint(&base, "Specify second point or <use first point as displacement>: ", second);
  if (cancelled(a)) return false;
  if (a.status == RTNONE) second = {2 * base.x, 2 * base.y, 2 * base.z};  // the base point is the displacement
  m = translation(base, second);
  return true;
}

}  // namespace

int eraseCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = chooseObjects(status);
  for (uint32_t id : ids) drawing().setErased(id, true);
  return status;
}

int moveCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = chooseObjects(status);
  if (ids.empty()) return status;
  Point3 base;
  geom::Matrix4 m;
  if (!askDisplacement(base, m, "Specify base point or [Displacement] <Displacement>: ")) return RTCAN;
  reportFailures(transformInPlace(ids, m));
  return RTNORM;
}

int copyCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = chooseObjects(status);
  if (ids.empty()) return status;
  Point3 base, second;
  geom::Matrix4 m;
  if (!askDisplacement(base, m, "Specify base point or [Displacement] <Displacement>: ")) return RTCAN;
  reportFailures(copies(ids, m));
  // More copies while the user gives points; a command issued by another
  // command (the module's "_.COPY" with two points) makes one.
  if (issuedByAnotherCommand("COPY")) return RTNORM;
  for (;;) {
    Answer a = askPoint(&base, "Specify second point or [Exit] <Exit>: ", second, 0, "Exit");
    if (cancelled(a)) return RTCAN;
    if (a.status != RTNORM) return RTNORM;
    reportFailures(copies(ids, translation(base, second)));
  }
}

int mirrorCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = chooseObjects(status);
  if (ids.empty()) return status;
  Point3 a, b;
  if (askPoint(nullptr, "Specify first point of mirror line: ", a).status != RTNORM) return RTCAN;
  if (askPoint(&a, "Specify second point of mirror line: ", b).status != RTNORM) return RTCAN;
  if (a.x == b.x && a.y == b.y) {  // exact: a mirror line needs two distinct points
    print("The two points of the mirror line are the same.\n");
    return RTERROR;
  }
  std::string answer = "No";
  Answer e = askKeyword("Erase source objects? [Yes/No] <No>: ", "Yes No", answer);
  if (cancelled(e)) return RTCAN;
  geom::Matrix4 m = geom::Matrix4::mirrorLine({a.x, a.y, a.z}, {b.x, b.y, b.z});
  if (answer == "Yes") reportFailures(transformInPlace(ids, m));
  else reportFailures(copies(ids, m));
  return RTNORM;
}

}  // namespace tarn::commands
