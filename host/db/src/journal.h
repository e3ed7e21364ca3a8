// The undo journal of a database: per command group, the records of objects
// as they were before their first change, the lengths of block entity lists
// before entities were appended, copies of the containers touched, and the
// handle seed and last main entity. Undo puts all of it back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/database.h"

namespace tarn::db::detail {

// The block definitions that differ from a group's end state, enough to put
// the list back as it was at the copy.
struct BlocksDelta {
  size_t count = 0;
  std::vector<std::pair<uint32_t, BlockDef>> changed;
};

struct JournalGroup {
  std::string name;
  uint64_t handseed = 0;
  uint32_t lastMain = kNoObject;
  std::vector<std::pair<uint32_t, ObjectRecord>> records;  // in order of first change
  std::vector<std::pair<uint32_t, size_t>> appends;        // block, length before
  std::optional<std::vector<BlockDef>> blocks;             // copy while the group is open
  std::optional<BlocksDelta> blocksDelta;                  // what is kept of it once closed
  std::optional<std::vector<SymbolTable>> tables;
  std::optional<std::vector<uint32_t>> objectOrder;
  std::optional<std::vector<HeaderVar>> header;
  std::optional<std::vector<RawSection>> classes;
  std::optional<std::vector<RawSection>> extra;
  bool empty() const;
};

class Journal {
 public:
  explicit Journal(Database& db) : db_(db) {}

  // ---- hooks, called by the database before it changes something
  void touch() { if (active_ && !suspended_) openGroup(); }
  void record(uint32_t id);
  void added(uint32_t id);
  void appending(uint32_t block);
  void blocks();
  void tables();
  void objectOrder();
  void header();
  void classes();
  void extra();

  void begin(std::string_view name);
  void end();
  int depth() const { return depth_; }
  std::vector<std::string> undo(int count);
  size_t undoDepth() const { return history_.size(); }
  void clear();

 private:
  JournalGroup* openGroup();
  bool recording() const { return active_ && !suspended_; }
  void startGroup(std::string name);
  void closeGroup();
  void finish(JournalGroup& g) const;
  void apply(JournalGroup& g);
  void restoreRecords(const JournalGroup& g);
  void restoreBlocks(JournalGroup& g);

  Database& db_;
  std::vector<JournalGroup> history_;
  std::optional<JournalGroup> open_;
  std::vector<uint32_t> stamp_;  // per object: the serial of the group that saved its record
  uint32_t serial_ = 0;
  int depth_ = 0;
  bool active_ = false;
  bool suspended_ = false;
};

}  // namespace tarn::db::detail
