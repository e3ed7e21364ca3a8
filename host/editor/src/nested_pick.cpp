// tcedNEntSelP: the innermost object under a pick. The hit tester finds the
// drawing's entity under the pick; while that is a block reference, the
// entities of its block are tested under the reference's placing matrix,
// and the reference joins the chain of containers.
#include <cstdio>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "api/resbuf_util.h"
#include "editor/reply_values.h"
#include "entgeom/entity_curve.h"
#include "entgeom/entity_hit_test.h"
#include "entgeom/extents.h"
#include "input_loop.h"
#include "pick_target.h"

namespace tarn::editor {
namespace {

using geom::Matrix4;

constexpr int kMaxDepth = 32;  // block references nested deeper are not entered

struct NestedHit {
  uint32_t entity = db::kNoObject;
  Matrix4 toWorld = Matrix4::identity();
  std::vector<uint32_t> containers;  // innermost first
};

bool isReference(const db::Database& db, uint32_t id) { return db.typeOf(id) == "INSERT"; }

// The attribute of the reference under the pick, if any: attributes stand in
// the drawing itself, not in the block.
uint32_t attributeHit(const db::Database& db, uint32_t ref, const geom::Vec3& p, double aperture) {
  entgeom::EntityHitTester tester(db);
  for (uint32_t sub : entgeom::subEntitiesOf(db, ref))
    if (db.typeOf(sub) == "ATTRIB" && !db.isErased(sub) && tester.hitsPoint(sub, p, aperture)) return sub;
  return db::kNoObject;
}

// The entity of the reference's block under the pick, and the matrix that
// places it; false when none is hit.
bool blockEntityHit(const db::Database& db, uint32_t ref, const Matrix4& outer, const geom::Vec3& p, double aperture,
                    uint32_t& hit, Matrix4& placed) {
  uint32_t block = 0;
  std::vector<Matrix4> cells;
  if (entgeom::insertPlacements(db, ref, block, cells, 4096) != entgeom::EntStatus::Ok) return false;
  for (const Matrix4& cell : cells) {
    Matrix4 m = outer * cell;
    entgeom::EntityHitTester tester(db, m);
    for (uint32_t id : db.blocks()[block].entities) {
      if (db.isErased(id) || (db.object(id).flags & db::kSubEntity)) continue;
      if (tester.hitsPoint(id, p, aperture)) {
        hit = id;
        placed = m;
        return true;
      }
    }
  }
  return false;
}

NestedHit descend(const db::Database& db, uint32_t top, const geom::Vec3& p, double aperture) {
  NestedHit h;
  h.entity = top;
  if (uint32_t attrib = isReference(db, top) ? attributeHit(db, top, p, aperture) : db::kNoObject;
      attrib != db::kNoObject) {
    h.entity = attrib;
    return h;
  }
  while (isReference(db, h.entity) && int(h.containers.size()) < kMaxDepth) {
    uint32_t inner = 0;
    Matrix4 placed;
    if (!blockEntityHit(db, h.entity, h.toWorld, p, aperture, inner, placed)) break;
    h.containers.insert(h.containers.begin(), h.entity);
    h.entity = inner;
    h.toWorld = placed;
  }
  return h;
}

void writeMatrix(const Matrix4& m, tc_matrix out) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = m(r, c);
}

resbuf* containerChain(const db::Database& db, const std::vector<uint32_t>& containers) {
  host::ChainBuilder chain;
  for (uint32_t ref : containers) {
    tc_name n;
    host::makeName(db, ref, n);
    chain.addName(RTENAME, n);
  }
  return chain.take();
}

// The reply for a pick: asked for, or the caller's point.
int pickReply(Editor& ed, const char* prompt, const tc_point given, const KeywordList& keywords, Reply& out) {
  if (given) {
    out = Reply{ReplyKind::Text, replyNumber(given[0]) + "," + replyNumber(given[1]), {0, 0}, {}};
    return RTNORM;
  }
  for (;;) {
    out = ed.ask(prompt ? prompt : "Select object: ", false);
    if (out.kind == ReplyKind::End || out.kind == ReplyKind::Cancel) return RTCAN;
    if (out.kind == ReplyKind::Enter) return setErrno(52), RTERROR;
    if (out.kind == ReplyKind::Text)
      if (auto k = keywords.match(out.text)) {
        ed.lastInput = keywords.global(*k);
        return RTKWORD;
      }
    if (isPickReply(out)) return RTNORM;
    ed.complain("*Invalid selection*");
  }
}

}  // namespace
}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" int tcedNEntSelP(const char* prompt, tc_name entity, tc_point pickPoint, int pickFlag, tc_matrix xform,
                            struct resbuf** refStack) {
  Editor& ed = currentEditor();
  InputControl control = ed.takeControl();
  tarn::db::Database* db = tarn::host::currentDatabase();
  if (!entity || !pickPoint || !db) return RTERROR;
  Reply r;
  int rc = pickReply(ed, prompt, pickFlag ? pickPoint : nullptr, control.keywords, r);
  if (rc != RTNORM) return rc;
  tarn::db::Point3 at;
  auto top = pickTarget(ed, r, *db, at);
  if (!top) return setErrno(7), RTERROR;
  if (pickFlag) at = {pickPoint[0], pickPoint[1], pickPoint[2]};
  NestedHit hit = descend(*db, *top, {at.x, at.y, at.z}, ed.aperture());
  tarn::host::makeName(*db, hit.entity, entity);
  pickPoint[0] = at.x, pickPoint[1] = at.y, pickPoint[2] = at.z;
  if (xform) writeMatrix(hit.toWorld, xform);
  if (refStack) *refStack = containerChain(*db, hit.containers);
  setErrno(0);
  return RTNORM;
}
