// A spatial index of the entities of the layouts (model and paper space),
// kept between commands: picks by point and the search for cutting edges
// look at the entities near a place instead of every entity of the drawing.
//
// The index remembers, per object, the blob, flags and block it was built
// from. A change of the drawing gives objects new blobs (the arena grows),
// adds objects, or (undo) restores records. When the drawing's signature
// (object count, arena size, undo depth) differs from the one the index was
// built at (a deeper undo history alone is no change), or the objects the
// editing commands changed last no longer have the records indexed (an
// undo of them), `refresh` compares every record and re-measures the
// changed objects. The editing commands report their own changes right
// after they make them (`noteOwnChanges`), so that a run of picks and trims
// does not scan the drawing each time. Erased objects are filtered when
// queried.
//
// Not seen: an undo of other commands' changes followed only by changes of
// erased flags (ERASE) with no command of these in between; the index then
// keeps the undone boxes of those objects until the next change it sees.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "db/database.h"
#include "geom/bounding_box.h"

namespace tarn::commands {

class EntityIndex {
 public:
  // The index of the database, brought up to date.
  static EntityIndex& of(const db::Database& db);
  // The caller changed these objects (and added objects) since it last
  // brought the index up to date, and nothing else changed meanwhile.
  static void noteOwnChanges(const db::Database& db, const std::vector<uint32_t>& changed);

  // Entities whose boxes meet `box` in XY (and every unbounded one: rays,
  // construction lines), each once; live entities only.
  void query(const geom::BoundingBox& box, std::vector<uint32_t>& out) const;
  // Every live entity of the layouts.
  void all(std::vector<uint32_t>& out) const;
  const geom::BoundingBox& boxOf(uint32_t id) const { return entries_[id].box; }

 private:
  struct Entry {
    const uint8_t* data = nullptr;
    uint32_t block = db::kNoObject;
    uint16_t flags = 0;
    bool indexed = false;
    bool unbounded = false;
    geom::BoundingBox box;
  };
  struct Signature {
    uint32_t objects = 0;
    size_t arena = 0, undo = 0;
    bool operator==(const Signature&) const = default;
  };
  explicit EntityIndex(const db::Database& db) : db_(db) {}
  Signature signature() const { return {db_.objectCount(), db_.arenaBytes(), db_.undoDepth()}; }
  bool current();
  void refresh();
  void updateNew();
  void update(uint32_t id);
  void insert(uint32_t id);
  void remove(uint32_t id);
  bool relevant(uint32_t id) const;
  int64_t cellOf(double v) const;
  template <class Fn>
  void forCells(const geom::BoundingBox& b, Fn&& fn) const;

  const db::Database& db_;
  Signature signature_;
  bool built_ = false;
  double cell_ = 0;
  std::vector<Entry> entries_;
  std::unordered_map<int64_t, std::vector<uint32_t>> cells_;
  std::vector<uint32_t> unbounded_;
  std::vector<uint32_t> recent_;  // objects of the last noted changes
  mutable std::vector<uint32_t> stamp_;
  mutable uint32_t stampNow_ = 0;
};

}  // namespace tarn::commands
