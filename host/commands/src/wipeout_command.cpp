// WIPEOUT: a masking area from points (or a closed polyline of straight
// segments) in the plane of the current UCS, written the way the DXF format
// defines a WIPEOUT: an image entity without an image definition, whose clip
// boundary is given in the image's pixel coordinates. The frames setting
// lives in the WIPEOUTVARIABLES object of the named-object dictionary.
#include <algorithm>
#include <cmath>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "block_commands.h"
#include "block_support.h"
#include "command_support.h"
#include "wipeout_support.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

bool samePoint(Point3 a, Point3 b) { return std::hypot(a.x - b.x, a.y - b.y) <= 1e-10 * (1 + std::fabs(a.x) + std::fabs(a.y)); }

// "Frames": ON or OFF for every wipeout of the drawing.
int askFrames() {
  bool on = wipeout::framesShown(drawing());
  std::string answer;
  Answer a = askKeyword(std::string("Enter mode [ON/OFF] <") + (on ? "ON" : "OFF") + ">: ", "ON OFF", answer);
  if (cancelled(a.status)) return RTCAN;
  if (a.status == RTNORM) on = answer == "ON";
  wipeout::setFramesShown(drawing(), on);
  return RTNORM;
}

// The points of the boundary in the UCS, until Enter or the first point again.
int askBoundary(Point3 first, std::vector<Point3>& ucs) {
  ucs.push_back(worldToUcs(first));
  Point3 last = first;
  for (;;) {
    Point3 p;
    Answer a = askPoint(&last, ucs.size() < 3 ? "Specify next point or [Undo]: " : "Specify next point or [Undo] <close>: ",
                        p, 0, "Undo");
    if (cancelled(a.status)) return RTCAN;
    if (a.status == RTNONE) return RTNORM;
    if (a.status == RTKWORD) {
      if (ucs.size() > 1) ucs.pop_back();
      last = ucsToWorld(ucs.back());
      continue;
    }
    Point3 q = worldToUcs(p);
    if (samePoint(q, ucs.front()) && ucs.size() >= 3) return RTNORM;
    if (samePoint(q, ucs.back())) continue;  // the same point twice adds nothing
    ucs.push_back(q);
    last = p;
  }
}

// A closed LWPOLYLINE without arcs, as UCS points.
int boundaryFromPolyline(std::vector<Point3>& ucs, uint32_t& polyline) {
  tc_name e;
  tc_point picked;
  for (;;) {
    int rc = tcedEntSel("Select a closed polyline: ", e, picked);
    if (rc == RTCAN) return RTCAN;
    if (rc == RTNONE) return RTNONE;
    if (rc != RTNORM) return RTERROR;
    db::Database* d = nullptr;
    if (!host::resolveName(e, d, polyline) || d != &drawing()) continue;
    if (wipeout::polylineBoundary(*d, polyline, ucs)) return RTNORM;
    print("A wipeout takes a closed polyline of straight segments.\n");
  }
}

int polylineOption() {
  std::vector<Point3> ucs;
  uint32_t polyline = db::kNoObject;
  int rc = boundaryFromPolyline(ucs, polyline);
  if (rc != RTNORM) return rc == RTNONE ? RTNORM : rc;
  std::string erase = "No";
  Answer a = askKeyword("Erase polyline? [Yes/No] <No>: ", "Yes No", erase);
  if (cancelled(a.status)) return RTCAN;
  if (!wipeout::addWipeout(drawing(), ucs)) {
    print("The polyline encloses no area: no wipeout made.\n");
    return RTERROR;
  }
  if (erase == "Yes") drawing().setErased(polyline, true);
  return RTNORM;
}

}  // namespace

int wipeoutCommand() {
  Point3 first;
  Answer a = askPoint(nullptr, "Specify first point or [Frames/Polyline] <Polyline>: ", first, 0, "Frames Polyline");
  if (cancelled(a.status)) return RTCAN;
  if (a.status == RTKWORD && a.keyword == "Frames") return askFrames();
  if (a.status != RTNORM) return polylineOption();
  std::vector<Point3> ucs;
  if (askBoundary(first, ucs) != RTNORM) return RTCAN;
  if (ucs.size() < 3 || !wipeout::addWipeout(drawing(), ucs)) {
    print("A wipeout needs at least three points that enclose an area: none made.\n");
    return RTERROR;
  }
  return RTNORM;
}

}  // namespace tarn::commands
