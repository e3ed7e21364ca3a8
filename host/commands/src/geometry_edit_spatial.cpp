// The entity index of the geometry editing commands: a hash grid over the
// XY boxes of the layouts' entities, refreshed from the drawing's records.
#include "geometry_edit_spatial.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "api/host_state.h"
#include "entgeom/extents.h"

namespace tarn::commands {
namespace {

// An entity spanning more cells than this per axis is kept with the
// unbounded ones (a candidate of every query) rather than in thousands of cells.
constexpr int64_t kMaxCellsPerAxis = 64;
// How many of the commands' own last changed objects are checked for undo.
constexpr size_t kRecentKept = 256;

struct Owned {
  const db::Database* db;
  std::unique_ptr<EntityIndex> index;
};

std::unordered_map<uint32_t, Owned>& indexes() {
  static std::unordered_map<uint32_t, Owned> map;
  return map;
}

// Indexes of databases that are gone are dropped: their serials never return.
void dropClosed() {
  std::erase_if(indexes(), [](const auto& kv) { return host::databaseBySerial(kv.first) != kv.second.db; });
}

bool unboundedType(std::string_view type) { return type == "XLINE" || type == "RAY"; }

}  // namespace

EntityIndex& EntityIndex::of(const db::Database& db) {
  dropClosed();
  Owned& slot = indexes()[db.serial()];
  if (!slot.index || slot.db != &db) slot = {&db, std::unique_ptr<EntityIndex>(new EntityIndex(db))};
  slot.index->refresh();
  return *slot.index;
}

void EntityIndex::noteOwnChanges(const db::Database& db, const std::vector<uint32_t>& changed) {
  auto it = indexes().find(db.serial());
  if (it == indexes().end() || it->second.db != &db || !it->second.index->built_) return;
  EntityIndex& index = *it->second.index;
  index.updateNew();
  for (uint32_t id : changed)
    if (id < index.entries_.size()) index.update(id);
  index.signature_ = index.signature();
  index.recent_.insert(index.recent_.end(), changed.begin(), changed.end());
  if (index.recent_.size() > kRecentKept) index.recent_.erase(index.recent_.begin(), index.recent_.end() - kRecentKept);
}

void EntityIndex::updateNew() {
  uint32_t old = uint32_t(entries_.size()), n = db_.objectCount();
  entries_.resize(n);
  for (uint32_t id = old; id < n; ++id) update(id);
}

bool EntityIndex::relevant(uint32_t id) const {
  const db::ObjectRecord& r = db_.object(id);
  if ((r.flags & (db::kErased | db::kSubEntity)) || !(r.flags & db::kEntity)) return false;
  return r.block != db::kNoObject && r.block < db_.blocks().size() && db_.isLayoutBlock(r.block);
}

int64_t EntityIndex::cellOf(double v) const { return int64_t(std::floor(v / cell_)); }

template <class Fn>
void EntityIndex::forCells(const geom::BoundingBox& b, Fn&& fn) const {
  int64_t x0 = cellOf(b.min.x), x1 = cellOf(b.max.x), y0 = cellOf(b.min.y), y1 = cellOf(b.max.y);
  for (int64_t x = x0; x <= x1; ++x)
    for (int64_t y = y0; y <= y1; ++y) fn((x << 32) ^ (y & 0xffffffff));
}

void EntityIndex::insert(uint32_t id) {
  Entry& e = entries_[id];
  e.indexed = true;
  const geom::BoundingBox& b = e.box;
  bool huge = !e.unbounded && (cellOf(b.max.x) - cellOf(b.min.x) > kMaxCellsPerAxis ||
                               cellOf(b.max.y) - cellOf(b.min.y) > kMaxCellsPerAxis);
  if (e.unbounded || huge) {
    e.unbounded = true;
    unbounded_.push_back(id);
    return;
  }
  forCells(b, [&](int64_t key) { cells_[key].push_back(id); });
}

void EntityIndex::remove(uint32_t id) {
  Entry& e = entries_[id];
  if (!e.indexed) return;
  e.indexed = false;
  if (e.unbounded) {
    std::erase(unbounded_, id);
    return;
  }
  forCells(e.box, [&](int64_t key) {
    auto it = cells_.find(key);
    if (it != cells_.end()) std::erase(it->second, id);
  });
}

void EntityIndex::update(uint32_t id) {
  remove(id);
  Entry& e = entries_[id];
  const db::ObjectRecord& r = db_.object(id);
  e.data = r.data;
  e.flags = r.flags;
  e.block = r.block;
  e.unbounded = false;
  if (!relevant(id)) return;
  if (unboundedType(db_.typeOf(id))) {
    e.unbounded = true;
    insert(id);
    return;
  }
  entgeom::Extents x = entgeom::extentsOf(db_, id);
  if (!x.ok() || !x.box.isBounded()) return;
  e.box = x.box;
  insert(id);
}

// Closing an undo group changes no object: a deeper undo history with the
// same objects and arena is the same drawing. A shallower one means undo;
// so does an object of the commands' own last changes whose record is no
// longer the one indexed (undone, and the history grown again since).
bool EntityIndex::current() {
  Signature now = signature();
  if (!built_ || now.objects != signature_.objects || now.arena != signature_.arena || now.undo < signature_.undo)
    return false;
  for (uint32_t id : recent_) {
    const db::ObjectRecord& r = db_.object(id);
    const Entry& e = entries_[id];
    if (r.data != e.data || r.flags != e.flags || r.block != e.block) return false;
  }
  signature_.undo = now.undo;
  return true;
}

void EntityIndex::refresh() {
  if (current()) return;
  uint32_t n = db_.objectCount();
  bool first = !built_;
  entries_.resize(n);
  if (first) {
    // The cell size follows the drawing: about twice the mean entity size.
    std::vector<geom::BoundingBox> boxes;
    entgeom::ExtentsCalculator calc(db_);
    double total = 0;
    size_t counted = 0;
    for (uint32_t id = 0; id < n; ++id) {
      if (!relevant(id)) continue;
      entgeom::Extents x = calc.extentsOf(id);
      if (!x.ok() || !x.box.isBounded()) continue;
      total += std::max(x.box.size().x, x.box.size().y);
      ++counted;
    }
    cell_ = counted ? std::max(2 * total / double(counted), 1e-6) : 1.0;
  }
  for (uint32_t id = 0; id < n; ++id) {
    const db::ObjectRecord& r = db_.object(id);
    const Entry& e = entries_[id];
    if (first || r.data != e.data || r.flags != e.flags || r.block != e.block) update(id);
  }
  built_ = true;
  signature_ = signature();
  recent_.clear();
}

void EntityIndex::query(const geom::BoundingBox& box, std::vector<uint32_t>& out) const {
  out.clear();
  if (stamp_.size() < entries_.size()) stamp_.resize(entries_.size(), 0);
  if (++stampNow_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stampNow_ = 1;
  }
  auto take = [&](uint32_t id) {
    if (stamp_[id] == stampNow_) return;
    stamp_[id] = stampNow_;
    if (!db_.isErased(id)) out.push_back(id);
  };
  for (uint32_t id : unbounded_) take(id);
  bool small = box.isBounded() && cellOf(box.max.x) - cellOf(box.min.x) <= 4 * kMaxCellsPerAxis &&
               cellOf(box.max.y) - cellOf(box.min.y) <= 4 * kMaxCellsPerAxis;
  if (small) {
    forCells(box, [&](int64_t key) {
      auto it = cells_.find(key);
      if (it == cells_.end()) return;
      for (uint32_t id : it->second)
        if (entries_[id].box.intersectsXY(box)) take(id);
    });
  } else {
    all(out);  // a box over most of the drawing: every entity is a candidate
  }
  std::sort(out.begin(), out.end());
}

void EntityIndex::all(std::vector<uint32_t>& out) const {
  out.clear();
  for (uint32_t id = 0; id < entries_.size(); ++id)
    if (entries_[id].indexed && !db_.isErased(id)) out.push_back(id);
}

}  // namespace tarn::commands
