// tcedTrans: points between world, user, display and object coordinate
// systems, the systems named as the desktop calls name them.
#include <tarnsdk/tcedgeom.h>

#include <string_view>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "geom/coord_system.h"
#include "geom/tolerance.h"
#include "groups.h"

namespace tarn::entgeom {
namespace {

using geom::Vec3;

// Types whose coordinates are in their object system; all others are in world coordinates.
bool planarType(std::string_view t) {
  static constexpr std::string_view kPlanar[] = {"CIRCLE", "ARC", "SOLID", "TRACE", "TEXT", "ATTRIB",
                                                 "ATTDEF", "SHAPE", "INSERT", "LWPOLYLINE", "HATCH",
                                                 "DIMENSION", "POLYLINE", "VERTEX"};
  for (std::string_view p : kPlanar)
    if (p == t) return true;
  return false;
}

bool entitySystem(const resbuf* rb, geom::CoordSpec& out) {
  db::Database* db = nullptr;
  uint32_t id = 0;
  if (!host::resolveName(rb->resval.rlname, db, id) || db->isErased(id)) return false;
  Groups g(*db, id);
  bool objectSystem = planarType(db->typeOf(id)) && !(db->typeOf(id) == "POLYLINE" && (g.integer(70) & (8 | 16 | 64)));
  out = objectSystem ? geom::CoordSpec::object(g.normal()) : geom::CoordSpec::world();
  return true;
}

bool systemOf(const resbuf* rb, geom::CoordSpec& out) {
  if (!rb) return false;
  if (rb->restype == RTSHORT) {
    int code = rb->resval.rint;
    if (code < 0 || code > 3) return false;
    out = {geom::CoordKind(code), geom::kZAxis};
    return true;
  }
  if (rb->restype == RTENAME) return entitySystem(rb, out);
  if (rb->restype == RT3DPOINT) {
    Vec3 n{rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]};
    if (!n.isFinite() || n.length() <= geom::kZeroLength) return false;
    out = geom::CoordSpec::object(n.normalized());
    return true;
  }
  return false;
}

Vec3 pointVar(std::string_view name, Vec3 dflt) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? toVec(v.point) : dflt;
}

// The current UCS from UCSORG/UCSXDIR/UCSYDIR; the view looks along VIEWDIR
// (given in the UCS) at the origin, without twist.
geom::CoordContext currentContext() {
  geom::CoordContext ctx;
  ctx.ucs.origin = pointVar("UCSORG", {});
  ctx.ucs.xAxis = pointVar("UCSXDIR", geom::kXAxis);
  ctx.ucs.yAxis = pointVar("UCSYDIR", geom::kYAxis);
  Vec3 dir = ctx.ucs.toWorld().transformVector(pointVar("VIEWDIR", geom::kZAxis));
  ctx.view.direction = dir.length() > geom::kZeroLength ? dir.normalized() : geom::kZAxis;
  return ctx;
}

}  // namespace
}  // namespace tarn::entgeom

extern "C" int tcedTrans(const tc_point pt, const struct resbuf* from, const struct resbuf* to, int disp,
                         tc_point result) {
  using namespace tarn;
  if (!pt || !result) return RTERROR;
  geom::CoordSpec a, b;
  if (!entgeom::systemOf(from, a) || !entgeom::systemOf(to, b)) return RTERROR;
  geom::Vec3 out;
  geom::Vec3 in{pt[0], pt[1], pt[2]};
  if (!in.isFinite()) return RTERROR;
  if (a.kind == b.kind && a.kind == geom::CoordKind::PaperDisplay) {
    out = in;
  } else if (geom::transformCoords(entgeom::currentContext(), in, a, b, disp != 0, out) != geom::GeomStatus::Ok) {
    return RTERROR;
  }
  result[0] = out.x, result[1] = out.y, result[2] = out.z;
  return RTNORM;
}
