// Drawing commands a script needs: LINE, PLINE (lines and arcs by bulge),
// CIRCLE, ARC, POINT and TEXT. New objects go to model space on the
// current layer.
#include <cmath>
#include <numbers>

#include "command_support.h"
#include "host_command_list.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

constexpr double kDegree = 180.0 / std::numbers::pi;

Point3 minus(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double length2d(Point3 v) { return std::hypot(v.x, v.y); }
bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

uint32_t addLine(Point3 a, Point3 b) {
  return addEntity("LINE", "AcDbLine", {Tag::point(10, a), Tag::point(11, b)});
}

}  // namespace

int lineCommand() {
  Point3 first, last;
  Answer a = askPoint(nullptr, "Specify first point: ", first);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  last = first;
  std::vector<std::pair<uint32_t, Point3>> made;  // segment, its start
  for (;;) {
    bool closable = made.size() >= 2;
    Point3 next;
    a = askPoint(&last, closable ? "Specify next point or [Close/Undo]: " : "Specify next point or [Undo]: ", next, 0,
                 closable ? "Close Undo" : "Undo");
    if (cancelled(a)) return RTCAN;
    if (a.status == RTNONE) break;
    if (a.status == RTKWORD && a.keyword == "Undo") {
      if (made.empty()) { print("All segments already undone.\n"); continue; }
      drawing().setErased(made.back().first, true);
      last = made.back().second;
      made.pop_back();
      continue;
    }
    if (a.status == RTKWORD && a.keyword == "Close") {
      addLine(last, first);
      last = first;
      break;
    }
    made.emplace_back(addLine(last, next), last);
    last = next;
  }
  setPointVar("LASTPOINT", worldToUcs(last));
  return RTNORM;
}

namespace {

struct Vertex {
  Point3 p;
  double bulge = 0;
};

// The direction a polyline leaves its last vertex in.
Point3 endTangent(const std::vector<Vertex>& v) {
  if (v.size() < 2) return {1, 0, 0};
  Point3 c = minus(v.back().p, v[v.size() - 2].p);
  double theta = 2 * std::atan(v[v.size() - 2].bulge);  // half the included angle
  return {c.x * std::cos(theta) - c.y * std::sin(theta), c.x * std::sin(theta) + c.y * std::cos(theta), 0};
}

// The bulge of an arc that leaves `from` along `tangent` and ends at `to`.
double tangentBulge(Point3 from, Point3 tangent, Point3 to) {
  Point3 c = minus(to, from);
  double theta = std::atan2(tangent.x * c.y - tangent.y * c.x, tangent.x * c.x + tangent.y * c.y);
  return std::tan(theta / 2);
}

uint32_t addPolyline(const std::vector<Vertex>& v, bool closed, double width) {
  TagList body = {Tag::integer(90, int64_t(v.size())), Tag::integer(70, closed ? 1 : 0)};
  if (width != 0) body.push_back(Tag::real(43, width));
  for (const Vertex& x : v) {
    body.push_back(Tag::point(10, x.p, false));
    if (x.bulge != 0) body.push_back(Tag::real(42, x.bulge));
  }
  return addEntity("LWPOLYLINE", "AcDbPolyline", body);
}

struct PlineState {
  std::vector<Vertex> vertices;
  bool arcMode = false;
  bool closed = false;
  double width = 0;
  double includedAngle = 0;  // given by the Angle option for the next arc
};

// One answer in line mode; false when the polyline is finished.
bool lineStep(PlineState& s, const Answer& a, Point3 p) {
  if (a.status == RTNORM) s.vertices.push_back({p, 0});
  else if (a.keyword == "Arc") s.arcMode = true;
  else if (a.keyword == "Close") return !(s.closed = true);
  return true;
}

bool arcStep(PlineState& s, const Answer& a, Point3 p) {
  if (a.status == RTNORM) {
    Vertex& from = s.vertices.back();
    from.bulge = s.includedAngle != 0 ? std::tan(s.includedAngle / 4) : tangentBulge(from.p, endTangent(s.vertices), p);
    s.includedAngle = 0;
    s.vertices.push_back({p, 0});
  } else if (a.keyword == "Line") {
    s.arcMode = false;
  } else if (a.keyword == "CLose") {
    Vertex& from = s.vertices.back();
    from.bulge = tangentBulge(from.p, endTangent(s.vertices), s.vertices.front().p);
    return !(s.closed = true);
  } else if (a.keyword == "Angle") {
    double angle = 0;
    Answer b = askAngle(nullptr, "Specify included angle: ", angle);
    if (b.status == RTNORM) s.includedAngle = angle;
  }
  return true;
}

}  // namespace

int plineCommand() {
  PlineState s;
  Point3 start;
  Answer a = askPoint(nullptr, "Specify start point: ", start);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  s.vertices.push_back({start, 0});
  print("Current line-width is " + formatNumber(s.width) + "\n");
  for (bool going = true; going;) {
    Point3 p, last = s.vertices.back().p;
    a = s.arcMode ? askPoint(&last, "Specify endpoint of arc or [Angle/CLose/Line/Undo/Width]: ", p, 0,
                             "Angle CLose Line Undo Width")
                  : askPoint(&last, "Specify next point or [Arc/Close/Undo/Width]: ", p, 0, "Arc Close Undo Width");
    if (cancelled(a)) return RTCAN;
    if (a.status == RTNONE) break;
    if (a.keyword == "Undo") {
      if (s.vertices.size() > 1) s.vertices.pop_back();
      s.vertices.back().bulge = 0;
    } else if (a.keyword == "Width") {
      double w = s.width;
      Answer b = askDistance(&last, "Specify width <" + formatNumber(s.width) + ">: ", w, 4);
      if (b.status == RTNORM) s.width = w;
    } else {
      going = s.arcMode ? arcStep(s, a, p) : lineStep(s, a, p);
    }
  }
  if (s.vertices.size() >= 2) addPolyline(s.vertices, s.closed, s.width);
  return RTNORM;
}

int circleCommand() {
  Point3 centre;
  Answer a = askPoint(nullptr, "Specify center point for circle or [2P]: ", centre, 0, "2P");
  if (a.status != RTNORM && a.status != RTKWORD) return cancelled(a) ? RTCAN : RTNORM;
  double radius = realVar("CIRCLERAD", 0);
  if (a.status == RTKWORD) {
    Point3 p1, p2;
    if (askPoint(nullptr, "Specify first end point of circle's diameter: ", p1).status != RTNORM) return RTCAN;
    if (askPoint(&p1, "Specify second end point of circle's diameter: ", p2).status != RTNORM) return RTCAN;
    centre = {(p1.x + p2.x) / 2, (p1.y + p2.y) / 2, (p1.z + p2.z) / 2};
    radius = length2d(minus(p2, p1)) / 2;
  } else {
    std::string dflt = radius > 0 ? " <" + formatNumber(radius) + ">" : "";
    double r = 0;
    a = askDistance(&centre, "Specify radius of circle or [Diameter]" + dflt + ": ", r, radius > 0 ? 2 | 4 : 1 | 2 | 4);
    if (a.status == RTNORM) radius = r;
    else if (cancelled(a) || (a.status == RTNONE && radius <= 0)) return RTCAN;
  }
  if (radius <= 0) return RTCAN;
  addEntity("CIRCLE", "AcDbCircle", {Tag::point(10, centre), Tag::real(40, radius)});
  setRealVar("CIRCLERAD", radius);
  return RTNORM;
}

namespace {

// The centre of the circle through three points; false when they are in line.
bool circumcentre(Point3 a, Point3 b, Point3 c, Point3& centre) {
  double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  if (std::fabs(d) < 1e-12) return false;
  double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
  centre = {(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
            (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z};
  return true;
}

double angleOf(Point3 centre, Point3 p) { return std::atan2(p.y - centre.y, p.x - centre.x); }

void addArc(Point3 centre, double radius, double start, double end) {
  addEntity("ARC", "AcDbCircle",
            {Tag::point(10, centre), Tag::real(40, radius), Tag::str(100, "AcDbArc"), Tag::real(50, start * kDegree),
             Tag::real(51, end * kDegree)});
}

}  // namespace

int arcCommand() {
  Point3 start, second, end, centre;
  Answer a = askPoint(nullptr, "Specify start point of arc or [Center]: ", start, 0, "Center");
  if (cancelled(a) || a.status == RTNONE) return cancelled(a) ? RTCAN : RTNORM;
  if (a.status == RTKWORD) {  // centre, start, end (counter-clockwise)
    if (askPoint(nullptr, "Specify center point of arc: ", centre).status != RTNORM) return RTCAN;
    if (askPoint(&centre, "Specify start point of arc: ", start).status != RTNORM) return RTCAN;
    if (askPoint(&centre, "Specify end point of arc: ", end).status != RTNORM) return RTCAN;
    addArc(centre, length2d(minus(start, centre)), angleOf(centre, start), angleOf(centre, end));
    return RTNORM;
  }
  if (askPoint(&start, "Specify second point of arc: ", second).status != RTNORM) return RTCAN;
  if (askPoint(&second, "Specify end point of arc: ", end).status != RTNORM) return RTCAN;
  if (!circumcentre(start, second, end, centre)) {
    print("Points are collinear: no arc.\n");
    return RTERROR;
  }
  double cross = (second.x - start.x) * (end.y - start.y) - (second.y - start.y) * (end.x - start.x);
  double s = angleOf(centre, start), e = angleOf(centre, end);
  if (cross < 0) std::swap(s, e);  // clockwise through the second point
  addArc(centre, length2d(minus(start, centre)), s, e);
  return RTNORM;
}

int pointCommand() {
  print("Current point modes:  PDMODE=" + std::to_string(intVar("PDMODE")) + "  PDSIZE=" +
        formatNumber(realVar("PDSIZE")) + "\n");
  Point3 p;
  Answer a = askPoint(nullptr, "Specify a point: ", p);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  addEntity("POINT", "AcDbPoint", {Tag::point(10, p)});
  return RTNORM;
}

int textCommand() {
  std::string style = textVar("TEXTSTYLE");
  double height = realVar("TEXTSIZE", 2.5);
  print("Current text style:  \"" + style + "\"  Text height:  " + formatNumber(height) + "\n");
  Point3 at;
  Answer a = askPoint(nullptr, "Specify start point of text: ", at);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  double h = height, rotation = 0;
  a = askDistance(&at, "Specify height <" + formatNumber(height) + ">: ", h, 2 | 4);
  if (cancelled(a)) return RTCAN;
  if (a.status == RTNORM) height = h;
  a = askAngle(&at, "Specify rotation angle of text <0>: ", rotation);
  if (cancelled(a)) return RTCAN;
  std::string text;
  a = askString("Enter text: ", text, true);
  if (cancelled(a)) return RTCAN;
  if (text.empty()) return RTNORM;
  TagList body = {Tag::point(10, at), Tag::real(40, height), Tag::str(1, text)};
  if (rotation != 0) body.push_back(Tag::real(50, rotation * kDegree));
  body.push_back(Tag::str(7, style.empty() ? "Standard" : style));
  body.push_back(Tag::str(100, "AcDbText"));
  addEntity("TEXT", "AcDbText", body);
  setRealVar("TEXTSIZE", height);
  return RTNORM;
}

}  // namespace tarn::commands
