// ZOOM and PLAN: the headless view. ZOOM shows the drawing's extents, all of
// it with its limits, the selected objects, a window, a centre and height,
// a scale of the current view, or the previous view; PLAN looks straight
// down the Z axis of the current UCS, a named UCS or the world, and shows
// the extents.
#include <tarnsdk/tcedinput.h>

#include "editor/reply_values.h"
#include "entgeom/extents.h"
#include "view_commands.h"
#include "view_state.h"

namespace tarn::commands {
namespace {

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

// The world box of model-space objects (all live ones when `ids` is null).
geom::BoundingBox extentsOf(const std::vector<uint32_t>* ids) {
  const db::Database& d = drawing();
  entgeom::ExtentsCalculator calc(d);
  geom::BoundingBox box;
  auto add = [&](uint32_t id) {
    if (d.isErased(id) || (d.object(id).flags & db::kSubEntity)) return;
    entgeom::Extents e = calc.extentsOf(id);
    if (e.ok() && e.box.isBounded()) box.add(e.box);
  };
  if (ids) {
    for (uint32_t id : *ids) add(id);
  } else if (uint32_t model = d.modelSpace(); model != db::kNoObject) {
    for (uint32_t id : d.blocks()[model].entities) add(id);
  }
  return box;
}

geom::BoundingBox limitsBox() {
  geom::BoundingBox box;
  box.add(toVec(pointVar("LIMMIN", {0, 0, 0})));
  box.add(toVec(pointVar("LIMMAX", {420, 297, 0})));
  return box;
}

// Shows a world box; an empty one (nothing drawn) shows the limits.
void showBox(const geom::BoundingBox& box) {
  setView(viewOfBox(box.isEmpty() ? limitsBox() : box, currentView().direction));
}

int zoomObjects() {
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  if (ids.empty()) return status == RTCAN ? RTCAN : RTNORM;
  geom::BoundingBox box = extentsOf(&ids);
  if (box.isEmpty()) return RTNORM;
  showBox(box);
  return RTNORM;
}

int zoomPrevious() {
  auto previous = takePreviousView();
  if (!previous) {
    print("No previous view saved.\n");
    return RTERROR;
  }
  setView(*previous, false);
  return RTNORM;
}

int zoomWindow(const Point3* first) {
  Point3 a, b;
  if (first) a = *first;
  else if (askPoint(nullptr, "Specify first corner: ", a).status != RTNORM) return RTCAN;
  tc_point base, out;
  Point3 ua = worldToUcs(a);
  base[0] = ua.x, base[1] = ua.y, base[2] = ua.z;
  tcedInitGet(0, nullptr);
  if (tcedGetCorner(base, "Specify opposite corner: ", out) != RTNORM) return RTCAN;
  b = ucsToWorld({out[0], out[1], out[2]});
  geom::BoundingBox box;
  box.add(toVec(a));
  box.add(toVec(b));
  showBox(box);
  return RTNORM;
}

// "2x" (of the current view), "2xp" (read as "2x": there is no paper space
// viewport here) or "2" (of the limits); the height it gives, or 0.
double scaledHeight(std::string text) {
  bool relative = false;
  while (!text.empty() && (text.back() == 'p' || text.back() == 'P' || text.back() == 'x' || text.back() == 'X')) {
    relative = true;
    text.pop_back();
  }
  auto factor = editor::parseReal(text);
  if (!factor || *factor <= 0) return 0;
  double base = relative ? currentView().height : limitsBox().size().y;
  return base / *factor;
}

int zoomCentre() {
  Point3 centre;
  Answer a = askPoint(nullptr, "Specify center point: ", centre);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  ViewState v = currentView();
  for (;;) {
    std::string text;
    a = askString("Enter magnification or height <" + formatNumber(v.height) + ">: ", text);
    if (cancelled(a)) return RTCAN;
    if (a.status == RTNONE) break;
    auto height = editor::parseReal(text);
    double h = height ? *height : scaledHeight(text);
    if (h > 0) {
      v.height = h;
      break;
    }
    print("Requires a distance, numberX, or option keyword.\n");
  }
  v.centre = toVec(centre);
  setView(v);
  return RTNORM;
}

int zoomScaled(const std::string& text) {
  double h = scaledHeight(text);
  if (h <= 0) {
    print("Requires a point, numberX, or option keyword.\n");
    return RTERROR;
  }
  ViewState v = currentView();
  v.height = h;
  setView(v);
  return RTNORM;
}

int zoomOption(const std::string& k) {
  if (k == "Extents") return zoomToExtents();
  if (k == "All") {
    geom::BoundingBox box = extentsOf(nullptr);
    box.add(limitsBox());
    showBox(box);
    return RTNORM;
  }
  if (k == "Center") return zoomCentre();
  if (k == "Previous") return zoomPrevious();
  if (k == "Object") return zoomObjects();
  if (k == "Window") return zoomWindow(nullptr);
  return zoomScaled(k);  // arbitrary input: a scale factor
}

}  // namespace

int zoomToExtents() {
  showBox(extentsOf(nullptr));
  return RTNORM;
}

int zoomCommand() {
  Point3 corner;
  Answer a = askPoint(nullptr,
                      "Specify corner of window, enter a scale factor (nX or nXP), or\n"
                      "[All/Center/Extents/Previous/Object/Window] <real time>: ",
                      corner, 128, "All Center Extents Previous Object Window");
  if (cancelled(a)) return RTCAN;
  if (a.status == RTNONE) return RTNORM;  // no real-time zoom without a screen
  if (a.status == RTKWORD) return zoomOption(a.keyword);
  return zoomWindow(&corner);
}

int planCommand() {
  std::string option;
  Answer a = askKeyword("Enter an option [Current ucs/Ucs/World] <Current>: ", "Current Ucs World", option);
  if (cancelled(a)) return RTCAN;
  geom::Vec3 direction = ucsNormal();
  if (option == "World") {
    direction = geom::kZAxis;
  } else if (option == "Ucs") {
    std::string name;
    for (;;) {
      a = askString("Enter name of UCS or [?]: ", name);
      if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
      if (name != "?") break;
      listUcs("*");
    }
    auto saved = savedUcs(name);
    if (!saved) {
      print("Cannot find UCS " + name + ".\n");
      return RTERROR;
    }
    direction = saved->ucs.zAxis();
  }
  geom::BoundingBox box = extentsOf(nullptr);
  setView(viewOfBox(box.isEmpty() ? limitsBox() : box, direction));
  print("Regenerating model.\n");
  return RTNORM;
}

}  // namespace tarn::commands
