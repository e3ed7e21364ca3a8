// Drawing commands a script needs: LINE, PLINE (lines and arcs by bulge),
// CIRCLE (centre, 3P, 2P, Ttr), ARC, POINT and TEXT. New objects go to model
// space on the current layer, in the plane of the current UCS: the geometry
// is worked out in UCS coordinates, and objects drawn in a tilted UCS get
// its Z axis as their extrusion.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
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

// An angle in degrees in [0, 360); values a rounding away from 360 are 0.
double degrees(double radians) {
  double d = std::fmod(radians * kDegree, 360.0);
  if (d < 0) d += 360.0;
  return d >= 360.0 - 1e-9 ? 0.0 : d;
}

uint32_t addLine(Point3 a, Point3 b) {
  TagList body = {Tag::point(10, a), Tag::point(11, b)};
  appendExtrusion(body);
  return addEntity("LINE", "AcDbLine", body);
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

// Vertices in UCS coordinates; written in the object system of the UCS's Z
// axis, at the elevation of the first vertex.
uint32_t addPolyline(const std::vector<Vertex>& v, bool closed, double width) {
  TagList body = {Tag::integer(90, int64_t(v.size())), Tag::integer(70, closed ? 1 : 0)};
  if (width != 0) body.push_back(Tag::real(43, width));
  double elevation = ucsToOcs(v.front().p).z;
  if (elevation != 0) body.push_back(Tag::real(38, elevation));
  for (const Vertex& x : v) {
    body.push_back(Tag::point(10, ucsToOcs(x.p), false));
    if (x.bulge != 0) body.push_back(Tag::real(42, x.bulge));
  }
  appendExtrusion(body);
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
  s.vertices.push_back({worldToUcs(start), 0});
  print("Current line-width is " + formatNumber(s.width) + "\n");
  for (bool going = true; going;) {
    Point3 p, last = ucsToWorld(s.vertices.back().p);
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
      if (a.status == RTNORM) p = worldToUcs(p);
      going = s.arcMode ? arcStep(s, a, p) : lineStep(s, a, p);
    }
  }
  if (s.vertices.size() >= 2) addPolyline(s.vertices, s.closed, s.width);
  return RTNORM;
}

namespace {

// Distances and angles of the UCS plane: the geometry of planar objects is
// worked out in UCS coordinates and turned into their object system when
// written.
double angleOf(Point3 centre, Point3 p) { return std::atan2(p.y - centre.y, p.x - centre.x); }

// The centre of the circle through three points; false when they are in line.
bool circumcentre(Point3 a, Point3 b, Point3 c, Point3& centre) {
  double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  double scale = std::max({length2d(minus(b, a)), length2d(minus(c, a)), 1e-300});
  if (std::fabs(d) < 1e-12 * scale * scale) return false;
  double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
  centre = {(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
            (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z};
  return true;
}

uint32_t addCircle(Point3 ucsCentre, double radius) {
  TagList body = {Tag::point(10, ucsToOcs(ucsCentre)), Tag::real(40, radius)};
  appendExtrusion(body);
  uint32_t id = addEntity("CIRCLE", "AcDbCircle", body);
  setRealVar("CIRCLERAD", radius);
  return id;
}


void addArc(Point3 ucsCentre, double radius, double start, double end) {
  TagList body = {Tag::point(10, ucsToOcs(ucsCentre)), Tag::real(40, radius)};
  appendExtrusion(body);
  body.insert(body.end(), {Tag::str(100, "AcDbArc"), Tag::real(50, degrees(ucsAngleToOcs(start))),
                           Tag::real(51, degrees(ucsAngleToOcs(end)))});
  addEntity("ARC", "AcDbCircle", body);
}

// ---- CIRCLE by tangents: each picked object is a line or a circle of the
// UCS plane; the centres at distance r from both lie on their offsets.
struct Tangible {
  bool isLine = false;
  Point3 a, b;        // line: two points (UCS)
  Point3 centre;      // circle or arc (UCS)
  double radius = 0;
  Point3 pick;        // where it was picked (UCS)
};

struct OffsetCurve {  // a line (through a along unit d) or a circle
  bool isLine;
  Point3 a, d;
  Point3 c;
  double r;
};

std::vector<OffsetCurve> offsetsOf(const Tangible& t, double r) {
  if (t.isLine) {
    Point3 d = minus(t.b, t.a);
    double len = length2d(d);
    d = {d.x / len, d.y / len, 0};
    Point3 n{-d.y, d.x, 0};
    return {{true, {t.a.x + n.x * r, t.a.y + n.y * r, 0}, d, {}, 0},
            {true, {t.a.x - n.x * r, t.a.y - n.y * r, 0}, d, {}, 0}};
  }
  std::vector<OffsetCurve> out{{false, {}, {}, t.centre, t.radius + r}};
  if (std::fabs(t.radius - r) > 1e-12) out.push_back({false, {}, {}, t.centre, std::fabs(t.radius - r)});
  return out;
}

void lineCircle(Point3 a, Point3 d, Point3 c, double r, std::vector<Point3>& out) {
  Point3 f = minus(a, c);
  double b = f.x * d.x + f.y * d.y, q = f.x * f.x + f.y * f.y - r * r;
  double disc = b * b - q;
  if (disc < -1e-12 * std::max(1.0, r * r)) return;
  double s = std::sqrt(std::max(disc, 0.0));
  for (double t : {-b - s, -b + s}) out.push_back({a.x + d.x * t, a.y + d.y * t, 0});
}

void intersect(const OffsetCurve& u, const OffsetCurve& v, std::vector<Point3>& out) {
  if (u.isLine && v.isLine) {
    double den = u.d.x * v.d.y - u.d.y * v.d.x;
    if (std::fabs(den) < 1e-12) return;
    Point3 w = minus(v.a, u.a);
    double t = (w.x * v.d.y - w.y * v.d.x) / den;
    out.push_back({u.a.x + u.d.x * t, u.a.y + u.d.y * t, 0});
  } else if (u.isLine || v.isLine) {
    const OffsetCurve& l = u.isLine ? u : v;
    const OffsetCurve& c = u.isLine ? v : u;
    lineCircle(l.a, l.d, c.c, c.r, out);
  } else {
    Point3 d = minus(v.c, u.c);
    double dist = length2d(d);
    if (dist < 1e-12 || dist > u.r + v.r + 1e-9 || dist < std::fabs(u.r - v.r) - 1e-9) return;
    double along = (dist * dist + u.r * u.r - v.r * v.r) / (2 * dist);
    double h = std::sqrt(std::max(u.r * u.r - along * along, 0.0));
    Point3 m{u.c.x + d.x * along / dist, u.c.y + d.y * along / dist, 0};
    out.push_back({m.x - d.y * h / dist, m.y + d.x * h / dist, 0});
    out.push_back({m.x + d.y * h / dist, m.y - d.x * h / dist, 0});
  }
}

Point3 touchPoint(const Tangible& t, Point3 centre) {
  if (t.isLine) {
    Point3 d = minus(t.b, t.a);
    double k = ((centre.x - t.a.x) * d.x + (centre.y - t.a.y) * d.y) / (d.x * d.x + d.y * d.y);
    return {t.a.x + d.x * k, t.a.y + d.y * k, 0};
  }
  Point3 v = minus(centre, t.centre);
  double len = length2d(v);
  if (len < 1e-12) return t.centre;
  return {t.centre.x + v.x * t.radius / len, t.centre.y + v.y * t.radius / len, 0};
}

// The tangent circle whose points of contact lie nearest the picks.
bool tangentCentre(const Tangible& t1, const Tangible& t2, double r, Point3& centre) {
  std::vector<Point3> candidates;
  for (const OffsetCurve& u : offsetsOf(t1, r))
    for (const OffsetCurve& v : offsetsOf(t2, r)) intersect(u, v, candidates);
  double best = HUGE_VAL;
  for (Point3 c : candidates) {
    double score = length2d(minus(touchPoint(t1, c), t1.pick)) + length2d(minus(touchPoint(t2, c), t2.pick));
    if (score < best) best = score, centre = c;
  }
  return best < HUGE_VAL;
}

Point3 worldPointInUcs(const db::Database& d, uint32_t id, int code, bool ocs) {
  auto t = db::findTag(d, id, code);
  Point3 p = t ? t->p : Point3{};
  if (ocs) {
    auto n = db::findTag(d, id, 210);
    p = toPoint(geom::ocsToWorld(n ? toVec(n->p) : geom::kZAxis).transformPoint(toVec(p)));
  }
  return worldToUcs(p);
}

// A line, circle or arc picked for a tangent; false (with a message) otherwise.
bool pickTangible(const std::string& prompt, Tangible& out) {
  for (;;) {
    tc_name e;
    tc_point at;
    int rc = tcedEntSel(prompt.c_str(), e, at);
    if (rc == RTERROR && intVar("ERRNO") == 7) {  // nothing under the pick: ask again
      print("No object found there.\n");
      continue;
    }
    if (rc != RTNORM) return false;
    db::Database* d = nullptr;
    uint32_t id = 0;
    if (!host::resolveName(e, d, id) || d != &drawing()) return false;
    out.pick = {at[0], at[1], 0};
    std::string_view type = d->typeOf(id);
    if (type == "LINE") {
      out.isLine = true;
      out.a = worldPointInUcs(*d, id, 10, false);
      out.b = worldPointInUcs(*d, id, 11, false);
      if (length2d(minus(out.b, out.a)) > 1e-12) return true;
    } else if (type == "CIRCLE" || type == "ARC") {
      out.centre = worldPointInUcs(*d, id, 10, true);
      auto r = db::findTag(*d, id, 40);
      out.radius = r ? r->asReal() : 0;
      if (out.radius > 0) return true;
    }
    print("Tangents can be drawn to lines, circles and arcs only.\n");
  }
}

int circleByTangents() {
  Tangible t1, t2;
  if (!pickTangible("Specify point on object for first tangent of circle: ", t1)) return RTCAN;
  if (!pickTangible("Specify point on object for second tangent of circle: ", t2)) return RTCAN;
  double radius = realVar("CIRCLERAD", 0), r = 0;
  std::string dflt = radius > 0 ? " <" + formatNumber(radius) + ">" : "";
  Answer a = askDistance(nullptr, "Specify radius of circle" + dflt + ": ", r, radius > 0 ? 2 | 4 : 1 | 2 | 4);
  if (a.status == RTNORM) radius = r;
  else if (cancelled(a) || radius <= 0) return RTCAN;
  Point3 centre;
  if (!tangentCentre(t1, t2, radius, centre)) {
    print("Circle does not exist.\n");
    return RTERROR;
  }
  centre.z = t1.isLine ? t1.a.z : t1.centre.z;
  addCircle(centre, radius);
  return RTNORM;
}

Answer askUcsPoint(const Point3* ucsBase, const std::string& prompt, Point3& ucs, int bits = 0,
                   const char* keywords = nullptr) {
  Point3 world, base = ucsBase ? ucsToWorld(*ucsBase) : Point3{};
  Answer a = askPoint(ucsBase ? &base : nullptr, prompt, world, bits, keywords);
  if (a.status == RTNORM) ucs = worldToUcs(world);
  return a;
}

int circleByThreePoints() {
  Point3 p1, p2, p3, centre;
  if (askUcsPoint(nullptr, "Specify first point on circle: ", p1).status != RTNORM) return RTCAN;
  if (askUcsPoint(&p1, "Specify second point on circle: ", p2).status != RTNORM) return RTCAN;
  if (askUcsPoint(&p2, "Specify third point on circle: ", p3).status != RTNORM) return RTCAN;
  if (!circumcentre(p1, p2, p3, centre)) {
    print("Points are collinear: no circle.\n");
    return RTERROR;
  }
  addCircle(centre, length2d(minus(p1, centre)));
  return RTNORM;
}

int circleByDiameterEnds() {
  Point3 p1, p2;
  if (askUcsPoint(nullptr, "Specify first end point of circle's diameter: ", p1).status != RTNORM) return RTCAN;
  if (askUcsPoint(&p1, "Specify second end point of circle's diameter: ", p2).status != RTNORM) return RTCAN;
  double radius = length2d(minus(p2, p1)) / 2;
  if (radius <= 0) return RTCAN;
  addCircle({(p1.x + p2.x) / 2, (p1.y + p2.y) / 2, (p1.z + p2.z) / 2}, radius);
  return RTNORM;
}

}  // namespace

int circleCommand() {
  Point3 centre;
  Answer a = askUcsPoint(nullptr, "Specify center point for circle or [3P/2P/Ttr (tan tan radius)]: ", centre, 0,
                         "3P 2P Ttr");
  if (a.status != RTNORM && a.status != RTKWORD) return cancelled(a) ? RTCAN : RTNORM;
  if (a.status == RTKWORD) {
    if (a.keyword == "3P") return circleByThreePoints();
    if (a.keyword == "Ttr") return circleByTangents();
    return circleByDiameterEnds();
  }
  double radius = realVar("CIRCLERAD", 0);
  std::string dflt = radius > 0 ? " <" + formatNumber(radius) + ">" : "";
  double r = 0;
  Point3 base = ucsToWorld(centre);
  a = askDistance(&base, "Specify radius of circle or [Diameter]" + dflt + ": ", r, radius > 0 ? 2 | 4 : 1 | 2 | 4);
  if (a.status == RTNORM) radius = r;
  else if (cancelled(a) || (a.status == RTNONE && radius <= 0)) return RTCAN;
  if (radius <= 0) return RTCAN;
  addCircle(centre, radius);
  return RTNORM;
}

int arcCommand() {
  Point3 start, second, end, centre;
  Answer a = askUcsPoint(nullptr, "Specify start point of arc or [Center]: ", start, 0, "Center");
  if (cancelled(a) || a.status == RTNONE) return cancelled(a) ? RTCAN : RTNORM;
  if (a.status == RTKWORD) {  // centre, start, end (counter-clockwise)
    if (askUcsPoint(nullptr, "Specify center point of arc: ", centre).status != RTNORM) return RTCAN;
    if (askUcsPoint(&centre, "Specify start point of arc: ", start).status != RTNORM) return RTCAN;
    if (askUcsPoint(&centre, "Specify end point of arc: ", end).status != RTNORM) return RTCAN;
    addArc(centre, length2d(minus(start, centre)), angleOf(centre, start), angleOf(centre, end));
    return RTNORM;
  }
  if (askUcsPoint(&start, "Specify second point of arc: ", second).status != RTNORM) return RTCAN;
  if (askUcsPoint(&second, "Specify end point of arc: ", end).status != RTNORM) return RTCAN;
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
  TagList body = {Tag::point(10, p)};
  appendExtrusion(body);
  addEntity("POINT", "AcDbPoint", body);
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
  // The rotation is typed from the UCS X axis; the object keeps it from its own.
  double angle = degrees(ucsAngleToOcs(rotation));
  TagList body = {Tag::point(10, ucsToOcs(worldToUcs(at))), Tag::real(40, height), Tag::str(1, text)};
  if (angle != 0) body.push_back(Tag::real(50, angle));
  body.push_back(Tag::str(7, style.empty() ? "Standard" : style));
  appendExtrusion(body);
  body.push_back(Tag::str(100, "AcDbText"));
  addEntity("TEXT", "AcDbText", body);
  setRealVar("TEXTSIZE", height);
  return RTNORM;
}

}  // namespace tarn::commands
