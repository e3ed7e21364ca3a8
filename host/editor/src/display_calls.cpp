// The display calls of the SDK (recorded, not drawn) and the transformation
// of selection sets.
#include <tarnsdk/tceddisplay.h>
#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "editor/editor.h"
#include "entgeom/entity_transform.h"

namespace tarn::editor {
namespace {

db::Point3 pointOf(const tc_point p) { return {p[0], p[1], p[2]}; }

db::Point3 transformed(const tc_matrix m, db::Point3 p) {
  if (!m) return p;
  double in[3] = {p.x, p.y, p.z}, out[3];
  for (int r = 0; r < 3; ++r) out[r] = m[r][0] * in[0] + m[r][1] * in[1] + m[r][2] * in[2] + m[r][3];
  return {out[0], out[1], out[2]};
}

bool isPointBuffer(const resbuf* rb) { return rb && (rb->restype == RTPOINT || rb->restype == RT3DPOINT); }

db::Point3 bufferPoint(const resbuf* rb) {
  return {rb->resval.rpoint[0], rb->resval.rpoint[1], rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0};
}

bool affine(const tc_matrix m) { return m[3][0] == 0 && m[3][1] == 0 && m[3][2] == 0 && m[3][3] == 1; }

geom::Matrix4 toMatrix4(const tc_matrix m) {
  geom::Matrix4 out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out(r, c) = m[r][c];
  return out;
}

}  // namespace

// New tags for every member of the set that may change; false when one
// cannot follow the matrix.
static bool transformMembers(const SelectionSet& set, const geom::Matrix4& m, std::vector<entgeom::TransformedObject>& out,
                      db::Database*& target) {
  host::SysVarValue mirror;
  entgeom::TransformOptions options;
  options.mirrorText = host::getSysVar("MIRRTEXT", mirror) && mirror.number != 0;
  for (EntityKey key : set.members()) {
    tc_name n;
    entityName(key, n);
    db::Database* owner = nullptr;
    uint32_t id = 0;
    if (!host::resolveName(n, owner, id) || owner->isErased(id) || host::onLockedLayer(*owner, id)) continue;
    if (target && owner != target) continue;  // a set holds one drawing's objects
    target = owner;
    if (entgeom::transformEntity(*owner, id, m, options, out) != entgeom::EntStatus::Ok) return false;
  }
  return true;
}

}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedGrDraw(const tc_point from, const tc_point to, int colour, int highlight) {
  if (!from || !to) return RTERROR;
  currentEditor().display().vectors.push_back({pointOf(from), pointOf(to), colour, highlight != 0});
  return RTNORM;
}

int tcedGrVecs(const struct resbuf* vectors, tc_matrix matrix) {
  std::vector<TemporaryVector> found;
  int colour = 7;
  for (const resbuf* rb = vectors; rb; rb = rb->rbnext) {
    if (rb->restype == RTSHORT) {
      colour = rb->resval.rint;
    } else if (isPointBuffer(rb) && isPointBuffer(rb->rbnext)) {
      tarn::db::Point3 a = transformed(matrix, bufferPoint(rb)), b = transformed(matrix, bufferPoint(rb->rbnext));
      found.push_back({a, b, colour < 0 ? -colour : colour, colour < 0});
      rb = rb->rbnext;
    } else {
      return RTERROR;  // a lone end point or a buffer of another type: nothing is drawn
    }
  }
  auto& record = currentEditor().display().vectors;
  record.insert(record.end(), found.begin(), found.end());
  return RTNORM;
}

int tcedRedraw(const tc_name entity, int mode) {
  DisplayRecord& d = currentEditor().display();
  if (mode < 0 || mode > 4) return RTERROR;
  if (!entity || (entity[0] == 0 && entity[1] == 0)) {
    d.vectors.clear();
    d.hidden.clear();
    d.redraws.push_back({0, mode});
    return RTNORM;
  }
  tarn::db::Database* owner = nullptr;
  uint32_t id = 0;
  if (!tarn::host::resolveName(entity, owner, id) || mode == 0) return RTERROR;
  EntityKey key = entityKey(entity);
  if (mode == 1) d.hidden.erase(key);
  if (mode == 2) d.hidden.insert(key);
  if (mode == 3) d.highlighted.insert(key);
  if (mode == 4) d.highlighted.erase(key);
  d.redraws.push_back({key, mode});
  return RTNORM;
}

int tcedXformSS(const tc_name ss, tc_matrix matrix) {
  SelectionSet* set = currentEditor().selections().find(ss);
  if (!set || !matrix || !affine(matrix)) return RTERROR;
  std::vector<tarn::entgeom::TransformedObject> changes;
  tarn::db::Database* target = nullptr;
  if (!transformMembers(*set, toMatrix4(matrix), changes, target)) return RTERROR;
  for (const auto& change : changes) target->replaceTags(change.id, change.tags);
  return RTNORM;
}

}  // extern "C"
