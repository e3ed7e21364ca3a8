// FILLET: two objects picked at the parts to keep. Radius 0 brings two
// lines (or arcs) to their corner; a positive radius joins two lines by a
// tangent arc. TRIMMODE 1 trims or extends the objects to the corner or the
// arc, 0 leaves them as they are. The radius is FILLETRAD.
#include "entgeom/entity_curve.h"
#include "geom/trim.h"
#include "geometry_edit_support.h"

namespace tarn::commands {
namespace {

struct FilletSession {
  bool multiple = false;
  StepLog log;
};

void printSettings() {
  print(std::string("Current settings: Mode = ") + (intVar("TRIMMODE", 1) ? "TRIM" : "NOTRIM") +
        ", Radius = " + formatNumber(realVar("FILLETRAD")) + "\n");
}

void askRadius() {
  double r = realVar("FILLETRAD");
  Answer a = askDistance(nullptr, "Specify fillet radius <" + formatNumber(r) + ">: ", r, 4);
  if (a.status == RTNORM) setRealVar("FILLETRAD", r);
}

void askTrimMode() {
  std::string answer;
  Answer a = askKeyword(std::string("Enter Trim mode option [Trim/No trim] <") +
                            (intVar("TRIMMODE", 1) ? "Trim" : "No trim") + ">: ",
                        "Trim Notrim", answer);
  if (a.status == RTNORM) setIntVar("TRIMMODE", answer == "Trim" ? 1 : 0);
}

// A pick's point, or a point of the curve for a pick by name alone.
geom::Vec3 pickPoint(const ObjectPick& p, const geom::Curve& c) {
  if (p.hasPoint) return toVec(p.world);
  return c.pointAt(0.5 * (c.startParam() + c.endParam()));
}

void reportFailure(geom::GeomStatus st) {
  if (st == geom::GeomStatus::Parallel) print("The objects are parallel: no fillet.\n");
  else if (st == geom::GeomStatus::Unsupported) print("Only lines (and arcs at radius 0) can be filleted.\n");
  else print(std::string("Cannot fillet these objects (") + geom::statusName(st) + ").\n");
}

// The fillet arc goes on the objects' layer when they share one, else on
// the current layer, with the first object's other properties.
void addArc(uint32_t first, uint32_t second, const geom::Curve& arc, StepLog& log) {
  uint32_t id = addCurveLike(first, arc, &log);
  std::string_view a = db::findString(drawing(), first, 8), b = db::findString(drawing(), second, 8);
  if (id == db::kNoObject || db::equalsNoCase(a, b)) return;
  db::TagList tags = drawing().tagList(id);
  for (db::Tag& t : tags)
    if (t.code == 8) t.s = textVar("CLAYER");
  drawing().replaceTags(id, tags);
}

void filletPair(FilletSession& s, const ObjectPick& p1, const ObjectPick& p2) {
  if (p1.id == p2.id) {
    print("Cannot fillet an object with itself.\n");
    return;
  }
  geom::CurvePtr a = editableCurve(p1.id, "fillet"), b = a ? editableCurve(p2.id, "fillet") : nullptr;
  if (!a || !b) return;
  geom::FilletResult r = geom::fillet(*a, pickPoint(p1, *a), *b, pickPoint(p2, *b), realVar("FILLETRAD"));
  if (r.status != geom::GeomStatus::Ok) return reportFailure(r.status);
  s.log.begin();
  if (intVar("TRIMMODE", 1) == 1) {
    replaceCurve(p1.id, *r.first, &s.log);
    replaceCurve(p2.id, *r.second, &s.log);
  }
  if (r.arc) addArc(p1.id, p2.id, *r.arc, s.log);
  s.log.end();
}

enum class Next { Go, Stop, Cancel };

// The first prompt's options; Go to ask again.
Next option(FilletSession& s, const std::string& keyword) {
  if (keyword == "Radius") askRadius();
  else if (keyword == "Trim") askTrimMode();
  else if (keyword == "Multiple") s.multiple = true;
  else if (keyword == "Polyline") print("Select single lines or arcs: a whole polyline is not filleted here.\n");
  else if (keyword == "Undo" && !s.log.undoLast()) print("Nothing to undo.\n");
  return Next::Go;
}

Next secondPick(FilletSession& s, const ObjectPick& first) {
  for (;;) {
    ObjectPick second = pickObject("Select second object or [Radius]: ", "Radius");
    if (second.status == RTCAN) return Next::Cancel;
    if (second.status == RTNONE) return Next::Stop;
    if (second.status == RTKWORD) {
      askRadius();
      continue;
    }
    filletPair(s, first, second);
    return s.multiple ? Next::Go : Next::Stop;
  }
}

}  // namespace

int filletCommand() {
  printSettings();
  FilletSession s;
  for (;;) {
    ObjectPick first = pickObject("Select first object or [Undo/Polyline/Radius/Trim/Multiple]: ",
                                  "Undo Polyline Radius Trim Multiple");
    if (first.status == RTCAN) return RTCAN;
    if (first.status == RTNONE) return RTNORM;
    Next n = first.status == RTKWORD ? option(s, first.keyword) : secondPick(s, first);
    if (n == Next::Cancel) return RTCAN;
    if (n == Next::Stop) return RTNORM;
  }
}

}  // namespace tarn::commands
