// Prompts, selections, variables and new entities for the host commands.
#include "command_support.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcedgeom.h>
#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "api/sysvars.h"

namespace tarn::commands {

db::Database& drawing() { return *host::currentDatabase(); }

void print(std::string_view text) { editor::currentEditor().print(text); }

namespace {

void copyPoint(const Point3& p, tc_point out) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
}

Answer finish(int status) {
  Answer a{status, {}};
  if (status == RTKWORD) {
    char buf[512] = {0};
    tcedGetInput(buf, sizeof buf);
    a.keyword = buf;
  }
  return a;
}

resbuf coordSystem(short which) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = which;
  return rb;
}

Point3 transform(Point3 p, short from, short to) {
  resbuf f = coordSystem(from), t = coordSystem(to);
  tc_point in, out;
  copyPoint(p, in);
  if (tcedTrans(in, &f, &t, 0, out) != RTNORM) return p;
  return {out[0], out[1], out[2]};
}

}  // namespace

Point3 ucsToWorld(Point3 p) { return transform(p, 1, 0); }
Point3 worldToUcs(Point3 p) { return transform(p, 0, 1); }

Answer askPoint(const Point3* worldBase, const std::string& prompt, Point3& world, int bits, const char* keywords) {
  tc_point base, out;
  if (worldBase) copyPoint(worldToUcs(*worldBase), base);
  tcedInitGet(bits, keywords);
  int rc = tcedGetPoint(worldBase ? base : nullptr, prompt.c_str(), out);
  if (rc == RTNORM) world = ucsToWorld({out[0], out[1], out[2]});
  return finish(rc);
}

Answer askKeyword(const std::string& prompt, const char* keywords, std::string& out, int bits) {
  char buf[512] = {0};
  tcedInitGet(bits, keywords);
  int rc = tcedGetKword(prompt.c_str(), buf, sizeof buf);
  if (rc == RTNORM) out = buf;
  return finish(rc);
}

Answer askString(const std::string& prompt, std::string& out, bool spaces) {
  char buf[2048] = {0};
  int rc = tcedGetString(spaces ? 1 : 0, prompt.c_str(), buf, sizeof buf);
  if (rc == RTNORM) out = buf;
  if (rc == RTNORM && out.empty()) rc = RTNONE;
  return finish(rc);
}

Answer askDistance(const Point3* worldBase, const std::string& prompt, double& out, int bits) {
  tc_point base;
  if (worldBase) copyPoint(worldToUcs(*worldBase), base);
  tcedInitGet(bits, nullptr);
  return finish(tcedGetDist(worldBase ? base : nullptr, prompt.c_str(), &out));
}

Answer askAngle(const Point3* worldBase, const std::string& prompt, double& radians, int bits) {
  tc_point base;
  if (worldBase) copyPoint(worldToUcs(*worldBase), base);
  tcedInitGet(bits, nullptr);
  return finish(tcedGetAngle(worldBase ? base : nullptr, prompt.c_str(), &radians));
}

Answer askInteger(const std::string& prompt, int& out, int bits) {
  tcedInitGet(bits, nullptr);
  return finish(tcedGetInt(prompt.c_str(), &out));
}

std::vector<uint32_t> selectObjects(int& status) {
  tc_name ss;
  std::vector<uint32_t> ids;
  status = tcedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
  if (status != RTNORM) return ids;
  int32_t n = 0;
  tcedSSLength(ss, &n);
  for (int32_t i = 0; i < n; ++i) {
    tc_name e;
    db::Database* d = nullptr;
    uint32_t id = 0;
    if (tcedSSName(ss, i, e) == RTNORM && host::resolveName(e, d, id) && d == &drawing() && !d->isErased(id))
      ids.push_back(id);
  }
  tcedSSFree(ss);
  return ids;
}

std::vector<uint32_t> withoutLocked(const std::vector<uint32_t>& ids) {
  std::vector<uint32_t> kept;
  for (uint32_t id : ids)
    if (!host::onLockedLayer(drawing(), id)) kept.push_back(id);
  if (size_t locked = ids.size() - kept.size())
    print(std::to_string(locked) + (locked == 1 ? " was" : " were") + " on a locked layer.\n");
  return kept;
}

int intVar(std::string_view name, int dflt) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? int(v.number) : dflt;
}

double realVar(std::string_view name, double dflt) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.number : dflt;
}

std::string textVar(std::string_view name) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.text : std::string();
}

void setIntVar(std::string_view name, int v) { host::setSysVarInternal(name, host::shortValue(v)); }
void setRealVar(std::string_view name, double v) { host::setSysVarInternal(name, host::realValue(v)); }
void setTextVar(std::string_view name, std::string_view v) { host::setSysVarInternal(name, host::textValue(v)); }
void setPointVar(std::string_view name, Point3 p) { host::setSysVarInternal(name, host::pointValue(p)); }

uint32_t addEntity(std::string_view type, std::string_view subclass, const db::TagList& body) {
  db::Database& d = drawing();
  uint32_t model = d.modelSpace();
  uint32_t record = std::as_const(d).blocks()[model].record;  // a look, not a change
  std::string layer = textVar("CLAYER");
  db::TagList tags = {db::Tag::handle(5, d.allocateHandle()),
                      db::Tag::handle(330, record == db::kNoObject ? 0 : d.object(record).handle),
                      db::Tag::str(100, "AcDbEntity"), db::Tag::str(8, layer.empty() ? "0" : layer),
                      db::Tag::str(100, subclass)};
  tags.insert(tags.end(), body.begin(), body.end());
  uint32_t id = d.addObject(type, tags, db::kEntity);
  d.appendToBlock(model, id);
  return id;
}

namespace {

// A copy loses the source's reactors and extension dictionary: they belong
// to objects that refer to the source, not to the copy.
db::TagList withoutOwnedGroups(const db::TagList& tags) {
  db::TagList out;
  bool skipping = false;
  for (const db::Tag& t : tags) {
    if (t.code == 102 && (t.s == "{ACAD_REACTORS" || t.s == "{ACAD_XDICTIONARY")) { skipping = true; continue; }
    if (skipping) {
      if (t.code == 102 && t.s == "}") skipping = false;
      continue;
    }
    out.push_back(t);
  }
  return out;
}

void setHandles(db::TagList& tags, uint64_t handle, uint64_t owner) {
  for (db::Tag& t : tags) {
    if (t.code == 5 || t.code == 105) t = db::Tag::handle(t.code, handle);
    if (t.code == 330 && owner) { t = db::Tag::handle(330, owner); break; }
  }
}

}  // namespace

uint32_t addCopy(const std::vector<std::pair<uint32_t, db::TagList>>& objects) {
  db::Database& d = drawing();
  uint32_t first = db::kNoObject;
  uint64_t parentHandle = 0;
  uint32_t mainBlock = objects.empty() ? db::kNoObject : d.object(objects.front().first).block;
  for (const auto& [source, tags] : objects) {
    const db::ObjectRecord& rec = d.object(source);
    // Entities of a dimension's block come along when it moves; a copy
    // shares the block instead.
    if (rec.block == db::kNoObject || rec.block != mainBlock) continue;
    bool sub = rec.flags & db::kSubEntity;
    if (sub && first == db::kNoObject) continue;
    db::TagList copy = withoutOwnedGroups(tags);
    uint64_t handle = d.allocateHandle();
    setHandles(copy, handle, sub ? parentHandle : 0);
    uint32_t block = rec.block;
    uint32_t id = d.addObject(d.typeOf(source), copy, uint16_t(rec.flags & ~db::kErased));
    d.appendToBlock(block, id);
    if (!sub) {
      first = id;
      parentHandle = handle;
    }
  }
  return first;
}

Point3 pointVar(std::string_view name, Point3 dflt) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.point : dflt;
}

geom::Ucs currentUcs() {
  geom::Ucs ucs;
  ucs.origin = toVec(pointVar("UCSORG"));
  ucs.xAxis = toVec(pointVar("UCSXDIR", {1, 0, 0}));
  ucs.yAxis = toVec(pointVar("UCSYDIR", {0, 1, 0}));
  if (ucs.zAxis().length() < 1e-12) ucs = geom::Ucs{};  // unusable axes: the world
  return ucs;
}

geom::Vec3 ucsNormal() { return currentUcs().zAxis().normalized(); }

bool ucsTilted() {
  geom::Vec3 n = ucsNormal();
  return std::fabs(n.x) > 1e-12 || std::fabs(n.y) > 1e-12 || n.z <= 0;
}

Point3 ucsToOcs(Point3 ucsPoint) {
  geom::Ucs ucs = currentUcs();
  geom::Vec3 world = ucs.toWorld().transformPoint(toVec(ucsPoint));
  return toPoint(geom::worldToOcs(ucs.zAxis()).transformPoint(world));
}

double ucsAngleToOcs(double radians) {
  geom::Ucs ucs = currentUcs();
  geom::Vec3 dir = ucs.toWorld().transformVector({std::cos(radians), std::sin(radians), 0});
  geom::Vec3 ocs = geom::worldToOcs(ucs.zAxis()).transformVector(dir);
  return std::atan2(ocs.y, ocs.x);
}

void appendExtrusion(db::TagList& body) {
  if (ucsTilted()) body.push_back(db::Tag::point(210, toPoint(ucsNormal())));
}

db::TagList recordWithData(uint32_t id, const db::TagList& data) {
  db::TagList tags;
  for (db::TagCursor c = drawing().tags(id); !c.done(); c.next()) {
    tags.push_back(c.decode());
    if (c.code() == 2) break;
  }
  tags.insert(tags.end(), data.begin(), data.end());
  return tags;
}

std::string formatNumber(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4f", std::fabs(v) < 5e-5 ? 0.0 : v);
  return buf;
}

std::string formatPoint(Point3 p) {
  return "X = " + formatNumber(p.x) + "     Y = " + formatNumber(p.y) + "     Z = " + formatNumber(p.z);
}

}  // namespace tarn::commands
