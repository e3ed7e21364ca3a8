// Selection at the "Select objects: " prompt: picks, windows, polygons,
// fences, ALL, Last, Previous, Remove, Add, Undo, and Enter to finish.
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "editor/reply_values.h"
#include "pick_target.h"
#include "selection_mode.h"

namespace tarn::editor {

tcedSSCallback keywordCallback = nullptr;
tcedSSCallback otherCallback = nullptr;

namespace {

using db::Point3;
constexpr int kCancelled = -1, kInvalid = -2;

const KeywordList& options() {
  static const KeywordList list =
      KeywordList::parse("Window Crossing WPolygon CPolygon Fence ALL Last Previous Remove Add Undo");
  return list;
}

Point3 lastPoint() {
  host::SysVarValue v;
  return host::getSysVar("LASTPOINT", v) ? v.point : Point3{};
}

// A point, or Enter (when `enterEnds`), or "U" (when `undo`); false on cancel.
enum class PointReply { Point, Enter, Undo, Cancel };
PointReply askPoint(Editor& ed, const std::string& prompt, bool enterEnds, bool undo, Point3& out) {
  for (;;) {
    Reply r = ed.ask(prompt, false);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return PointReply::Cancel;
    if (r.kind == ReplyKind::Enter && enterEnds) return PointReply::Enter;
    if (undo && r.kind == ReplyKind::Text && keywordMatches("Undo", r.text)) return PointReply::Undo;
    auto p = r.kind == ReplyKind::Text ? parsePoint(r.text, lastPoint()) : std::nullopt;
    if (p) {
      out = p->point;
      host::setSysVar("LASTPOINT", host::pointValue(out));
      return PointReply::Point;
    }
    ed.complain("Invalid point.");
  }
}

std::vector<Point3> windowCorners(Point3 a, Point3 b) { return {a, {b.x, a.y, 0}, b, {a.x, b.y, 0}}; }

// The points of a polygon or fence, until Enter.
bool askChain(Editor& ed, const char* first, const char* next, size_t minimum, std::vector<Point3>& pts) {
  for (;;) {
    Point3 p;
    PointReply r = askPoint(ed, pts.empty() ? first : next, !pts.empty(), !pts.empty(), p);
    if (r == PointReply::Cancel) return false;
    if (r == PointReply::Point) pts.push_back(p);
    else if (r == PointReply::Undo) pts.pop_back();
    else if (pts.size() >= minimum) return true;
    else ed.print("Requires at least " + std::to_string(minimum) + " points.\n");
  }
}

std::vector<uint32_t> byRegion(Editor& ed, db::Database& db, const std::vector<Point3>& pts, bool crossing, bool fence) {
  std::vector<uint32_t> out;
  for (uint32_t id : layoutEntities(db)) {
    bool in = fence ? ed.picks().crossesFence(db, id, pts)
                    : crossing ? ed.picks().fitPolygon(db, id, pts) != RegionFit::Outside
                               : ed.picks().fitPolygon(db, id, pts) == RegionFit::Inside;
    if (in) out.push_back(id);
  }
  return out;
}

// What a callback returns: entities and sets to add, texts to print.
bool takeCallbackResult(Editor& ed, db::Database& db, SelectionRun& run, resbuf* chain) {
  if (!chain) return false;
  std::vector<uint32_t> add;
  for (resbuf* rb = chain; rb; rb = rb->rbnext) {
    db::Database* owner = nullptr;
    uint32_t id = 0;
    if (rb->restype == RTSTR && rb->resval.rstring) ed.print(std::string(rb->resval.rstring) + "\n");
    else if (rb->restype == RTENAME && host::resolveName(rb->resval.rlname, owner, id) && owner == &db) add.push_back(id);
    else if (rb->restype == RTPICKS)
      if (SelectionSet* s = ed.selections().find(rb->resval.rlname)) for (uint32_t m : liveMembers(*s, db)) add.push_back(m);
  }
  tcutRelRb(chain);
  if (!add.empty()) run.apply(add, true);
  return true;
}

struct Context {
  Editor& ed;
  db::Database& db;
  SelectionRun& run;
  const SelectionMode& mode;
  const InputControl& control;
};

int regionOption(Context& c, size_t option) {
  std::vector<Point3> pts;
  if (option <= 1) {  // Window, Crossing
    Point3 a, b;
    if (askPoint(c.ed, "Specify first corner: ", false, false, a) == PointReply::Cancel ||
        askPoint(c.ed, "Specify opposite corner: ", false, false, b) == PointReply::Cancel)
      return kCancelled;
    pts = windowCorners(a, b);
  } else if (option <= 3 ? !askChain(c.ed, "First polygon point: ", "Specify endpoint of line or [Undo]: ", 3, pts)
                         : !askChain(c.ed, "Specify first fence point: ", "Specify next fence point or [Undo]: ", 2, pts)) {
    return kCancelled;
  }
  return int(c.run.apply(byRegion(c.ed, c.db, pts, option == 1 || option == 3, option == 4), true));
}

// One selection option; how many objects it found, or kCancelled/kInvalid.
int option(Context& c, size_t which) {
  SelectionSets& sets = c.ed.selections();
  switch (which) {
    case 5: return int(c.run.apply(layoutEntities(c.db), true));
    case 6: {
      uint32_t last = c.db.lastMainEntity();
      bool live = last != db::kNoObject && c.db.valid(last) && !c.db.isErased(last);
      return int(c.run.apply(live ? std::vector<uint32_t>{last} : std::vector<uint32_t>{}, true));
    }
    case 7: return int(c.run.apply(liveMembers(sets.previous, c.db), true));
    case 8: c.run.removing = true; return 0;
    case 9: c.run.removing = false; return 0;
    case 10: c.run.undoLast(); return 0;
    default: return regionOption(c, which);
  }
}

int pick(Context& c, const Reply& r) {
  Point3 at;
  if (c.mode.allUnderPick && r.kind == ReplyKind::Text && !r.text.starts_with('#')) {
    auto p = parsePoint(r.text, lastPoint());
    return int(c.run.apply(c.ed.picks().near(c.db, p->point, c.ed.aperture()), true));
  }
  auto id = pickTarget(c.ed, r, c.db, at);
  return int(c.run.apply(id ? std::vector<uint32_t>{*id} : std::vector<uint32_t>{}, true));
}

int callbacks(Context& c, const Reply& r) {
  if (r.kind != ReplyKind::Text) return kInvalid;
  auto kw = c.control.keywords.match(r.text);
  bool toKeyword = c.mode.keywordCallback && keywordCallback && (kw || c.control.keywords.empty());
  if (toKeyword) {
    std::string word = kw ? c.control.keywords.global(*kw) : r.text;
    return takeCallbackResult(c.ed, c.db, c.run, keywordCallback(word.c_str())) ? 0 : kInvalid;
  }
  if (c.mode.otherCallback && otherCallback)
    return takeCallbackResult(c.ed, c.db, c.run, otherCallback(r.text.c_str())) ? 0 : kInvalid;
  return kInvalid;
}

int handle(Context& c, const Reply& r) {
  if (r.kind == ReplyKind::Picks) {
    SelectionSet* s = c.ed.selections().find(r.name);
    return s ? int(c.run.apply(liveMembers(*s, c.db), true)) : kInvalid;
  }
  if (isPickReply(r)) return pick(c, r);
  // The caller's keywords come before the built-in options they may shadow.
  if (c.mode.keywordCallback && c.control.keywords.match(r.text)) return callbacks(c, r);
  if (r.kind == ReplyKind::Text)
    if (auto k = options().match(r.text)) return option(c, *k);
  return callbacks(c, r);
}

}  // namespace

int selectInteractively(Editor& ed, SelectionRun& run, const SelectionMode& mode, const void* prompts,
                        const InputControl& control) {
  auto custom = mode.customPrompts ? static_cast<const char* const*>(prompts) : nullptr;
  Context c{ed, run.database(), run, mode, control};
  for (;;) {
    const char* mine = custom ? custom[run.removing ? 1 : 0] : nullptr;
    Reply r = ed.ask(mine ? mine : run.removing ? "Remove objects: " : "Select objects: ", false);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
    if (r.kind == ReplyKind::Enter) return RTNORM;
    int found = handle(c, r);
    if (found == kCancelled) return RTCAN;
    if (found == kInvalid)
      ed.complain("*Invalid selection*\nExpects a point or Window/Last/Crossing/ALL/Fence/WPolygon/CPolygon/"
               "Add/Remove/Previous/Undo");
    if (mode.single && run.result().size() > 0) return RTNORM;
  }
}

std::vector<uint32_t> liveMembers(const SelectionSet& set, const db::Database& db) {
  std::vector<uint32_t> out;
  for (EntityKey k : set.members()) {
    tc_name n;
    entityName(k, n);
    db::Database* owner = nullptr;
    uint32_t id = 0;
    if (host::resolveName(n, owner, id) && owner == &db && !db.isErased(id)) out.push_back(id);
  }
  return out;
}

}  // namespace tarn::editor
