// The selection-set calls of the SDK.
#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "selection_mode.h"

namespace tarn::editor {
namespace {

std::vector<db::Point3> chainPoints(const void* chain) {
  std::vector<db::Point3> pts;
  for (auto rb = static_cast<const resbuf*>(chain); rb; rb = rb->rbnext)
    if (rb->restype == RTPOINT || rb->restype == RT3DPOINT)
      pts.push_back({rb->resval.rpoint[0], rb->resval.rpoint[1], rb->restype == RTPOINT ? 0 : rb->resval.rpoint[2]});
  return pts;
}

std::vector<uint32_t> inRegion(Editor& ed, db::Database& db, const std::vector<db::Point3>& pts, const std::string& m) {
  std::vector<uint32_t> out;
  bool fence = m == "F", crossing = m == "C" || m == "CP";
  if (pts.size() < (fence ? 2u : 3u)) return out;
  for (uint32_t id : layoutEntities(db)) {
    bool in = fence ? ed.picks().crossesFence(db, id, pts)
                    : (ed.picks().fitPolygon(db, id, pts) == RegionFit::Inside ||
                       (crossing && ed.picks().fitPolygon(db, id, pts) == RegionFit::Crossing));
    if (in) out.push_back(id);
  }
  return out;
}

// The ordinary selection starts from the pickfirst set when there is one
// (and PICKFIRST allows it): its members that pass the filter are the
// selection, without prompts.
bool tookPickfirst(Editor& ed, SelectionRun& run) {
  host::SysVarValue v;
  if (ed.selections().pickfirst.size() == 0 || (host::getSysVar("PICKFIRST", v) && v.number == 0)) return false;
  run.apply(liveMembers(ed.selections().pickfirst, run.database()), false);
  ed.pickfirstRead();
  return run.result().size() > 0;
}

// The entities of a selection made without prompts.
int gatherByMethod(Editor& ed, SelectionRun& run, const std::string& m, const void* pt1, const void* pt2) {
  db::Database& db = run.database();
  if (m == "X" || m == "A") run.applyAll();
  else if (m == "P") run.apply(liveMembers(ed.selections().previous, db), false);
  else if (m == "I") {
    run.apply(liveMembers(ed.selections().pickfirst, db), false);
    ed.pickfirstRead();
  }
  else if (m == "L") {
    uint32_t last = db.lastMainEntity();
    if (last != db::kNoObject && db.valid(last) && !db.isErased(last)) run.apply({last}, false);
  } else if (m == "W" || m == "C") {
    if (!pt1 || !pt2) return RTERROR;
    auto a = static_cast<const double*>(pt1), b = static_cast<const double*>(pt2);
    std::vector<db::Point3> box{{a[0], a[1], 0}, {b[0], a[1], 0}, {b[0], b[1], 0}, {a[0], b[1], 0}};
    run.apply(inRegion(ed, db, box, m), false);
  } else {
    if (!pt1) return RTERROR;
    run.apply(inRegion(ed, db, chainPoints(pt1), m), false);
  }
  return RTNORM;
}

}  // namespace
}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedSSGet(const char* mode, const void* pt1, const void* pt2, const struct resbuf* filter, tc_name ss) {
  Editor& ed = currentEditor();
  InputControl control = ed.takeControl();
  tarn::db::Database* db = tarn::host::currentDatabase();
  auto m = parseSelectionMode(mode);
  EntityProbe probe;
  if (!db || !ss || !m || probe.setFilter(filter) != RTNORM) return RTERROR;
  SelectionRun run(ed, *db, probe, *m);
  int rc = RTNORM;
  if (!m->method.empty()) rc = gatherByMethod(ed, run, m->method, pt1, pt2);
  else if (!tookPickfirst(ed, run)) rc = selectInteractively(ed, run, *m, pt1, control);
  if (rc != RTNORM) return rc;
  if (run.result().size() == 0) return RTERROR;
  ed.selections().previous = run.result();
  ed.selections().create(ss, std::move(run.result()));
  return RTNORM;
}

int tcedSSLength(const tc_name ss, int32_t* length) {
  SelectionSet* s = currentEditor().selections().find(ss);
  if (!s || !length) return RTERROR;
  *length = int32_t(s->size());
  return RTNORM;
}

int tcedSSName(const tc_name ss, int32_t index, tc_name entity) {
  SelectionSet* s = currentEditor().selections().find(ss);
  if (!s || !entity || index < 0 || size_t(index) >= s->size()) return RTERROR;
  entityName(s->at(size_t(index)), entity);
  return RTNORM;
}

int tcedSSAdd(const tc_name entity, const tc_name ss, tc_name result) {
  SelectionSets& sets = currentEditor().selections();
  tarn::db::Database* owner = nullptr;
  uint32_t id = 0;
  if (!result || (entity && !tarn::host::resolveName(entity, owner, id))) return RTERROR;
  if (!ss) {
    SelectionSet fresh;
    if (entity) fresh.add(entityKey(entity));
    sets.create(result, std::move(fresh));
    return RTNORM;
  }
  SelectionSet* s = sets.find(ss);
  if (!s) return RTERROR;
  if (entity) s->add(entityKey(entity));
  result[0] = ss[0];
  result[1] = ss[1];
  return RTNORM;
}

int tcedSSDel(const tc_name entity, const tc_name ss) {
  SelectionSet* s = currentEditor().selections().find(ss);
  return s && entity && s->remove(entityKey(entity)) ? RTNORM : RTERROR;
}

int tcedSSMemb(const tc_name entity, const tc_name ss) {
  SelectionSet* s = currentEditor().selections().find(ss);
  return s && entity && s->contains(entityKey(entity)) ? RTNORM : RTERROR;
}

int tcedSSFree(const tc_name ss) { return currentEditor().selections().release(ss) ? RTNORM : RTERROR; }

int tcedSSSetFirst(const tc_name pickfirst, const tc_name) {
  SelectionSets& sets = currentEditor().selections();
  if (!pickfirst) {
    sets.pickfirst = SelectionSet{};
    return RTNORM;
  }
  SelectionSet* s = sets.find(pickfirst);
  if (!s) return RTERROR;
  sets.pickfirst = *s;
  return RTNORM;
}

int tcedSSGetFirst(tc_name ss) {
  SelectionSets& sets = currentEditor().selections();
  if (!ss || sets.pickfirst.size() == 0) return RTERROR;
  sets.create(ss, sets.pickfirst);
  return RTNORM;
}

int tcedSSSetKwordCallbackPtr(tcedSSCallback callback) {
  keywordCallback = callback;
  return RTNORM;
}
int tcedSSSetOtherCallbackPtr(tcedSSCallback callback) {
  otherCallback = callback;
  return RTNORM;
}
int tcedSSGetKwordCallbackPtr(tcedSSCallback* callback) {
  if (!callback) return RTERROR;
  *callback = keywordCallback;
  return RTNORM;
}
int tcedSSGetOtherCallbackPtr(tcedSSCallback* callback) {
  if (!callback) return RTERROR;
  *callback = otherCallback;
  return RTNORM;
}

}  // extern "C"
