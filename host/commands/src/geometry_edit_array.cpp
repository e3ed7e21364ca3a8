// ARRAY: copies of a selection in rows and columns along the axes of the
// current UCS ("Rectangular"), or around a centre about the UCS Z axis
// ("Polar"), turned with the array or only moved. Copies get new handles.
// The number of items is limited by the host environment value "MaxArray"
// (100000 when it is not set).
#include <cmath>
#include <cstdlib>
#include <numbers>

#include <tarnsdk/tcedinput.h>

#include "entgeom/entity_transform.h"
#include "entgeom/extents.h"
#include "geometry_edit_support.h"

namespace tarn::commands {
namespace {

constexpr long kDefaultMaxArray = 100000;

long maxArray() {
  char buf[64] = {0};
  if (tcedGetEnv("MaxArray", buf, sizeof buf) != RTNORM || buf[0] == '\0') return kDefaultMaxArray;
  char* end = nullptr;
  long v = std::strtol(buf, &end, 10);
  return *end == '\0' && v > 0 ? v : kDefaultMaxArray;
}

bool withinLimit(long items) {
  long limit = maxArray();
  if (items <= limit) return true;
  print("An array of " + std::to_string(items) + " items is larger than the limit of " + std::to_string(limit) +
        " (MaxArray).\n");
  return false;
}

// Copies of the objects moved by m; how many could not follow.
int copyAll(const std::vector<uint32_t>& ids, const geom::Matrix4& m) {
  int failed = 0;
  entgeom::TransformOptions options;
  options.mirrorText = intVar("MIRRTEXT") != 0;
  for (uint32_t id : ids) {
    std::vector<entgeom::TransformedObject> out;
    std::vector<std::pair<uint32_t, db::TagList>> objects;
    if (entgeom::transformEntity(drawing(), id, m, options, out) == entgeom::EntStatus::Ok)
      for (auto& o : out) objects.emplace_back(o.id, std::move(o.tags));
    if (objects.empty() || addCopy(objects) == db::kNoObject) ++failed;
  }
  return failed;
}

void reportFailures(int failed) {
  if (failed) print(std::to_string(failed) + " copies could not be made.\n");
}

// A count of at least 1; Enter keeps 1. False on cancel.
bool askCount(const std::string& prompt, int& count) {
  count = 1;
  Answer a = askInteger(prompt, count, 2 | 4);
  if (cancelled(a)) return false;
  if (a.status != RTNORM) count = 1;
  return true;
}

int rectangular(const std::vector<uint32_t>& ids) {
  int rows = 1, columns = 1;
  if (!askCount("Enter the number of rows (---) <1>: ", rows)) return RTCAN;
  if (!askCount("Enter the number of columns (|||) <1>: ", columns)) return RTCAN;
  if (rows == 1 && columns == 1) {
    print("One-element array, nothing to do.\n");
    return RTNORM;
  }
  if (!withinLimit(long(rows) * columns)) return RTERROR;
  double rowDistance = 0, columnDistance = 0;
  if (rows > 1 && cancelled(askDistance(nullptr, "Enter the distance between rows or specify unit cell (---): ",
                                        rowDistance, 1 | 2)))
    return RTCAN;
  if (columns > 1 &&
      cancelled(askDistance(nullptr, "Specify the distance between columns (|||): ", columnDistance, 1 | 2)))
    return RTCAN;
  geom::Ucs ucs = currentUcs();
  int failed = 0;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      if (r || c) {
        geom::Vec3 shift = ucs.xAxis * (c * columnDistance) + ucs.yAxis * (r * rowDistance);
        failed += copyAll(ids, geom::Matrix4::translation(shift));
      }
  reportFailures(failed);
  return RTNORM;
}

// The point an object is arrayed by when it is not turned: its first
// point (a line's start, a circle's centre, a text's insertion point) when
// stored in world coordinates, else the middle of its extents.
geom::Vec3 referencePoint(uint32_t id) {
  auto normal = db::findTag(drawing(), id, 210);
  auto first = db::findTag(drawing(), id, 10);
  bool world = !normal || (normal->p.x == 0 && normal->p.y == 0 && normal->p.z > 0);  // exact: the default normal
  if (first && world) return toVec(first->p);
  entgeom::Extents x = entgeom::extentsOf(drawing(), id);
  return x.ok() ? x.box.center() : geom::Vec3{};
}

struct PolarInput {
  Point3 centre;
  int items = 0;
  double fillDegrees = 360;
  bool rotate = true;
};

bool askPolar(PolarInput& in) {
  if (askPoint(nullptr, "Specify center point of array: ", in.centre, 1).status != RTNORM) return false;
  for (;;) {
    Answer a = askInteger("Enter the number of items in the array: ", in.items, 1 | 2 | 4);
    if (a.status != RTNORM) return false;
    if (in.items >= 2) break;
    print("The number of items must be at least 2.\n");
  }
  tcedInitGet(2, nullptr);
  int rc = tcedGetReal("Specify the angle to fill (+=ccw, -=cw) <360>: ", &in.fillDegrees);
  if (rc == RTCAN || rc == RTERROR) return false;
  if (rc == RTNONE) in.fillDegrees = 360;
  std::string rotate = "Yes";
  if (cancelled(askKeyword("Rotate arrayed objects? [Yes/No] <Y>: ", "Yes No", rotate))) return false;
  in.rotate = rotate != "No";
  return true;
}

int polar(const std::vector<uint32_t>& ids) {
  PolarInput in;
  if (!askPolar(in)) return RTCAN;
  if (!withinLimit(in.items)) return RTERROR;
  // A full turn spreads the items evenly; a part of one puts the last item at its end.
  bool fullTurn = std::fabs(in.fillDegrees) >= 360;
  double step = in.fillDegrees / (fullTurn ? in.items : in.items - 1) * std::numbers::pi / 180;
  geom::Vec3 axis = currentUcs().zAxis(), centre = toVec(in.centre), base = referencePoint(ids.back());
  int failed = 0;
  for (int i = 1; i < in.items; ++i) {
    geom::Matrix4 turn = geom::Matrix4::rotation(step * i, axis, centre);
    failed += copyAll(ids, in.rotate ? turn : geom::Matrix4::translation(turn.transformPoint(base) - base));
  }
  reportFailures(failed);
  return RTNORM;
}

}  // namespace

int arrayCommand() {
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  if (status == RTCAN) return RTCAN;
  ids = withoutLocked(ids);
  if (ids.empty()) return RTNORM;
  std::string kind = "Rectangular";
  Answer a = askKeyword("Enter the type of array [Rectangular/Polar] <R>: ", "Rectangular Polar", kind);
  if (cancelled(a)) return RTCAN;
  return kind == "Polar" ? polar(ids) : rectangular(ids);
}

}  // namespace tarn::commands
