// Transformation of texts. A mirrored text stays readable unless MIRRTEXT
// asks otherwise: its box is mirrored, and the text is placed unmirrored in
// that box, reading in the direction nearest its old one.
#include <cmath>

#include "entgeom/text_frame.h"
#include "geom/coord_system.h"
#include "geom/tolerance.h"
#include "groups.h"
#include "transformers.h"

namespace tarn::entgeom {

using geom::Vec3;

namespace {

constexpr int kBackwards = 2;

void mapOcs(const PlaneMap& pm, TagEditor& e, int code) {
  if (e.has(code)) e.setPoint(code, pm.point(e.point(code)));
}

// The mirrored box seen in a readable frame: extent along dir and up.
struct FrameBox {
  Vec3 dir, up, normal;
  double minU = 1e300, maxU = -1e300, minV = 1e300, maxV = -1e300, w = 0.0;
  Vec3 at(double u, double v) const { return dir * u + up * v + normal * w; }
};

FrameBox readableBox(const TransformContext& c, const TextFrame& f, const Vec3& normal) {
  FrameBox b;
  Vec3 d = c.m.transformVector(f.xDir);
  b.dir = (d.dot(f.xDir) >= 0.0 ? d : -d).normalized();
  b.normal = normal;
  b.up = normal.cross(b.dir);
  for (const Vec3& corner : f.corners) {
    Vec3 p = c.m.transformPoint(corner);
    b.minU = std::min(b.minU, p.dot(b.dir)), b.maxU = std::max(b.maxU, p.dot(b.dir));
    b.minV = std::min(b.minV, p.dot(b.up)), b.maxV = std::max(b.maxV, p.dot(b.up));
    b.w = p.dot(normal);
  }
  return b;
}

double ocsAngleDegrees(const Vec3& normal, const Vec3& dir) {
  Vec3 d = geom::worldToOcs(normal).transformVector(dir);
  return degrees(geom::normalizeAngle(std::atan2(d.y, d.x)));
}

EntStatus readableText(const TransformContext& c, TagEditor& e, const PlaneMap& pm) {
  TextFrame f;
  EntStatus st = textFrameOf(c.db, c.id, f);
  if (st != EntStatus::Ok) return st;
  FrameBox b = readableBox(c, f, pm.normal);
  double s = c.scale;
  Vec3 p10 = b.at(b.minU - f.box.lowerLeft.x * s, b.minV - f.box.lowerLeft.y * s);
  Vec3 p11 = p10 + b.dir * (f.box.alignment.x * s) + b.up * (f.box.alignment.y * s);
  geom::Matrix4 toOcs = geom::worldToOcs(pm.normal);
  e.setPoint(10, toOcs.transformPoint(p10));
  if (e.has(11)) e.setPoint(11, toOcs.transformPoint(p11));
  e.setReal(50, ocsAngleDegrees(pm.normal, b.dir));
  return EntStatus::Ok;
}

}  // namespace

EntStatus transformText(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  PlaneMap pm(c, e);
  if (pm.mirrored && !c.options.mirrorText) {
    EntStatus st = readableText(c, e, pm);
    if (st != EntStatus::Ok) return st;
  } else {
    mapOcs(pm, e, 10);
    mapOcs(pm, e, 11);
    double rotation = pm.angleDegrees(e.real(50, 0.0));
    if (pm.mirrored) {  // written backwards along the mirrored baseline
      rotation = std::fmod(rotation + 180.0, 360.0);
      e.setInt(71, e.integer(71, 0) ^ kBackwards);
    }
    e.setReal(50, rotation);
  }
  size_t i = e.find(40);
  if (i < e.end()) e.tags()[i].p.x *= c.scale;
  return EntStatus::Ok;
}

// Paragraph texts are never written mirrored.
EntStatus transformMText(const TransformContext& c, TagEditor& e) {
  if (!c.uniform()) return EntStatus::NonUniform;
  Vec3 oldNormal = e.normal(), normal = c.mapNormal(oldNormal);
  TextFrame f;
  EntStatus st = textFrameOf(c.db, c.id, f);
  if (st != EntStatus::Ok) return st;
  FrameBox b = readableBox(c, f, normal);
  Vec3 insertion = c.m.transformPoint(e.point(10));
  if (c.m.isMirroring()) {
    int attachment = int(e.integer(71, 1));
    int col = (attachment - 1) % 3, row = (attachment - 1) / 3;
    if (attachment < 1 || attachment > 9) col = row = 0;
    insertion = b.at(b.minU + col * (b.maxU - b.minU) / 2, b.maxV - row * (b.maxV - b.minV) / 2);
  }
  e.setPoint(10, insertion);
  if (e.has(210) || !geom::pointsEqual(normal, geom::kZAxis)) e.setPoint(210, normal);
  if (e.has(11) || !e.has(50)) e.setPoint(11, b.dir);
  if (e.has(50)) e.setReal(50, ocsAngleDegrees(normal, b.dir));
  for (int code : {40, 41, 42, 43, 46}) {
    size_t i = e.find(code);
    if (i < e.end()) e.tags()[i].p.x *= c.scale;
  }
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
