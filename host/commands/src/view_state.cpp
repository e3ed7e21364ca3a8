// The view and UCS state: reading and writing their variables, and the
// per-drawing histories behind ZOOM Previous and UCS Previous.
#include "view_state.h"

#include <algorithm>
#include <deque>
#include <map>

#include "geom/tolerance.h"

namespace tarn::commands {
namespace {

// Ten earlier views and UCSs are kept per drawing, as desktop hosts keep.
constexpr size_t kHistoryDepth = 10;

// Histories by the database's serial number: never reused, so a closed
// drawing's history cannot leak into a new one that happens to share an
// address.
template <class T>
std::deque<T>& historyOf(std::map<uint32_t, std::deque<T>>& all) {
  return all[drawing().serial()];
}

std::map<uint32_t, std::deque<ViewState>>& viewHistories() {
  static std::map<uint32_t, std::deque<ViewState>> h;
  return h;
}

std::map<uint32_t, std::deque<NamedUcs>>& ucsHistories() {
  static std::map<uint32_t, std::deque<NamedUcs>> h;
  return h;
}

template <class T>
void push(std::deque<T>& h, const T& v) {
  h.push_back(v);
  if (h.size() > kHistoryDepth) h.pop_front();
}

template <class T>
std::optional<T> pop(std::deque<T>& h) {
  if (h.empty()) return std::nullopt;
  T v = h.back();
  h.pop_back();
  return v;
}

// The view variables in terms of a UCS.
void writeView(const ViewState& v, const geom::Ucs& ucs) {
  setPointVar("VIEWCTR", toPoint(ucs.fromWorld().transformPoint(v.centre)));
  setRealVar("VIEWSIZE", v.height);
  setPointVar("VIEWDIR", toPoint(ucs.fromWorld().transformVector(v.direction)));
}

}  // namespace

ViewState currentView() {
  geom::Ucs ucs = currentUcs();
  ViewState v;
  v.centre = ucs.toWorld().transformPoint(toVec(pointVar("VIEWCTR", {210, 148.5, 0})));
  v.height = realVar("VIEWSIZE", 297);
  geom::Vec3 dir = ucs.toWorld().transformVector(toVec(pointVar("VIEWDIR", {0, 0, 1})));
  v.direction = dir.length() > geom::kZeroLength ? dir.normalized() : geom::kZAxis;
  return v;
}

void setView(const ViewState& view, bool remember) {
  if (remember) push(historyOf(viewHistories()), currentView());
  writeView(view, currentUcs());
}

std::optional<ViewState> takePreviousView() { return pop(historyOf(viewHistories())); }

double screenAspect() {
  Point3 s = pointVar("SCREENSIZE", {1024, 768, 0});
  return s.x > 0 && s.y > 0 ? s.x / s.y : 4.0 / 3.0;
}

geom::ViewSpec displayOf(const ViewState& view) {
  geom::ViewSpec display;
  display.direction = view.direction;
  return display;
}

ViewState viewOfBox(const geom::BoundingBox& box, const geom::Vec3& direction) {
  ViewState v = currentView();
  v.direction = direction;
  geom::Matrix4 toDisplay = displayOf(v).fromWorld();
  geom::BoundingBox shown;
  for (int i = 0; i < 8; ++i)
    shown.add(toDisplay.transformPoint({i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y,
                                        i & 4 ? box.max.z : box.min.z}));
  geom::Vec3 size = shown.size();
  double height = std::max(size.y, size.x / screenAspect());
  if (height > geom::kZeroLength) v.height = height;
  geom::Vec3 c = shown.center();
  v.centre = displayOf(v).toWorld().transformPoint({c.x, c.y, 0});
  return v;
}

NamedUcs currentNamedUcs() { return {currentUcs(), textVar("UCSNAME")}; }

bool isWorldUcs(const geom::Ucs& ucs) {
  return geom::pointsEqual(ucs.origin, {}) && geom::pointsEqual(ucs.xAxis.normalized(), geom::kXAxis) &&
         geom::pointsEqual(ucs.yAxis.normalized(), geom::kYAxis);
}

void makeUcsCurrent(const NamedUcs& next, bool remember) {
  ViewState view = currentView();
  if (remember) push(historyOf(ucsHistories()), currentNamedUcs());
  geom::Vec3 x = next.ucs.xAxis.normalized();
  geom::Vec3 y = next.ucs.zAxis().cross(x).normalized();  // square to X
  setPointVar("UCSORG", toPoint(next.ucs.origin));
  setPointVar("UCSXDIR", toPoint(x));
  setPointVar("UCSYDIR", toPoint(y));
  setTextVar("UCSNAME", next.name);
  setIntVar("WORLDUCS", isWorldUcs(next.ucs) ? 1 : 0);
  writeView(view, currentUcs());
}

std::optional<NamedUcs> takePreviousUcs() { return pop(historyOf(ucsHistories())); }

std::optional<NamedUcs> savedUcs(std::string_view name) {
  const db::Database& d = drawing();
  uint32_t id = d.findRecord("UCS", name);
  if (id == db::kNoObject) return std::nullopt;
  NamedUcs out;
  out.name = db::findString(d, id, 2);
  auto origin = db::findTag(d, id, 10), x = db::findTag(d, id, 11), y = db::findTag(d, id, 12);
  if (origin) out.ucs.origin = toVec(origin->p);
  if (x) out.ucs.xAxis = toVec(x->p);
  if (y) out.ucs.yAxis = toVec(y->p);
  if (out.ucs.zAxis().length() < geom::kZeroLength) out.ucs = geom::Ucs{};
  return out;
}

}  // namespace tarn::commands
