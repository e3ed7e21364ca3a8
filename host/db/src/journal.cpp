// The undo journal: what each command group changed, and putting it back.
#include "journal.h"

#include <algorithm>

namespace tarn::db::detail {
namespace {

bool sameBlock(const BlockDef& a, const BlockDef& b) {
  return a.name == b.name && a.record == b.record && a.begin == b.begin && a.end == b.end &&
         a.layout == b.layout && a.entities == b.entities;
}

bool sameTables(const std::vector<SymbolTable>& a, const std::vector<SymbolTable>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SymbolTable& x, const SymbolTable& y) {
    return x.name == y.name && x.object == y.object && x.records == y.records;
  });
}

bool sameHeader(const std::vector<HeaderVar>& a, const std::vector<HeaderVar>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const HeaderVar& x, const HeaderVar& y) { return x.name == y.name && x.value == y.value; });
}

bool sameSections(const std::vector<RawSection>& a, const std::vector<RawSection>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const RawSection& x, const RawSection& y) { return x.name == y.name && x.tags == y.tags; });
}

// Drops a container's copy when the container ended the group as it began.
template <class T, class Same>
void dropIfSame(std::optional<T>& copy, const T& now, Same same) {
  if (copy && same(*copy, now)) copy.reset();
}

BlocksDelta blocksDelta(const std::vector<BlockDef>& before, const std::vector<BlockDef>& now) {
  BlocksDelta d;
  d.count = before.size();
  for (uint32_t i = 0; i < before.size(); ++i)
    if (i >= now.size() || !sameBlock(before[i], now[i])) d.changed.emplace_back(i, before[i]);
  return d;
}

}  // namespace

bool JournalGroup::empty() const {
  return records.empty() && appends.empty() && !blocks && !blocksDelta && !tables && !objectOrder && !header &&
         !classes && !extra;
}

// ---- hooks

JournalGroup* Journal::openGroup() {
  if (!open_) startGroup("");
  return &*open_;
}

void Journal::startGroup(std::string name) {
  open_.emplace();
  open_->name = std::move(name);
  open_->handseed = db_.handseed_;
  open_->lastMain = db_.lastMain_;
  ++serial_;
}

void Journal::record(uint32_t id) {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (stamp_.size() <= id) stamp_.resize(std::max<size_t>(db_.objects_.size(), id + 1), 0);
  if (stamp_[id] == serial_) return;
  stamp_[id] = serial_;
  g->records.emplace_back(id, db_.objects_[id]);
}

void Journal::added(uint32_t id) {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (stamp_.size() <= id) stamp_.resize(std::max<size_t>(db_.objects_.size(), id + 1) * 2, 0);
  stamp_[id] = serial_;
  // Undone, a new object stays in the record vector (its id may be in
  // entity names) but is erased and belongs to no block.
  ObjectRecord gone = db_.objects_[id];
  gone.flags |= kErased;
  gone.block = kNoObject;
  gone.slot = 0;
  g->records.emplace_back(id, gone);
}

void Journal::appending(uint32_t block) {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (g->blocks) return;  // the copy of all blocks covers it
  for (const auto& a : g->appends)
    if (a.first == block) return;
  g->appends.emplace_back(block, db_.blocks_[block].entities.size());
}

void Journal::blocks() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->blocks) g->blocks = db_.blocks_;
}

void Journal::tables() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->tables) g->tables = db_.tables_;
}

void Journal::objectOrder() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->objectOrder) g->objectOrder = db_.objectOrder_;
}

void Journal::header() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->header) g->header = db_.header_;
}

void Journal::classes() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->classes) g->classes = db_.classes_;
}

void Journal::extra() {
  if (!recording()) return;
  JournalGroup* g = openGroup();
  if (!g->extra) g->extra = db_.extra_;
}

// ---- groups

void Journal::begin(std::string_view name) {
  active_ = true;
  if (depth_++ > 0) return;
  if (open_) closeGroup();  // changes made between commands
  startGroup(std::string(name));
}

void Journal::end() {
  if (depth_ == 0) return;
  if (--depth_ == 0 && open_) closeGroup();
}

void Journal::finish(JournalGroup& g) const {
  if (g.blocks) {
    BlocksDelta d = blocksDelta(*g.blocks, db_.blocks_);
    if (!d.changed.empty() || d.count != db_.blocks_.size()) g.blocksDelta = std::move(d);
    g.blocks.reset();
  }
  dropIfSame(g.tables, db_.tables_, sameTables);
  dropIfSame(g.objectOrder, db_.objectOrder_, std::equal_to<>());
  dropIfSame(g.header, db_.header_, sameHeader);
  dropIfSame(g.classes, db_.classes_, sameSections);
  dropIfSame(g.extra, db_.extra_, sameSections);
}

void Journal::closeGroup() {
  finish(*open_);
  bool scalarsSame = open_->handseed == db_.handseed_ && open_->lastMain == db_.lastMain_;
  if (!open_->empty() || !scalarsSame) history_.push_back(std::move(*open_));
  open_.reset();
}

// ---- undo

void Journal::restoreRecords(const JournalGroup& g) {
  for (auto it = g.records.rbegin(); it != g.records.rend(); ++it) {
    const auto& [id, old] = *it;
    ObjectRecord& now = db_.objects_[id];
    if (now.handle != old.handle) {
      if (now.handle && db_.handles_.find(now.handle) == id) db_.handles_.erase(now.handle);
      if (old.handle) db_.handles_.insert(old.handle, id);
    }
    now = old;
  }
}

void Journal::restoreBlocks(JournalGroup& g) {
  if (g.blocksDelta) {
    db_.blocks_.resize(g.blocksDelta->count);
    for (auto& [index, def] : g.blocksDelta->changed) db_.blocks_[index] = def;
  }
  // Appends recorded before a copy of all blocks was taken, newest first.
  for (auto it = g.appends.rbegin(); it != g.appends.rend(); ++it)
    if (it->first < db_.blocks_.size()) db_.blocks_[it->first].entities.resize(it->second);
}

void Journal::apply(JournalGroup& g) {
  restoreRecords(g);
  restoreBlocks(g);
  if (g.tables) db_.tables_ = *g.tables;
  if (g.objectOrder) db_.objectOrder_ = *g.objectOrder;
  if (g.header) db_.header_ = *g.header;
  if (g.classes) db_.classes_ = *g.classes;
  if (g.extra) db_.extra_ = *g.extra;
  db_.handseed_ = g.handseed;
  db_.lastMain_ = g.lastMain;
  db_.reindex();
}

std::vector<std::string> Journal::undo(int count) {
  std::vector<std::string> undone;
  std::string openName = open_ ? open_->name : std::string();
  suspended_ = true;
  while (int(undone.size()) < count) {
    if (open_) {
      finish(*open_);
      bool changed = !open_->empty() || open_->handseed != db_.handseed_ || open_->lastMain != db_.lastMain_;
      if (changed) apply(*open_);
      open_.reset();
      if (changed) {
        undone.push_back(openName);
        continue;
      }
    }
    if (history_.empty()) break;
    JournalGroup g = std::move(history_.back());
    history_.pop_back();
    apply(g);
    undone.push_back(g.name);
  }
  suspended_ = false;
  // A running command goes on in a fresh group that starts from here.
  if (depth_ > 0) startGroup(openName);
  return undone;
}

void Journal::clear() {
  history_.clear();
  if (open_) startGroup(open_->name);
}

}  // namespace tarn::db::detail
