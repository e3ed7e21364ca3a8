// The user input calls of the SDK: points, corners, distances, angles,
// numbers, texts and keywords, by the rules of the input language.
#include <cmath>
#include <numbers>

#include <tarnsdk/tcedinput.h>

#include "api/sysvars.h"
#include "editor/reply_values.h"
#include "input_loop.h"

namespace tarn::editor {
namespace {

using db::Point3;

Point3 variablePoint(const char* name) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.point : Point3{};
}

double variableNumber(const char* name, double fallback = 0) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.number : fallback;
}

// Limits are checked when LIMCHECK is on and bit 8 is not given.
bool outsideLimits(Point3 p, int bits) {
  if ((bits & kNoLimits) || variableNumber("LIMCHECK") == 0) return false;
  Point3 lo = variablePoint("LIMMIN"), hi = variablePoint("LIMMAX");
  return p.x < lo.x || p.y < lo.y || p.x > hi.x || p.y > hi.y;
}

// A typed point; z is the current elevation when not typed.
std::optional<Point3> typedPoint(const Reply& r) {
  if (r.kind != ReplyKind::Text) return std::nullopt;
  auto p = parsePoint(r.text, variablePoint("LASTPOINT"));
  if (!p) return std::nullopt;
  if (!p->hasZ) p->point.z = variableNumber("ELEVATION");
  return p->point;
}

void store(Point3 p, tc_point out) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
  host::setSysVar("LASTPOINT", host::pointValue(p));
}

Point3 fromBase(const tc_point base) { return {base[0], base[1], base[2]}; }

Judgement pointJudge(const Reply& r, int bits, tc_point result) {
  auto p = typedPoint(r);
  if (!p) return {};
  if (outsideLimits(*p, bits)) return {0, "**Outside limits"};
  store(*p, result);
  return {RTNORM, ""};
}

int getPoint(const tc_point base, const char* prompt, tc_point result, bool corner) {
  Editor& ed = currentEditor();
  PromptCall call{prompt, "Invalid point.", false, ed.takeControl()};
  if (!result || (corner && !base)) return RTERROR;
  int bits = call.control.bits;
  return promptLoop(ed, call, [&](const Reply& r) { return pointJudge(r, bits, result); });
}

// The second point of a distance or angle measured from a typed first one.
int secondPoint(Editor& ed, Point3& out) {
  PromptCall call{"Specify second point: ", "Invalid point.", false, {kNoEmpty, {}}};
  tc_point p;
  int rc = promptLoop(ed, call, [&](const Reply& r) { return pointJudge(r, kNoLimits, p); });
  out = fromBase(p);
  return rc;
}

double angleBetween(Point3 a, Point3 b) { return std::atan2(b.y - a.y, b.x - a.x); }

double normalise(double a) {
  a = std::fmod(a, 2 * std::numbers::pi);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

// Distances and angles: a number, or a point measured against the base (or
// against a second point asked for).
using Measure = double (*)(Point3, Point3, int bits);

double distanceOf(Point3 a, Point3 b, int bits) {
  double dz = (bits & kDistance2D) ? 0 : b.z - a.z;
  return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + dz * dz);
}

Judgement measured(Editor& ed, const Reply& r, const tc_point base, int bits, Measure m, tc_real* out) {
  auto p = typedPoint(r);
  if (!p) return {};
  Point3 from = base ? fromBase(base) : *p, to = *p;
  if (!base) {
    host::setSysVar("LASTPOINT", host::pointValue(*p));
    int rc = secondPoint(ed, to);
    if (rc != RTNORM) return {rc == RTNONE ? RTCAN : rc, ""};
  }
  double v = m(from, to, bits);
  if (auto why = refusedNumber(v, bits); !why.empty()) return {0, why};
  *out = v;
  return {RTNORM, ""};
}

// What a measuring call gives: a distance, an angle from ANGBASE (typed
// angles as they are), or an angle from the X axis (typed ones have ANGBASE
// added).
enum class MeasureKind { Distance, Angle, Orientation };

int getMeasure(const tc_point base, const char* prompt, tc_real* result, MeasureKind kind) {
  Editor& ed = currentEditor();
  bool angle = kind != MeasureKind::Distance;
  PromptCall call{prompt, angle ? "Requires valid numeric angle or second point." : "Requires numeric distance or two points.",
                  false, ed.takeControl()};
  if (!result) return RTERROR;
  int bits = call.control.bits;
  double angbase = variableNumber("ANGBASE");
  Measure m = angle ? Measure([](Point3 a, Point3 b, int) { return angleBetween(a, b); }) : distanceOf;
  return promptLoop(ed, call, [&](const Reply& r) -> Judgement {
    if (r.kind == ReplyKind::Text) {
      auto typed = angle ? parseAngleDegrees(r.text) : parseReal(r.text);
      if (typed) {
        if (auto why = refusedNumber(*typed, bits); !why.empty()) return {0, why};
        *result = !angle ? *typed : normalise(*typed + (kind == MeasureKind::Orientation ? angbase : 0));
        return {RTNORM, ""};
      }
    }
    Judgement j = measured(ed, r, base, bits, m, result);
    if (j.status == RTNORM && kind == MeasureKind::Angle) *result = normalise(*result - angbase);
    else if (j.status == RTNORM && angle) *result = normalise(*result);
    return j;
  });
}

}  // namespace
}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedInitGet(int bits, const char* keywords) {
  currentEditor().initGet(bits, keywords ? keywords : "");
  return RTNORM;
}

int tcedGetPoint(const tc_point base, const char* prompt, tc_point result) {
  return getPoint(base, prompt, result, false);
}

int tcedGetCorner(const tc_point base, const char* prompt, tc_point result) {
  return getPoint(base, prompt, result, true);
}

int tcedGetDist(const tc_point base, const char* prompt, tc_real* result) {
  return getMeasure(base, prompt, result, MeasureKind::Distance);
}

int tcedGetAngle(const tc_point base, const char* prompt, tc_real* result) {
  return getMeasure(base, prompt, result, MeasureKind::Angle);
}

int tcedGetOrient(const tc_point base, const char* prompt, tc_real* result) {
  return getMeasure(base, prompt, result, MeasureKind::Orientation);
}

int tcedGetReal(const char* prompt, tc_real* result) {
  Editor& ed = currentEditor();
  PromptCall call{prompt, "Requires numeric value.", false, ed.takeControl()};
  if (!result) return RTERROR;
  int bits = call.control.bits;
  return promptLoop(ed, call, [&](const Reply& r) -> Judgement {
    auto v = r.kind == ReplyKind::Text ? parseReal(r.text) : std::nullopt;
    if (!v) return {};
    if (auto why = refusedNumber(*v, bits); !why.empty()) return {0, why};
    *result = *v;
    return {RTNORM, ""};
  });
}

int tcedGetInt(const char* prompt, int* result) {
  Editor& ed = currentEditor();
  PromptCall call{prompt, "Requires an integer value.", false, ed.takeControl()};
  if (!result) return RTERROR;
  int bits = call.control.bits;
  return promptLoop(ed, call, [&](const Reply& r) -> Judgement {
    auto v = r.kind == ReplyKind::Text ? parseInteger(r.text) : std::nullopt;
    if (!v) return {};
    if (*v < -32768 || *v > 32767) return {0, "Requires an integer between -32768 and 32767."};
    if (auto why = refusedNumber(double(*v), bits); !why.empty()) return {0, why};
    *result = int(*v);
    return {RTNORM, ""};
  });
}

int tcedGetString(int allowSpaces, const char* prompt, char* result, size_t size) {
  Editor& ed = currentEditor();
  ed.takeControl();  // control bits do not apply to texts, but are used up
  if (!result || size == 0) return RTERROR;
  Reply r = ed.ask(prompt ? prompt : "", allowSpaces != 0);
  if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
  return copyOut(r.kind == ReplyKind::Text ? r.text : "", result, size);
}

int tcedGetKword(const char* prompt, char* result, size_t size) {
  Editor& ed = currentEditor();
  PromptCall call{prompt, "Invalid option keyword.", false, ed.takeControl()};
  if (!result || size == 0 || (call.control.keywords.empty() && !(call.control.bits & kArbitrary))) return RTERROR;
  int rc = promptLoop(ed, call, [](const Reply&) { return Judgement{}; });
  if (rc == RTKWORD) return copyOut(ed.lastInput, result, size);
  if (rc == RTNONE) result[0] = '\0';
  return rc;
}

int tcedGetInput(char* result, size_t size) {
  Editor& ed = currentEditor();
  if (ed.lastInput.empty()) return RTERROR;
  return copyOut(ed.lastInput, result, size);
}

}  // extern "C"

extern "C" int tcedDragGen(const tc_name ss, const char* prompt, int cursor, tcedDragCallback callback,
                           tc_point result) {
  Editor& ed = currentEditor();
  if (!ss || !ed.selections().find(ss) || !callback || !result) {
    ed.takeControl();
    return RTERROR;
  }
  int rc = getPoint(nullptr, prompt, result, false);
  if (rc != RTNORM) return rc;
  tc_matrix shown = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  if (callback(result, shown) == RTERROR) return RTERROR;
  ++ed.display().drags;
  return RTNORM;
}
